// Selcall encodes on the clipboard: a CSV row gives back what the Encode dialog shows, the exact
// form every byte, and a paste keeps the list in number order.

#include <gtest/gtest.h>

#include "core/Csv.h"
#include "pmr/EncodeRows.h"

namespace km::pmr {
namespace {

namespace sr = sequence_rows;

EncodeEntry Encode(int number, const char* mask) {
    EncodeEntry entry;
    entry.number = number;
    SetColumn(entry.record, sr::kLeadOutDelay, 120);  // ms
    SetColumn(entry.record, sr::kAppendEncode, 7);
    SetTones(entry.record, FilledTones({mask, "1", "2"}, SequenceKind::Encode),
             SequenceKind::Encode);
    return entry;
}

TEST(EncodeRows, ACsvRowReadsBackAsTheEncodeItWas) {
    const EncodeEntry entry = Encode(42, "12345");
    const std::string row = EncodeCsvRow(entry);
    EXPECT_EQ(row.substr(0, 3), "42,");
    EXPECT_NE(row.find("12345"), std::string::npos) << row;
    const auto back = EncodeOfCsvRow(row);
    ASSERT_TRUE(back) << row;
    EXPECT_EQ(back->number, 42);
    EXPECT_EQ(TonesOf(back->record, SequenceKind::Encode),
              TonesOf(entry.record, SequenceKind::Encode));
    EXPECT_EQ(ColumnValue(back->record, sr::kLeadOutDelay), 120);
    EXPECT_EQ(ColumnValue(back->record, sr::kAppendEncode), 7);
}

TEST(EncodeRows, RowsThatAreNoEncodeAreRefused) {
    const std::string good = EncodeCsvRow(Encode(3, "12"));
    const std::string rest = good.substr(good.find(','));
    const std::string cases[] = {"0" + rest, "251" + rest, "x" + rest, "" + rest,
                                 "Encode,Selcall Mute"};
    for (const std::string& row : cases) {
        EXPECT_FALSE(EncodeOfCsvRow(row)) << row;
    }
    // A field that is no value of its column.
    std::vector<std::string> fields = csv::Fields(good);
    fields[1] = "Sometimes";
    std::string bad = fields[0];
    for (std::size_t i = 1; i < fields.size(); ++i) {
        bad += "," + fields[i];
    }
    EXPECT_FALSE(EncodeOfCsvRow(bad)) << bad;
}

TEST(EncodeRows, TheExactFormKeepsEveryByteAndRefusesWhatIsNoList) {
    EncodeEntry odd = Encode(250, "1A");
    odd.record[31] = 0x5A;
    const std::vector<EncodeEntry> entries = {Encode(1, "9"), odd};
    const auto back = EncodesOfExactBytes(ExactBytesOfEncodes(entries));
    ASSERT_TRUE(back);
    ASSERT_EQ(back->size(), 2u);
    EXPECT_EQ((*back)[1].number, 250);
    EXPECT_EQ((*back)[1].record, odd.record);
    std::string zero = ExactBytesOfEncodes(entries);
    zero[8] = 0;  // encode number 0
    for (const std::string& bytes :
         {std::string("KM700EN"), zero, ExactBytesOfEncodes(entries) + "x"}) {
        EXPECT_FALSE(EncodesOfExactBytes(bytes));
    }
}

TEST(EncodeRows, APasteReplacesNumbersTheListHasAndKeepsNumberOrder) {
    std::vector<EncodeEntry> list = {Encode(2, "1"), Encode(5, "2"), Encode(9, "3")};
    const std::vector<EncodeEntry> pasted = {Encode(7, "44"), Encode(5, "55")};
    EXPECT_EQ(PasteEncodes(list, pasted), (std::vector<std::size_t>{1, 2}));
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[1].number, 5);
    EXPECT_EQ(TonesOf(list[1].record, SequenceKind::Encode).mask, "55");
    EXPECT_EQ(list[2].number, 7);
    EXPECT_EQ(list[3].number, 9);
}

}  // namespace
}  // namespace km::pmr

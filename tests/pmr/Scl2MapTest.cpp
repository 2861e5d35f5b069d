// Selcall encodes and decodes of a PMR job: the tone bytes of a mask, the records as the store
// writes them and the load reads them back, the list lines and the rules of the two dialogs.
// Offsets are the image's own, written out as literals.

#include <gtest/gtest.h>

#include <memory>

#include "pmr/Scl2Map.h"

namespace km::pmr {
namespace {

namespace qr = sequence_rows;

std::unique_ptr<PmrJobImage> Image() {
    return std::make_unique<PmrJobImage>();
}

std::vector<std::uint8_t> BytesAt(const PmrJobImage& image, std::size_t at, std::size_t n) {
    const auto bytes = image.Bytes().subspan(at, n);
    return {bytes.begin(), bytes.end()};
}

EncodeEntry Encode(int number, std::string_view mask, std::string_view durations = "",
                   std::string_view tonesets = "") {
    EncodeEntry entry{number, {}};
    SetTones(entry.record,
             FilledTones({std::string(mask), std::string(durations), std::string(tonesets)},
                         SequenceKind::Encode),
             SequenceKind::Encode);
    return entry;
}

TEST(SelcallEncodes, AMaskIsStoredAsToneBytesInItsNumbersRecord) {
    // The dialog's read-back fills the duration and toneset strings to the mask's length.
    EXPECT_EQ(FilledTones({"1A#-", "3", "2"}, SequenceKind::Encode),
              (ToneStrings{"1A#-", "3333", "2222"}));
    EXPECT_EQ(FilledTones({"123", "", "21234"}, SequenceKind::Encode),
              (ToneStrings{"123", "000", "212"}));
    auto image = Image();
    const EncodeEntry entry = Encode(7, "1A#-", "3", "2");
    StoreEncodes(std::span(&entry, 1), *image);
    // Encode 7 at 0xBA2C + 6 x 32.
    const std::vector<std::uint8_t> record = BytesAt(*image, 0xBA2C + 192, 32);
    EXPECT_EQ(record[0] & 0x1F, 4);
    EXPECT_EQ(record[1] >> 6, 1);
    EXPECT_EQ(std::vector<std::uint8_t>(record.begin() + 12, record.begin() + 17),
              (std::vector<std::uint8_t>{0xD1, 0xDA, 0xF0, 0xFF, 0}));
    EXPECT_EQ(std::count(record.begin() + 16, record.end(), 0), 16);
    EXPECT_EQ(image->U16(114), 7);
    EXPECT_EQ(image->U16(0x29DA), 7);
    const auto loaded = LoadEncodes(*image);
    ASSERT_EQ(loaded.size(), 1u);
    EXPECT_EQ(loaded[0].number, 7);
    EXPECT_EQ(TonesOf(loaded[0].record, SequenceKind::Encode),
              (ToneStrings{"1A#-", "3333", "2222"}));
}

TEST(SelcallEncodes, FieldsKeepTheirBitsAndUnits) {
    auto image = Image();
    EncodeEntry entry = Encode(1, "12");
    SetColumn(entry.record, qr::kResendInterval, 5);
    SetColumn(entry.record, qr::Column(qr::kEncodeColumns, "max_resends"), 63);
    SetColumn(entry.record, qr::kAckDecode, 2);  // "Decode 3"
    SetColumn(entry.record, qr::kLinkEstablishTime, 15);
    StoreEncodes(std::span(&entry, 1), *image);
    EXPECT_EQ(BytesAt(*image, 0xBA2C + 2, 2), (std::vector<std::uint8_t>{0xC5, 0x2F}));
    // A link establish time of 15 ms is kept in 10 ms units: 1, which reads as 10 ms.
    EXPECT_EQ(image->U8(0xBA2C + 7), 1);
    EXPECT_EQ(ColumnValue(LoadEncodes(*image)[0].record, qr::kLinkEstablishTime), 10);
}

TEST(SelcallEncodes, OnlyRecordsMarkedDefinedLoad) {
    auto image = Image();
    for (int n = 1; n <= 3; ++n) {
        image->SetU8(0xBA2C + 32 * (n - 1) + 1, static_cast<std::uint8_t>(n << 6));
    }
    const auto loaded = LoadEncodes(*image);
    ASSERT_EQ(loaded.size(), 1u);
    EXPECT_EQ(loaded[0].number, 1);
}

TEST(SelcallEncodes, StoredToneCountsAboveTwentyAreReadAsTwenty) {
    auto image = Image();
    image->SetU8(0xBA2C, 31);
    image->SetU8(0xBA2C + 1, 0x40);
    for (std::size_t t = 0; t < 20; ++t) {
        image->SetU8(0xBA2C + 12 + t, 5);
    }
    image->SetU8(0xBA2C + 32, 0x77);  // the next record's first byte is no tone of this one
    const auto loaded = LoadEncodes(*image);
    EXPECT_EQ(TonesOf(loaded[0].record, SequenceKind::Encode).mask, std::string(20, '5'));
    StoreEncodes(loaded, *image);
    EXPECT_EQ(image->U8(0xBA2C) & 0x1F, 20);
}

TEST(SelcallEncodes, AStoreWithoutEncodesKeepsTheCountWordsAndClearsTheArea) {
    auto image = Image();
    image->SetU16(114, 12);
    image->SetU16(0x29DA, 12);
    image->SetU8(0xBA2C + 1, 0x40);
    StoreEncodes({}, *image);
    EXPECT_EQ(image->U16(114), 12);
    EXPECT_EQ(image->U16(0x29DA), 12);
    EXPECT_EQ(image->U8(0xBA2C + 1), 0);
    // An entry numbered 0 is not stored.
    const EncodeEntry zero = Encode(0, "1");
    StoreEncodes(std::span(&zero, 1), *image);
    EXPECT_TRUE(LoadEncodes(*image).empty());
}

TEST(SelcallEncodes, AnAddedEncodeProposesTheNextNumberAndOkRefusesZero) {
    std::vector<EncodeEntry> list = {Encode(3, "1"), Encode(250, "2")};
    EXPECT_EQ(ProposedEncodeNumber({}), 1);
    EXPECT_EQ(ProposedEncodeNumber(std::span(list).first(1)), 4);
    EXPECT_EQ(ProposedEncodeNumber(list), 0);
    EXPECT_EQ(EncodeNumberAtOkMessage("0", list, std::nullopt),
              "Value out of range.  Must be between 1 and 250");
    EXPECT_EQ(EncodeNumberAtOkMessage("", list, std::nullopt),
              "Value out of range.  Must be between 1 and 250");
    EXPECT_EQ(EncodeNumberMessage("", list, std::nullopt), std::nullopt);
    EXPECT_EQ(EncodeNumberMessage("3", list, std::nullopt),
              "Duplicate Encode Numbers are not allowed.");
    EXPECT_EQ(EncodeNumberMessage("3", list, 0), std::nullopt);
    EXPECT_EQ(EncodeNumberAtOkMessage("3", list, std::nullopt),
              "Duplicate Encode Numbers are not allowed.");
    EXPECT_EQ(AppendEncodeMessage("4", "4"), "Cannot append encode to itself. ");
    EXPECT_EQ(AppendEncodeMessage("251", "4"), "Value out of range.  Must be between 0 and 250");
    EXPECT_EQ(AppendEncodeMessage("", "4"), std::nullopt);
}

TEST(SelcallEncodes, ListLinesRunInNumberOrder) {
    EncodeEntry entry = Encode(7, "1A#-");
    SetColumn(entry.record, qr::kLinkEstablishTime, 150);
    SetColumn(entry.record, qr::kQueuing, 4);
    SetColumn(entry.record, qr::kAppendEncode, 12);
    EXPECT_EQ(EncodeLine(entry),
              "007    1A#-                      150  0     NoChange  InhOnCarr 0    D1    12 ");
}

// ---- Decodes ----

DecodeEntry Decode(int number, std::string_view mask, std::string_view durations) {
    DecodeEntry entry{number, {}, ""};
    SetTones(entry.record,
             FilledTones({std::string(mask), std::string(durations), ""}, SequenceKind::Decode),
             SequenceKind::Decode);
    return entry;
}

std::vector<DecodeEntry> EightDecodes() {
    std::vector<DecodeEntry> decodes;
    for (int n = 1; n <= 8; ++n) {
        decodes.push_back(Decode(n, "", ""));
    }
    return decodes;
}

TEST(SelcallDecodes, TheLongestToneAfterTheFirstChoosesTheDurationIndex) {
    const std::array<std::uint16_t, 4> durations = {40, 100, 70, 100};
    EXPECT_EQ(LongestToneIndex({"12I*", "0123", ""}, durations), 1);
    // A single tone: the largest is 0, so the first duration of 0, or 0 when none is.
    EXPECT_EQ(LongestToneIndex({"5", "2", ""}, {40, 0, 70, 0}), 1);
    EXPECT_EQ(LongestToneIndex({"5", "2", ""}, durations), 0);
    // "-" places are left out.
    EXPECT_EQ(LongestToneIndex({"1-2", "030", ""}, {40, 100, 70, 1000}), 0);

    auto image = Image();
    for (std::size_t d = 0; d < 4; ++d) {
        image->SetU16(0x1F0C + 2 * d, durations[d]);
    }
    auto decodes = EightDecodes();
    decodes[2] = Decode(3, "12I*", "0123");
    decodes[2].name = "Depot";
    StoreDecodes(decodes, *image);
    // Decode 3 at 0x29E4 + 2 x 32: four tones, index 1 in bits 5-6; special bit for "I" and "*".
    EXPECT_EQ(image->U8(0x29E4 + 64), 4 | 1 << 5);
    EXPECT_EQ(BytesAt(*image, 0x29E4 + 64 + 12, 5),
              (std::vector<std::uint8_t>{0x01, 0x42, 0xA2, 0xE1, 0}));
    EXPECT_EQ(BytesAt(*image, 0x1DF4 + 24, 6),
              (std::vector<std::uint8_t>{'D', 'e', 'p', 'o', 't', 0}));
    const auto loaded = LoadDecodes(*image);
    ASSERT_EQ(loaded.size(), 8u);
    EXPECT_EQ(loaded[2].name, "Depot");
    EXPECT_EQ(TonesOf(loaded[2].record, SequenceKind::Decode), (ToneStrings{"12I*", "0123", ""}));
}

TEST(SelcallDecodes, OldImagesShareOneThirdToneResetAmongTheDecodes) {
    auto image = Image();
    image->SetU16(14, 3260);
    image->SetU8(0x29BF, 0x01);
    for (const DecodeEntry& decode : LoadDecodes(*image)) {
        EXPECT_EQ(ColumnValue(decode.record, qr::kDecodeThirdToneReset), 1) << decode.number;
    }
    // Later images keep it per decode: bit 5 of bytes 6-7.
    image->SetU16(14, 3261);
    image->SetU8(0x29E4 + 32 + 6, 0x20);
    const auto decodes = LoadDecodes(*image);
    EXPECT_EQ(ColumnValue(decodes[0].record, qr::kDecodeThirdToneReset), 0);
    EXPECT_EQ(ColumnValue(decodes[1].record, qr::kDecodeThirdToneReset), 1);
    // Any decode with it sets the radio's bit; none leaves it as it was.
    image->SetU8(0x29BF, 0);
    StoreDecodes(decodes, *image);
    EXPECT_EQ(image->U8(0x29BF), 1);
}

TEST(SelcallDecodes, ListLine) {
    DecodeEntry entry = Decode(2, "12##", "0");
    SetColumn(entry.record, qr::kAlertAction, 2);
    SetColumn(entry.record, qr::kExternalAlert, 1);
    SetColumn(entry.record, qr::kAckEncode, 17);
    SetColumn(entry.record, qr::kDecodeTimedReset, 1);
    EXPECT_EQ(DecodeLine(entry),
              "002  12##                    No    Start   NoChg  NoChg NoChg   17  NoChg  Yes");
}

// ---- Dialog keys ----

SelcallSettings Settings() {
    SelcallSettings settings;
    settings.ownIdentity = "123";
    settings.durations = {"40", "", "70", "4500"};
    settings.variableDigits = 2;
    settings.statusDigits = 4;
    return settings;
}

TEST(SelcallDialogs, MaskKeysKeepToTheirCharactersAndCounts) {
    const SelcallSettings settings = Settings();
    EXPECT_EQ(MaskKey("", 'a', settings, SequenceKind::Encode).accepted, 'A');
    const KeyVerdict refused = MaskKey("", 'G', settings, SequenceKind::Encode);
    EXPECT_FALSE(refused.accepted);
    EXPECT_FALSE(refused.message);
    EXPECT_FALSE(MaskKey("", 'K', settings, SequenceKind::Decode).accepted);
    EXPECT_EQ(MaskKey("", 'k', settings, SequenceKind::Encode).accepted, 'K');
    // A fifth "*" with four variable status digits.
    EXPECT_EQ(MaskKey("****", '*', settings, SequenceKind::Encode).message,
              "Maximum number of Status Digits is 4.                           \n"
              "Maximum is specified on the Selcall\\MoreOptions page.");
    // Once the count is below what a mask holds, every key is refused with that message.
    SelcallSettings lowered = settings;
    lowered.statusDigits = 2;
    EXPECT_EQ(MaskKey("***", '1', lowered, SequenceKind::Encode).message,
              "Maximum number of Status Digits is 2.                           \n"
              "Maximum is specified on the Selcall\\MoreOptions page.");
    EXPECT_EQ(MaskKey("##", '#', settings, SequenceKind::Decode).message,
              "Maximum number of Variable Digits is 2.                           \n"
              "Maximum is specified on the Selcall\\MoreOptions page.");
    EXPECT_EQ(MaskKey("III", 'i', settings, SequenceKind::Decode).message,
              "Maximum number of Own ID Digits is 3.                           \n"
              "Maximum is specified on the Selcall\\Options page.");
    EXPECT_EQ(MaskKey("KKK", 'K', settings, SequenceKind::Encode).message,
              "Maximum number of K Digits is 3.                           \n"
              "Maximum is specified on the Selcall\\Options page.");
}

TEST(SelcallDialogs, DurationKeysNeedADefinedDuration) {
    const SelcallSettings settings = Settings();
    EXPECT_EQ(DurationKey('0', settings, SequenceKind::Decode).accepted, '0');
    EXPECT_FALSE(DurationKey('4', settings, SequenceKind::Encode).accepted);
    EXPECT_FALSE(DurationKey('4', settings, SequenceKind::Encode).message);
    EXPECT_EQ(DurationKey('1', settings, SequenceKind::Encode).message,
              "Tone duration 1 is undefined.                               \n"
              "Tone durations are specified on the selcall options page");
    EXPECT_EQ(DurationKey('3', settings, SequenceKind::Encode).accepted, '3');
    EXPECT_EQ(DurationKey('3', settings, SequenceKind::Decode).message,
              "Tone Duration 3 is greater than 4000mS.                            \n"
              "Decode Tone durations must be less than 4000mS.                           \n\n"
              "Tone durations are specified on the selcall options page.");
    EXPECT_EQ(TonesetKey('2').accepted, '2');
    EXPECT_FALSE(TonesetKey('3').accepted);
}

}  // namespace
}  // namespace km::pmr

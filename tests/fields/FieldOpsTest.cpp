// The generic field operations on hand-made rows: every encoding reads what it wrote, leaves the
// bytes around it alone, and shows and parses values as the forms do.

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "fields/FieldOps.h"

namespace km::fields {
namespace {

constexpr Choice kColours[] = {{0, "Red"}, {1, "Green"}, {7, "Blue"}};
// A 17-bit count: bits 16..1 a big-endian word, bit 0 in bit 5 of the byte four bytes on.
constexpr BitPiece kSpreadCount[] = {{.offset = 0, .bytes = 2, .shift = 0, .count = 16},
                                     {.offset = 4, .bytes = 1, .shift = 5, .count = 1}};
// A digit count kept as a low-byte-first word after four bytes of digits.
constexpr BitPiece kWordCount[] = {{.offset = 5, .count = 8}, {.offset = 4, .count = 8}};
// Bit 7 of the second byte above bit 0 of the first.
constexpr BitPiece kTwoFlags[] = {{.offset = 1, .shift = 7}, {.offset = 0, .shift = 0}};

struct EncodingCase {
    const char* name;
    FieldRow row;
    FieldValue value;
    std::vector<std::uint8_t> bytes;  // at offset 2 of a 0xAA-filled buffer
    const char* shown;
};

const EncodingCase kCases[] = {
    {"u8", {.id = "a", .encoding = Encoding::U8}, std::int64_t{200}, {0xC8}, "200"},
    {"u16 low byte first",
     {.id = "a", .encoding = Encoding::U16},
     std::int64_t{0x1234},
     {0x34, 0x12},
     "4660"},
    {"u16 high byte first",
     {.id = "a", .encoding = Encoding::U16BE},
     std::int64_t{0x1234},
     {0x12, 0x34},
     "4660"},
    {"i32 negative",
     {.id = "a", .encoding = Encoding::I32},
     std::int64_t{-2},
     {0xFE, 0xFF, 0xFF, 0xFF},
     "-2"},
    {"bits 3..5 of a byte keep the others",
     {.id = "a", .encoding = Encoding::Bits, .width = 1, .bitShift = 3, .bitCount = 3},
     std::int64_t{5},
     {(0xAA & ~0x38) | (5 << 3)},
     "5"},
    {"bits 9..10 of a word",
     {.id = "a", .encoding = Encoding::Bits, .width = 2, .bitShift = 9, .bitCount = 2},
     std::int64_t{2},
     {0xAA, (0xAA & ~0x06) | 0x04},
     "2"},
    {"bits 0..10 of a high-byte-first word keep the flags above",
     {.id = "a", .encoding = Encoding::BitsHighFirst, .width = 2, .bitShift = 0, .bitCount = 11},
     std::int64_t{999},
     {(0xAA & ~0x07) | 0x03, 0xE7},
     "999"},
    {"i16 negative",
     {.id = "a", .encoding = Encoding::I16},
     std::int64_t{-31},
     {0xE1, 0xFF},
     "-31"},
    {"bcd",
     {.id = "a", .encoding = Encoding::Bcd, .width = 2},
     std::int64_t{1234},
     {0x12, 0x34},
     "1234"},
    {"bcd in a little-endian word",
     {.id = "a", .encoding = Encoding::BcdLowFirst, .width = 2},
     std::int64_t{1234},
     {0x34, 0x12},
     "1234"},
    {"text NUL-filled",
     {.id = "a", .encoding = Encoding::Text, .width = 4},
     std::string("Hi"),
     {'H', 'i', 0, 0},
     "Hi"},
    {"text at full width has no terminator",
     {.id = "a", .encoding = Encoding::Text, .width = 3},
     std::string("Abc"),
     {'A', 'b', 'c'},
     "Abc"},
    {"text in Windows-1252",
     {.id = "a", .encoding = Encoding::Text, .width = 3},
     std::string("\u00e9"),
     {0xE9, 0, 0},
     "\u00e9"},
    {"memo line breaks as CR LF",
     {.id = "a", .encoding = Encoding::Memo, .width = 6},
     std::string("a\nb"),
     {'a', '\r', '\n', 'b', 0, 0},
     "a\nb"},
    // Byte 1 of a label, its display row, belongs to another row and keeps its 0xAA.
    {"empty label",
     {.id = "a", .encoding = Encoding::Label, .width = 8},
     std::string(),
     {101, 0xAA, 0, 0, 0, 0, 0, 0},
     ""},
    {"label of three characters",
     {.id = "a", .encoding = Encoding::Label, .width = 8},
     std::string("Add"),
     {80, 0xAA, 'A', 'd', 'd', 0, 0, 0},
     "Add"},
    {"label at full width",
     {.id = "a", .encoding = Encoding::Label, .width = 8},
     std::string("DELETE"),
     {59, 0xAA, 'D', 'E', 'L', 'E', 'T', 'E'},
     "DELETE"},
    {"list entry", {.id = "a", .choices = kColours}, std::int64_t{7}, {7}, "Blue"},
    {"minutes stored as seconds",
     {.id = "a", .encoding = Encoding::U16, .scale = {.div = 60}},
     std::int64_t{3},
     {180, 0},
     "3"},
    {"17-bit count spread over a word and a flag bit",
     {.id = "a", .encoding = Encoding::Pieces, .width = 5, .pieces = kSpreadCount},
     std::int64_t{72000},
     {0x8C, 0xA0, 0xAA, 0xAA, 0xAA & ~0x20},
     "72000"},
    {"pieces in list order, most significant first",
     {.id = "a",
      .encoding = Encoding::Pieces,
      .width = 2,
      .pieces = kTwoFlags,
      .choices = kColours},
     std::int64_t{1},
     {0xAB, 0xAA & 0x7F},
     "Green"},
    {"a blank reads as an empty text",
     {.id = "a", .encoding = Encoding::U16, .blankRaw = 0xFFFF},
     std::string(),
     {0xFF, 0xFF},
     ""},
    {"a number beside a blank",
     {.id = "a", .encoding = Encoding::U16, .blankRaw = 0xFFFF, .scale = {.div = 128}},
     std::int64_t{127},
     {0x80, 0x3F},
     "127"},
    {"quarter seconds shown with decimals",
     {.id = "a", .encoding = Encoding::U8, .scale = {.mul = 25, .decimals = 2}},
     std::int64_t{125},
     {5},
     "1.25"},
    {"receive frequency on the 6.25 kHz step",
     {.id = "a", .encoding = Encoding::RasterFrequency, .width = 3, .scale = {.decimals = 5}},
     std::int64_t{45001250},
     {0x8C, 0xA1, 0xE8},
     "450.01250"},
    {"transmit frequency on the 7.5 kHz step, count bit 0 in the flag byte",
     {.id = "a",
      .encoding = Encoding::RasterFrequency,
      .width = 5,
      .bitShift = 1,
      .scale = {.decimals = 5}},
     std::int64_t{15000750},
     {0x27, 0x10, 0xAA, 0xAA, 0x2E},
     "150.00750"},
    {"dial characters two to a byte, unused nibbles 0xF",
     {.id = "a", .encoding = Encoding::PackedDial, .width = 4},
     std::string("12*#E"),
     {0x12, 0xBC, 0xEF, 0xFF},
     "12*#E"},
    {"dial string at full capacity ends with one 0xF nibble",
     {.id = "a", .encoding = Encoding::PackedDial, .width = 3},
     std::string("1-345"),
     {0x1D, 0x34, 0x5F},
     "1-345"},
    {"dial string of 2 x width characters has no end code",
     {.id = "a", .encoding = Encoding::PackedDial, .width = 2, .max = 4},
     std::string("*11*"),
     {0xB1, 0x1B},
     "*11*"},
    {"empty dial string",
     {.id = "a", .encoding = Encoding::PackedDial, .width = 2},
     std::string(),
     {0xFF, 0xFF},
     ""},
    {"dial string beside a zero blank",
     {.id = "a", .encoding = Encoding::PackedDial, .width = 2, .blankRaw = 0},
     std::string("00"),
     {0x00, 0xFF},
     "00"},
    {"selcall digits with their count, F a digit",
     {.id = "a", .encoding = Encoding::SelcallDigits, .width = 6, .pieces = kWordCount, .max = 8},
     std::string("12AF3"),
     {0x12, 0xAF, 0x3F, 0xFF, 5, 0},
     "12AF3"},
    {"no selcall digits",
     {.id = "a", .encoding = Encoding::SelcallDigits, .width = 6, .pieces = kWordCount, .max = 8},
     std::string(),
     {0xFF, 0xFF, 0xFF, 0xFF, 0, 0},
     ""},
    {"status digits end at the first F nibble",
     {.id = "a", .encoding = Encoding::SelcallDigits, .width = 2, .max = 4},
     std::string("0"),
     {0x0F, 0xFF},
     "0"},
    {"status digits at full capacity",
     {.id = "a", .encoding = Encoding::SelcallDigits, .width = 2, .max = 4},
     std::string("9E01"),
     {0x9E, 0x01},
     "9E01"},
};

void PrintTo(const EncodingCase& c, std::ostream* os) {
    *os << c.name;
}

class EncodingTest : public testing::TestWithParam<EncodingCase> {};

TEST_P(EncodingTest, WritesItsBytesOnlyAndReadsTheValueBack) {
    const EncodingCase& c = GetParam();
    std::vector<std::uint8_t> buffer(12, 0xAA);
    WriteField(c.row, buffer, 2, c.value);
    std::vector<std::uint8_t> expected(12, 0xAA);
    std::copy(c.bytes.begin(), c.bytes.end(), expected.begin() + 2);
    EXPECT_EQ(buffer, expected);
    EXPECT_EQ(ReadField(c.row, buffer, 2), c.value);
    EXPECT_EQ(FormatField(c.row, c.value), c.shown);
    EXPECT_EQ(ParseField(c.row, c.shown), c.value);
}

INSTANTIATE_TEST_SUITE_P(Rows, EncodingTest, testing::ValuesIn(kCases), [](const auto& info) {
    std::string name = info.param.name;
    for (char& ch : name) {
        if (!std::isalnum(static_cast<unsigned char>(ch)))
            ch = '_';
    }
    return name;
});

TEST(FieldOpsTest, AnUnchangedValueLeavesItsBytesAsTheyWere) {
    // A code no entry has, garbage after a text's NUL, seconds that are no whole minute and a
    // memo with a bare CR all survive a write of the value that was read.
    const FieldRow rows[] = {
        {.id = "list", .choices = kColours},
        {.id = "text", .encoding = Encoding::Text, .width = 4},
        {.id = "minutes", .encoding = Encoding::U16, .scale = {.div = 60}},
        {.id = "memo", .encoding = Encoding::Memo, .width = 4},
    };
    const std::vector<std::vector<std::uint8_t>> stored = {
        {37}, {'A', 0, 'x', 'y'}, {61, 0}, {'a', '\r', 'b', 0}};
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        std::vector<std::uint8_t> bytes = stored[i];
        WriteField(rows[i], bytes, 0, ReadField(rows[i], bytes, 0));
        EXPECT_EQ(bytes, stored[i]) << rows[i].id;
    }
}

TEST(FieldOpsTest, ACodeNoEntryHasIsShownAsItsNumberAndParsedBack) {
    const FieldRow row = {.id = "list", .choices = kColours};
    EXPECT_EQ(FormatField(row, std::int64_t{37}), "? 37");
    EXPECT_EQ(ParseField(row, "? 37"), FieldValue(std::int64_t{37}));
    EXPECT_EQ(ParseField(row, "Purple"), std::nullopt);
    EXPECT_EQ(CheckField(row, std::int64_t{37}), std::string(kNotInListMessage));
    EXPECT_EQ(CheckField(row, std::int64_t{1}), std::nullopt);
}

TEST(FieldOpsTest, ABlankIsAnEmptiedFieldsValueAndMayBeTheDefault) {
    const FieldRow row = {.id = "sil",
                          .encoding = Encoding::U16,
                          .min = 3,
                          .max = 9,
                          .defaultValue = 0,
                          .blankRaw = 0};
    EXPECT_EQ(ParseField(row, " "), FieldValue(std::string()));
    EXPECT_EQ(CheckField(row, std::string()), std::nullopt);
    EXPECT_EQ(CheckField(row, std::int64_t{0}), "Value out of range.  Must be between 3 and 9");
    EXPECT_EQ(DefaultValue(row), FieldValue(std::string()));
    std::vector<std::uint8_t> bytes = {5, 0};
    WriteField(row, bytes, 0, std::string());
    EXPECT_EQ(bytes, (std::vector<std::uint8_t>{0, 0}));
    // A row without a blank refuses the empty text as before.
    const FieldRow plain = {.id = "p", .encoding = Encoding::U16};
    EXPECT_EQ(ParseField(plain, ""), std::nullopt);
}

TEST(FieldOpsTest, ControlBytesOfATextAreShownEscapedAndParsedBack) {
    const FieldRow row = {.id = "t", .encoding = Encoding::Text, .width = 4};
    const std::vector<std::uint8_t> bytes = {'A', 0x07, 0x1B, 'B'};
    const FieldValue value = ReadField(row, bytes, 0);
    const std::string shown = FormatField(row, value);
    EXPECT_EQ(shown, "A\\x07\\x1BB");
    EXPECT_EQ(ParseField(row, shown), value);
    // Typed text that only looks like an escape stays as typed.
    EXPECT_EQ(ParseField(row, "\\x41"), FieldValue(std::string("\\x41")));
}

TEST(FieldOpsTest, RangeChecksUseTheFormsMessageWithTheRowsUnits) {
    const FieldRow plain = {.id = "a", .min = 1, .max = 99};
    EXPECT_EQ(CheckField(plain, std::int64_t{0}), "Value out of range.  Must be between 1 and 99");
    EXPECT_EQ(CheckField(plain, std::int64_t{99}), std::nullopt);
    const FieldRow scaled = {.id = "b", .min = 25, .max = 500, .scale = {.mul = 25, .decimals = 2}};
    EXPECT_EQ(CheckField(scaled, std::int64_t{525}),
              "Value out of range.  Must be between 0.25 and 5.00");
    // Without a declared range the encoding's own limits hold.
    const FieldRow byte = {.id = "c"};
    EXPECT_EQ(CheckField(byte, std::int64_t{256}),
              "Value out of range.  Must be between 0 and 255");
}

TEST(FieldOpsTest, TextsLongerThanTheirLimitAreRefusedAndCutWhenWritten) {
    const FieldRow memo = {.id = "m", .encoding = Encoding::Memo, .width = 6, .max = 4};
    EXPECT_EQ(CheckField(memo, std::string("a\nb")), std::nullopt);
    EXPECT_EQ(CheckField(memo, std::string("ab\nc")), "Text too long.  At most 4 characters");
    std::vector<std::uint8_t> bytes(6, 0xAA);
    // Five bytes fit before the terminating NUL, but a line break is never cut in half.
    WriteField(memo, bytes, 0, std::string("abcd\nef"));
    EXPECT_EQ(bytes, (std::vector<std::uint8_t>{'a', 'b', 'c', 'd', 0, 0}));

    // A label holds six characters; byte 0 counts the characters stored, not those given.
    const FieldRow label = {.id = "l", .encoding = Encoding::Label, .width = 8};
    EXPECT_EQ(CheckField(label, std::string("Delete")), std::nullopt);
    EXPECT_EQ(CheckField(label, std::string("Deleted")), "Text too long.  At most 6 characters");
    std::vector<std::uint8_t> record(8, 0xAA);
    WriteField(label, record, 0, std::string("Deleted"));
    EXPECT_EQ(record, (std::vector<std::uint8_t>{59, 0xAA, 'D', 'e', 'l', 'e', 't', 'e'}));
}

TEST(FieldOpsTest, NumbersParseWithoutLocaleAndRefuseWhatIsNoNumber) {
    const FieldRow row = {.id = "a", .encoding = Encoding::U16, .scale = {.decimals = 2}};
    EXPECT_EQ(ParseField(row, " 1.5 "), FieldValue(std::int64_t{150}));
    EXPECT_EQ(ParseField(row, "-0.25"), FieldValue(std::int64_t{-25}));
    for (const char* bad : {"", "1,5", "1.555", "abc", "1e3", "99999999999999999999"}) {
        EXPECT_EQ(ParseField(row, bad), std::nullopt) << bad;
    }
}

TEST(FieldOpsTest, RasterFrequenciesTakeTheFirstStepThatDividesThemAndRefuseOthers) {
    const FieldRow row = {
        .id = "a", .encoding = Encoding::RasterFrequency, .width = 3, .scale = {.decimals = 5}};
    std::vector<std::uint8_t> bytes(3, 0);
    // 25 kHz channels are multiples of both 6.25 and 5 kHz: the 6.25 kHz step wins.
    WriteField(row, bytes, 0, std::int64_t{45002500});
    EXPECT_EQ(bytes[2] & 0x42, 0x40);
    // Zero is stored as count 0 with the 6.25 kHz step.
    WriteField(row, bytes, 0, std::int64_t{0});
    EXPECT_EQ(bytes, (std::vector<std::uint8_t>{0, 0, 0x40}));
    // 5 kHz only.
    WriteField(row, bytes, 0, std::int64_t{45000500});
    EXPECT_EQ(bytes[2] & 0x42, 0);
    EXPECT_EQ(ReadField(row, bytes, 0), FieldValue(std::int64_t{45000500}));
    EXPECT_EQ(CheckField(row, std::int64_t{45000100}), std::string(kNotOnRasterMessage));
    // 900 MHz on 6.25 kHz needs more than 17 bits; 7.5 kHz holds it.
    ASSERT_TRUE(RasterCountOf(90000000));
    EXPECT_EQ(RasterCountOf(90000000)->step, kRasterStep7500);
    EXPECT_FALSE(RasterCountOf(90000010));
}

TEST(FieldOpsTest, DialStringsPackOnlyDialCharactersUpToTheirCapacity) {
    const FieldRow row = {.id = "d", .encoding = Encoding::PackedDial, .width = 16};
    std::vector<std::uint8_t> bytes(16, 0);
    // Letters, blanks and commas of pasted or imported text are dropped; "e" is "E".
    WriteField(row, bytes, 0, std::string("1a 2,e"));
    EXPECT_EQ(ReadField(row, bytes, 0), FieldValue(std::string("12E")));
    // 31 characters fill all 16 bytes, the last low nibble the end code; more are cut.
    const std::string digits = "1234567890123456789012345678901";
    WriteField(row, bytes, 0, digits + "99");
    EXPECT_EQ(bytes[15], 0x1F);
    EXPECT_EQ(ReadField(row, bytes, 0), FieldValue(digits));
    EXPECT_EQ(CheckField(row, digits), std::nullopt);
    EXPECT_EQ(CheckField(row, digits + "9"), "Text too long.  At most 31 characters");
    EXPECT_EQ(CheckField(row, std::string("12A")), std::string(kNotDialMessage));
    // Reading stops at the first end code; a code no character has shows as "?" and is kept
    // when the value read is written back.
    std::vector<std::uint8_t> stored = {0x1A, 0xF3, 0x45};
    const FieldRow small = {.id = "s", .encoding = Encoding::PackedDial, .width = 3};
    EXPECT_EQ(ReadField(small, stored, 0), FieldValue(std::string("1?")));
    WriteField(small, stored, 0, ReadField(small, stored, 0));
    EXPECT_EQ(stored, (std::vector<std::uint8_t>{0x1A, 0xF3, 0x45}));
    // A zero field is a string of zeros, unless the row names zero bytes its blank; then it
    // reads empty and stays zero when it is stored unchanged.
    std::vector<std::uint8_t> zeros(3, 0);
    EXPECT_EQ(ReadField(small, zeros, 0), FieldValue(std::string("00000")));
    const FieldRow blankZero = {
        .id = "z", .encoding = Encoding::PackedDial, .width = 3, .blankRaw = 0};
    EXPECT_EQ(ReadField(blankZero, zeros, 0), FieldValue(std::string()));
    WriteField(blankZero, zeros, 0, std::string());
    EXPECT_EQ(zeros, (std::vector<std::uint8_t>{0, 0, 0}));
}

TEST(FieldOpsTest, SelcallDigitsKeepToTheirDigitsAndCapacity) {
    const FieldRow counted = {
        .id = "c", .encoding = Encoding::SelcallDigits, .width = 6, .pieces = kWordCount, .max = 8};
    // A count beyond the eight digits the field holds reads as eight; written back unchanged.
    std::vector<std::uint8_t> stored = {0x12, 0x34, 0x56, 0x78, 0x1F, 0x00};
    EXPECT_EQ(ReadField(counted, stored, 0), FieldValue(std::string("12345678")));
    WriteField(counted, stored, 0, ReadField(counted, stored, 0));
    EXPECT_EQ(stored[4], 0x1F);
    // Lower case is typed as upper case; other characters are refused, and dropped when stored.
    EXPECT_EQ(ParseField(counted, "1af"), FieldValue(std::string("1AF")));
    EXPECT_EQ(CheckField(counted, std::string("12G")), std::string(kNotSelcallMessage));
    EXPECT_EQ(CheckField(counted, std::string("123456789")),
              "Text too long.  At most 8 characters");
    std::vector<std::uint8_t> bytes(6, 0);
    WriteField(counted, bytes, 0, std::string("1-2 g3456789"));
    EXPECT_EQ(bytes, (std::vector<std::uint8_t>{0x12, 0x34, 0x56, 0x78, 8, 0}));
    // Without a count F is the fill, no digit.
    const FieldRow status = {.id = "s", .encoding = Encoding::SelcallDigits, .width = 2, .max = 4};
    EXPECT_EQ(CheckField(status, std::string("1F")), std::string(kNotSelcallStatusMessage));
    std::vector<std::uint8_t> two = {0x12, 0xF4};
    EXPECT_EQ(ReadField(status, two, 0), FieldValue(std::string("12")));
    WriteField(status, two, 0, std::string("1F3"));
    EXPECT_EQ(two, (std::vector<std::uint8_t>{0x13, 0xFF}));
}

TEST(FieldOpsTest, ARowThatLeavesItsBufferThrows) {
    const FieldRow row = {.id = "a", .encoding = Encoding::U16};
    std::vector<std::uint8_t> bytes(3, 0);
    EXPECT_THROW(ReadField(row, bytes, 2), std::out_of_range);
    EXPECT_THROW(WriteField(row, bytes, 2, std::int64_t{1}), std::out_of_range);
    EXPECT_THROW(ReadField(row, bytes, std::size_t(-1)), std::out_of_range);
}

TEST(FieldOpsTest, CompileTimeChecksRefuseRowsThatLeaveTheImageOrOverlap) {
    constexpr FieldRow inside[] = {{.id = "a", .at = {.trunk = 0}, .encoding = Encoding::U16},
                                   {.id = "b", .at = {.trunk = 2}}};
    static_assert(RowsValid(inside, ImageId::Trunk, 3));
    static_assert(!RowsValid(inside, ImageId::Trunk, 2));
    constexpr FieldRow overlapping[] = {{.id = "a", .at = {.pmr = 0}, .encoding = Encoding::U16},
                                        {.id = "b", .at = {.pmr = 1}}};
    static_assert(!RowsValid(overlapping, ImageId::Pmr, 10));
    constexpr FieldRow declared[] = {{.id = "a", .at = {.pmr = 0}, .encoding = Encoding::U16},
                                     {.id = "b", .at = {.pmr = 1}, .overlapDeclared = true}};
    static_assert(RowsValid(declared, ImageId::Pmr, 10));
    constexpr FieldRow bits[] = {
        {.id = "a", .at = {.pmr = 0}, .encoding = Encoding::Bits, .bitShift = 0, .bitCount = 4},
        {.id = "b", .at = {.pmr = 0}, .encoding = Encoding::Bits, .bitShift = 4, .bitCount = 4}};
    static_assert(RowsValid(bits, ImageId::Pmr, 1));
    constexpr FieldRow sharedBits[] = {
        {.id = "a", .at = {.pmr = 0}, .encoding = Encoding::Bits, .bitShift = 0, .bitCount = 5},
        {.id = "b", .at = {.pmr = 0}, .encoding = Encoding::Bits, .bitShift = 4, .bitCount = 4}};
    static_assert(!RowsValid(sharedBits, ImageId::Pmr, 1));
    constexpr FieldRow dialOverCapacity[] = {
        {.id = "a", .at = {.pmr = 0}, .encoding = Encoding::PackedDial, .width = 2, .max = 5}};
    static_assert(!RowsValid(dialOverCapacity, ImageId::Pmr, 8));
    constexpr FieldRow countOverDigits[] = {{.id = "a",
                                             .at = {.pmr = 0},
                                             .encoding = Encoding::SelcallDigits,
                                             .width = 6,
                                             .pieces = kWordCount,
                                             .max = 10}};
    static_assert(!RowsValid(countOverDigits, ImageId::Pmr, 8));
    constexpr FieldRow labelWithoutText[] = {
        {.id = "a", .at = {.pmr = 0}, .encoding = Encoding::Label, .width = 1}};
    static_assert(!RowsValid(labelWithoutText, ImageId::Pmr, 8));
    constexpr FieldRow mixedOrders[] = {
        {.id = "a", .at = {.pmr = 0}, .encoding = Encoding::Bits, .width = 2, .bitCount = 4},
        {.id = "b",
         .at = {.pmr = 0},
         .encoding = Encoding::BitsHighFirst,
         .width = 2,
         .bitShift = 4,
         .bitCount = 4}};
    static_assert(!RowsValid(mixedOrders, ImageId::Pmr, 2));
    // Pieces share bytes with bit fields and other pieces as long as their bits are apart.
    static constexpr BitPiece count[] = {{.offset = 0, .bytes = 2, .count = 16},
                                         {.offset = 2, .shift = 5}};
    static constexpr BitPiece highBit[] = {{.offset = 0, .shift = 7}};
    constexpr FieldRow spread[] = {
        {.id = "a", .at = {.pmr = 0}, .encoding = Encoding::Pieces, .width = 3, .pieces = count},
        {.id = "b", .at = {.pmr = 2}, .encoding = Encoding::Bits, .bitShift = 4, .bitCount = 1}};
    static_assert(RowsValid(spread, ImageId::Pmr, 3));
    constexpr FieldRow clash[] = {
        {.id = "a", .at = {.pmr = 0}, .encoding = Encoding::Pieces, .width = 3, .pieces = count},
        {.id = "b", .at = {.pmr = 2}, .encoding = Encoding::Pieces, .width = 1, .pieces = highBit},
        {.id = "c", .at = {.pmr = 1}, .encoding = Encoding::Bits, .bitShift = 0, .bitCount = 1}};
    static_assert(!RowsValid(clash, ImageId::Pmr, 3));
    constexpr FieldRow pieceOutside[] = {
        {.id = "a", .at = {.pmr = 0}, .encoding = Encoding::Pieces, .width = 2, .pieces = count}};
    static_assert(!RowsValid(pieceOutside, ImageId::Pmr, 10));
    // Two raster frequencies share their flag byte: receive at bitShift 0, transmit at 1.
    constexpr FieldRow rasters[] = {
        {.id = "tx",
         .at = {.pmr = 2},
         .encoding = Encoding::RasterFrequency,
         .width = 5,
         .bitShift = 1},
        {.id = "rx", .at = {.pmr = 4}, .encoding = Encoding::RasterFrequency, .width = 3}};
    static_assert(RowsValid(rasters, ImageId::Pmr, 7));
    static constexpr Choice twice[] = {{1, "x"}, {1, "y"}};
    constexpr FieldRow duplicateCodes[] = {{.id = "a", .at = {.pmr = 0}, .choices = twice}};
    static_assert(!RowsValid(duplicateCodes, ImageId::Pmr, 1));
    SUCCEED();
}

}  // namespace
}  // namespace km::fields

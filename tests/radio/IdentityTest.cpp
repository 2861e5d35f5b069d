// Identification of the connected radio: the type-code table, the Flash Index Table check, the
// band check with the hardware option flags, and the code descriptor lookup.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "OperationBench.h"
#include "radio/ProgramSteps.h"
#include "radio/RadioIdentity.h"

namespace km {
namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> IdentifyReply(std::uint8_t type, std::uint8_t optionBoard) {
    return {0x00, 0x7A, 0x00, type, 0x00, optionBoard};
}

TEST(IdentifyReplyTest, DecodesEveryTypeCode) {
    struct Case {
        std::uint8_t code;
        bool portable;
        int revision;
        int otherKind;
        bool secure;
    };
    const Case cases[] = {
        {0, false, 0, 0, false}, {1, true, 0, 0, false},  {3, false, 0, 2, false},
        {4, false, 4, 0, false}, {8, false, 8, 0, false}, {16, false, 0, 0, true},
        {17, true, 0, 0, true},  {18, false, 4, 0, true}, {22, false, 8, 0, true},
    };
    for (const auto& c : cases) {
        RadioIdentity identity;
        identity.Portable = !c.portable;  // stale values must be cleared
        identity.Secure = !c.secure;
        ASSERT_EQ(DecodeIdentifyReply(IdentifyReply(c.code, 1), identity),
                  IdentifyOutcome::Identified)
            << int(c.code);
        EXPECT_EQ(identity.TypeCode, c.code);
        EXPECT_EQ(identity.Portable, c.portable) << int(c.code);
        EXPECT_EQ(identity.MobileRevision, c.revision) << int(c.code);
        EXPECT_EQ(identity.OtherKind, c.otherKind) << int(c.code);
        EXPECT_EQ(identity.Secure, c.secure) << int(c.code);
        EXPECT_TRUE(identity.OptionBoardFitted);
    }
}

TEST(IdentifyReplyTest, UnknownTypesShortRepliesAndOptionBoardFlag) {
    RadioIdentity identity;
    identity.Secure = true;
    EXPECT_EQ(DecodeIdentifyReply(IdentifyReply(5, 0), identity), IdentifyOutcome::UnknownType);
    EXPECT_FALSE(identity.Secure);
    EXPECT_EQ(identity.TypeCode, 5);

    const std::vector<std::uint8_t> shortReply{0x00, 0x7A, 0x00, 0x01, 0x00};
    EXPECT_EQ(DecodeIdentifyReply(shortReply, identity), IdentifyOutcome::NotAnIdentifyReply);
    const std::vector<std::uint8_t> readData{0x00, 0x81, 0x00, 0x01, 0x00, 0x01};
    EXPECT_EQ(DecodeIdentifyReply(readData, identity), IdentifyOutcome::NotAnIdentifyReply);

    for (std::uint8_t flag : {0, 2, 0xFF}) {
        ASSERT_EQ(DecodeIdentifyReply(IdentifyReply(4, flag), identity),
                  IdentifyOutcome::Identified);
        EXPECT_FALSE(identity.OptionBoardFitted) << int(flag);
    }
}

TEST(RadioTextsTest, SecureRadioTextsCarryTheirBlanks) {
    const std::string reading = kInvalidRadioText;
    const std::string programming = kInvalidRadioProgrammingText;
    const std::string tail = "\nThis RCP cannot read/write secure radios.";
    EXPECT_EQ(reading, "Invalid Radio." + std::string(28, ' ') + tail);
    EXPECT_EQ(programming, "Invalid Radio." + std::string(32, ' ') + tail);
}

class FitTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("km_fit_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                   "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    void WriteFitFile(const std::string& name, std::size_t size, std::uint8_t fill) {
        std::ofstream out(folder_ / name, std::ios::binary);
        const std::vector<char> bytes(size, static_cast<char>(fill));
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }

    static IdentificationBuffer RadioTable(bool signature, std::uint8_t flashType) {
        IdentificationBuffer buffer;
        buffer.Fill(0x33);
        buffer.SetU8(1, flashType);
        buffer.SetU8(4, signature ? 'J' : 0);
        buffer.SetU8(5, signature ? 'W' : 0);
        return buffer;
    }

    fs::path folder_;
};

TEST_F(FitTest, RadiosWithTheirOwnTable) {
    struct Case {
        std::uint8_t type;
        std::uint8_t flashType;
        bool pass;
    };
    const Case
        cases[] =
            {
                {1, 1, true},  {1, 2, true},  {1, 3, false}, {1, 0, false},
                {4, 2, true},  {8, 1, true},  {17, 2, true}, {18, 1, true},
                {22, 2, true}, {3, 1, false}, {0, 1, false},  // a table with a signature is not for
                                                              // a radio that has none
            };
    for (const auto& c : cases) {
        IdentificationBuffer buffer = RadioTable(true, c.flashType);
        RadioIdentity identity;
        identity.TypeCode = c.type;
        EXPECT_EQ(ValidateFit(buffer, identity, {folder_}), c.pass)
            << int(c.type) << "/" << int(c.flashType);
        if (c.pass) {
            EXPECT_EQ(identity.FlashType, c.flashType);
            EXPECT_EQ(buffer.U8(8), 0x33);
        } else {
            EXPECT_EQ(buffer, IdentificationBuffer{}) << "a failed table is cleared";
        }
    }
}

TEST_F(FitTest, RadiosWithoutTableUseTheFile) {
    IdentificationBuffer buffer = RadioTable(false, 1);
    RadioIdentity identity;
    identity.TypeCode = 0;
    EXPECT_FALSE(ValidateFit(buffer, identity, {folder_})) << "no file beside the program";

    WriteFitFile("FIT000101.BIN", 256, 0x5A);
    buffer = RadioTable(false, 1);
    identity.TypeCode = 16;
    ASSERT_TRUE(ValidateFit(buffer, identity, {folder_ / "missing", folder_}));
    EXPECT_EQ(identity.FlashType, 0);
    EXPECT_EQ(buffer.U8(0), 0x5A);
    EXPECT_EQ(buffer.U8(255), 0x5A);
    EXPECT_EQ(buffer.U8(256), 0x33) << "only 256 bytes come from the file";

    buffer = RadioTable(false, 1);
    identity.TypeCode = 3;
    EXPECT_FALSE(ValidateFit(buffer, identity, {folder_})) << "type 3 never passes";
    identity.TypeCode = 1;
    EXPECT_FALSE(ValidateFit(buffer, identity, {folder_})) << "a portable must carry its table";
}

TEST_F(FitTest, FileOfTheWrongSizeCountsAsMissing) {
    for (std::size_t size : {0u, 255u, 257u, 512u}) {
        WriteFitFile("FIT000101.bin", size, 0x5A);
        IdentificationBuffer buffer = RadioTable(false, 0);
        RadioIdentity identity;
        EXPECT_FALSE(ValidateFit(buffer, identity, {folder_})) << size;
    }
}

TEST(FitEntryTest, EntriesAndUsableBlocks) {
    IdentificationBuffer buffer;
    buffer.SetU8(8 * 17, 0x2A);
    buffer.SetU16BE(8 * 17 + 2, 0x0123);
    buffer.SetU8(8 * 31, 0x07);
    buffer.SetU16BE(8 * 31 + 2, 0xFFFF);
    EXPECT_EQ(FitEntryAt(buffer, 17).sector, 0x2A);
    EXPECT_EQ(FitEntryAt(buffer, 17).block, 0x0123);
    EXPECT_EQ(FitEntryAt(buffer, 31).block, 0xFFFF);

    EXPECT_TRUE(BlockUsable(1));
    EXPECT_TRUE(BlockUsable(0xFFF0, 0x0E));
    EXPECT_FALSE(BlockUsable(0));
    EXPECT_FALSE(BlockUsable(0xFFFF));
    EXPECT_FALSE(BlockUsable(0xFFF0, 0x10)) << "must not wrap past the 16-bit block range";
}

std::vector<std::uint8_t> BandRecord(std::uint8_t high, std::uint8_t low, std::uint8_t b26 = 0,
                                     std::uint8_t b27 = 0) {
    std::vector<std::uint8_t> record(kBandRecordSize, 0);
    record[8] = high;
    record[9] = low;
    record[26] = b26;
    record[27] = b27;
    return record;
}

constexpr std::uint16_t Band(char first, char second) {
    return static_cast<std::uint16_t>((static_cast<std::uint8_t>(first) << 8) |
                                      static_cast<std::uint8_t>(second));
}

TEST(CheckBandTest, UnsetRadioBandsPassAnyJob) {
    for (std::uint8_t value : {0x00, 0xFF}) {
        RadioIdentity identity;
        EXPECT_FALSE(CheckBand(BandRecord(value, value), Band('A', 'B'), identity));
        EXPECT_EQ(identity.RadioBand, value * 0x101);
    }
}

TEST(CheckBandTest, MismatchNamesRadioBandFirst) {
    RadioIdentity identity;
    const auto message = CheckBand(BandRecord('C', 'D'), Band('A', 'B'), identity);
    ASSERT_TRUE(message);
    EXPECT_EQ(*message,
              "Incorrect Frequency Band.                                   \n\n   Radio Band:    "
              "CD                                   \n   Job File Band: AB ");
    EXPECT_EQ(identity.RadioBand, Band('C', 'D'));
    EXPECT_FALSE(CheckBand(BandRecord('A', 'B'), Band('A', 'B'), identity));
}

TEST(CheckBandTest, HardwareOptionFlagsAreSetWhenTheirBitIsClear) {
    struct Case {
        std::uint8_t b26, b27;
        bool a, b, c;
    };
    const Case cases[] = {
        {0x00, 0x00, true, true, true},  {0x04, 0x00, false, true, true},
        {0xFB, 0x5F, true, true, true},  {0x00, 0x80, true, false, true},
        {0x00, 0x20, true, true, false}, {0xFF, 0xFF, false, false, false},
    };
    for (const auto& c : cases) {
        RadioIdentity identity;
        CheckBand(BandRecord(0xFF, 0xFF, c.b26, c.b27), 0, identity);
        EXPECT_EQ(identity.HardwareOptionA, c.a) << int(c.b26) << " " << int(c.b27);
        EXPECT_EQ(identity.HardwareOptionB, c.b) << int(c.b26) << " " << int(c.b27);
        EXPECT_EQ(identity.HardwareOptionC, c.c) << int(c.b26) << " " << int(c.b27);
    }
}

std::vector<std::uint8_t> AreaHead(std::uint16_t pointer) {
    std::vector<std::uint8_t> head(128, 0xEE);
    head[7] = static_cast<std::uint8_t>(pointer >> 8);
    head[8] = static_cast<std::uint8_t>(pointer & 0xFF);
    return head;
}

TEST(DescriptorTest, LocationSkipsTheGapByteAfterEvery16383Bytes) {
    struct Case {
        std::uint16_t pointer;
        std::uint16_t block;
        std::uint16_t offset;
    };
    const Case cases[] = {
        {100, 640, 109},           // e = 109
        {503, 641, 0},             // e = 512
        {16373, 671, 510},         // e = 16382, no gap yet
        {16374, 672, 0},           // e = 16383 -> 16384
        {32756, 703, 510},         // e = 32765 -> 32766
        {32757, 704, 0},           // e = 32766 -> 32768
        {32758, 704, 1},           // e = 32767 -> 32769
        {0xFFF0, 640 + 127, 508},  // e = 65529 -> 65532
    };
    for (const auto& c : cases) {
        const auto where = LocateDescriptor(AreaHead(c.pointer), 640);
        ASSERT_TRUE(where) << c.pointer;
        EXPECT_EQ(where->block, c.block) << c.pointer;
        EXPECT_EQ(where->offset, c.offset) << c.pointer;
    }
}

TEST(DescriptorTest, MissingAreasAndPointersOutOfRange) {
    EXPECT_FALSE(LocateDescriptor(AreaHead(0), 640)) << "area pointer 0";
    EXPECT_FALSE(LocateDescriptor(AreaHead(0xFFFF), 640)) << "erased area";
    EXPECT_FALSE(LocateDescriptor(AreaHead(0xFFF0), 0xFFC0)) << "would wrap the block number";
    EXPECT_FALSE(LocateDescriptor(AreaHead(100), 0));
    EXPECT_FALSE(LocateDescriptor(std::vector<std::uint8_t>(8, 1), 640)) << "too short";
}

TEST(DescriptorTest, MissingDescriptorsReadUndefined) {
    std::vector<std::uint8_t> read(768, 'x');
    const CodeDescriptor undefined = UndefinedDescriptor();
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(undefined.data())), "Undefined");
    EXPECT_NE(TakeDescriptor(read, 100), undefined);
    EXPECT_EQ(TakeDescriptor(read, 100)[63], 'x');
    read[100] = 0x00;
    EXPECT_EQ(TakeDescriptor(read, 100), undefined);
    read[100] = 0xFF;
    EXPECT_EQ(TakeDescriptor(read, 100), undefined);
    EXPECT_EQ(TakeDescriptor(read, 705), undefined) << "would run past what was read";
}

// The band check as programming runs it, against the virtual radio: up to the band record, then
// the operation finishes.
class BandCheckMachine : public JobProgramming {
  public:
    BandCheckMachine(RadioOperations& host, std::uint16_t jobBand)
        : JobProgramming(host), jobBand_(jobBand) {}

  private:
    bool TakeConfigurationAreas() override { return true; }
    bool QueueConfiguration() override { return true; }
    void BeginProgramming() override {
        ThenIdentifyRadio(
            kInvalidRadioProgrammingText, jobBand_, kBandCheckCode,
            [this] {
                Complete();
                return false;
            },
            [] { return SoftwareChoice{}; });
    }
    static constexpr ProgrammedCode kBandCheckCode{kTrunkCodeEntry, 0,  false,  "",
                                                   nullptr,         "", nullptr};
    std::uint16_t jobBand_;
};

class BandCheckOperationTest : public testing::OperationBench {
  protected:
    void CheckAgainst(std::uint16_t jobBand) {
        operations_->Register(OperationKind::ProgramTrunk,
                              std::make_unique<BandCheckMachine>(*operations_, jobBand));
        ASSERT_TRUE(operations_->BeginCommand(OperationKind::ProgramTrunk, "Program Radio",
                                              "Connecting to Radio"));
        ASSERT_TRUE(RunToEnd());
    }
};

TEST_F(BandCheckOperationTest, RadioBandAgainstJobBand) {
    StartRadio("type = 4\nband = CD\nhardware_byte26 = 0xFB\nhardware_byte27 = 0x7F\n");
    CheckAgainst(Band('A', 'B'));
    EXPECT_EQ(
        person_.Texts(),
        std::vector<std::string>{
            "Incorrect Frequency Band.                                   \n\n   Radio Band:    "
            "CD                                   \n   Job File Band: AB "});
    EXPECT_EQ(operations_->Identity().RadioBand, Band('C', 'D'));
    EXPECT_FALSE(RadioLogged("EndProgramming")) << "a mismatch aborts";
}

TEST_F(BandCheckOperationTest, ErasedRadioBandPassesAnyJob) {
    StartRadio("type = 4\nband =\nhardware_byte26 = 0xFB\nhardware_byte27 = 0x7F\n");
    CheckAgainst(Band('A', 'B'));
    EXPECT_TRUE(person_.shown.empty());
    EXPECT_TRUE(RadioLogged("EndProgramming"));
    EXPECT_EQ(operations_->Identity().RadioBand, 0xFFFF);
    EXPECT_TRUE(operations_->Identity().HardwareOptionA);
    EXPECT_TRUE(operations_->Identity().HardwareOptionB) << "bit 7 of byte 27 is clear";
    EXPECT_FALSE(operations_->Identity().HardwareOptionC) << "bit 5 of byte 27 is set";
}

}  // namespace
}  // namespace km

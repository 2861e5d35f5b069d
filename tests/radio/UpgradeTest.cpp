// Upgrade Software against the virtual radio: the pieces a code file is written in, the overlay
// of trunk code, the checks of the code against the radio (all before the erase), and the
// question that ends a download.

#include <gtest/gtest.h>

#include "ProgramFixtures.h"

namespace km {
namespace {

using testing::RadioWrite;
namespace fit = sim::fit;

class UpgradeTest : public testing::ProgramBench {
  protected:
    // Downloads `file` (answering Yes to the upgrade question and `another` to the last one).
    bool Download(const std::vector<std::uint8_t>& file, Answer another = Answer::No,
                  const std::string& name = "code.bin") {
        const auto path = PutCode(name, file);
        person_.answers = {Answer::Yes, another};
        upgrade_->onEnded = [this](bool closeDialog) { dialogClosed_ = closeDialog; };
        if (!StartDownload(*operations_, path)) {
            return false;
        }
        EXPECT_TRUE(RunToEnd());
        return true;
    }

    std::optional<bool> dialogClosed_;
};

struct PiecesCase {
    const char* name;
    const char* profile;
    std::uint8_t codeType;
    std::size_t codeLength;
    bool overlay;
    int entry;  // where the code goes
    std::vector<int> pieceBlocks;
    std::string caption;
};

class UpgradePiecesTest : public UpgradeTest, public ::testing::WithParamInterface<PiecesCase> {};

TEST_P(UpgradePiecesTest, WritesTheCodeInItsPieces) {
    const PiecesCase& c = GetParam();
    StartRadio(c.profile);
    const auto file = testing::SampleCodeFile(c.codeType, "V6.30", c.codeLength, c.overlay);
    ASSERT_TRUE(Download(file));
    ExpectEndedCleanly();
    EXPECT_EQ(dialogClosed_, std::optional<bool>(true));
    EXPECT_EQ(person_.Texts().front(),
              "Are you sure you want to upgrade the Radio's " + c.caption + " Software?\n ");
    EXPECT_EQ(person_.Texts().back(), kDownloadAnotherQuestion);

    const int block = Block(c.entry);
    std::vector<int> erases{Sector(c.entry)};
    std::vector<RadioWrite> writes;
    for (std::size_t i = 0; i < c.pieceBlocks.size(); ++i) {
        writes.push_back({c.pieceBlocks[i], block + 32 * static_cast<int>(i)});
    }
    if (c.overlay) {
        erases.push_back(Sector(c.entry) + 1);
        writes.push_back({128, block + 128});
    }
    EXPECT_EQ(Erases(), erases);
    EXPECT_EQ(Writes(), writes);
    EXPECT_EQ(RadioBytes(block, 16383),
              std::vector<std::uint8_t>(file.begin(), file.begin() + 16383));
    if (c.overlay) {
        // The section (its 3-byte head and 303 bytes) lands in slot 1, 4096 bytes in; every other
        // byte of the overlay area is the code image's.
        std::vector<std::uint8_t> overlay(file.begin(), file.begin() + 16383);
        std::fill_n(overlay.begin() + 4096, 306, 0x5A);
        overlay[4096] = 0x00;
        overlay[4097] = 100;
        overlay[4098] = 1;
        EXPECT_EQ(RadioBytes(block + 128, 16383), overlay);
        // The overlay is counted from 0 already while its sector is erased.
        EXPECT_EQ(progress_.GaugeAt("Erasing Code Overlay Sector. (3 Seconds)"), std::pair(127, 0));
        EXPECT_EQ(progress_.GaugeAt("Updating Radio's Overlay Software"), std::pair(127, 0));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, UpgradePiecesTest,
    ::testing::Values(
        // 40000 bytes: 16383, 16383, 7234 and an empty fourth piece (one block), then the overlay.
        PiecesCase{"TrunkCodeWithOverlay",
                   "type = 0\n",
                   2,
                   40000,
                   true,
                   fit::kTrunkCode,
                   {128, 128, 57, 1},
                   "TRUNK"},
        // Without bytes after the record there is no overlay: its sector is left alone.
        PiecesCase{"TrunkCodeWithoutOverlay",
                   "type = 0\n",
                   2,
                   40000,
                   false,
                   fit::kTrunkCode,
                   {128, 128, 57, 1},
                   "TRUNK"},
        // Startup code: two pieces, never an overlay.
        PiecesCase{
            "StartupCode", "type = 0\n", 4, 20000, false, fit::kStartupCode, {128, 29}, "StartUp"},
        // Every code but startup code brings its overlay along.
        PiecesCase{"PmrCodeWithOverlay",
                   "type = 0\n",
                   3,
                   30000,
                   true,
                   fit::kPmrCode,
                   {128, 107, 1, 1},
                   "PMR"},
        PiecesCase{"OptionBoardCodeWithOverlay",
                   "type = 0\noption_board = yes\n",
                   132,
                   20000,
                   true,
                   fit::kOptionBoardCode,
                   {128, 29, 1, 1},
                   "DMAP"},
        PiecesCase{"ApcoCodeWithOverlay",
                   "type = 4\n",
                   82,
                   20000,
                   true,
                   fit::kApcoCode,
                   {128, 29, 1, 1},
                   "APCO-P25"},
        PiecesCase{"Revision10PmrCode",
                   "type = 8\n",
                   91,
                   30000,
                   false,
                   fit::kPmrCode,
                   {128, 107, 1, 1},
                   "PMR"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(UpgradeTest, AnotherFileKeepsTheDialog) {
    StartRadio("type = 0\n");
    ASSERT_TRUE(Download(testing::SampleCodeFile(4, "V6.30", 20000, false), Answer::Yes));
    EXPECT_EQ(dialogClosed_, std::optional<bool>(false));
    EXPECT_FALSE(state_.CommsBusy);
    EXPECT_EQ(operations_->PendingOperation(), OperationKind::None);
}

// ---- Refusals: the radio keeps its code ----

struct RefusedCase {
    const char* name;
    const char* profile;
    std::uint8_t codeType;
    const char* softwareCode;
    const char* version;
    std::string text;
};

class UpgradeRefusalTest : public UpgradeTest, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(UpgradeRefusalTest, RefusesBeforeTheErase) {
    const RefusedCase& c = GetParam();
    StartRadio(c.profile);
    const auto before = AllRadioBytes();
    ASSERT_TRUE(
        Download(testing::SampleCodeFile(c.codeType, c.version, 20000, false, c.softwareCode)));
    ASSERT_EQ(person_.shown.size(), 2u) << person_.Texts().back();
    EXPECT_EQ(person_.Texts().back(), c.text);
    EXPECT_EQ(person_.shown.back().kind, BoxKind::Error);
    EXPECT_TRUE(Erases().empty());
    EXPECT_EQ(AllRadioBytes(), before);
    EXPECT_FALSE(state_.CommsBusy);
    EXPECT_FALSE(link_->PortOpen());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UpgradeRefusalTest,
    ::testing::Values(
        RefusedCase{"PortableCodeIntoMobile", "type = 0\n", 61, "14670", "V6.30",
                    "Cannot download KP800 Portable code into an KM700 Mobile."},
        RefusedCase{"Revision8CodeIntoPortable", "type = 1\n", 2, "10810", "V6.30",
                    "Cannot download KM700 Mobile code into an KP800 Portable."},
        RefusedCase{"Revision9CodeIntoRevision10", "type = 8\n", 83, "12920", "V6.30",
                    "Cannot download Revision 9 KM700 Mobile code into a Revision 10 KM700 "
                    "Mobile."},
        RefusedCase{"OptionBoardCodeWithoutBoard", "type = 0\n", 132, "11900", "V2.10",
                    "Cannot download option board code. \nNo option board fitted."},
        RefusedCase{"SecureRadio", "type = 16\n", 2, "10810", "V6.30", kInvalidRadioText},
        // Standard KP8D code (class 1) for a KP8B: bit 7 of band record byte 27 set.
        RefusedCase{"Kp8dCodeIntoKp8b", "type = 1\nhardware_byte27 = 0xFF\n", 61, "14670", "V6.30",
                    "Cannot download KP8D Portable Code into an KP8B Portable."},
        RefusedCase{"KnobCodeIntoStandardKp8d", "type = 1\nhardware_byte27 = 0x7F\n", 61, "16230",
                    "V6.30", "Cannot download KP8D(with Rotary Knob) Code into Standard KP8D."},
        // APCO P25 code has no radio check of its own, but V6.20 cannot go onto new flash.
        RefusedCase{"ApcoOlderSoftwareOnNewFlash", "type = 4\nflash_type = 2\n", 82, "15000",
                    "V6.20", kOlderSoftwareText}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(UpgradeTest, UnusableFilesAreRefusedBeforeTheRadioIsAsked) {
    StartRadio("type = 0\n");
    auto unknownType = testing::SampleCodeFile(2, "V6.30", 20000, false);
    unknownType[20000 - 72 + 9 + 47] = 77;  // a code type the radio does not know
    auto truncated = testing::SampleCodeFile(2, "V6.30", 20000, false);
    truncated.resize(19000);
    struct Case {
        std::vector<std::uint8_t> file;
        const char* text;
    };
    const Case cases[] = {{unknownType, kUnknownCodeFileText},
                          {truncated, kNoDescriptionDownloadText}};
    for (const Case& c : cases) {
        person_.shown.clear();
        const auto path = PutCode("code.bin", c.file);
        EXPECT_FALSE(StartDownload(*operations_, path));
        EXPECT_EQ(person_.Texts(), std::vector<std::string>{c.text});
        EXPECT_FALSE(state_.CommsBusy);
    }
    EXPECT_FALSE(RadioLogged("IdentifyRequest"));
}

TEST_F(UpgradeTest, DeclinedQuestionStartsNothing) {
    StartRadio("type = 0\n");
    const auto path = PutCode("code.bin", testing::SampleCodeFile(2, "V6.30", 20000, false));
    person_.answers = {Answer::No};
    EXPECT_FALSE(StartDownload(*operations_, path));
    EXPECT_FALSE(state_.CommsBusy);
    EXPECT_FALSE(link_->PortOpen());
}

}  // namespace
}  // namespace km

#include "radio/SoftwareChoice.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PrepTestSupport.h"
#include "ScriptedPerson.h"

namespace km {
namespace {

using testing::Mobile;
using testing::PortableRadio;
using testing::Record;
using testing::ScratchFolder;
using testing::ScriptedPerson;

constexpr int kHmA = 1, kHmB = 2, kHmC = 4, kHmE = 8, kHmF = 16, kHmD = 32;
constexpr int kMpt1343 = 0, kAnn = 1, k3rp = 2, kCpsx = 3;
constexpr int kMap27 = 0, kSup = 1;

struct TrunkJobSettings {
    int scheme = kMpt1343;
    int optionBoard = 0;
    int protocol = kMap27;
};

TrunkJobImage TrunkJob(const TrunkJobSettings& s) {
    TrunkJobImage job;
    job.SetU16(trunk::NetworkFileStart(0) + network::kNumberingScheme,
               static_cast<std::uint16_t>(s.scheme));
    job.SetU16(0x2142, static_cast<std::uint16_t>(s.optionBoard));
    job.SetU8(0x20F5, static_cast<std::uint8_t>(s.protocol << 3 | 0x05));  // data rate bits kept
    return job;
}

struct PmrJobSettings {
    bool zoneMode = false;
    int optionBoard = 0;
    int protocol = kMap27;
    std::uint16_t band = 0x4143;  // AC
};

PmrJobImage PmrJob(const PmrJobSettings& s) {
    PmrJobImage job;
    job.SetU8(7460, s.zoneMode ? 0x03 : 0x01);
    job.SetU16(0x2B2E, static_cast<std::uint16_t>(s.optionBoard));
    job.SetU8(0x2B2D, static_cast<std::uint8_t>(s.protocol << 3));
    job.SetU16(pmr::kBandCode, s.band);
    return job;
}

constexpr std::uint16_t kBandX8 = 0x5838;

RadioIdentity Revision8() {
    return Mobile(0);
}
RadioIdentity X8Mobile(int revision) {
    RadioIdentity radio = Mobile(revision);
    radio.RadioBand = kBandX8;
    return radio;
}

// ---- The worked cases of a Revision 8 HM-F mobile on MPT1343 (trunk part number 1081) ----

class HmFMobileTest : public ::testing::Test {
  protected:
    SoftwareChoice Choose(const std::string& radioVersion, int startupVersion,
                          TrunkJobSettings settings = {}) {
        return ChooseRadioSoftware(TrunkJob(settings), {kHmF, 0}, Revision8(),
                                   Record("1081", radioVersion), startupVersion, folder.Path(),
                                   person);
    }

    ScratchFolder folder;
    ScriptedPerson person;
};

TEST_F(HmFMobileTest, LaterVersionOnDiskIsOfferedAndUpgradesBothCodes) {
    for (const char* name : {"7ktm620.bin", "7ktm630.bin", "7ks_630.bin"}) {
        folder.Put(name);
    }
    struct Case {
        Answer answer;
        int startupVersion;
        int result;
    };
    for (const Case& c : {Case{Answer::Yes, 620, kUpgradeTrunkCode | kUpgradeStartupCode},
                          Case{Answer::Yes, 630, kUpgradeTrunkCode}, Case{Answer::No, 620, 0}}) {
        person.shown.clear();
        person.answers = {c.answer};
        const SoftwareChoice choice = Choose("V6.20", c.startupVersion);
        EXPECT_EQ(choice.result, c.result);
        ASSERT_EQ(person.shown.size(), 1u);
        EXPECT_EQ(person.shown[0].kind, BoxKind::Confirmation);
        EXPECT_EQ(person.shown[0].buttons, Buttons::YesNo);
        EXPECT_EQ(person.shown[0].text,
                  "A later version of radio software has been found on the computer's disk "
                  "drive.            \nIt is recommended that you upgrade to the latest software "
                  "version.            \n\n   Current Radio Software: V6.20            \n   "
                  "Latest Version on PC:   V6.30            \n\nDo you want to update radio code "
                  "to the latest version?");
        if (c.answer == Answer::Yes) {
            EXPECT_EQ(choice.codePath, folder.Path() / "7ktm630.bin");
            EXPECT_EQ(choice.startupCodePath, folder.Path() / "7ks_630.bin");
            EXPECT_EQ(choice.versionText, "6.30");
        }
    }
}

TEST_F(HmFMobileTest, StartupAndTrunkVersionsThatDifferUpgradeNothing) {
    folder.Put("7ktm630.bin");
    folder.Put("7ks_620.bin");
    const SoftwareChoice choice = Choose("V6.20", 620);
    EXPECT_EQ(choice.result, 0);
    EXPECT_TRUE(person.shown.empty());
    EXPECT_TRUE(choice.codePath.empty());
    EXPECT_TRUE(choice.startupCodePath.empty());
}

TEST_F(HmFMobileTest, OlderVersionOnDiskOffersDowngradeThenAsksToProgramAnyway) {
    folder.Put("7ktm630.bin");
    folder.Put("7ks_630.bin");
    struct Case {
        std::vector<Answer> answers;
        int result;
    };
    for (const Case& c :
         {Case{{Answer::No, Answer::No}, kSoftwareStop}, Case{{Answer::No, Answer::Yes}, 0},
          Case{{Answer::Yes}, kUpgradeTrunkCode}}) {
        person.shown.clear();
        person.answers.assign(c.answers.begin(), c.answers.end());
        const SoftwareChoice choice = Choose("V6.40", 640);
        EXPECT_EQ(choice.result, c.result);
        ASSERT_EQ(person.shown.size(), c.answers.size());
        EXPECT_EQ(person.shown[0].text,
                  "You should upgrade your RCP to the latest version.            \n\n   Current "
                  "Radio Software: V6.40 \n   Latest Version on PC:   V6.30            \n\nTo be "
                  "sure that your new RCP configuration works, you can downgrade your radio code "
                  "to V6.30.            \nDo you wish to downgrade your radio software and "
                  "continue programming your radio?");
        if (c.answers.size() == 2) {
            EXPECT_EQ(person.shown[1].text, "Do you want to program your radio anyway?");
        }
    }
}

TEST_F(HmFMobileTest, SameVersionOnDiskProgramsTheConfigurationOnly) {
    folder.Put("7ktm630.bin");
    folder.Put("7ks_630.bin");
    EXPECT_EQ(Choose("V6.30", 630).result, 0);
    EXPECT_TRUE(person.shown.empty());
}

TEST_F(HmFMobileTest, MissingFileQuestionNamesThePatternOfTheNewSoftware) {
    // The folder lies outside the current folder: its whole path, as the system writes it.
    const std::string named = (folder.Path() / "7ktmg???.bin").string();
    const std::string expected =
        "Missing File: " + named +
        "                           \nCannot upgrade "
        "radio software.                           \nCurrent radio software may not be "
        "compatible with the control head.                          \nDo you want to program "
        "the RCP configuration anyway?";
    for (const auto& [answer, result] :
         {std::pair{Answer::Yes, 0}, std::pair{Answer::No, kSoftwareStop}}) {
        person.shown.clear();
        person.answers = {answer};
        EXPECT_EQ(Choose("V6.20", 620, {kMpt1343, 1, kMap27}).result, result);
        ASSERT_EQ(person.shown.size(), 1u);
        EXPECT_EQ(person.shown[0].text, expected);
    }
}

TEST_F(HmFMobileTest, MissingFileInsideTheWorkingFolderIsNamedFromThere) {
    // The desktop program works in its working folder: the question names Radio_SW/... there.
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(folder.Path().parent_path());
    person.answers = {Answer::No};
    Choose("V6.20", 620, {kMpt1343, 1, kMap27});
    std::filesystem::current_path(before);
    ASSERT_EQ(person.shown.size(), 1u);
    const std::string named = (folder.Path().filename() / "7ktmg???.bin").string();
    EXPECT_TRUE(person.shown[0].text.starts_with("Missing File: " + named + " "))
        << person.shown[0].text;
    EXPECT_EQ(person.shown[0].text.find('\\'), std::string::npos);
}

TEST_F(HmFMobileTest, OnlyTheStartupFileMissingNamesNoPattern) {
    folder.Put("7ktmg630.bin");
    person.answers = {Answer::Yes};
    EXPECT_EQ(Choose("V6.20", 620, {kMpt1343, 1, kMap27}).result, 0);
    ASSERT_EQ(person.shown.size(), 1u);
    EXPECT_TRUE(person.shown[0].text.starts_with("Missing File:                            \n"));
}

TEST_F(HmFMobileTest, ChangedSoftwareTypeAsksBeforeUpgrading) {
    folder.Put("7ktmg630.bin");
    folder.Put("7ks_630.bin");
    for (const auto& [answer, result] :
         {std::pair{Answer::Yes, kUpgradeTrunkCode}, std::pair{Answer::No, kSoftwareStop}}) {
        person.shown.clear();
        person.answers = {answer};
        const SoftwareChoice choice = Choose("V6.30", 630, {kMpt1343, 1, kMap27});
        EXPECT_EQ(choice.result, result);
        ASSERT_EQ(person.shown.size(), 1u);
        EXPECT_EQ(person.shown[0].text, kTypeChangeQuestion);
        if (answer == Answer::Yes) {
            EXPECT_EQ(choice.codePath, folder.Path() / "7ktmg630.bin");
        }
    }
}

TEST_F(HmFMobileTest, ChangedSoftwareTypeWithVersionMismatchAsksTheMismatchQuestion) {
    folder.Put("7ktmg630.bin");
    folder.Put("7ks_620.bin");
    person.answers = {Answer::No};
    EXPECT_EQ(Choose("V6.30", 630, {kMpt1343, 1, kMap27}).result, kSoftwareStop);
    ASSERT_EQ(person.shown.size(), 1u);
    EXPECT_EQ(person.shown[0].text, kTrunkVersionMismatchQuestion);
}

TEST_F(HmFMobileTest, NamesMatchIgnoringCaseAndTheLastInNameOrderWins) {
    for (const char* name : {"7KTM640.BIN", "7ktm630.bin", "7ktmg650.bin", "7ks_640.Bin"}) {
        folder.Put(name);
    }
    person.answers = {Answer::Yes};
    const SoftwareChoice choice = Choose("V6.20", 620);
    EXPECT_EQ(choice.result, kUpgradeTrunkCode | kUpgradeStartupCode);
    EXPECT_EQ(choice.codePath, folder.Path() / "7KTM640.BIN");
    EXPECT_EQ(choice.startupCodePath, folder.Path() / "7ks_640.Bin");
    EXPECT_EQ(choice.versionText, "6.40");
}

// ---- Radios whose software the table does not know ----

TEST(SoftwareChoiceTest, SpecialRadioCodeAsksWhetherToProgramAnyway) {
    ScratchFolder folder;
    for (const auto& [answer, result] :
         {std::pair{Answer::Yes, 0}, std::pair{Answer::No, kSoftwareStop}}) {
        ScriptedPerson person;
        person.answers = {answer};
        const SoftwareChoice choice =
            ChooseRadioSoftware(TrunkJob({}), {kHmF, 0}, Revision8(), Record("2001", "V6.20"), 620,
                                folder.Path(), person);
        EXPECT_EQ(choice.result, result);
        ASSERT_EQ(person.shown.size(), 1u);
        EXPECT_EQ(person.shown[0].text,
                  "Radio contains special radio code: 20010                        \nThe radio "
                  "software and configuration is unknown to this RCP.                        \nDo "
                  "you want to program the RCP configuration anyway?");
    }
}

TEST(SoftwareChoiceTest, UnknownPartNumberNeverMatchesTheNeededType) {
    ScratchFolder folder;
    folder.Put("7ktm630.bin");
    folder.Put("7ks_630.bin");
    for (const char* part : {"0000", "", "ABCD"}) {
        ScriptedPerson person;
        person.answers = {Answer::Yes};
        const SoftwareChoice choice =
            ChooseRadioSoftware(TrunkJob({}), {kHmF, 0}, Revision8(), Record(part, "V6.30"), 630,
                                folder.Path(), person);
        EXPECT_EQ(choice.result, kUpgradeTrunkCode) << part;
        ASSERT_EQ(person.shown.size(), 1u);
        EXPECT_EQ(person.shown[0].text, kTypeChangeQuestion);
    }
}

TEST(SoftwareChoiceTest, PortableAndMobileJobsGoOnlyIntoTheirOwnRadios) {
    ScratchFolder folder;
    struct Case {
        int mask;
        RadioIdentity radio;
        const char* text;
    };
    for (const Case& c :
         {Case{kHmF, PortableRadio(false, false, false), kMobileJobIntoPortableText},
          Case{1024, Mobile(0), kPortableJobIntoMobileText}}) {
        for (bool pmrJob : {false, true}) {
            ScriptedPerson person;
            const SoftwareChoice choice =
                pmrJob ? ChoosePmrSoftware(PmrJob({}), {c.mask, 0}, c.radio,
                                           Record("1072", "V6.30"), 630, folder.Path(), person)
                       : ChooseRadioSoftware(TrunkJob({}), {c.mask, 0}, c.radio,
                                             Record("1081", "V6.30"), 630, folder.Path(), person);
            EXPECT_EQ(choice.result, kSoftwareStop);
            ASSERT_EQ(person.shown.size(), 1u);
            EXPECT_EQ(person.shown[0].kind, BoxKind::Error);
            EXPECT_EQ(person.shown[0].text, c.text);
        }
    }
}

// ---- Which files each job needs ----

// The needed files are found and the radio's part number names the needed type: an older radio
// version is offered the later files (a type change would ask another question).
struct NeededCase {
    const char* name;
    int mask;
    int generation;
    RadioIdentity radio;
    TrunkJobSettings trunk;
    PmrJobSettings pmr;
    bool pmrJob;
    const char* part;
    const char* codeFile;
    const char* startupFile;
};

void ExpectNeeded(const NeededCase& c) {
    SCOPED_TRACE(c.name);
    ScratchFolder folder;
    folder.Put(c.codeFile);
    folder.Put(c.startupFile);
    folder.Put("zzzz999.bin");
    ScriptedPerson person;
    person.answers = {Answer::Yes};
    const CodeDescriptor record = Record(c.part, "V6.20");
    const SoftwareChoice choice =
        c.pmrJob ? ChoosePmrSoftware(PmrJob(c.pmr), {c.mask, c.generation}, c.radio, record, 620,
                                     folder.Path(), person)
                 : ChooseRadioSoftware(TrunkJob(c.trunk), {c.mask, c.generation}, c.radio, record,
                                       620, folder.Path(), person);
    const int codeFlag = c.pmrJob ? kUpgradePmrCode : kUpgradeTrunkCode;
    EXPECT_EQ(choice.result, codeFlag | kUpgradeStartupCode);
    ASSERT_EQ(person.shown.size(), 1u);
    EXPECT_TRUE(person.shown[0].text.starts_with("A later version")) << person.shown[0].text;
    EXPECT_EQ(choice.codePath, folder.Path() / c.codeFile);
    EXPECT_EQ(choice.startupCodePath, folder.Path() / c.startupFile);
}

TEST(SoftwareChoiceTest, TrunkJobsNeedTheFilesOfTheirHeadRadioAndOptionBoard) {
    const NeededCase cases[] = {
        {"HM-F Rev 8 MPT1343",
         kHmF,
         0,
         Mobile(0),
         {kMpt1343, 0},
         {},
         false,
         "1081",
         "7ktm630.bin",
         "7ks_630.bin"},
        {"HM-D Rev 8 ANN",
         kHmD,
         0,
         Mobile(0),
         {kAnn, 3},
         {},
         false,
         "1293",
         "akta_630.bin",
         "7ks_630.bin"},
        {"HM-B Rev 10",
         kHmB,
         0,
         Mobile(8),
         {kCpsx, 0},
         {},
         false,
         "1079",
         "7atb630.bin",
         "7as_630.bin"},
        {"HM-E Rev 9 X8 ASI MAP27 ANN",
         kHmE,
         0,
         X8Mobile(4),
         {kAnn, 5, kMap27},
         {},
         false,
         "1157",
         "7etaa630.bin",
         "7es_630.bin"},
        {"HM-A Rev 9 ASI SUP 3RP",
         kHmA,
         0,
         Mobile(4),
         {k3rp, 6, kSup},
         {},
         false,
         "1152",
         "79tmu630.bin",
         "79s_630.bin"},
        {"HM-D Rev 8 ASI-GPS ANN",
         kHmD,
         0,
         Mobile(0),
         {kAnn, 7},
         {},
         false,
         "1295",
         "aktaq630.bin",
         "7ks_630.bin"},
        {"HM-F Rev 10 GPS CPSX",
         kHmF,
         0,
         Mobile(8),
         {kCpsx, 1},
         {},
         false,
         "1108",
         "7atgg630.bin",
         "7as_630.bin"},
        {"KP8D B and C MPT1343",
         1024,
         0,
         PortableRadio(true, true, true),
         {kMpt1343},
         {},
         false,
         "1125",
         "b1tma630.bin",
         "b1s_a630.bin"},
        {"KP8C generation 2, A only, ANN",
         512,
         2,
         PortableRadio(true, false, false),
         {kAnn},
         {},
         false,
         "1471",
         "a1ta_630.bin",
         "a1s__630.bin"},
        {"KP8A no options CPSX",
         512,
         0,
         PortableRadio(false, false, false),
         {kCpsx},
         {},
         false,
         "1127",
         "81tg630.bin",
         "81s_630.bin"},
    };
    for (const NeededCase& c : cases) {
        ExpectNeeded(c);
    }
}

TEST(SoftwareChoiceTest, PmrJobsNeedTheFilesOfTheirHeadRadioZoneModeAndOptionBoard) {
    const NeededCase cases[] = {
        {"HM-F Rev 8", kHmF, 0, Mobile(0), {}, {}, true, "1072", "7kp_630.bin", "7ks_630.bin"},
        {"HM-D Rev 8 GPS",
         kHmD,
         0,
         Mobile(0),
         {},
         {false, 1},
         true,
         "1281",
         "akp_g630.bin",
         "7ks_630.bin"},
        {"HM-B Rev 8", kHmB, 0, Mobile(0), {}, {}, true, "1406", "7kpb630.bin", "7ks_630.bin"},
        {"HM-F Rev 10 Zone Mode",
         kHmF,
         0,
         Mobile(8),
         {},
         {true, 3},
         true,
         "1451",
         "7apz630.bin",
         "7as_630.bin"},
        {"HM-D Rev 9 Zone Mode SIB",
         kHmD,
         0,
         Mobile(4),
         {},
         {true, 2},
         true,
         "1462",
         "a9pzs630.bin",
         "79s_630.bin"},
        {"HM-A Rev 9 on X8",
         kHmA,
         0,
         X8Mobile(4),
         {},
         {false, 0, kMap27, kBandX8},
         true,
         "1352",
         "7ep_630.bin",
         "7es_630.bin"},
        {"HM-C Rev 10 ASI SUP",
         kHmC,
         0,
         Mobile(8),
         {},
         {true, 6, kSup},
         true,
         "1411",
         "7apbu630.bin",
         "7as_630.bin"},
        {"KP8B B only Zone Mode",
         1024,
         0,
         PortableRadio(false, true, false),
         {},
         {true},
         true,
         "1468",
         "b1pz_630.bin",
         "b1s__630.bin"},
        {"KP8C generation 2 no options",
         512,
         2,
         PortableRadio(false, false, false),
         {},
         {},
         true,
         "1508",
         "81p_630.bin",
         "81s_630.bin"},
    };
    for (const NeededCase& c : cases) {
        ExpectNeeded(c);
    }
}

TEST(SoftwareChoiceTest, JobsNoSoftwareSupportsAreRefusedWithTheReason) {
    struct Case {
        int mask;
        RadioIdentity radio;
        TrunkJobSettings trunk;
        PmrJobSettings pmr;
        bool pmrJob;
        const char* text;
    };
    const Case cases[] = {
        {64, Mobile(0), {}, {}, false, kUnknownHeadText},
        {kHmF, Mobile(0), {kMpt1343, 8}, {}, false, kUnknownOptionBoardText},
        {kHmF, Mobile(0), {kMpt1343, 5, 2}, {}, false, kUnknownAsiProtocolText},
        {kHmF, Mobile(0), {kCpsx, 6}, {}, false, kAisNumberingText},
        {kHmD, Mobile(0), {kCpsx, 7}, {}, false, kUnknownNumberingText},
        {kHmF, Mobile(0), {4, 0}, {}, false, kUnknownNumberingText},
        {kHmD, Mobile(0), {kMpt1343, 2}, {}, false, kUnknownHeadText},
        // The numbering refusals hold for the fist microphone heads too, although their builds
        // do not depend on the scheme.
        {kHmB, Mobile(0), {4, 0}, {}, false, kUnknownNumberingText},
        {kHmC, Mobile(8), {-1, 1}, {}, false, kUnknownNumberingText},
        {kHmB, Mobile(0), {kCpsx, 5}, {}, false, kAisNumberingText},
        {kHmC, Mobile(4), {kCpsx, 6, kSup}, {}, false, kAisNumberingText},
        {kHmB, Mobile(0), {kCpsx, 7}, {}, false, kUnknownNumberingText},
        {256, PortableRadio(false, false, false), {5}, {}, false, kUnknownNumberingText},
        {512, PortableRadio(false, false, false), {}, {true}, true, kRevision1PortableZoneText},
        {kHmB, Mobile(0), {}, {true}, true, kRevision8MobileZoneText},
        {kHmF, Mobile(8), {}, {false, 9}, true, kUnknownOptionBoardText},
        {kHmD, Mobile(4), {}, {false, 6, 3}, true, kUnknownAsiProtocolText},
        {0, Mobile(4), {}, {}, true, kUnknownHeadText},
    };
    for (const Case& c : cases) {
        ScratchFolder folder;
        ScriptedPerson person;
        const SoftwareChoice choice =
            c.pmrJob ? ChoosePmrSoftware(PmrJob(c.pmr), {c.mask, 0}, c.radio,
                                         Record("1072", "V6.30"), 630, folder.Path(), person)
                     : ChooseRadioSoftware(TrunkJob(c.trunk), {c.mask, 0}, c.radio,
                                           Record("1081", "V6.30"), 630, folder.Path(), person);
        EXPECT_EQ(choice.result, kSoftwareStop) << c.text;
        ASSERT_EQ(person.shown.size(), 1u) << c.text;
        EXPECT_EQ(person.shown[0].kind, BoxKind::Error);
        EXPECT_EQ(person.shown[0].text, c.text);
    }
}

TEST(SoftwareChoiceTest, PmrVersionMismatchNamesThePmrCode) {
    ScratchFolder folder;
    folder.Put("7kp_630.bin");
    folder.Put("7ks_620.bin");
    ScriptedPerson person;
    person.answers = {Answer::Yes};
    const SoftwareChoice choice = ChoosePmrSoftware(
        PmrJob({}), {kHmF, 0}, Mobile(0), Record("0000", "V6.30"), 630, folder.Path(), person);
    EXPECT_EQ(choice.result, 0);
    ASSERT_EQ(person.shown.size(), 1u);
    EXPECT_EQ(person.shown[0].text, kPmrVersionMismatchQuestion);
}

// ---- Tables and helpers ----

TEST(SoftwareChoiceTest, SoftwareTypesByPartNumber) {
    struct Case {
        int part;
        int trunk;
        int pmr;
    };
    for (const Case& c :
         {Case{1081, 8, kSpecialSoftwareType}, Case{1437, 1280, 8192}, Case{1123, 256, 256},
          Case{1467, 257, 257}, Case{1406, 8192, 48}, Case{1411, 8192, 53}, Case{1500, 8192, 1536},
          Case{1352, 8192, 545}, Case{0, kUnknownSoftwareType, 0x3000}, Case{999, 4096, 4096},
          Case{1000, 8192, 8192}, Case{9000, 8192, 8192}, Case{9001, 4096, 4096}}) {
        EXPECT_EQ(TrunkSoftwareType(c.part), c.trunk) << c.part;
        EXPECT_EQ(PmrSoftwareType(c.part), c.pmr) << c.part;
    }
}

TEST(SoftwareChoiceTest, RecordNumbersAreFormedFromTheirDigits) {
    const CodeDescriptor record = Record("1a08", "V6.3x0");
    EXPECT_EQ(RecordPartDigits(record), "108");
    EXPECT_EQ(RecordVersion(record), 630);
    EXPECT_EQ(RecordPartNumber(Record("", "")), 0);
}

TEST(SoftwareChoiceTest, VersionsAreShownWithTwoDecimals) {
    for (const auto& [version, text] : {std::pair{630, "6.30"}, std::pair{5, "0.05"},
                                        std::pair{1000, "10.00"}, std::pair{0, "0.00"}}) {
        EXPECT_EQ(FormatSoftwareVersion(version), text);
    }
}

TEST(SoftwareChoiceTest, FileNamesMatchPatternsIgnoringCase) {
    struct Case {
        const char* pattern;
        const char* name;
        bool matches;
    };
    for (const Case& c :
         {Case{"7ktm???.bin", "7KTM630.BIN", true}, Case{"7ktm???.bin", "7ktmg630.bin", false},
          Case{"7ktm???.bin", "7ktm63.bin", false}, Case{"7ks_*.bin", "7ks_.bin", true},
          Case{"7ks_*.bin", "7ks_630.bin.old", false}, Case{"b1s_a*.bin", "b1s__630.bin", false}}) {
        EXPECT_EQ(CodeFileNameMatches(c.pattern, c.name), c.matches) << c.pattern << " " << c.name;
    }
    EXPECT_EQ(CodeFileVersion("7ktm630.bin"), 630);
    EXPECT_EQ(CodeFileVersion("7ks_6x3.bin"), 63);
    EXPECT_EQ(CodeFileVersion(".bin"), 0);
}

TEST(SoftwareChoiceTest, RadioSoftwareFolderIsFoundIgnoringCase) {
    ScratchFolder work;
    std::filesystem::create_directory(work.Path() / "RADIO_SW");
    EXPECT_EQ(RadioSoftwareFolderIn(work.Path()), work.Path() / "RADIO_SW");
}

TEST(SoftwareChoiceTest, MissingFolderFindsNoFiles) {
    EXPECT_FALSE(LastMatchingCodeFile("/nonexistent/km_radio_sw", "*.bin"));
}

TEST(SoftwareChoiceTest, ZoneModeNeedsTheRadiosZoneTable) {
    struct Case {
        bool zoneMode;
        std::uint16_t block;
        RadioIdentity radio;
        const char* text;  // nullptr: allowed
    };
    for (const Case& c :
         {Case{true, 0, Mobile(0), kRevision8ZoneTableText},
          Case{true, 0xFFFF, PortableRadio(true, true, true), kOldFitZoneTableText},
          Case{true, 0xFFFF, Mobile(4), kOldFitZoneTableText}, Case{true, 900, Mobile(0), nullptr},
          Case{false, 0, Mobile(0), nullptr}}) {
        const auto refusal = ZoneTableRefusal(PmrJob({c.zoneMode}), c.block, c.radio);
        if (c.text == nullptr) {
            EXPECT_FALSE(refusal);
        } else {
            ASSERT_TRUE(refusal);
            EXPECT_EQ(*refusal, c.text);
        }
    }
}

}  // namespace
}  // namespace km

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "ImageFixtures.h"
#include "ScriptedPerson.h"
#include "core/Files.h"
#include "image/JobFiles.h"
#include "image/JobMarks.h"
#include "image/NetworkFile.h"

namespace km {
namespace {
namespace fs = std::filesystem;

using testing::FillPattern;
using testing::PatternBytes;

class JobFilesTest : public testing::WorkDirTest {
  protected:
    void SetUp() override {
        WorkDirTest::SetUp();
        FillPattern(trunkTemplate_, 0x50);
        FillPattern(*pmrTemplate_, 0x60);
        pmrTemplate_->SetU16(pmr::kFormatVersion, 202);
        Put("default.tct", trunkTemplate_.Bytes());
        Put("default.cct", pmrTemplate_->Bytes());
        files_ = std::make_unique<JobFiles>(*ws_, state_, person_, dir_);
    }

    void Put(const fs::path& name, std::span<const std::uint8_t> bytes) {
        fs::create_directories((dir_ / name).parent_path());
        ASSERT_TRUE(WriteFileAtomically(dir_ / name, bytes));
    }
    std::vector<std::uint8_t> Get(const fs::path& name) {
        return ReadFileBytes(dir_ / name, 1 << 20).value_or(std::vector<std::uint8_t>{});
    }
    template <typename Image>
    static std::vector<std::uint8_t> BytesOf(const Image& image) {
        return {image.Bytes().begin(), image.Bytes().end()};
    }
    // A network file the Radio Type form would load: pattern bytes after the marker, with the
    // ANN scheme (offset 94) and band TK (offset 92, first character in the high byte).
    static std::vector<std::uint8_t> NetworkBytes(std::uint8_t seed) {
        auto bytes = PatternBytes(NetworkImage::kSize, seed);
        const std::string_view marker = "--NETWORK FILE--";
        std::copy(marker.begin(), marker.end(), bytes.begin());
        bytes[92] = 0x4B;
        bytes[93] = 0x54;
        bytes[94] = 1;
        bytes[95] = 0;
        return bytes;
    }
    // A trunk job with a band selected, as the Radio Type form leaves it.
    void HaveTrunkJob(std::uint8_t seed) {
        FillPattern(ws_->trunk, seed);
        state_.TrunkJobLoaded = true;
        state_.BandSelected = 3;
        state_.CurrentJobFileName = "previous.tnk";
    }
    // Pattern bytes with a trunk job's marks: radio mode Trunk Radio (107) and format mark 100
    // (112, low byte first).
    static std::vector<std::uint8_t> TrunkJobBytes(std::size_t size, std::uint8_t seed) {
        auto bytes = PatternBytes(size, seed);
        bytes[107] = 1;
        bytes[112] = 100;
        bytes[113] = 0;
        return bytes;
    }
    // Pattern bytes with the radio mode PMR Radio (107) and a format version (112).
    std::vector<std::uint8_t> PmrFileBytes(std::uint16_t version, std::size_t size) {
        auto bytes = PatternBytes(size, 0x21);
        bytes[107] = 0;
        bytes[112] = static_cast<std::uint8_t>(version & 0xFF);
        bytes[113] = static_cast<std::uint8_t>(version >> 8);
        return bytes;
    }

    TrunkJobImage trunkTemplate_;
    std::unique_ptr<PmrJobImage> pmrTemplate_ = std::make_unique<PmrJobImage>();
    std::unique_ptr<Workspace> ws_ = std::make_unique<Workspace>();
    MainState state_;
    km::testing::ScriptedPerson person_;
    std::unique_ptr<JobFiles> files_;
};

// ---- The trunk job behind the Network view --------------------------------------------------

TEST_F(JobFilesTest, TheTrunkJobBesideItsNetworkFilesIsComparedWithLastSaved) {
    ASSERT_TRUE(files_->NewJob(JobView::Network));
    const struct {
        std::size_t offset;
        bool changed;
    } cases[] = {
        {300, true},            // a radio-wide field
        {10240, true},          // Network 1's job part
        {13312 + 1535, true},   // the last byte of Network 2's job part
        {14, false},            // the version word
        {11776, false},         // Network 1's network file
        {14848 + 1535, false},  // the last byte of Network 2's network file
    };
    for (const auto& c : cases) {
        const std::uint8_t before = ws_->trunk.U8(c.offset);
        ws_->trunk.SetU8(c.offset, static_cast<std::uint8_t>(before ^ 0xFF));
        EXPECT_EQ(files_->TrunkJobChangedBesideNetworks(), c.changed) << c.offset;
        ws_->trunk.SetU8(c.offset, before);
    }
    EXPECT_FALSE(files_->TrunkJobChangedBesideNetworks());
}

// ---- Open: the extension decides ------------------------------------------------------------

TEST_F(JobFilesTest, OpenChoosesByExactLowerOrUpperCaseExtension) {
    const auto trunkBytes = TrunkJobBytes(TrunkJobImage::kSize, 1);
    const auto networkBytes = NetworkBytes(2);
    const struct {
        const char* name;
        std::span<const std::uint8_t> bytes;
        int level;
        JobOpenOutcome expected;
        std::string_view error;
    } cases[] = {
        {"a.tnk", trunkBytes, 1, JobOpenOutcome::TrunkLoaded, ""},
        {"b.TNK", trunkBytes, 1, JobOpenOutcome::TrunkLoaded, ""},
        {"c.Tnk", trunkBytes, 1, JobOpenOutcome::Nothing, kInvalidFileError},
        {"d.bin", trunkBytes, 1, JobOpenOutcome::Nothing, kProgramCodeFileError},
        {"e.BIN", trunkBytes, 1, JobOpenOutcome::Nothing, kProgramCodeFileError},
        {"f.csv", trunkBytes, 1, JobOpenOutcome::Nothing, kInvalidFileError},
        {"noextension", trunkBytes, 1, JobOpenOutcome::Nothing, kInvalidFileError},
        {"g.nwk", networkBytes, 2, JobOpenOutcome::Nothing, ""},
        {"h.nwk", networkBytes, 4, JobOpenOutcome::NetworkLoaded, ""},
        {"i.NWK", networkBytes, 8, JobOpenOutcome::NetworkLoaded, ""},
    };
    for (const auto& c : cases) {
        Put(c.name, c.bytes);
        state_ = MainState{};
        state_.UserLevelMask = c.level;
        state_.PmrJobLoaded = true;
        person_.shown.clear();
        EXPECT_EQ(files_->Open(dir_ / c.name), c.expected) << c.name;
        if (c.error.empty()) {
            EXPECT_TRUE(person_.shown.empty()) << c.name;
        } else {
            ASSERT_EQ(person_.shown.size(), 1u) << c.name;
            EXPECT_EQ(person_.shown[0].text, c.error) << c.name;
            EXPECT_EQ(person_.shown[0].kind, BoxKind::Error) << c.name;
            // A file of another kind leaves the job that was loaded.
            EXPECT_TRUE(state_.PmrJobLoaded) << c.name;
        }
    }
}

TEST_F(JobFilesTest, OpenTrunkLoadsTheImageWritesLastSavedAndRemembersTheFile) {
    const auto bytes = TrunkJobBytes(TrunkJobImage::kSize + 100, 7);  // longer than the image
    Put("Jobs/car.tnk", bytes);
    ASSERT_EQ(files_->Open(dir_ / "Jobs" / "car.tnk"), JobOpenOutcome::TrunkLoaded);
    const std::vector<std::uint8_t> expected(bytes.begin(), bytes.begin() + TrunkJobImage::kSize);
    EXPECT_EQ(BytesOf(ws_->trunk), expected);
    EXPECT_EQ(Get("LastSaved.tnk"), expected);
    EXPECT_TRUE(state_.TrunkJobLoaded);
    EXPECT_EQ(state_.CurrentJobFileName, (dir_ / "Jobs" / "car.tnk").string());
    EXPECT_EQ(state_.JobFolder, (dir_ / "Jobs").string());
    EXPECT_FALSE(files_->HasUnsavedChanges(JobView::Trunk));
}

TEST_F(JobFilesTest, FilesThatCannotBeUsedLeaveThePreviousJobWhole) {
    HaveTrunkJob(0x33);
    const TrunkJobImage previous = ws_->trunk;
    Put("LastSaved.tnk", previous.Bytes());
    Put("short.tnk", PatternBytes(TrunkJobImage::kSize - 1, 9));
    Put("short.nwk", PatternBytes(NetworkImage::kSize - 1, 9));
    state_.UserLevelMask = 8;

    EXPECT_EQ(files_->Open(dir_ / "short.tnk"), JobOpenOutcome::Nothing);
    EXPECT_EQ(files_->Open(dir_ / "short.nwk"), JobOpenOutcome::Nothing);
    EXPECT_EQ(person_.Texts(), (std::vector<std::string>{FileTooShortText("short.tnk"),
                                                         std::string(kNetworkFileSizeError)}));
    person_.shown.clear();
    EXPECT_EQ(files_->Open(dir_ / "missing.tnk"), JobOpenOutcome::Nothing);
    EXPECT_TRUE(person_.shown.empty()) << "a file that cannot be opened shows nothing";

    EXPECT_EQ(ws_->trunk, previous);
    EXPECT_EQ(Get("LastSaved.tnk"), BytesOf(previous));
    EXPECT_TRUE(state_.TrunkJobLoaded);
    EXPECT_EQ(state_.CurrentJobFileName, "previous.tnk");
}

TEST_F(JobFilesTest, CancelledOpenEmptiesTheFileNameOnly) {
    HaveTrunkJob(0x33);
    EXPECT_EQ(files_->Open(std::nullopt), JobOpenOutcome::Nothing);
    EXPECT_EQ(state_.CurrentJobFileName, "");
    EXPECT_TRUE(state_.TrunkJobLoaded);
}

// ---- Network files --------------------------------------------------------------------------

TEST_F(JobFilesTest, NetworkFileGoesIntoTheSelectedSlotOnly) {
    HaveTrunkJob(0x44);
    files_->TakeNetworkBaseline();  // as the shell does when it enters the Network view
    const TrunkJobImage previous = ws_->trunk;
    state_.UserLevelMask = 4;
    state_.NetworkSelector = 1;
    const auto bytes = NetworkBytes(0x12);
    Put("Networks/city.nwk", bytes);
    ASSERT_EQ(files_->Open(dir_ / "Networks" / "city.nwk"), JobOpenOutcome::NetworkLoaded);

    const std::size_t slotFile = trunk::NetworkFileStart(1);
    for (std::size_t i = 0; i < TrunkJobImage::kSize; ++i) {
        const bool inSlot = i >= slotFile && i < slotFile + NetworkImage::kSize;
        ASSERT_EQ(ws_->trunk.U8(i), inSlot ? bytes[i - slotFile] : previous.U8(i)) << i;
    }
    EXPECT_EQ(BytesOf(ws_->network), bytes);
    EXPECT_EQ(state_.CurrentJobFileName, (dir_ / "Networks" / "city.nwk").string());
    EXPECT_EQ(state_.JobFolder, "Jobs");
    EXPECT_FALSE(files_->HasUnsavedChanges(JobView::Network));
}

TEST_F(JobFilesTest, NetworkFilesTheRadioTypeFormRefusesAreRefusedByOpenToo) {
    HaveTrunkJob(0x44);
    const TrunkJobImage previous = ws_->trunk;
    state_.UserLevelMask = 4;
    auto withWord = [](std::size_t offset, std::uint16_t value) {
        auto bytes = NetworkBytes(0x12);
        bytes[offset] = static_cast<std::uint8_t>(value & 0xFF);
        bytes[offset + 1] = static_cast<std::uint8_t>(value >> 8);
        return bytes;
    };
    auto longer = NetworkBytes(0x12);
    longer.push_back(0);
    const struct {
        const char* what;
        std::vector<std::uint8_t> bytes;
        std::string_view error;
    } cases[] = {
        {"one byte too long", longer, kNetworkFileSizeError},
        {"scheme 4", withWord(94, 4), kUnknownSchemeError},
        {"scheme 0xFFFF", withWord(94, 0xFFFF), kUnknownSchemeError},
        {"no band", withWord(92, 0), kNetworkNoBandError},
        {"erased band", withWord(92, 0xFFFF), kNetworkNoBandError},
    };
    for (const auto& c : cases) {
        Put("bad.nwk", c.bytes);
        person_.shown.clear();
        EXPECT_EQ(files_->Open(dir_ / "bad.nwk"), JobOpenOutcome::Nothing) << c.what;
        EXPECT_EQ(person_.Texts(), std::vector<std::string>{std::string(c.error)}) << c.what;
        EXPECT_EQ(ws_->trunk, previous) << c.what;
        EXPECT_EQ(state_.CurrentJobFileName, "previous.tnk") << c.what;
    }
}

TEST_F(JobFilesTest, NetworkFileWithoutATrunkJobStartsFromTheTemplate) {
    state_.UserLevelMask = 8;
    const auto bytes = NetworkBytes(0x12);
    Put("n.nwk", bytes);
    ASSERT_EQ(files_->Open(dir_ / "n.nwk"), JobOpenOutcome::NetworkLoaded);
    EXPECT_EQ(ws_->trunk.U16(kVersionWordOffset), trunkTemplate_.U16(kVersionWordOffset));
    EXPECT_EQ(ws_->trunk.U8(100), trunkTemplate_.U8(100));
    EXPECT_EQ(ws_->trunk.U8(trunk::NetworkFileStart(0)), bytes[0]);
    EXPECT_EQ(Get("LastSaved.tnk"), BytesOf(trunkTemplate_));
    EXPECT_TRUE(state_.TrunkJobLoaded);

    fs::remove(dir_ / "default.tct");
    state_.TrunkJobLoaded = false;
    EXPECT_EQ(files_->Open(dir_ / "n.nwk"), JobOpenOutcome::Nothing);
    EXPECT_EQ(person_.Texts().back(), kTrunkTemplateMissing);
    EXPECT_FALSE(state_.TrunkJobLoaded);
}

TEST_F(JobFilesTest, NetworkSaveNamesTheFileInTheSlotWithFourteenCharactersAndBlanks) {
    HaveTrunkJob(0x44);
    state_.NetworkSelector = 0;
    const fs::path chosen = dir_ / "Networks" / "ABCDEFGHIJKLMNOPQ.nwk";  // 21 characters
    fs::create_directories(chosen.parent_path());
    ASSERT_TRUE(files_->Save(JobView::Network, chosen));

    const auto saved = Get("Networks/ABCDEFGHIJKLMNOPQ.nwk");
    ASSERT_EQ(saved.size(), NetworkImage::kSize);
    const std::string field(saved.begin() + 16, saved.begin() + 32);
    EXPECT_EQ(field, "ABCDEFGHIJKLMN  ");
    EXPECT_EQ(ws_->trunk.Text(trunk::NetworkFileStart(0) + 16, 16), "ABCDEFGHIJKLMN  ");
    EXPECT_EQ(BytesOf(ws_->network), saved);
    EXPECT_EQ(state_.CurrentJobFileName, chosen.string());
    EXPECT_FALSE(fs::exists(dir_ / "LastSaved.tnk")) << "a network save writes no LastSaved file";

    EXPECT_EQ(std::string(reinterpret_cast<const char*>(NetworkNameField("Demo.nwk").data()), 16),
              "Demo.nwk        ");
    // Single-byte Windows-1252 in the image, never UTF-8: "ü" is one byte, 0xFC.
    const auto umlaut = NetworkNameField("/n/Zürich-Nord-Ost.nwk");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(umlaut.data()), 16), "Z\xFCrich-Nord-Os  ");
}

TEST_F(JobFilesTest, NetworkViewNoticesEditsOfTheSlotsNetworkFile) {
    state_.UserLevelMask = 4;
    Put("n.nwk", NetworkBytes(0x12));
    ASSERT_EQ(files_->Open(dir_ / "n.nwk"), JobOpenOutcome::NetworkLoaded);
    EXPECT_FALSE(files_->HasUnsavedChanges(JobView::Network));
    ws_->trunk.SetU8(trunk::NetworkFileStart(0) + 400, 0xEE);
    EXPECT_TRUE(files_->HasUnsavedChanges(JobView::Network));
    ASSERT_TRUE(files_->Save(JobView::Network, dir_ / "n2.nwk"));
    EXPECT_FALSE(files_->HasUnsavedChanges(JobView::Network));

    // An edit of Network 1 stays unsaved while Network 2 is opened, edited and saved.
    ws_->trunk.SetU8(trunk::NetworkFileStart(0) + 400, 0xEF);
    state_.NetworkSelector = 1;
    ASSERT_EQ(files_->Open(dir_ / "n.nwk"), JobOpenOutcome::NetworkLoaded);
    ws_->trunk.SetU8(trunk::NetworkFileStart(1) + 400, 0xEE);
    EXPECT_TRUE(files_->NetworkChanged(0));
    EXPECT_TRUE(files_->NetworkChanged(1));
    ASSERT_TRUE(files_->Save(JobView::Network, dir_ / "n3.nwk"));
    EXPECT_TRUE(files_->NetworkChanged(0));
    EXPECT_FALSE(files_->NetworkChanged(1));
    EXPECT_TRUE(files_->HasUnsavedChanges(JobView::Network));
}

// ---- PMR files ------------------------------------------------------------------------------

TEST_F(JobFilesTest, PmrOfTheCurrentFormatLoadsUnchanged) {
    const auto bytes = PmrFileBytes(202, PmrJobImage::kSize);
    Put("Jobs/base.pmr", bytes);
    ASSERT_EQ(files_->Open(dir_ / "Jobs" / "base.pmr"), JobOpenOutcome::PmrLoaded);
    EXPECT_EQ(BytesOf(ws_->pmr), bytes);
    EXPECT_EQ(Get("LastSaved.pmr"), bytes);
    EXPECT_TRUE(ws_->ZoneReload);
    EXPECT_TRUE(state_.PmrJobLoaded);
    EXPECT_EQ(state_.JobFolder, (dir_ / "Jobs").string());
    EXPECT_TRUE(person_.shown.empty());
}

TEST_F(JobFilesTest, PmrOfFormat201IsConvertedAndLastSavedHoldsTheFileAsRead) {
    const auto bytes = PmrFileBytes(201, 55180);
    Put("old.pmr", bytes);
    ASSERT_EQ(files_->Open(dir_ / "old.pmr"), JobOpenOutcome::PmrLoaded);
    EXPECT_EQ(ws_->pmr.U8(15164), pmrTemplate_->U8(15164));
    EXPECT_EQ(ws_->pmr.U8(15644), bytes[15164]);
    const auto lastSaved = Get("LastSaved.pmr");
    ASSERT_EQ(lastSaved.size(), PmrJobImage::kSize);
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), lastSaved.begin()));
    EXPECT_EQ(lastSaved[60000], pmrTemplate_->U8(60000)) << "filled out with the template";
}

TEST_F(JobFilesTest, PmrThatCannotBeReadLeavesJobLastSavedAndNameUntouched) {
    const auto previousBytes = PatternBytes(PmrJobImage::kSize, 0x70);
    ws_->pmr.Write(0, previousBytes);
    Put("LastSaved.pmr", previousBytes);
    state_.PmrJobLoaded = true;
    state_.CurrentJobFileName = "mine.pmr";
    auto radioOrder = PmrFileBytes(202, PmrJobImage::kSize);
    radioOrder[112] = 0x00;
    radioOrder[113] = 0xCA;

    const struct {
        const char* name;
        std::vector<std::uint8_t> bytes;
        bool removeTemplate;
        std::string message;
    } cases[] = {
        {"later.pmr", PmrFileBytes(203, PmrJobImage::kSize), false,
         std::string(kUnableToReadConfiguration)},
        // Bytes in the radio's order carry no format this program knows: the question of a
        // foreign file, answered No.
        {"radio.pmr", radioOrder, false, NotOwnJobQuestion(JobKind::Pmr, "radio.pmr")},
        {"short.pmr", PmrFileBytes(202, 20000), false, FileTooShortText("short.pmr")},
        {"old.pmr", PmrFileBytes(201, 55180), true, std::string(kPmrTemplateMissing)},
    };
    for (const auto& c : cases) {
        Put(c.name, c.bytes);
        if (c.removeTemplate) {
            fs::remove(dir_ / "default.cct");
        }
        person_.shown.clear();
        person_.answers = {Answer::No};
        EXPECT_EQ(files_->Open(dir_ / c.name), JobOpenOutcome::Nothing) << c.name;
        EXPECT_EQ(person_.Texts(), std::vector<std::string>{c.message}) << c.name;
        EXPECT_EQ(BytesOf(ws_->pmr), previousBytes) << c.name;
        EXPECT_EQ(Get("LastSaved.pmr"), previousBytes) << c.name;
        EXPECT_EQ(state_.CurrentJobFileName, "mine.pmr") << c.name;
        EXPECT_TRUE(state_.PmrJobLoaded) << c.name;
    }
}

// ---- New ------------------------------------------------------------------------------------

TEST_F(JobFilesTest, NewJobReadsTheTemplateAndWritesLastSaved) {
    state_.CurrentJobFileName = "x.tnk";
    ASSERT_TRUE(files_->NewJob(JobView::Trunk));
    EXPECT_EQ(ws_->trunk, trunkTemplate_);
    EXPECT_EQ(Get("LastSaved.tnk"), BytesOf(trunkTemplate_));
    EXPECT_EQ(state_.ImageKind, kImageTrunk);
    EXPECT_EQ(state_.RadioModeMask, 2);
    EXPECT_EQ(state_.RadioTypeMask, 16);
    EXPECT_EQ(state_.Network1Name, kNetworkNotDefined);
    EXPECT_EQ(state_.Network2Name, kNetworkNotDefined);
    EXPECT_EQ(state_.CurrentJobFileName, "");
    EXPECT_TRUE(state_.TrunkJobLoaded);

    ASSERT_TRUE(files_->NewJob(JobView::Network));
    EXPECT_EQ(state_.ImageKind, kImageNetwork);

    ASSERT_TRUE(files_->NewJob(JobView::Pmr));
    EXPECT_EQ(ws_->pmr, *pmrTemplate_);
    EXPECT_EQ(Get("LastSaved.pmr"), BytesOf(*pmrTemplate_));
    EXPECT_EQ(state_.ImageKind, kImagePmr);
    EXPECT_EQ(state_.RadioModeMask, 1);
    EXPECT_TRUE(state_.PmrJobLoaded);
}

TEST_F(JobFilesTest, NewJobWithoutItsTemplateWarnsAndChangesNothing) {
    Put("default.tct", PatternBytes(TrunkJobImage::kSize - 1, 0));  // a short template is no use
    fs::remove(dir_ / "default.cct");
    const struct {
        JobView view;
        std::string_view warning;
    } cases[] = {
        {JobView::Trunk, kTrunkTemplateMissing},
        {JobView::Network, kTrunkTemplateMissing},
        {JobView::Pmr, kPmrTemplateMissing},
    };
    for (const auto& c : cases) {
        person_.shown.clear();
        const MainState before = state_;
        EXPECT_FALSE(files_->NewJob(c.view));
        ASSERT_EQ(person_.shown.size(), 1u);
        EXPECT_EQ(person_.shown[0].text, c.warning);
        EXPECT_EQ(person_.shown[0].kind, BoxKind::Warning);
        EXPECT_FALSE(state_.TrunkJobLoaded || state_.PmrJobLoaded);
        EXPECT_EQ(state_.ImageKind, before.ImageKind);
    }
    EXPECT_FALSE(fs::exists(dir_ / "LastSaved.tnk"));
    EXPECT_FALSE(fs::exists(dir_ / "LastSaved.pmr"));
}

TEST_F(JobFilesTest, ReplacingAJobAsksOnlyWhenThereIsOneWorthKeeping) {
    const struct {
        JobView view;
        bool trunkLoaded;
        bool pmrLoaded;
        int band;
        bool asks;
    } cases[] = {
        {JobView::Trunk, true, false, 0, false},  // no band selected yet
        {JobView::Trunk, true, false, 2, true},    {JobView::Trunk, false, true, 2, false},
        {JobView::Network, true, false, 0, true},  // regardless of the band
        {JobView::Network, false, true, 2, false}, {JobView::Pmr, false, true, 0, false},
        {JobView::Pmr, false, true, 5, true},
    };
    for (const auto& c : cases) {
        for (Answer answer : {Answer::Yes, Answer::No}) {
            state_.TrunkJobLoaded = c.trunkLoaded;
            state_.PmrJobLoaded = c.pmrLoaded;
            state_.BandSelected = c.band;
            person_.shown.clear();
            person_.answers = {answer};
            const bool goesOn = files_->ConfirmReplacingJob(c.view);
            if (c.asks) {
                ASSERT_EQ(person_.Texts(),
                          std::vector<std::string>{std::string(kDestroyConfigurationQuestion)});
                EXPECT_EQ(goesOn, answer == Answer::Yes);
            } else {
                EXPECT_TRUE(person_.shown.empty());
                EXPECT_TRUE(goesOn);
            }
        }
    }
}

// ---- Save -----------------------------------------------------------------------------------

TEST_F(JobFilesTest, SaveWritesTheJobAndLastSavedAndRemembersTheFile) {
    HaveTrunkJob(0x5A);
    const fs::path chosen = dir_ / "Jobs" / "fleet.tnk";
    fs::create_directories(chosen.parent_path());
    ASSERT_TRUE(files_->Save(JobView::Trunk, chosen));
    EXPECT_EQ(Get("Jobs/fleet.tnk"), BytesOf(ws_->trunk));
    EXPECT_EQ(Get("LastSaved.tnk"), BytesOf(ws_->trunk));
    EXPECT_EQ(state_.CurrentJobFileName, chosen.string());
    EXPECT_EQ(state_.JobFolder, (dir_ / "Jobs").string());
    EXPECT_FALSE(files_->HasUnsavedChanges(JobView::Trunk));

    FillPattern(ws_->pmr, 0x5B);
    state_.PmrJobLoaded = true;
    ASSERT_TRUE(files_->Save(JobView::Pmr, dir_ / "p.pmr"));
    EXPECT_EQ(Get("p.pmr"), BytesOf(ws_->pmr));
    EXPECT_EQ(Get("LastSaved.pmr"), BytesOf(ws_->pmr));
}

TEST_F(JobFilesTest, FailedSaveShowsAnErrorAndChangesNeitherNameNorLastSaved) {
    HaveTrunkJob(0x5A);
    Put("LastSaved.tnk", trunkTemplate_.Bytes());
    state_.JobFolder = "Jobs";
    const struct {
        JobView view;
        const char* name;
    } cases[] = {
        {JobView::Trunk, "nofolder/x.tnk"},
        {JobView::Pmr, "nofolder/x.pmr"},
        {JobView::Network, "nofolder/x.nwk"},
    };
    state_.PmrJobLoaded = true;
    const TrunkJobImage trunkBefore = ws_->trunk;
    for (const auto& c : cases) {
        person_.shown.clear();
        EXPECT_FALSE(files_->Save(c.view, dir_ / c.name));
        ASSERT_EQ(person_.shown.size(), 1u);
        EXPECT_EQ(person_.shown[0].kind, BoxKind::Error);
        EXPECT_EQ(person_.shown[0].text, CannotWriteFileText(fs::path(c.name).filename().string()));
        EXPECT_EQ(state_.CurrentJobFileName, "previous.tnk");
        EXPECT_EQ(state_.JobFolder, "Jobs");
    }
    EXPECT_EQ(ws_->trunk, trunkBefore) << "the network name field is set only on success";
    EXPECT_EQ(Get("LastSaved.tnk"), BytesOf(trunkTemplate_));
    EXPECT_FALSE(fs::exists(dir_ / "LastSaved.pmr"));
}

TEST_F(JobFilesTest, SaveWithoutAJobIsRefused) {
    for (JobView view : {JobView::Trunk, JobView::Network, JobView::Pmr}) {
        person_.shown.clear();
        EXPECT_FALSE(files_->MaySave(view));
        EXPECT_EQ(person_.Texts(), std::vector<std::string>{std::string(kCannotSaveNoJob)});
    }
    state_.TrunkJobLoaded = true;
    EXPECT_TRUE(files_->MaySave(JobView::Network));
    EXPECT_FALSE(files_->MaySave(JobView::Pmr));
}

TEST_F(JobFilesTest, SaveDialogProposesNoNameOfAnotherKind) {
    const struct {
        JobView view;
        std::string openDialogName;
        std::string current;
        std::string proposal;
        std::string openDialogAfter;
        std::string currentAfter;
    } cases[] = {
        {JobView::Trunk, "/j/a.tnk", "/j/a.tnk", "/j/a.tnk", "/j/a.tnk", "/j/a.tnk"},
        {JobView::Trunk, "", "/j/a.tnk", "", "", "/j/a.tnk"},
        {JobView::Trunk, "/j/a.pmr", "/j/a.pmr", "", "", ""},
        {JobView::Trunk, "/j/a.CSV", "/j/a.tnk", "", "", ""},
        {JobView::Trunk, "/j/a.tnk", "/j/b.nwk", "", "/j/a.tnk", ""},
        {JobView::Trunk, "/j/a.Pmr", "/j/a.Pmr", "/j/a.Pmr", "/j/a.Pmr", "/j/a.Pmr"},
        {JobView::Pmr, "/j/a.tnk", "/j/a.tnk", "", "", ""},
        {JobView::Pmr, "/j/a.pmr", "/j/a.pmr", "/j/a.pmr", "/j/a.pmr", "/j/a.pmr"},
        // No network file open and no network in the slot: no proposal at all (the network
        // dialog's last file may be another network's).
        {JobView::Network, "/n/x.nwk", "/j/a.tnk", "", "/n/x.nwk", "/j/a.tnk"},
        {JobView::Network, "/n/x.TNK", "/j/a.tnk", "", "", ""},
    };
    for (const auto& c : cases) {
        std::string openDialogName = c.openDialogName;
        state_.CurrentJobFileName = c.current;
        EXPECT_EQ(files_->ProposeSaveName(c.view, openDialogName), c.proposal) << c.openDialogName;
        EXPECT_EQ(openDialogName, c.openDialogAfter) << c.openDialogName;
        EXPECT_EQ(state_.CurrentJobFileName, c.currentAfter) << c.openDialogName;
    }
}

// The Network view's Save proposes the file of the network being edited: the one opened or saved
// into its slot, otherwise the name the network carries; never the file of the other slot.
TEST_F(JobFilesTest, NetworkSaveProposesTheFileOfTheNetworkBeingEdited) {
    HaveTrunkJob(0x44);
    state_.UserLevelMask = 4;
    auto named = [](std::string_view name, std::uint8_t seed) {
        auto bytes = NetworkBytes(seed);
        std::fill(bytes.begin() + 16, bytes.begin() + 32, ' ');
        std::copy(name.begin(), name.end(), bytes.begin() + 16);
        return bytes;
    };
    Put("Networks/SampleANN.nwk", named("SampleANN.nwk", 0x12));
    Put("Networks/Copy.nwk", named("Demo.nwk", 0x13));
    std::string dialogName = (dir_ / "Networks" / "Demo.nwk").string();

    state_.NetworkSelector = 0;
    ASSERT_EQ(files_->Open(dir_ / "Networks" / "SampleANN.nwk"), JobOpenOutcome::NetworkLoaded);
    EXPECT_EQ(files_->ProposeSaveName(JobView::Network, dialogName),
              (dir_ / "Networks" / "SampleANN.nwk").string());

    // Network 2 came from another file: its own name, in the networks folder.
    state_.NetworkSelector = 1;
    ws_->trunk.Write(trunk::NetworkFileStart(1), named("Demo.nwk", 0x14));
    EXPECT_EQ(files_->ProposeSaveName(JobView::Network, dialogName),
              (dir_ / "Networks" / "Demo.nwk").string());
    // A name the network does not carry as a file name proposes nothing.
    ws_->trunk.Write(trunk::NetworkFileStart(1), named("City Net", 0x14));
    EXPECT_EQ(files_->ProposeSaveName(JobView::Network, dialogName), "");

    // A file opened into Network 2 is Network 2's; Network 1 keeps its own name.
    ASSERT_EQ(files_->Open(dir_ / "Networks" / "Copy.nwk"), JobOpenOutcome::NetworkLoaded);
    EXPECT_EQ(files_->ProposeSaveName(JobView::Network, dialogName),
              (dir_ / "Networks" / "Copy.nwk").string());
    state_.NetworkSelector = 0;
    EXPECT_EQ(files_->ProposeSaveName(JobView::Network, dialogName),
              (dir_ / "Networks" / "SampleANN.nwk").string());
    // Saved under a new name, the network is that file.
    ASSERT_TRUE(files_->Save(JobView::Network, dir_ / "Networks" / "Mine.nwk"));
    EXPECT_EQ(files_->ProposeSaveName(JobView::Network, dialogName),
              (dir_ / "Networks" / "Mine.nwk").string());
}

TEST(JobDialogs, EachViewOpensItsOwnKindInItsOwnFolder) {
    MainState state;
    state.JobFolder = "/home/me/Jobs";
    EXPECT_EQ(OpenDialogSetup(JobView::Trunk, state).title, "Open - Job File");
    EXPECT_EQ(OpenDialogSetup(JobView::Trunk, state).folder, "/home/me/Jobs");
    EXPECT_EQ(OpenDialogSetup(JobView::Network, state).filterIndex, 3);
    EXPECT_EQ(OpenDialogSetup(JobView::Network, state).folder, kNetworksFolder);
    EXPECT_EQ(OpenDialogSetup(JobView::Pmr, state).defaultExtension, "*.pmr");
    EXPECT_EQ(SaveDialogSetup(JobView::Trunk, state).title, "Save As - Trunking Job File");
    EXPECT_EQ(SaveDialogSetup(JobView::Network, state).title, "Save As - Network File");
    EXPECT_EQ(SaveDialogSetup(JobView::Pmr, state).filterIndex, 2);
}

// ---- Unsaved changes ------------------------------------------------------------------------

TEST_F(JobFilesTest, UnsavedChangesIgnoreTheVersionWordAndCountMissingBytesAsZero) {
    const struct {
        const char* what;
        std::size_t lastSavedSize;  // npos: no LastSaved file
        std::size_t changedOffset;  // npos: no change
        bool differs;
    } cases[] = {
        {"same", TrunkJobImage::kSize, std::string::npos, false},
        {"version low byte", TrunkJobImage::kSize, 14, false},
        {"version high byte", TrunkJobImage::kSize, 15, false},
        {"byte 13", TrunkJobImage::kSize, 13, true},
        {"byte 16", TrunkJobImage::kSize, 16, true},
        {"last byte", TrunkJobImage::kSize, TrunkJobImage::kSize - 1, true},
        {"zero image, no file", std::string::npos, std::string::npos, false},
        {"zero image, short file", 100, std::string::npos, false},
        {"change beyond a short file", 100, 200, true},
    };
    for (const auto& c : cases) {
        ws_->trunk.Fill(0);
        fs::remove(dir_ / "LastSaved.tnk");
        if (c.lastSavedSize != std::string::npos) {
            Put("LastSaved.tnk", ws_->trunk.Region(0, c.lastSavedSize));
        }
        if (c.changedOffset != std::string::npos) {
            ws_->trunk.SetU8(c.changedOffset, 0x5C);
        }
        EXPECT_EQ(files_->HasUnsavedChanges(JobView::Trunk), c.differs) << c.what;
    }
    ws_->pmr.SetU8(75000, 1);
    EXPECT_TRUE(files_->HasUnsavedChanges(JobView::Pmr));
}

// ---- Networks of a trunk job ----------------------------------------------------------------

void SetBand(TrunkJobImage& image, int slot, std::uint16_t band) {
    image.SetU16(trunk::NetworkFileStart(slot) + network::kBandCode, band);
}

TEST_F(JobFilesTest, CopyNW1ToNW2NeedsNetwork2AndCopiesOnlyTheJobPart) {
    HaveTrunkJob(0x66);
    SetBand(ws_->trunk, 1, 0);
    const TrunkJobImage before = ws_->trunk;
    EXPECT_FALSE(files_->CopyNW1ToNW2());
    EXPECT_EQ(person_.Texts(), std::vector<std::string>{std::string(kCannotCopyNetworkWarning)});
    EXPECT_EQ(person_.shown[0].kind, BoxKind::Warning);
    EXPECT_EQ(ws_->trunk, before);

    SetBand(ws_->trunk, 1, 0x544B);
    const TrunkJobImage withNetwork2 = ws_->trunk;
    EXPECT_TRUE(files_->CopyNW1ToNW2());
    for (std::size_t i = 0; i < TrunkJobImage::kSize; ++i) {
        const bool inJobPart2 = i >= trunk::SlotStart(1) && i < trunk::NetworkFileStart(1);
        const std::uint8_t expected =
            inJobPart2 ? withNetwork2.U8(i - trunk::kSlotSize) : withNetwork2.U8(i);
        ASSERT_EQ(ws_->trunk.U8(i), expected) << i;
    }
}

TEST_F(JobFilesTest, NetworkNamesComeFromPresentSlots) {
    ws_->trunk.Fill(0);
    SetBand(ws_->trunk, 0, 0x4143);
    ws_->trunk.Write(trunk::NetworkFileStart(0) + network::kName, NetworkNameField("Metro.nwk"));
    ws_->trunk.Write(trunk::NetworkFileStart(1) + network::kName, NetworkNameField("Old.nwk"));
    SetBand(ws_->trunk, 1, 0xFFFF);
    files_->RefreshNetworkNames();
    EXPECT_EQ(state_.Network1Name, "Metro.nwk     ");
    EXPECT_EQ(state_.Network2Name, kNetworkNotDefined);
    EXPECT_TRUE(NetworkPresent(ws_->trunk, 0));
    EXPECT_FALSE(NetworkPresent(ws_->trunk, 1));
}

// ---- Window caption -------------------------------------------------------------------------

TEST(WindowCaption, NameIsPaddedToTwentyFiveAndFollowedByTheViewLabel) {
    const struct {
        int imageKind;
        std::string name;
        std::string caption;
    } cases[] = {
        {kImageNone, "/j/a.tnk", "RCP V5.86  "},
        {kImageTrunk, "/j/fleet.tnk",
         "RCP V5.86  <fleet.tnk>" + std::string(16, ' ') + " TRUNK RADIO     "},
        {kImageNetwork, "/n/x.nwk",
         "RCP V5.86  <x.nwk>" + std::string(20, ' ') + " TRUNK RADIO     "},
        {kImagePmr, "/j/p.pmr", "RCP V5.86  <p.pmr>" + std::string(20, ' ') + " PMR RADIO       "},
        {kImageTrunk, "", "RCP V5.86  <>" + std::string(25, ' ') + " TRUNK RADIO     "},
        {kImageTrunk, "/j/" + std::string(30, 'a') + ".tnk",
         "RCP V5.86  <" + std::string(30, 'a') + ".tnk> TRUNK RADIO     "},
        {kImagePmr, "/j/Zürich.pmr",
         "RCP V5.86  <Zürich.pmr>" + std::string(15, ' ') + " PMR RADIO       "},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WindowCaption(c.imageKind, c.name), c.caption) << c.name;
    }
}

// ---- PMR radio read -------------------------------------------------------------------------

TEST_F(JobFilesTest, PmrRadioReadOfAnUnknownFormatWarnsAndKeepsTheJob) {
    FillPattern(ws_->pmr, 0x12);
    const PmrJobImage before = ws_->pmr;
    ws_->scratch.SetU16BE(pmr::kFormatVersion, 203);
    EXPECT_FALSE(files_->UnpackPmrRadioRead());
    ws_->scratch.SetU16BE(pmr::kFormatVersion, 201);
    fs::remove(dir_ / "default.cct");
    EXPECT_FALSE(files_->UnpackPmrRadioRead());
    EXPECT_EQ(person_.Texts(), (std::vector<std::string>{std::string(kUnableToReadConfiguration),
                                                         std::string(kPmrTemplateMissing)}));
    EXPECT_EQ(ws_->pmr, before);
    EXPECT_FALSE(ws_->ZoneReload);

    ws_->scratch.SetU16BE(pmr::kFormatVersion, 202);
    EXPECT_TRUE(files_->UnpackPmrRadioRead());
    EXPECT_TRUE(ws_->ZoneReload);
    EXPECT_EQ(ws_->pmr.U16(pmr::kFormatVersion), 202);
}

}  // namespace
}  // namespace km

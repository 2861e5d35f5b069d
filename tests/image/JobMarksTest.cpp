// Whether a job file looks like one this program wrote, and the question Open asks when it does
// not: a file of random bytes renamed .tnk, .pmr or .nwk is not taken for a job unasked.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <random>

#include "ImageFixtures.h"
#include "ScriptedPerson.h"
#include "core/Files.h"
#include "image/JobFiles.h"
#include "image/JobMarks.h"
#include "image/NetworkFile.h"

namespace km {
namespace {
namespace fs = std::filesystem;

std::vector<std::uint8_t> RandomBytes(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<std::uint8_t> bytes(size);
    for (auto& byte : bytes) {
        byte = static_cast<std::uint8_t>(random());
    }
    return bytes;
}

// Zero bytes with a radio mode at 107 and a format word (low byte first) at 112.
std::vector<std::uint8_t> Header(std::size_t size, std::uint8_t radioMode, std::uint16_t format) {
    std::vector<std::uint8_t> bytes(size);
    bytes[107] = radioMode;
    bytes[112] = static_cast<std::uint8_t>(format & 0xFF);
    bytes[113] = static_cast<std::uint8_t>(format >> 8);
    return bytes;
}

std::vector<std::uint8_t> NetworkWithMarker(std::string_view marker) {
    std::vector<std::uint8_t> bytes(1536);
    std::copy(marker.begin(), marker.end(), bytes.begin());
    return bytes;
}

std::vector<std::string> Described(JobKind kind, std::span<const std::uint8_t> bytes) {
    std::vector<std::string> texts;
    for (const ForeignMark& mark : ForeignJobMarks(kind, bytes)) {
        texts.push_back(ForeignMarkText(mark));
    }
    return texts;
}

TEST(JobMarksTest, OnlyTheMarksThisProgramWritesPass) {
    using Texts = std::vector<std::string>;
    const std::string trunkMark = "format mark 0 (this program writes 100)";
    const std::string pmrMark =
        "format mark 203 (this program writes 202 (200 and 201 from older programs))";
    const std::string mode = "radio mode 3 (this program writes 0, 1 or 2)";
    const struct {
        const char* name;
        JobKind kind;
        std::vector<std::uint8_t> bytes;
        Texts expected;
    } cases[] = {
        {"trunk radio", JobKind::Trunk, Header(16384, 1, 100), {}},
        {"PMR mode in a trunk job", JobKind::Trunk, Header(16384, 0, 100), {}},
        {"multi mode", JobKind::Trunk, Header(16384, 2, 100), {}},
        {"radio mode 3", JobKind::Trunk, Header(16384, 3, 100), {mode}},
        {"no format mark", JobKind::Trunk, Header(16384, 1, 0), {trunkMark}},
        {"both", JobKind::Trunk, Header(16384, 3, 0), {mode, trunkMark}},
        {"PMR 202", JobKind::Pmr, Header(75948, 0, 202), {}},
        {"PMR 201", JobKind::Pmr, Header(75948, 2, 201), {}},
        {"PMR 200", JobKind::Pmr, Header(75948, 1, 200), {}},
        {"PMR 203", JobKind::Pmr, Header(75948, 0, 203), {pmrMark}},
        {"PMR radio mode 3", JobKind::Pmr, Header(75948, 3, 202), {mode}},
        {"network", JobKind::Network, NetworkWithMarker("--NETWORK FILE--"), {}},
        {"lower case marker",
         JobKind::Network,
         NetworkWithMarker("--network file--"),
         {"network marker \"--network file--\" (this program writes \"--NETWORK FILE--\")"}},
        {"control bytes",
         JobKind::Network,
         NetworkWithMarker("--NETWORK\tFILE-\xff"),
         {"network marker \"--NETWORK\\x09FILE-\\xFF\" (this program writes \"--NETWORK "
          "FILE--\")"}},
        {"file ends in the header",
         JobKind::Trunk,
         std::vector<std::uint8_t>(113, 1),
         {"format mark none (the file ends before it) (this program writes 100)"}},
        {"empty network file",
         JobKind::Network,
         {},
         {"network marker \"\" (this program writes \"--NETWORK FILE--\")"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Described(c.kind, c.bytes), c.expected) << c.name;
    }
}

TEST(JobMarksTest, RandomBytesAreNeverTakenForAJob) {
    for (unsigned seed = 1; seed <= 50; ++seed) {
        const auto bytes = RandomBytes(75948, seed);
        for (JobKind kind : {JobKind::Trunk, JobKind::Pmr, JobKind::Network}) {
            EXPECT_FALSE(ForeignJobMarks(kind, bytes).empty()) << seed;
        }
    }
}

TEST(JobMarksTest, TheQuestionNamesTheFileAndTheKind) {
    EXPECT_EQ(NotOwnJobQuestion(JobKind::Trunk, "noise.tnk"),
              "noise.tnk does not look like a trunk job made by this program. Open it anyway?");
    EXPECT_EQ(NotOwnJobQuestion(JobKind::Pmr, "noise.pmr"),
              "noise.pmr does not look like a PMR job made by this program. Open it anyway?");
    EXPECT_EQ(NotOwnJobQuestion(JobKind::Network, "noise.nwk"),
              "noise.nwk does not look like a network file made by this program. Open it anyway?");
}

// Open asks before it takes a file that is not a job of this program; No changes nothing.
class ForeignJobOpenTest : public testing::WorkDirTest {
  protected:
    void SetUp() override {
        WorkDirTest::SetUp();
        TrunkJobImage trunkTemplate;
        trunkTemplate.SetU16(112, 100);
        ASSERT_TRUE(WriteFileAtomically(dir_ / "default.tct", trunkTemplate.Bytes()));
        files_ = std::make_unique<JobFiles>(*ws_, state_, person_, dir_);
        // A job already loaded in every kind, and its LastSaved copies.
        testing::FillPattern(ws_->trunk, 0x44);
        testing::FillPattern(ws_->pmr, 0x55);
        ASSERT_TRUE(WriteFileAtomically(dir_ / "LastSaved.tnk", ws_->trunk.Bytes()));
        ASSERT_TRUE(WriteFileAtomically(dir_ / "LastSaved.pmr", ws_->pmr.Bytes()));
        state_.TrunkJobLoaded = true;
        state_.PmrJobLoaded = true;
        state_.UserLevelMask = 4;
        state_.CurrentJobFileName = "previous.tnk";
    }
    std::vector<std::uint8_t> Get(const fs::path& name) {
        return ReadFileBytes(dir_ / name, 1 << 20).value_or(std::vector<std::uint8_t>{});
    }
    template <typename Image>
    static std::vector<std::uint8_t> BytesOf(const Image& image) {
        return {image.Bytes().begin(), image.Bytes().end()};
    }

    std::unique_ptr<Workspace> ws_ = std::make_unique<Workspace>();
    MainState state_;
    km::testing::ScriptedPerson person_;
    std::unique_ptr<JobFiles> files_;
};

TEST_F(ForeignJobOpenTest, NoLeavesEveryJobAndFileAsItWas) {
    // Random bytes under each job extension; the PMR file carries the current format, so that
    // only its radio mode and the question stand between it and the job.
    auto pmrNoise = RandomBytes(75948, 7);
    pmrNoise[107] = 0xC8;
    pmrNoise[112] = 202;
    pmrNoise[113] = 0;
    // A network file with scheme and band in order, but without the marker.
    auto networkNoise = RandomBytes(1536, 8);
    networkNoise[92] = 0x4B;
    networkNoise[93] = 0x54;
    networkNoise[94] = 1;
    networkNoise[95] = 0;
    const struct {
        const char* name;
        std::vector<std::uint8_t> bytes;
        JobOpenOutcome whenYes;
    } cases[] = {
        {"noise.tnk", RandomBytes(16384, 6), JobOpenOutcome::TrunkLoaded},
        {"noise.pmr", pmrNoise, JobOpenOutcome::PmrLoaded},
        {"noise.nwk", networkNoise, JobOpenOutcome::NetworkLoaded},
    };
    const auto trunkBefore = BytesOf(ws_->trunk);
    const auto pmrBefore = BytesOf(ws_->pmr);
    for (const auto& c : cases) {
        ASSERT_TRUE(WriteFileAtomically(dir_ / c.name, c.bytes));
        person_.shown.clear();
        person_.answers = {Answer::No};
        EXPECT_EQ(files_->Open(dir_ / c.name), JobOpenOutcome::Nothing) << c.name;
        ASSERT_EQ(person_.shown.size(), 1u) << c.name;
        EXPECT_EQ(person_.shown[0].kind, BoxKind::Warning) << c.name;
        EXPECT_EQ(person_.shown[0].buttons, Buttons::YesNo) << c.name;
        EXPECT_NE(person_.shown[0].text.find(std::string(c.name) + " does not look like a "),
                  std::string::npos)
            << c.name;
        EXPECT_EQ(BytesOf(ws_->trunk), trunkBefore) << c.name;
        EXPECT_EQ(BytesOf(ws_->pmr), pmrBefore) << c.name;
        EXPECT_EQ(Get("LastSaved.tnk"), trunkBefore) << c.name;
        EXPECT_EQ(Get("LastSaved.pmr"), pmrBefore) << c.name;
        EXPECT_EQ(state_.CurrentJobFileName, "previous.tnk") << c.name;
        EXPECT_TRUE(state_.TrunkJobLoaded && state_.PmrJobLoaded) << c.name;
    }
    // Yes opens each of them as before.
    for (const auto& c : cases) {
        person_.answers = {Answer::Yes};
        EXPECT_EQ(files_->Open(dir_ / c.name), c.whenYes) << c.name;
        EXPECT_TRUE(person_.answers.empty()) << c.name;
    }
    EXPECT_EQ(std::vector<std::uint8_t>(ws_->network.Bytes().begin(), ws_->network.Bytes().end()),
              networkNoise);
}

// Random bytes under a PMR name carry no format at all: the question of a foreign file, not the
// advice to upgrade the programmer, and Yes takes the bytes as they are.
TEST_F(ForeignJobOpenTest, APmrFileOfNoKnownFormatAsksAndOpensItsBytesOnYes) {
    for (std::uint32_t seed = 20; seed < 60; ++seed) {
        auto noise = RandomBytes(75948, seed);
        const int version = noise[112] | noise[113] << 8;
        if (version >= 200 && version < 300) {
            continue;  // a format of this program or of a later one
        }
        ASSERT_TRUE(WriteFileAtomically(dir_ / "noise.pmr", noise));
        const auto pmrBefore = BytesOf(ws_->pmr);
        person_.shown.clear();
        person_.answers = {Answer::No};
        EXPECT_EQ(files_->Open(dir_ / "noise.pmr"), JobOpenOutcome::Nothing) << seed;
        EXPECT_EQ(person_.Texts(),
                  std::vector<std::string>{NotOwnJobQuestion(JobKind::Pmr, "noise.pmr")})
            << seed;
        EXPECT_EQ(BytesOf(ws_->pmr), pmrBefore) << seed;
        EXPECT_EQ(state_.CurrentJobFileName, "previous.tnk") << seed;
    }
    auto noise = RandomBytes(75948, 61);
    noise[112] = 0x34;
    noise[113] = 0x12;
    ASSERT_TRUE(WriteFileAtomically(dir_ / "noise.pmr", noise));
    person_.answers = {Answer::Yes};
    EXPECT_EQ(files_->Open(dir_ / "noise.pmr"), JobOpenOutcome::PmrLoaded);
    EXPECT_EQ(BytesOf(ws_->pmr), noise);
    // A short file of no known format is refused after the question, the job kept.
    const auto pmrBefore = BytesOf(ws_->pmr);
    ASSERT_TRUE(WriteFileAtomically(dir_ / "short.pmr", RandomBytes(5000, 62)));
    person_.shown.clear();
    person_.answers = {Answer::Yes};
    EXPECT_EQ(files_->Open(dir_ / "short.pmr"), JobOpenOutcome::Nothing);
    EXPECT_EQ(person_.Texts().back(), FileTooShortText("short.pmr"));
    EXPECT_EQ(BytesOf(ws_->pmr), pmrBefore);
}

TEST_F(ForeignJobOpenTest, JobsOfThisProgramOpenWithoutAQuestion) {
    TrunkJobImage own;
    own.SetU8(107, 1);
    own.SetU16(112, 100);
    ASSERT_TRUE(WriteFileAtomically(dir_ / "own.tnk", own.Bytes()));
    EXPECT_EQ(files_->Open(dir_ / "own.tnk"), JobOpenOutcome::TrunkLoaded);
    EXPECT_TRUE(person_.shown.empty());
}

TEST_F(ForeignJobOpenTest, ANetworkFileLoadedIntoATrunkJobAsksTheSame) {
    auto bytes = NetworkWithMarker("not a network!!!");
    ASSERT_TRUE(WriteFileAtomically(dir_ / "other.nwk", bytes));
    person_.answers = {Answer::No};
    EXPECT_FALSE(ReadNetworkFile(dir_ / "other.nwk", person_).has_value());
    ASSERT_EQ(person_.Texts(),
              (std::vector<std::string>{NotOwnJobQuestion(JobKind::Network, "other.nwk")}));
    person_.answers = {Answer::Yes};
    EXPECT_TRUE(ReadNetworkFile(dir_ / "other.nwk", person_).has_value());
}

}  // namespace
}  // namespace km

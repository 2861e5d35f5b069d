// The programmer's link stack against the virtual radio in process: identify, read a whole
// configuration area, erase its sector, write it anew and read it back, with each fault the
// virtual radio can inject.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

#include "SimSession.h"

namespace km::sim {
namespace {

using testing::Bytes;
using testing::Request;
using testing::SimSession;

Profile Rev8TrunkRadio() {
    auto result = ParseProfile("type = 0\ntrunk_job = yes\n");
    return *result.profile;
}

constexpr std::uint16_t kTrunkBlock = 576;  // FIT entry 19 of a radio without its own table
constexpr std::uint8_t kTrunkSector = 4;
constexpr std::uint16_t kConfigSize = 16383;

Bytes NewConfiguration() {
    Bytes data(kConfigSize);
    for (std::size_t i = 0; i < data.size(); ++i) {
        data[i] = static_cast<std::uint8_t>(i * 13 + 5);
    }
    return data;
}

std::vector<Request> ReadEraseWriteReadBack() {
    return {{Request::Identify},
            {Request::Read, kTrunkBlock, kConfigSize},
            {Request::Erase, 0, 0, kTrunkSector},
            {Request::Write, kTrunkBlock, kConfigSize, 0, NewConfiguration()},
            {Request::Read, kTrunkBlock, kConfigSize},
            {Request::End}};
}

struct FaultCase {
    const char* what;
    FaultOptions faults;
    bool paced = false;
};

void PrintTo(const FaultCase& c, std::ostream* out) {
    *out << c.what;
}

class ProgrammerAgainstRadioTest : public ::testing::TestWithParam<FaultCase> {};

// Lost and corrupted frames cost retransmissions, never data.
TEST_P(ProgrammerAgainstRadioTest, ReadEraseWriteReadBackSurvivesLineFaults) {
    const Profile profile = Rev8TrunkRadio();
    const Bytes before = BuildRadioMemory(profile).Read(kTrunkBlock * kBlockSize, kConfigSize);
    SimSession session(profile, {GetParam().paced, GetParam().faults});

    ASSERT_TRUE(session.Run(ReadEraseWriteReadBack())) << session.Log();
    session.clock.AdvanceBy(1000);  // the closing message on its way
    const auto& host = *session.host;
    EXPECT_EQ(host.typeCode, 0);
    ASSERT_EQ(host.reads.size(), 2u);
    EXPECT_EQ(host.reads[0], before);
    EXPECT_EQ(host.reads[1], NewConfiguration());
    EXPECT_EQ(session.radio.Memory().Read(kTrunkBlock * kBlockSize, kConfigSize),
              NewConfiguration());
    EXPECT_TRUE(session.radio.Memory().Faults().empty()) << session.Log();
    EXPECT_TRUE(session.radio.Messages().ProtocolFaults().empty()) << session.Log();
    EXPECT_EQ(session.radio.Messages().EndProgrammingCount(), 1);
    EXPECT_EQ(host.failures, 0);
    EXPECT_EQ(host.radioRequests, 0);
    EXPECT_TRUE(session.radio.Idle());
    // The faults did happen: the data came through in spite of them.
    const FaultOptions& faults = GetParam().faults;
    if (faults.dropIncomingEvery > 0 || faults.dropOutgoingEvery > 0) {
        EXPECT_GT(session.radio.FramesDropped(), 0);
    }
    if (faults.corruptProbability > 0) {
        EXPECT_GT(session.radio.BytesCorrupted(), 0);
    }
    if (faults.dropOutgoingEvery > 0) {
        EXPECT_GT(session.radio.Link().Retransmissions(), 0);
    }
}

FaultOptions Drop(int in, int out) {
    FaultOptions faults;
    faults.dropIncomingEvery = in;
    faults.dropOutgoingEvery = out;
    return faults;
}

FaultOptions Corrupt(double probability, std::uint32_t seed) {
    FaultOptions faults;
    faults.corruptProbability = probability;
    faults.seed = seed;
    return faults;
}

INSTANTIATE_TEST_SUITE_P(
    LineFaults, ProgrammerAgainstRadioTest,
    ::testing::Values(FaultCase{"clean line", {}},
                      FaultCase{"every 7th frame to the radio lost", Drop(7, 0)},
                      FaultCase{"every 5th frame from the radio lost", Drop(0, 5)},
                      FaultCase{"frames lost both ways", Drop(4, 6)},
                      FaultCase{"corrupted bytes", Corrupt(0.001, 7)},
                      FaultCase{"more corrupted bytes", Corrupt(0.003, 11)},
                      FaultCase{"line paced at 19200 baud", {}, true},
                      FaultCase{"paced line losing frames", Drop(5, 9), true}),
    [](const auto& info) {
        std::string name = info.param.what;
        std::replace_if(
            name.begin(), name.end(), [](char c) { return !std::isalnum(c); }, '_');
        return name;
    });

// The radio resetting its link in the middle of the read ends the operation with the serial
// communications error; the radio's memory is untouched.
TEST(ProgrammerAgainstRadioFaults, LinkRequestInTheMiddleAbandonsTheOperation) {
    FaultOptions faults;
    faults.linkRequestAfterMessage = 2;  // the ReadRequest
    SimSession session(Rev8TrunkRadio(), {false, faults});
    EXPECT_FALSE(session.Run(ReadEraseWriteReadBack()));
    EXPECT_EQ(session.host->radioRequests, 1) << session.Log();
    EXPECT_EQ(session.radio.Memory().EraseCount(), 0u);
    EXPECT_TRUE(session.host->reads.empty());
    // The link comes back up by itself: the radio keeps answering.
    EXPECT_TRUE(session.clock.AdvanceUntil(
        [&] { return session.link.State() == LinkState::Established; }, 20000))
        << session.Log();
    session.clock.AdvanceBy(60000);  // and stays up, kept alive
    EXPECT_EQ(session.link.State(), LinkState::Established) << session.Log();
    EXPECT_EQ(session.radio.Link().State(), RadioLinkState::Up);
}

// A radio that falls silent: the programmer gives the operation up instead of waiting for ever.
TEST(ProgrammerAgainstRadioFaults, SilenceAfterAMessageEndsTheOperation) {
    for (int after : {1, 3}) {
        FaultOptions faults;
        faults.silenceAfterMessage = after;
        SimSession session(Rev8TrunkRadio(), {false, faults});
        EXPECT_FALSE(session.Run(ReadEraseWriteReadBack(), 200000)) << after;
        EXPECT_TRUE(session.radio.Silent());
        EXPECT_EQ(session.host->pending, OperationKind::None) << session.Log();
        EXPECT_GE(session.host->failures + session.host->resets, 1) << after;
    }
}

// A radio that cuts its read data into larger pieces sends fewer messages than the programmer
// counts on; the end message still completes the read, with the right bytes.
TEST(ProgrammerAgainstRadioFaults, ReadDataInLargerPieces) {
    const Profile profile = Rev8TrunkRadio();
    FaultOptions faults;
    faults.readPieceSize = 200;
    SimSession session(profile, {false, faults});
    ASSERT_TRUE(session.Run({{Request::Identify}, {Request::Read, kTrunkBlock, kConfigSize}}));
    ASSERT_EQ(session.host->reads.size(), 1u);
    EXPECT_EQ(session.host->reads[0],
              BuildRadioMemory(profile).Read(kTrunkBlock * kBlockSize, kConfigSize));
}

// Writing without the erase is what the flash model is for: the radio records it.
TEST(ProgrammerAgainstRadioFaults, WritesOntoUnerasedFlashAreDetected) {
    SimSession session(Rev8TrunkRadio());
    ASSERT_TRUE(session.Run({{Request::Identify},
                             {Request::Write, kTrunkBlock, kConfigSize, 0, NewConfiguration()},
                             {Request::End}}));
    const auto& faults = session.radio.Memory().Faults();
    ASSERT_FALSE(faults.empty());
    EXPECT_EQ(faults[0].kind, FaultKind::WriteOntoUnerased);
    EXPECT_GE(faults[0].address, kTrunkBlock * kBlockSize);
    EXPECT_NE(session.Log().find("FAULT write onto unerased flash"), std::string::npos);
}

// Erases take their time: in realistic mode the reply comes three seconds later, and the link
// stays up meanwhile.
TEST(ProgrammerAgainstRadioFaults, RealisticEraseTakesThreeSeconds) {
    Profile profile = Rev8TrunkRadio();
    profile.eraseTimeMs = kRealisticEraseTimeMs;
    SimSession session(profile);
    ASSERT_TRUE(session.Run({{Request::Identify}, {Request::Erase, 0, 0, kTrunkSector}}));
    const std::int64_t realisticEnd = session.clock.Now();
    SimSession fast(Rev8TrunkRadio());
    ASSERT_TRUE(fast.Run({{Request::Identify}, {Request::Erase, 0, 0, kTrunkSector}}));
    EXPECT_GE(realisticEnd - fast.clock.Now(),
              kRealisticEraseTimeMs - Rev8TrunkRadio().eraseTimeMs);
    EXPECT_EQ(session.link.State(), LinkState::Established);
}

}  // namespace
}  // namespace km::sim

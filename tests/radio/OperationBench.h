#pragma once
// A bench for the radio operations: the programmer's link, message layer and operations on one
// end of an in-memory wire, the virtual radio on the other, all driven by the virtual clock.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "ScriptedPerson.h"
#include "core/Files.h"
#include "image/PmrFormat.h"
#include "image/State.h"
#include "link/DataLink.h"
#include "link/Messages.h"
#include "link/VirtualClock.h"
#include "link/WirePair.h"
#include "radio/Operation.h"
#include "radio/ReadRadio.h"
#include "sim/RadioMemory.h"
#include "sim/VirtualRadio.h"

namespace km::testing {

// The progress dialog as a test sees it: every status text in order.
class RecordingProgress : public Progress {
  public:
    std::vector<std::string> texts;
    int shown = 0;

  protected:
    void Shown() override {
        ++shown;
        texts.push_back(Text());
    }
    void Changed() override {
        if (texts.empty() || texts.back() != Text()) {
            texts.push_back(Text());
        }
    }
};

// What a read of the radio must give, taken straight from the radio's memory.
inline std::vector<std::uint8_t> FlashBytes(const sim::Flash& flash, std::uint16_t block,
                                            std::size_t size) {
    return flash.Read(sim::Flash::BlockAddress(block), size);
}

inline TrunkJobImage TrunkJobOf(const sim::Profile& profile, const sim::Flash& flash) {
    const auto layout = sim::LayoutFor(profile);
    auto scratch = std::make_unique<ScratchBuffer>();
    scratch->Write(mirror::kTrunkConfiguration,
                   FlashBytes(flash, layout[sim::fit::kTrunkConfig].block, 16383));
    if (profile.trunkPhonebookEdited) {
        scratch->Write(mirror::kTrunkConfiguration + 1432,
                       FlashBytes(flash, layout[sim::fit::kTrunkPhonebook].block, 7000));
    }
    TrunkJobImage trunk;
    UnpackTrunkRead(*scratch, trunk);
    return trunk;
}

inline PmrJobImage PmrJobOf(const sim::Profile& profile, const sim::Flash& flash,
                            const PmrJobImage& before, bool phonebookLaidOver) {
    const auto layout = sim::LayoutFor(profile);
    auto block = [&](int entry) { return layout[static_cast<std::size_t>(entry)].block; };
    auto scratch = std::make_unique<ScratchBuffer>();
    ClearPmrMirror(*scratch);
    const auto channels = static_cast<std::size_t>(profile.pmrChannels) * 32;
    const std::size_t first = std::min<std::size_t>(channels, 16384);
    scratch->Write(0, FlashBytes(flash, block(sim::fit::kPmrConfig), 16383));
    scratch->Write(0x4000, FlashBytes(flash, block(sim::fit::kChannels1), first));
    scratch->Write(0x8000, FlashBytes(flash, block(sim::fit::kChannels2), channels - first));
    scratch->Write(0xC000, FlashBytes(flash, block(sim::fit::kEncodes),
                                      static_cast<std::size_t>(profile.pmrEncodes) * 32));
    scratch->Write(0xE000, FlashBytes(flash, block(sim::fit::kGroupB),
                                      static_cast<std::size_t>(profile.pmrGroupB) * 32));
    if (block(sim::fit::kZoneTable) != sim::kNoBlock) {
        scratch->Write(0xF000, FlashBytes(flash, block(sim::fit::kZoneTable),
                                          static_cast<std::size_t>(profile.pmrZones) * 800));
    }
    if (phonebookLaidOver) {
        scratch->Write(1432, FlashBytes(flash, block(sim::fit::kPmrPhonebook), 6000));
    }
    PmrJobImage pmr = before;
    EXPECT_EQ(UnpackPmrRead(*scratch, nullptr, pmr), PmrFormatStatus::Current);
    return pmr;
}

class OperationBench : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() /
                  ("km_radio_" +
                   std::string(
                       ::testing::UnitTest::GetInstance()->current_test_info()->test_suite_name()) +
                   "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
        link_ = std::make_unique<DataLink>(wire_.A(), clock_, person_);
        messages_ = std::make_unique<ProgrammingMessages>(*link_, clock_);
        workspace_ = std::make_unique<Workspace>();
        operations_ =
            std::make_unique<RadioOperations>(RadioOperations::Environment{*workspace_,
                                                                           state_,
                                                                           person_,
                                                                           progress_,
                                                                           *link_,
                                                                           *messages_,
                                                                           clock_,
                                                                           [] { return 0; },
                                                                           {folder_},
                                                                           folder_});
    }

    void TearDown() override {
        operations_.reset();
        radio_.reset();
        std::filesystem::remove_all(folder_);
    }

    void WriteFitFile() {
        const auto contents = sim::FitFileContents();
        ASSERT_TRUE(WriteFileAtomically(folder_ / "FIT000101.bin", contents));
    }

    // Starts the virtual radio described by `profileText` (profile file syntax).
    void StartRadio(const std::string& profileText, sim::FaultOptions faults = {}) {
        const auto parsed = sim::ParseProfile(profileText);
        ASSERT_TRUE(parsed.profile) << parsed.error;
        profile_ = *parsed.profile;
        radio_ = std::make_unique<sim::VirtualRadio>(
            profile_, sim::BuildRadioMemory(profile_), clock_, [this] { return clock_.Now(); },
            wire_.B(), sim::RadioOptions{false, faults},
            [this](const std::string& line) { radioLog_.push_back(line); });
    }

    // Runs the clock until the command has ended (the progress dialog is gone and the port
    // closed) or a minute has passed.
    bool RunToEnd() {
        return clock_.AdvanceUntil([this] { return !state_.CommsBusy && !link_->PortOpen(); },
                                   120000);
    }

    bool RadioLogged(const std::string& text) const {
        return std::any_of(radioLog_.begin(), radioLog_.end(), [&](const std::string& line) {
            return line.find(text) != std::string::npos;
        });
    }
    int RadioLogCount(const std::string& text) const {
        return static_cast<int>(std::count_if(
            radioLog_.begin(), radioLog_.end(),
            [&](const std::string& line) { return line.find(text) != std::string::npos; }));
    }

    // Bytes of the radio's flash at `block`.
    std::vector<std::uint8_t> RadioBytes(std::size_t block, std::size_t size) const {
        return radio_->Memory().Read(sim::Flash::BlockAddress(block), size);
    }
    std::uint16_t RadioFitBlock(int entry) const {
        return sim::LayoutFor(profile_)[static_cast<std::size_t>(entry)].block;
    }

    std::filesystem::path folder_;
    VirtualClock clock_;
    WirePair wire_{clock_};
    ScriptedPerson person_;
    RecordingProgress progress_;
    MainState state_;
    std::unique_ptr<DataLink> link_;
    std::unique_ptr<ProgrammingMessages> messages_;
    std::unique_ptr<Workspace> workspace_;
    std::unique_ptr<RadioOperations> operations_;
    sim::Profile profile_;
    std::unique_ptr<sim::VirtualRadio> radio_;
    std::vector<std::string> radioLog_;
};

}  // namespace km::testing

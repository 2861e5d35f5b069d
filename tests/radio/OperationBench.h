#pragma once
// A bench for the radio operations: the programmer's radio session on one end of an in-memory
// wire, the virtual radio on the other, all driven by the virtual clock.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "RadioContent.h"
#include "ScriptedPerson.h"
#include "core/Files.h"
#include "image/PmrFormat.h"
#include "image/State.h"
#include "link/VirtualClock.h"
#include "link/WirePair.h"
#include "radio/RadioSession.h"
#include "radio/ReadRadio.h"
#include "sim/RadioMemory.h"
#include "sim/VirtualRadio.h"

namespace km::testing {

// The progress dialog as a test sees it: every status text in order, with the step total and
// counter the dialog had when the text appeared.
class RecordingProgress : public Progress {
  public:
    std::vector<std::string> texts;
    std::vector<std::pair<int, int>> totalAndCounter;
    int shown = 0;
    // The gauge at the last change before the dialog closed.
    int lastGauge = -1;

    // Total and counter when `text` first appeared; (-1, -1) when it never did.
    std::pair<int, int> GaugeAt(const std::string& text) const {
        const auto it = std::find(texts.begin(), texts.end(), text);
        return it == texts.end() ? std::pair{-1, -1} : totalAndCounter[it - texts.begin()];
    }

  protected:
    void Shown() override {
        ++shown;
        Record();
    }
    void Changed() override {
        lastGauge = Gauge();
        if (texts.empty() || texts.back() != Text()) {
            Record();
        }
    }

  private:
    void Record() {
        texts.push_back(Text());
        totalAndCounter.emplace_back(Total(), Counter());
    }
};

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
        workspace_ = std::make_unique<Workspace>();
        RadioContext context{*workspace_, state_, person_, progress_, folder_, {folder_}};
        context.nowMs = [this] { return clock_.Now(); };
        session_ = std::make_unique<RadioSession>(wire_.A(), clock_, std::move(context));
        link_ = &session_->Link();
        operations_ = &session_->Operations();
    }

    void TearDown() override {
        session_.reset();
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
        StartRadio(*parsed.profile, faults);
    }
    void StartRadio(const sim::Profile& profile, sim::FaultOptions faults = {}) {
        profile_ = profile;
        radio_ = std::make_unique<sim::VirtualRadio>(
            profile_, sim::BuildRadioMemory(profile_), clock_, [this] { return clock_.Now(); },
            wire_.B(), sim::RadioOptions{pacedRadio_, faults},
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

    // The radio's log, a line each, for a failure message.
    std::string Log() const {
        std::string text;
        for (const auto& line : radioLog_) {
            text += line + "\n";
        }
        return text;
    }

    // Bytes of the radio's flash at `block`.
    std::vector<std::uint8_t> RadioBytes(std::size_t block, std::size_t size) const {
        return radio_->Memory().Read(sim::Flash::BlockAddress(block), size);
    }
    // The radio's whole flash.
    std::vector<std::uint8_t> AllRadioBytes() const {
        return radio_->Memory().Read(0, radio_->Memory().SectorCount() * sim::kSectorSize);
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
    std::unique_ptr<Workspace> workspace_;
    std::unique_ptr<RadioSession> session_;
    DataLink* link_ = nullptr;
    RadioOperations* operations_ = nullptr;
    sim::Profile profile_;
    std::unique_ptr<sim::VirtualRadio> radio_;
    std::vector<std::string> radioLog_;
    bool pacedRadio_ = false;
};

}  // namespace km::testing

// Program Radio (trunk and PMR) and the software upgrade against a virtual radio whose memory
// holds arbitrary bytes where the programmer reads before it writes: the Flash Index Table, the
// band record and the heads and descriptors of the code areas; and the radio may go away at any
// moment of the operation. Whatever the radio holds and whenever it goes, the operation must end
// without touching memory outside its buffers.
//
// Input: the radio, the operation and how the radio goes away (it falls silent, or the port fails
// as a pulled adapter does); the moment it goes (in steps of 40 ms of line time, 255 for never),
// so that most inputs cost part of an operation; then patches of three bytes (area, offset,
// value).

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <vector>

#include "core/Files.h"
#include "image/State.h"
#include "link/VirtualClock.h"
#include "link/WirePair.h"
#include "radio/RadioSession.h"
#include "radio/Upgrade.h"
#include "sim/RadioMemory.h"
#include "sim/VirtualRadio.h"

namespace {

using namespace km;

class YesPerson : public Person {
  public:
    Answer Show(BoxKind, std::string_view, Buttons buttons) override {
        return buttons == Buttons::Ok ? Answer::Ok : Answer::Yes;
    }
    void Beep() override {}
};

constexpr const char* kProfiles[] = {
    "type = 0\ntrunk_job = yes\npmr_channels = 5\n",
    "type = 1\ntrunk_code.software_code = 11250\npmr_code.software_code = 11240\n",
    "type = 8\ntrunk_code.software_code = 10810\npmr_code.software_code = 14510\n",
};

// Where the patches land: the table, the band record, and the first blocks of the code areas.
constexpr int kPatchedEntries[] = {sim::fit::kStartupCode, sim::fit::kTrunkCode,
                                   sim::fit::kPmrCode};

const std::filesystem::path& Folder() {
    static const std::filesystem::path folder = [] {
        const auto path = std::filesystem::temp_directory_path() / "km_program_fuzz";
        std::filesystem::create_directories(path / "Radio_SW");
        WriteFileAtomically(path / "FIT000101.bin", sim::FitFileContents());
        WriteFileAtomically(path / "aligncfg.bin", sim::AlignConfigContents());
        std::vector<std::uint8_t> code(20000 - 63, 0x11);
        SoftwareDescription description;
        description.softwareCode = "10820";
        description.versionText = "V6.30";
        description.codeType = 4;
        WriteFileAtomically(path / "Radio_SW" / "startup.bin", MakeCodeFile(code, description, {}));
        return path;
    }();
    return folder;
}

TrunkJobImage TrunkJob() {
    TrunkJobImage job;
    job.SetU16(kVersionWordOffset, kProgramVersionNumber);
    job.SetU8(trunk::kRadioType, 4);
    job.SetU8(trunk::kRadioMode, 2);
    job.SetU16(trunk::kBandCode, 0x4131);
    job.SetU16(trunk::NetworkFileStart(0) + 0x2E4, 3);
    job.SetU16(trunk::NetworkFileStart(1) + network::kBandCode, 0x4131);
    return job;
}

PmrJobImage PmrJob() {
    PmrJobImage job;
    job.SetU16(kVersionWordOffset, kProgramVersionNumber);
    job.SetU16(pmr::kFormatVersion, pmr::kCurrentFormat);
    job.SetU8(pmr::kRadioType, 4);
    job.SetU8(pmr::kRadioMode, 2);
    job.SetU16(pmr::kBandCode, 0x4131);
    job.SetU16(pmr::kChannelCount, 600);
    job.SetU16(pmr::kZoneCount, 3);
    return job;
}

// The memory of each radio as it was built, and a workspace holding the jobs: made once, copied
// for each input (building them anew for every input would cost more than the operation).
const sim::Flash& BuiltMemory(std::size_t radio) {
    static const std::vector<sim::Flash> memories = [] {
        std::vector<sim::Flash> built;
        for (const char* text : kProfiles) {
            built.push_back(sim::BuildRadioMemory(*sim::ParseProfile(text).profile));
        }
        return built;
    }();
    return memories[radio];
}

const Workspace& StartingWorkspace() {
    static const auto workspace = [] {
        auto w = std::make_unique<Workspace>();
        w->trunk = TrunkJob();
        w->pmr = PmrJob();
        return w;
    }();
    return *workspace;
}

constexpr std::int64_t kCutStepMs = 40;
constexpr std::uint8_t kNeverCut = 255;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    constexpr std::size_t kHead = 2;
    if (size < kHead) {
        return 0;
    }
    const std::uint8_t choice = data[0];
    const std::uint8_t cut = data[1];
    const sim::Profile profile = *sim::ParseProfile(kProfiles[choice % 3]).profile;
    // The memory goes into the radio and comes back after the operation, so that its megabyte
    // is copied over the same pages for every input rather than into fresh ones.
    static std::vector<sim::Flash> working(std::size(kProfiles));
    sim::Flash& memory = working[choice % 3];
    memory = BuiltMemory(choice % 3);
    const auto layout = sim::LayoutFor(profile);
    for (std::size_t at = kHead; at + 3 <= size; at += 3) {
        const int area = data[at] % 5;
        std::size_t address = 0;
        if (area == 0) {
            address = sim::Flash::BlockAddress(sim::kFitBlock);
        } else if (area == 1) {
            address = sim::Flash::BlockAddress(layout[sim::fit::kBandRecord].block);
        } else {
            const auto block = layout[static_cast<std::size_t>(kPatchedEntries[area - 2])].block;
            if (block == sim::kNoBlock) {
                continue;
            }
            address = sim::Flash::BlockAddress(block) + (data[at] / 5 % 64) * 512;
        }
        const std::uint8_t value = data[at + 2];
        memory.Store(address + data[at + 1] * 2 % 512, std::span(&value, 1));
    }

    VirtualClock clock;
    WirePair wire(clock);
    YesPerson person;
    Progress progress;
    static auto workspace = std::make_unique<Workspace>();
    *workspace = StartingWorkspace();
    MainState state;
    RadioSession session(wire.A(), clock,
                         {*workspace, state, person, progress, Folder(), {Folder()}});
    RadioOperations& operations = session.Operations();
    sim::VirtualRadio radio(profile, std::move(memory), clock, [&clock] { return clock.Now(); },
                            wire.B(), {}, {});

    switch (choice / 3 % 3) {
        case 0:
            state.ImageKind = kImageTrunk;
            state.TrunkJobLoaded = true;
            operations.ProgramRadio();
            break;
        case 1:
            state.ImageKind = kImagePmr;
            state.PmrJobLoaded = true;
            operations.ProgramRadio();
            break;
        default:
            StartDownload(operations, Folder() / "Radio_SW" / "startup.bin");
            break;
    }
    const auto ended = [&] { return !state.CommsBusy && !session.Link().PortOpen(); };
    if (cut != kNeverCut && !clock.AdvanceUntil(ended, cut * kCutStepMs)) {
        switch (choice / 9 % 4) {
            case 0:
                wire.B().Close();  // the radio is switched off: it falls silent
                break;
            case 1:
                wire.A().Fail(PortError::DeviceGone);  // the USB adapter is pulled out
                break;
            case 2:
                wire.A().Fail(PortError::ReadFailed);
                break;
            default:
                wire.A().Fail(PortError::WriteFailed);
                break;
        }
    }
    clock.AdvanceUntil(ended, 600000);
    memory = std::move(radio.Memory());
    return 0;
}

#pragma once
// Lays a PMR job out in the ScratchBuffer the way the radio keeps it, in three passes that
// Program Radio writes one after the other: the startup data and PMR configuration, the channel
// sector (channels, selcall encodes, group B channels and, on newer radios, a second copy of the
// configuration), and the zone table. Words are turned high byte first on the way.

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>

#include "core/Person.h"
#include "image/Images.h"
#include "radio/RadioIdentity.h"
#include "radio/TrunkPrep.h"

namespace km {

// The first 200 bytes of the radio's PMR startup data come from aligncfg.bin beside the program.
inline constexpr const char* kAlignConfigName = "aligncfg.bin";
inline constexpr std::size_t kAlignConfigSize = 200;
inline constexpr const char* kAlignConfigMissingText = "\"ALIGNCFG.BIN\"  file not found ";
using AlignConfig = std::array<std::uint8_t, kAlignConfigSize>;

inline constexpr const char* kNoChannelsText = "No channels defined.";

// Where the prepared PMR data sits in the ScratchBuffer.
namespace pmrprep {
// PreparePmrData
inline constexpr std::size_t kStartupData = 0x0000;
inline constexpr std::size_t kPmrConfig = 0x4000;
inline constexpr std::size_t kTrunkData = 0x8000;  // the radio's trunk data, read back
// PreparePmrChannels
inline constexpr std::size_t kChannels = 0x0000;
inline constexpr std::size_t kLaterChannels = 0x4000;  // records from number 512 on
inline constexpr std::size_t kEncodes = 0x8000;
inline constexpr std::size_t kGroupB = 0xA000;
inline constexpr std::size_t kPmrConfigCopy = 0xC000;
// PrepareZones
inline constexpr std::size_t kZones = 0x0000;
}  // namespace pmrprep

// The channel records the radio's first channel area holds; those from number 512 on go to the
// second. (The capacities of the job's tables are the image's, Images.h; counts read from the
// image are clamped to them.)
namespace pmrprep {
inline constexpr std::size_t kChannelsInFirstPart = 512;
}  // namespace pmrprep

// Reads the first 200 bytes of aligncfg.bin from `folder` (its name matched ignoring case).
// A missing or short file warns and gives nothing. Run before the radio is touched, so that a
// missing file ends the operation before anything is erased.
std::optional<AlignConfig> LoadAlignConfig(const std::filesystem::path& folder, Person& person);

// Startup data at 0 (aligncfg.bin patched from the job), the PMR configuration at 0x4000 and, in
// a PMR-only job, a blank trunk area at 0x8000.
WriteRegions PreparePmrData(const PmrJobImage& job, const AlignConfig& alignConfig,
                            ScratchBuffer& scratch);

// After the radio's trunk data has been read back to 0x8000: a network the radio does not hold
// cannot be the one the PMR side names, and the startup data says how much trunk data there is.
void SetPmrStartupNetworks(ScratchBuffer& scratch);

struct PmrChannelRegions {
    // 0: channels 0-511, 1: channels from 512 on, 2: unused, 3: second configuration copy.
    WriteRegions regions;
    std::size_t encodeLength = 0;
    std::size_t groupBLength = 0;
    // False when the job has no channels: the warning has been shown and nothing is written.
    bool proceed = true;
};

// `portableHead` is true when the job's control head is one of the portable entries.
PmrChannelRegions PreparePmrChannels(const PmrJobImage& job, bool portableHead,
                                     const RadioIdentity& radio, ScratchBuffer& scratch,
                                     Person& person);

WriteRegions PrepareZones(const PmrJobImage& job, ScratchBuffer& scratch);

}  // namespace km

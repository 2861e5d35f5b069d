#pragma once
// Read Radio: mirrors the radio's trunk or PMR configuration areas into the ScratchBuffer at fixed
// offsets, lays a phonebook edited on the radio itself over them, and hands the buffer to the
// image unpack. The job changes only when the whole read has succeeded.

#include <array>
#include <cstdint>
#include <optional>

#include "image/Images.h"
#include "radio/Operation.h"

namespace km {

// Where the reads land in the ScratchBuffer.
namespace mirror {
inline constexpr std::size_t kPmrConfiguration = 0x0000;
inline constexpr std::size_t kPmrChannelsFirst = 0x4000;
inline constexpr std::size_t kPmrChannelsSecond = 0x8000;
inline constexpr std::size_t kTrunkConfiguration = 0x8000;
inline constexpr std::size_t kPmrEncodes = 0xC000;
inline constexpr std::size_t kPmrGroupB = 0xE000;
inline constexpr std::size_t kPmrZones = 0xF000;
inline constexpr std::uint16_t kConfigurationSize = 16383;
inline constexpr std::size_t kRegionSize = 0x4000;
}  // namespace mirror

// Empties the regions a read fills, so nothing of an earlier read or preparation reaches the job.
void ClearTrunkMirror(ScratchBuffer& scratch);
void ClearPmrMirror(ScratchBuffer& scratch);

// Sizes of the PMR areas, from the configuration as read (radio byte order).
struct PmrReadSizes {
    std::uint16_t channelsFirst = 0;
    std::uint16_t channelsSecond = 0;
    std::uint16_t encodes = 0;
    std::uint16_t groupB = 0;
    std::uint16_t zones = 0;
};
inline constexpr int kMaxChannels = 1000;
inline constexpr int kMaxEncodes = 250;
inline constexpr int kMaxGroupB = 128;
inline constexpr int kMaxZones = 20;
// The sizes of the areas the counts of the configuration as read name. A count beyond what the
// PmrJobImage holds (an erased encode count of 0xFF, say) is clamped to it, and written back
// clamped, so that the job says what it holds.
PmrReadSizes TakePmrCounts(ScratchBuffer& scratch);

// The phonebook is read into a buffer of its own.
using PhonebookBuffer = std::array<std::uint8_t, 7040>;

class TrunkRead : public StepMachine {
  public:
    using StepMachine::StepMachine;

  private:
    void Run(std::span<const std::uint8_t> message) override;
    void Finish();

    std::uint16_t sizeRecordBlock_ = 0;
    std::uint16_t configurationBlock_ = 0;
    std::uint16_t phonebookBlock_ = 0;
    PhonebookBuffer phonebook_{};
};

class PmrRead : public StepMachine {
  public:
    using StepMachine::StepMachine;

  private:
    void Run(std::span<const std::uint8_t> message) override;
    bool TakeBlocks();
    void CheckPhonebook();
    void Finish();

    std::uint16_t configurationBlock_ = 0;
    std::array<std::uint16_t, 4> channelBlocks_{};  // FIT entries 9, 10, 11, 12
    std::uint16_t phonebookBlock_ = 0;
    std::uint16_t zoneBlock_ = 0;
    PmrReadSizes sizes_;
    PhonebookBuffer phonebook_{};
};

}  // namespace km

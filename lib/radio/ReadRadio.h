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
// The sizes of the areas the counts of the configuration as read name. A count beyond what the
// PmrJobImage holds (an erased encode count of 0xFF, say) is clamped to it, and written back
// clamped, so that the job says what it holds.
PmrReadSizes TakePmrCounts(ScratchBuffer& scratch);

// The phonebook is read into a buffer of its own.
using PhonebookBuffer = std::array<std::uint8_t, 7040>;

// Where a phonebook edited on the radio itself lies, and where it goes: the radio flags it with
// 12 34 after its data, which the check reads in the three blocks around the flag.
struct PhonebookLayout {
    std::uint16_t checkBlocks;  // blocks from the area start to the checked piece
    std::size_t flagInCheck;    // where the flag lies inside the checked piece
    std::uint16_t readSize;     // the whole phonebook area read when modified
    std::size_t dataSize;       // the bytes laid over the configuration
    std::size_t mirrorOffset;   // where they go in the ScratchBuffer
    const char* readStatus;
};

// What the trunk and PMR reads share: the opening (identification, secure radios refused, the
// Flash Index Table), the configuration read that stops at a blank radio's marker, and the
// phonebook edited on the radio laid over the configuration. The job is replaced only by Finish,
// once everything has arrived.
class RadioRead : public StepMachine {
  protected:
    using StepMachine::StepMachine;

    // Shows the progress of a read, identifies the radio and reads its table; then `afterFit`.
    void BeginRead(Work afterFit);
    // The configuration (16383 bytes) into the ScratchBuffer at `mirrorOffset`; a blank radio
    // ends the read with "Nothing to Read.".
    void ThenReadConfiguration(std::uint16_t block, std::size_t mirrorOffset, const char* status);
    // Reads the flag of the phonebook area at `areaBlock`; when the radio's user has edited the
    // phonebook (and `flagCounts` agrees), reads it and lays it over the configuration. Then
    // Finish.
    void ThenCheckPhonebook(std::uint16_t areaBlock, const PhonebookLayout& layout,
                            std::function<bool()> flagCounts);
    // Unpacks what was read into the job and ends the operation.
    virtual void Finish() = 0;

  private:
    PhonebookBuffer phonebook_{};
};

class TrunkRead : public RadioRead {
  public:
    using RadioRead::RadioRead;

  private:
    void Begin() override;
    bool ReadConfiguration();
    void Finish() override;
};

class PmrRead : public RadioRead {
  public:
    using RadioRead::RadioRead;

  private:
    void Begin() override;
    bool ReadRecords();
    void Finish() override;
};

}  // namespace km

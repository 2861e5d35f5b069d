#pragma once
// What the programming operations (trunk and PMR programming, the software upgrade) share: a
// step machine whose steps are queued as a list of radio actions (read, erase, write, ask for
// information) and pieces of work run between them, each action under the step number it has in
// its machine. The next action starts only when the radio has finished the one before: the read
// has arrived in full, EraseDone has come back, or the radio has acknowledged the last block of
// a write. Actions that must wait for the radio's credit are sent as soon as it grants some.

#include <array>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "radio/CodeFile.h"
#include "radio/Operation.h"
#include "radio/SoftwareChoice.h"
#include "radio/TrunkPrep.h"

namespace km {

// Where a code image's pieces sit in the ScratchBuffer and in the radio: each piece of 16383
// bytes goes into its own 32-block slot.
inline constexpr std::uint16_t kCodeSlotBlocks = 32;
// The overlay of trunk code follows the four code slots.
inline constexpr std::uint16_t kOverlayBlockOffset = 128;
inline constexpr std::size_t kOverlayWriteSize = 16383;
inline constexpr int kOverlayProgressTotal = 127;

class ProgrammingMachine : public StepMachine {
  public:
    using StepMachine::StepMachine;

    // True once the last run went through to its normal end.
    bool Completed() const { return completed_; }

  protected:
    // The normal end: FinishOperation, noted as completed.
    void Complete();

    // Step 1: runs the checks that need only the job and queues the machine's first actions.
    virtual void Begin() = 0;

    // A piece of work between radio actions; false when it has ended the operation.
    using Work = std::function<bool()>;

    void ThenIdentify(int step, const char* secureText);
    void ThenRead(int step, std::uint16_t block, std::uint16_t size,
                  std::span<std::uint8_t> destination, std::string status = {});
    void ThenErase(int step, std::uint8_t sector, std::string status);
    void ThenInfo(int step, std::uint8_t item, std::string status = {});
    // Writes `size` bytes (at most 16384) of `source`; the whole 16384-byte write buffer is filled
    // from it (0xFF past its end) so that every byte sent is known.
    void ThenWrite(int step, std::uint16_t block, std::size_t size,
                   std::function<std::span<const std::uint8_t>()> source, std::string status);
    // Writes `size` bytes of the ScratchBuffer from `offset`.
    void ThenWriteScratch(int step, std::uint16_t block, std::size_t size, std::size_t offset,
                          std::string status);
    void ThenDo(int step, Work work);

    // The code image in the ScratchBuffer, written piece by piece into the slots from `block`.
    void ThenWriteCodePieces(int step, std::uint16_t block, const WriteRegions& regions,
                             std::size_t pieces, const std::string& status);

    // The opening of trunk and PMR programming up to the choice of software: identification
    // (`secureText` refuses secure radios), the Flash Index Table, the band check against
    // `jobBand`, and the descriptors of the startup code and of the code at FIT entry
    // `codeEntry`. `afterBand` runs when the band has passed (false ends the operation);
    // `chooseSoftware` runs once both descriptors are known.
    void ThenIdentifyRadio(const char* secureText, std::uint16_t jobBand, int codeEntry,
                           Work afterBand, Work chooseSoftware);

    // The FIT entry `index` as read (valid after the table has been checked).
    FitEntry Entry(int index) const;
    // An area the operation erases and rewrites: a sector the radio lets be erased, and the block
    // with `extraBlocks` after it inside the block range. Shows "Error in Flash Index Table." and
    // ends the operation when it is not.
    bool TakeErasableArea(int index, std::uint32_t extraBlocks);
    // An area the operation only reads or writes: its block must be usable.
    bool TakeArea(int index);

    // A data file made for the virtual radio that the operation would write from (a marked
    // FIT000101.bin, aligncfg.bin or code file), by name.
    void NoteVirtualRadioFile(const std::string& name);
    // ReadCodeFileFor, noting a code file made for the virtual radio.
    std::optional<CodeImage> ReadCode(const std::filesystem::path& path, int entry);
    // Run before the first erase, once the band record has been read: refuses the noted files and
    // ends the operation, unless the radio on the line is the virtual radio.
    bool VirtualRadioFilesAllowed();

    const CodeDescriptor& StartupDescriptor() const { return startupDescriptor_; }
    const CodeDescriptor& CodeDescriptorRead() const { return codeDescriptor_; }
    int StartupVersion() const { return RecordVersion(startupDescriptor_); }

    Progress& GetProgress() { return host_.GetProgress(); }
    ScratchBuffer& Scratch() { return host_.GetWorkspace().scratch; }

  private:
    enum class Kind { Identify, Read, Erase, Info, Write, Work };
    struct Action {
        Kind kind = Kind::Work;
        int step = 0;
        std::string status;
        const char* secureText = nullptr;
        std::uint16_t block = 0;
        std::size_t size = 0;
        std::uint8_t sector = 0;
        std::span<std::uint8_t> destination;
        std::function<std::span<const std::uint8_t>()> source;
        Work work;
    };
    enum class Phase { Idle, Sending, Waiting };

    void Run(std::span<const std::uint8_t> message) override;
    void Queue(Action action);
    void Advance();
    void StartAction();
    void SendAction();
    bool ActionDone(std::span<const std::uint8_t> message);
    void QueueDescriptorRead(int step, const std::optional<DescriptorLocation>& place,
                             CodeDescriptor& descriptor);

    std::deque<Action> actions_;
    Action current_;
    Phase phase_ = Phase::Idle;
    bool completed_ = false;
    std::array<FitEntry, kFitEntries + 1> fit_{};
    CodeDescriptor startupDescriptor_{};
    CodeDescriptor codeDescriptor_{};
    std::optional<DescriptorLocation> startupPlace_;
    std::optional<DescriptorLocation> codePlace_;
    std::vector<std::string> virtualRadioFiles_;
};

// The radio type row of a job: the control head or portable model its header names.
JobRadioType JobRadioTypeOf(const TrunkJobImage& job);
JobRadioType JobRadioTypeOf(const PmrJobImage& job);

// The version number of a chosen software's version text ("6.30" gives 630).
int ChosenVersionNumber(const std::string& versionText);

// A code file chosen for an area: read and checked, and of a code type that belongs in that area
// (FIT entry `entry`). Shows the refusal and gives nothing otherwise.
std::optional<CodeImage> ReadCodeFileFor(const std::filesystem::path& path, int entry,
                                         Person& person);

}  // namespace km

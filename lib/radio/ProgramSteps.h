#pragma once
// What the programming operations (trunk and PMR programming, the software upgrade) share beyond
// the step machine: the opening up to the choice of software (identification, the Flash Index
// Table, the band check, the descriptors of the radio's software), the choice itself with every
// check that can refuse before the first erase, the code written piece by piece into its slots,
// and the refusal of the virtual radio's data files for any other radio.

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
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
// The overlay of code follows the four code slots.
inline constexpr std::uint16_t kOverlayBlockOffset = 128;
inline constexpr std::size_t kOverlayWriteSize = 16383;
inline constexpr int kOverlayProgressTotal = 127;

// The radio's code that a programming operation may replace, and how it is written: the FIT
// entry of its area, the flag of the software choice that asks for it, whether its overlay
// follows, and the progress texts.
struct ProgrammedCode {
    int entry;
    int upgradeFlag;
    bool overlay;
    const char* eraseText;
    const char* eraseOverlayText;  // when the overlay follows
    const char* updateFormat;      // %s: the version text
    const char* overlayFormat;     // when the overlay follows
};

// What the programming machines (trunk and PMR programming, the software upgrade) share.
class ProgrammingMachine : public StepMachine {
  public:
    using StepMachine::StepMachine;

  protected:
    // The beginning of a programming machine, after what the last run noted has been let go.
    virtual void BeginProgramming() = 0;

    // The code image in the ScratchBuffer, written piece by piece into the slots from `block`.
    void ThenWriteCodePieces(std::uint16_t block, const WriteRegions& regions, std::size_t pieces,
                             const std::string& status);
    // The Flash Index Table read as ThenReadFit does, a table from the virtual radio's file noted.
    void ThenReadProgrammingFit(Work afterFit);

    // A portable, or a mobile after Revision 8.
    bool NewerRadio();
    // An area the operation erases and rewrites: a sector the radio lets be erased, and the block
    // with `extraBlocks` after it inside the block range. Shows "Error in Flash Index Table." and
    // ends the operation when it is not.
    bool TakeErasableArea(int index, std::uint32_t extraBlocks);

    // A data file made for the virtual radio that the operation would write from (a marked
    // FIT000101.bin, aligncfg.bin or code file), by name.
    void NoteVirtualRadioFile(const std::string& name);
    // ReadCodeFileFor, noting a code file made for the virtual radio.
    std::optional<CodeImage> ReadCode(const std::filesystem::path& path, int entry);
    // Run before the first erase, once the band record has been read: refuses the noted files and
    // ends the operation, unless the radio on the line is the virtual radio.
    bool VirtualRadioFilesAllowed();

  private:
    void Begin() final;

    std::vector<std::string> virtualRadioFiles_;
};

// Program Radio, trunk or PMR: the radio identified and checked, its software replaced when the
// choice asks for it, then the job's configuration written.
class JobProgramming : public ProgrammingMachine {
  public:
    using ProgrammingMachine::ProgrammingMachine;

  protected:
    // Everything up to the configuration: identification (`secureText` refuses secure radios),
    // the Flash Index Table, the band check against `jobBand` and the virtual radio's files,
    // `afterBand` (false ends the operation), the descriptors of the startup code and of `code`,
    // and the software choice that `choose` asks once they are known. Every code file the choice
    // names is read and checked, and every area the operation will erase or write, before the
    // code, the startup code and then QueueConfiguration are queued.
    void ThenIdentifyRadio(const char* secureText, std::uint16_t jobBand,
                           const ProgrammedCode& code, Work afterBand,
                           std::function<SoftwareChoice()> choose);

    // The FIT entries of the configuration areas the machine's path erases or writes.
    virtual bool TakeConfigurationAreas() = 0;
    // Prepares the job and queues the configuration's erases and writes.
    virtual bool QueueConfiguration() = 0;

    const CodeDescriptor& CodeDescriptorRead() const { return codeDescriptor_; }
    int StartupVersion() const { return RecordVersion(startupDescriptor_); }

  private:
    bool ChooseSoftware(const ProgrammedCode& code, const std::function<SoftwareChoice()>& choose);
    void QueueDescriptorRead(const std::optional<DescriptorLocation>& place,
                             CodeDescriptor& descriptor);
    void QueueCode(const ProgrammedCode& code);
    void QueueStartupCode();

    CodeDescriptor startupDescriptor_{};
    CodeDescriptor codeDescriptor_{};
    std::optional<DescriptorLocation> startupPlace_;
    std::optional<DescriptorLocation> codePlace_;
    SoftwareChoice choice_;
    std::optional<CodeImage> chosenCode_;
    std::optional<CodeImage> startupCode_;
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

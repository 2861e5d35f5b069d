#pragma once
// Job files without any window: New from a template, Open, Save, the LastSaved copies and the
// unsaved-changes test, Copy NW1 to NW2, network presence and names, the window caption.
//
// The desktop shell shows the dialogs and builds the views; this class does everything else and
// tells the shell what happened. It works on the single Workspace and MainState and talks to the
// person through Person. Every file lives in the working directory given at construction (the
// process's current directory is never assumed). Files are read up to the image size and written
// whole (temporary file renamed into place), so a failed save leaves the old file as it was.

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/Person.h"
#include "image/Images.h"
#include "image/State.h"

namespace km {

// The checked view of the main window.
enum class JobView { Trunk, Pmr, Network };

// ---- The program's own texts -----------------------------------------------------------------
inline constexpr std::string_view kDestroyConfigurationQuestion =
    "Do you want to destroy the current configuration?";
inline constexpr std::string_view kTrunkTemplateMissing = "\"DEFAULT.TCT\"  file not found ";
inline constexpr std::string_view kPmrTemplateMissing = "\"DEFAULT.CCT\"  file not found ";
inline constexpr std::string_view kProgramCodeFileError =
    "Invalid Configuration File.                       \nFile must have the extension *.tnk, "
    "*.nwk or *.pmr,                       \n\n Files with *.bin are program code files.       "
    "                \nTo Download new program code, select menu Options\\Upgrade Software";
inline constexpr std::string_view kInvalidFileError =
    "Invalid File.                       \nFile must have the extension *.tnk, *.nwk or *.pmr";
inline constexpr std::string_view kUnableToReadConfiguration =
    "Unable to Read Configuration.                       \nPlease upgrade your Programmer to the "
    "latest version";
inline constexpr std::string_view kCannotSaveNoJob =
    "Cannot Save Configuration.\nNo job file loaded. ";
inline constexpr std::string_view kCannotCopyNetworkWarning =
    "Cannot copy Network 1 configuration to Network 2,                   \nbecause there is no "
    "Network 2 file loaded.                   \nGoto the MOBILE form and load a valid Network 2 "
    "file first.";
// The name of a network slot that holds no network.
inline constexpr std::string_view kNetworkNotDefined = "Not Defined  ";

// "Cannot write file <name>." for a save that failed (disk full, no permission).
std::string CannotWriteFileText(std::string_view fileName);
// "Cannot read file <name>. ..." for a job file shorter than its image.
std::string FileTooShortText(std::string_view fileName);

// ---- Files beside the program ----------------------------------------------------------------
inline constexpr const char* kTrunkTemplateName = "default.tct";
inline constexpr const char* kPmrTemplateName = "default.cct";
inline constexpr const char* kLastSavedTrunkName = "LastSaved.tnk";
inline constexpr const char* kLastSavedPmrName = "LastSaved.pmr";
inline constexpr const char* kNetworksFolder = "Networks";

// ---- Dialogs ---------------------------------------------------------------------------------
inline constexpr std::string_view kOpenDialogFilter =
    "Trunk Config Files (*.tnk)|*.tnk|PMR Config Files (*.pmr)|*.pmr|Network Files "
    "(*.nwk)|*.nwk|Program Code (*.bin)|*.bin|CSV Files (*.csv)|*.csv||*.PMR||*.NWK||*.BIN||*."
    "TNK||*.CSV";
inline constexpr std::string_view kSaveDialogFilter =
    "Trunk Config File (*.tnk)|*.tnk|PMR Config File (*.pmr)|*.pmr|Network File "
    "(*.nwk)|*.nwk|CSV File (*.csv)|*.csv";
inline constexpr std::string_view kNetworkFileDialogTitle = "Select Network File";
inline constexpr std::string_view kNetworkFileDialogFilter = "Network File (*.nwk)|*.nwk||*.NWK";

// What the Open or Save As dialog of a view starts with.
struct JobDialogSetup {
    std::string_view title;
    std::string_view defaultExtension;  // "*.tnk", "*.nwk" or "*.pmr"
    int filterIndex;                    // 1-based, as in the filter texts above
    std::filesystem::path folder;       // relative folders are relative to the working directory
};
JobDialogSetup OpenDialogSetup(JobView view, const MainState& state);
JobDialogSetup SaveDialogSetup(JobView view, const MainState& state);

// ---- Pure rules ------------------------------------------------------------------------------
// An extension matches when it equals the lower-case or the upper-case form exactly.
bool ExtensionIs(const std::filesystem::path& file, std::string_view lowerCaseExtension);

// The window caption: version text, "<file name>", blanks up to 25 and the view label; the
// version text alone when no view is built (imageKind 0).
std::string WindowCaption(int imageKind, std::string_view currentJobFileName);

// The 16-byte network name field for a network saved under `fileName` (any folder is dropped):
// its first 14 Windows-1252 characters, blank-padded to 16.
std::array<std::uint8_t, 16> NetworkNameField(const std::filesystem::path& fileName);

// The PMR unpack after a radio read, with the template read from `workDir` and its messages:
// shows the template-missing or "Unable to Read Configuration" warning and returns false with
// the job unchanged; on success sets ZoneReload and returns true (then build the PMR view).
bool UnpackPmrRadioRead(Workspace& workspace, Person& person, const std::filesystem::path& workDir);

// ---- What Open did, so that the shell builds the right view ----------------------------------
enum class JobOpenOutcome {
    Nothing,        // cancelled, unreadable, too short, wrong level or kind: job unchanged
    TrunkLoaded,    // build the Trunk view
    NetworkLoaded,  // build the Network view
    PmrLoaded,      // build the PMR view
};

class JobFiles {
  public:
    JobFiles(Workspace& workspace, MainState& state, Person& person, std::filesystem::path workDir);

    // New and Open ask "Do you want to destroy the current configuration?" when the view holds
    // a job worth keeping. Returns true when the command may go on.
    bool ConfirmReplacingJob(JobView view);

    // The data part of NewTrunkJob / NewNetworkJob / NewPmrJob: reads the template into the
    // image, writes LastSaved, sets ImageKind, RadioModeMask, RadioTypeMask, the network names,
    // empties CurrentJobFileName and sets the view's loaded flag. A missing template shows its
    // warning, changes nothing and returns false (then no form is built).
    bool NewJob(JobView view);

    // Open with the file the dialog returned (nullopt when it was cancelled). The extension
    // decides, whatever the view.
    JobOpenOutcome Open(const std::optional<std::filesystem::path>& chosen);

    // Open takes a network file only at the Network and Engineering levels: false for a network
    // file at a lower level (Open then does nothing), true for any other file.
    bool LevelOpens(const std::filesystem::path& file) const;

    // Save: the error "Cannot Save Configuration..." when the view has no job; true otherwise.
    bool MaySave(JobView view);
    // The name the Save As dialog proposes. `openDialogFileName` is the last file name of the
    // Open dialog (for the Network view: of the network file dialog); a name with another kind's
    // extension is emptied there and in CurrentJobFileName. The Network view proposes the file of
    // the network being edited (see NetworkSaveProposal), never another network's.
    std::string ProposeSaveName(JobView view, std::string& openDialogFileName);
    // Writes the view's job to `chosen` (run the StorePass set first). On success updates
    // CurrentJobFileName (and JobFolder, LastSaved for trunk and PMR); on failure shows
    // "Cannot write file <name>." and changes nothing. The shell refreshes the caption after.
    bool Save(JobView view, const std::filesystem::path& chosen);

    // The unsaved-changes test (run the StorePass set first): Trunk and PMR compare the image
    // with their LastSaved file, all but bytes 14 and 15, missing bytes counting as zero. The
    // Network view compares the network files of both slots with the copies taken when they were
    // loaded or saved (see TakeNetworkBaseline), so an edit of one network is not forgotten when
    // the user moves on to the other.
    bool HasUnsavedChanges(JobView view);
    // The Network view edits only the network files of the trunk job: true when the rest of it
    // differs from LastSaved.tnk (a job read from a radio or edited in the Trunk view, not saved).
    bool TrunkJobChangedBesideNetworks();
    // True when the network file of slot `selector` (0 or 1) differs from its baseline.
    bool NetworkChanged(int selector) const;
    // Remembers the network files of both slots as saved; the shell calls it when it enters the
    // Network view from another view. New and Open of a network call it; Save of a network takes
    // the saved slot's copy only.
    void TakeNetworkBaseline();

    // Copy NW1 to NW2: copies Network 1's job part over Network 2's when Network 2 is present,
    // otherwise warns. Returns true when it copied. The open forms are not reloaded.
    bool CopyNW1ToNW2();

    // Sets Network1Name / Network2Name from the slots' name fields (kNetworkNotDefined for a
    // slot without a network); the shell calls it when it builds the Trunk view from an image.
    void RefreshNetworkNames();

    // The PMR unpack after a radio read in the working directory (see the free function below).
    bool UnpackPmrRadioRead();

    const std::filesystem::path& WorkDir() const { return workDir_; }

  private:
    std::filesystem::path FileBeside(const char* name) const;
    // The slot chosen by NetworkSelector.
    int CurrentSlot() const;
    std::unique_ptr<TrunkJobImage> ReadTrunkTemplate();
    std::unique_ptr<PmrJobImage> ReadPmrTemplate(bool warn);
    void WriteLastSaved(const char* name, std::span<const std::uint8_t> bytes);
    JobOpenOutcome OpenTrunk(const std::filesystem::path& file);
    JobOpenOutcome OpenNetwork(const std::filesystem::path& file);
    JobOpenOutcome OpenPmr(const std::filesystem::path& file);
    void RememberJobFile(const std::filesystem::path& file);
    std::string NetworkSaveProposal() const;
    bool SaveJobImage(const std::filesystem::path& chosen, std::span<const std::uint8_t> bytes,
                      const char* lastSavedName);
    bool SaveNetwork(const std::filesystem::path& chosen);

    Workspace& ws_;
    MainState& state_;
    Person& person_;
    std::filesystem::path workDir_;
    void TakeSlotBaseline(int selector);

    std::array<NetworkImage, 2> networkBaselines_;
    // The slot the network file named by CurrentJobFileName was opened or saved from.
    std::optional<int> openNetworkSlot_;
};

}  // namespace km

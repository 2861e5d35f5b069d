#pragma once
// Upgrade Software: one radio code file, chosen in the download dialog, is written into the
// connected radio. The code is checked against the radio before anything is erased: the kind of
// radio it is made for, the radio's flash devices and Flash Index Table, and for portables the
// hardware the code needs. Then the code's sector is erased and the code written piece by piece,
// trunk code followed by its overlay.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "radio/ProgramSteps.h"

namespace km {

inline constexpr const char* kUpgradeQuestionFormat =
    "Are you sure you want to upgrade the Radio's %s Software?\n ";
inline constexpr const char* kDownloadAnotherQuestion = "Do you want to download another file?\n ";

// A code file chosen for download, read and checked.
struct DownloadCode {
    std::filesystem::path path;
    CodeImage image;
    CodeTypeInfo type;
    int version = 0;    // V6.30 gives 630
    int codeClass = 0;  // the KP8D software code class
};

// Reads and checks a code file for download; shows the refusal (the file cannot be read, its
// Software Description is missing, its code type is unknown, its overlay is unusable) and gives
// nothing.
std::optional<DownloadCode> ReadDownloadCode(const std::filesystem::path& path, Person& person);

// The six values the download dialog shows for a file: its Software Description, or the texts
// shown while no usable file is chosen.
struct DownloadLabels {
    std::string description;
    std::string softwareCode;
    std::string version;
    std::string date;
    std::string requiredRcpCode;
    std::string requiredRcpVersion;
};
DownloadLabels EmptyDownloadLabels();
DownloadLabels LabelsOf(const SoftwareDescription& description);

class Upgrade : public ProgrammingMachine {
  public:
    using ProgrammingMachine::ProgrammingMachine;

    void SetCode(DownloadCode code) { code_ = std::move(code); }
    const std::optional<DownloadCode>& Code() const { return code_; }

    // Told when an operation has ended by its last step or by a refusal of the radio's table or
    // flash; `closeDialog` when the dialog must close (no other file is wanted).
    std::function<void(bool closeDialog)> onEnded;

    // The code written, in words.
    std::string CompletedDetail() const override;

  private:
    void BeginProgramming() override;
    bool CheckRadio();
    bool CheckFit();
    bool CheckHardware();
    void QueueCode();
    bool QueueOverlay();
    bool Finish();
    void EndRefused(const char* text);

    std::optional<DownloadCode> code_;
    FitEntry area_;
};

// The Download button: reads the chosen file again, asks whether the radio's software is to be
// upgraded and, with Yes, starts the upgrade. False when nothing was started; a file that can no
// longer be read (or used) is refused and the port closed.
bool StartDownload(RadioOperations& operations, const std::filesystem::path& path);

}  // namespace km

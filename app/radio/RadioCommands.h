#pragma once
// The radio commands of the main window on the desktop: the serial port and timers on Qt, the
// radio link, the progress dialog, the radio operations and the serial monitor, created once and
// kept for the whole run. The link itself stays behind this class, so that the main window
// needs nothing of it.

#include <filesystem>
#include <functional>
#include <memory>

#include "core/Person.h"
#include "image/State.h"

class QString;
class QWidget;

namespace km {

class RadioOperations;
class TForm_Progress;
class TCOM_Form_SerialMonitor;

class RadioCommands {
  public:
    // `comIndex` gives the COM port of the settings; `window` is the main window, whose status
    // bar (when it has one) shows how the radio commands go.
    RadioCommands(Workspace& workspace, MainState& state, Person& person,
                  const std::filesystem::path& workDir, std::function<int()> comIndex,
                  QWidget* window);
    ~RadioCommands();
    RadioCommands(const RadioCommands&) = delete;
    RadioCommands& operator=(const RadioCommands&) = delete;

    // Read Radio in the checked view (kImageTrunk, kImagePmr, kImageNetwork) and Radio
    // Information; each does nothing while an operation is running.
    void ReadRadio(int view);
    void RadioInformation();
    // Program Radio in the view of ImageKind: when that view holds a job, `storePasses` (the
    // view's store pass set; false cancels) runs first, then the programming starts; the Network
    // view and a view without a job get their refusals.
    void ProgramRadio(const std::function<bool()>& storePasses);

    // COM Port OK: the radio port closes and the port of `comIndex` opens (a refusal is shown);
    // once it is open the link is reset, so that its link requests go out on the new line.
    // Returns true when the new port is open.
    bool ChangePort(int comIndex);

    // The radio commands' line in the status bar of the main window: the connection being made,
    // then what became of the last command (empty before the first).
    QString StatusMessage() const;

    // A read has replaced the job of this image kind: the view is to be rebuilt.
    void SetJobReplaced(std::function<void(int imageKind)> jobReplaced);
    // The progress dialog appeared (true) or went away (false).
    void SetBusyChanged(std::function<void(bool)> busyChanged);

    TForm_Progress& ProgressDialog();
    TCOM_Form_SerialMonitor& SerialMonitor();
    RadioOperations& Operations();
    bool PortOpen() const;

  private:
    struct Parts;
    std::unique_ptr<Parts> parts_;
};

}  // namespace km

#include "RadioCommands.h"

#include <QCoreApplication>

#include "QtSerialPort.h"
#include "QtTimers.h"
#include "link/DataLink.h"
#include "link/Messages.h"
#include "radio/Operation.h"
#include "radio/ProgramTrunk.h"
#include "radio/ProgressDialog.h"
#include "radio/SerialMonitor.h"

namespace km {

struct RadioCommands::Parts {
    Parts(Person& person, const std::filesystem::path& workDir, QWidget* window)
        : port(ComPortsResolver(workDir)),
          link(port, timers, person),
          messages(link, timers),
          progress(window) {}

    QtSerialPort port;
    QtTimerService timers;
    DataLink link;
    ProgrammingMessages messages;
    TForm_Progress progress;
    std::unique_ptr<RadioOperations> operations;
    std::unique_ptr<TCOM_Form_SerialMonitor> monitor;
};

RadioCommands::RadioCommands(Workspace& workspace, MainState& state, Person& person,
                             const std::filesystem::path& workDir, std::function<int()> comIndex,
                             QWidget* window)
    : parts_(std::make_unique<Parts>(person, workDir, window)) {
    // FIT000101.bin is looked for in the working directory, then beside the program.
    const std::filesystem::path programFolder =
        QCoreApplication::applicationDirPath().toStdString();
    parts_->operations =
        std::make_unique<RadioOperations>(RadioOperations::Environment{workspace,
                                                                       state,
                                                                       person,
                                                                       parts_->progress,
                                                                       parts_->link,
                                                                       parts_->messages,
                                                                       parts_->timers,
                                                                       comIndex,
                                                                       {workDir, programFolder},
                                                                       workDir});
    RegisterProgramming(*parts_->operations);
    TCOM_Form_SerialMonitor::RegisterTests(*parts_->operations);
    parts_->monitor =
        std::make_unique<TCOM_Form_SerialMonitor>(parts_->link, *parts_->operations, comIndex);
}

RadioCommands::~RadioCommands() {
    parts_->link.SetStatusMonitor(nullptr);
    parts_->link.SetFrameMonitor(nullptr);
    parts_->link.CloseRadioPort();
}

void RadioCommands::ReadRadio(int view) {
    parts_->operations->ReadRadio(view);
}
void RadioCommands::RadioInformation() {
    parts_->operations->RadioInformation();
}

void RadioCommands::ProgramRadio(const std::function<bool()>& storePasses) {
    const MainState& state = parts_->operations->State();
    const bool jobInView = (state.ImageKind == kImageTrunk && state.TrunkJobLoaded) ||
                           (state.ImageKind == kImagePmr && state.PmrJobLoaded);
    if (!state.CommsBusy && jobInView && !storePasses()) {
        return;
    }
    km::ProgramRadio(*parts_->operations);
}

bool RadioCommands::ChangePort(int comIndex) {
    parts_->link.CloseRadioPort();
    if (!parts_->link.OpenRadioPort(comIndex)) {
        return false;
    }
    parts_->link.LinkReset();
    return true;
}

void RadioCommands::SetJobReplaced(std::function<void(int)> jobReplaced) {
    parts_->operations->onJobReplaced = std::move(jobReplaced);
}

void RadioCommands::SetBusyChanged(std::function<void(bool)> busyChanged) {
    parts_->progress.SetBusyChanged(std::move(busyChanged));
}

TForm_Progress& RadioCommands::ProgressDialog() {
    return parts_->progress;
}
TCOM_Form_SerialMonitor& RadioCommands::SerialMonitor() {
    return *parts_->monitor;
}
RadioOperations& RadioCommands::Operations() {
    return *parts_->operations;
}
bool RadioCommands::PortOpen() const {
    return parts_->link.PortOpen();
}

}  // namespace km

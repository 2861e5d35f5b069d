#include "RadioCommands.h"

#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QMainWindow>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTimer>

#include "QtSerialPort.h"
#include "QtTimers.h"
#include "radio/ProgressDialog.h"
#include "radio/RadioSession.h"
#include "radio/SerialMonitor.h"

namespace km {

namespace {

// FIT000101.bin and aligncfg.bin are looked for in the working directory, then beside the
// program.
std::filesystem::path ProgramFolder() {
    return QCoreApplication::applicationDirPath().toStdString();
}

// Shows the radio commands' line in the main window's status bar and keeps it there: the hints
// of menu items and buttons pass over it, and where one would leave the bar empty the line comes
// back. Once its command has ended, the line gives way to the next action of the window (a menu
// item, a toolbar button, a shortcut), unless that action brings a line of its own.
class RadioStatusLine : public QObject {
  public:
    RadioStatusLine(QWidget* window, const MainState& state)
        : window_(qobject_cast<QMainWindow*>(window)), state_(state) {
        if (window_ != nullptr) {
            window_->installEventFilter(this);
        }
    }

    void Show(const std::string& text) {
        text_ = QString::fromStdString(text);
        // A line shown while an action runs belongs to it; it settles once the event is over.
        settled_ = false;
        QTimer::singleShot(0, this, [this] { settled_ = true; });
        if (window_ != nullptr) {
            window_->statusBar()->showMessage(text_);
            FollowActions();
        }
    }
    const QString& Text() const { return text_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == window_ && event->type() == QEvent::StatusTip && !text_.isEmpty() &&
            static_cast<QStatusTipEvent*>(event)->tip().isEmpty()) {
            window_->statusBar()->showMessage(text_);
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    // Every action of the window, those of forms built since included; each is followed once.
    // Its own handler runs before ours, having been connected first.
    void FollowActions() {
        for (QAction* action : window_->findChildren<QAction*>()) {
            connect(action, &QAction::triggered, this, &RadioStatusLine::ActionTriggered,
                    Qt::UniqueConnection);
        }
    }
    void ActionTriggered() {
        if (!settled_ || state_.CommsBusy || text_.isEmpty()) {
            return;
        }
        text_.clear();
        window_->statusBar()->clearMessage();
    }

    QMainWindow* window_;
    const MainState& state_;
    QString text_;
    bool settled_ = true;
};

}  // namespace

struct RadioCommands::Parts {
    Parts(Workspace& workspace, MainState& state, Person& person,
          const std::filesystem::path& workDir, std::function<int()> comIndex, QWidget* window)
        : port(ComPortsResolver(workDir)),
          progress(window),
          session(
              port, timers,
              {workspace, state, person, progress, workDir, {workDir, ProgramFolder()}, comIndex}),
          monitor(session.Link(), session.Operations(), comIndex),
          statusLine(window, state) {
        session.Operations().onStatusMessage = [this](const std::string& text) {
            statusLine.Show(text);
        };
    }

    QtSerialPort port;
    QtTimerService timers;
    TForm_Progress progress;
    RadioSession session;
    TCOM_Form_SerialMonitor monitor;
    RadioStatusLine statusLine;
};

RadioCommands::RadioCommands(Workspace& workspace, MainState& state, Person& person,
                             const std::filesystem::path& workDir, std::function<int()> comIndex,
                             QWidget* window)
    : parts_(std::make_unique<Parts>(workspace, state, person, workDir, std::move(comIndex),
                                     window)) {}

RadioCommands::~RadioCommands() = default;

void RadioCommands::ReadRadio(int view) {
    parts_->session.Operations().ReadRadio(view);
}
void RadioCommands::RadioInformation() {
    parts_->session.Operations().RadioInformation();
}

void RadioCommands::ProgramRadio(const std::function<bool()>& storePasses) {
    const MainState& state = parts_->session.Operations().State();
    const bool jobInView = (state.ImageKind == kImageTrunk && state.TrunkJobLoaded) ||
                           (state.ImageKind == kImagePmr && state.PmrJobLoaded);
    if (!state.CommsBusy && jobInView && !storePasses()) {
        return;
    }
    parts_->session.Operations().ProgramRadio();
}

bool RadioCommands::ChangePort(int comIndex) {
    parts_->session.Link().CloseRadioPort();
    if (!parts_->session.Link().OpenRadioPort(comIndex)) {
        return false;
    }
    parts_->session.Link().LinkReset();
    return true;
}

void RadioCommands::SetJobReplaced(std::function<void(int)> jobReplaced) {
    parts_->session.Operations().onJobReplaced = std::move(jobReplaced);
}

void RadioCommands::SetBusyChanged(std::function<void(bool)> busyChanged) {
    parts_->progress.SetBusyChanged(std::move(busyChanged));
}

QString RadioCommands::StatusMessage() const {
    return parts_->statusLine.Text();
}

TForm_Progress& RadioCommands::ProgressDialog() {
    return parts_->progress;
}
TCOM_Form_SerialMonitor& RadioCommands::SerialMonitor() {
    return parts_->monitor;
}
RadioOperations& RadioCommands::Operations() {
    return parts_->session.Operations();
}
bool RadioCommands::PortOpen() const {
    return parts_->session.Link().PortOpen();
}

}  // namespace km

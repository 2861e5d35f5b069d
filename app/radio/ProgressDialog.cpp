#include "ProgressDialog.h"

#include <QCloseEvent>

namespace km {

namespace {
constexpr int kDialogWidth = 360;
constexpr const char* kCancelText = "Cancel";
// Shown on the button while a write finishes the block on the line.
constexpr const char* kCancellingText = "Cancelling...";
}  // namespace

TForm_Progress::TForm_Progress(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
    setObjectName("Form_Progress");
    setModal(false);
    PROGRESS_Lbl_StatusMsg.setObjectName("PROGRESS_Lbl_StatusMsg");
    PROGRS_Gauge_Progress.setObjectName("PROGRS_Gauge_Progress");
    PROGRS_Gauge_Progress.setRange(0, 100);
    layout_.addWidget(&PROGRESS_Lbl_StatusMsg);
    layout_.addWidget(&PROGRS_Gauge_Progress);
    PROGRESS_Btn_Cancel.setObjectName("PROGRESS_Btn_Cancel");
    PROGRESS_Btn_Cancel.setAutoDefault(false);
    layout_.addWidget(&PROGRESS_Btn_Cancel, 0, Qt::AlignRight);
    connect(&PROGRESS_Btn_Cancel, &QPushButton::clicked, this, [this] { UserClosed(); });
    setMinimumWidth(kDialogWidth);
    Refresh();
}

void TForm_Progress::Refresh() {
    setWindowTitle(QString::fromStdString(Caption()));
    PROGRESS_Lbl_StatusMsg.setText(QString::fromStdString(Text()));
    PROGRS_Gauge_Progress.setValue(Gauge());
    PROGRESS_Btn_Cancel.setText(Cancelling() ? kCancellingText : kCancelText);
    PROGRESS_Btn_Cancel.setEnabled(!Cancelling());
}

void TForm_Progress::Shown() {
    Refresh();
    show();
    raise();
    if (busyChanged_) {
        busyChanged_(true);
    }
}

void TForm_Progress::Changed() {
    Refresh();
}

void TForm_Progress::Hidden() {
    hide();
    Refresh();
    if (busyChanged_) {
        busyChanged_(false);
    }
}

void TForm_Progress::closeEvent(QCloseEvent* event) {
    // The person closed the window: the operation is cancelled, and closes the window once it
    // has stopped.
    event->ignore();
    UserClosed();
}

void TForm_Progress::reject() {
    UserClosed();
}

}  // namespace km

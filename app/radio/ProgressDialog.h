#pragma once
// The progress dialog of the radio operations: a small window kept on top of the main window
// with its caption, the status label, the gauge and a Cancel button. Cancel (or closing the
// window) asks the operation to stop where it safely can; the operation closes the dialog through
// CloseProgress when it ends.

#include <QDialog>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <functional>

#include "radio/Progress.h"

namespace km {

class TForm_Progress : public QDialog, public Progress {
    Q_OBJECT
  public:
    explicit TForm_Progress(QWidget* parent = nullptr);

    // Told when the dialog appears (true) and goes away (false), so the main window can disable
    // what must not run meanwhile.
    void SetBusyChanged(std::function<void(bool)> busyChanged) {
        busyChanged_ = std::move(busyChanged);
    }

  private:
    QVBoxLayout layout_{this};

  public:
    QLabel PROGRESS_Lbl_StatusMsg;
    QProgressBar PROGRS_Gauge_Progress;
    QPushButton PROGRESS_Btn_Cancel;

  protected:
    void Shown() override;
    void Changed() override;
    void Hidden() override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

  private:
    void Refresh();

    std::function<void(bool)> busyChanged_;
};

}  // namespace km

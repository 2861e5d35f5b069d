#pragma once
// The Input/Output Device dialog: which device is connected to an input line with a
// push-to-talk function for an external device, or to a "DMAP" or "SIB" option board. It only
// answers; the User Interface form applies the device's presets (config/IoDevices.h).

#include <QButtonGroup>
#include <QDialog>
#include <QGroupBox>
#include <QPushButton>
#include <memory>
#include <optional>
#include <vector>

#include "config/IoDevices.h"

namespace km {

class THelpWindow;

class TForm_IOW_InputOutputWizard : public QDialog {
    Q_OBJECT
  public:
    TForm_IOW_InputOutputWizard(DeviceKind kind, QWidget* parent = nullptr);
    ~TForm_IOW_InputOutputWizard() override;

    // After OK: the device chosen, or kNoDevice for "Don't change input settings" (the dialog
    // then ends as if cancelled). nullopt after Cancel.
    std::optional<int> Selection() const { return selection_; }

    void BitBtn_IOW_OKClick();
    void Btn_IOW_Info0Click();

    QGroupBox GBox_IOW_Device;
    QGroupBox RadioGrp_IOW_Devices;
    QButtonGroup Devices;
    QPushButton Btn_IOW_Info0;
    QPushButton BitBtn_IOW_OK;
    QPushButton BitBtn_IOW_Cancel;

  private:
    DeviceKind kind_;
    std::vector<int> listed_;  // the device number of each item after the first
    std::optional<int> selection_;
    std::unique_ptr<THelpWindow> help_;
};

}  // namespace km

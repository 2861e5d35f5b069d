#pragma once
// The serial monitor: an engineering window that starts and stops the radio link, shows its
// state, runs single erase, read and write transactions on raw radio memory, and lists the
// frames going in and out while Monitor is on.

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWidget>

#include <functional>
#include <string_view>

#include "link/OperationKind.h"

namespace km {

class DataLink;
class RadioOperations;
struct FrameEvent;

class TCOM_Form_SerialMonitor : public QWidget {
    Q_OBJECT
  public:
    // Most rows kept in the data list; the oldest go first.
    static constexpr int kMaxRows = 5000;

    // Watches `link` and registers its three tests (write, read, erase) with `operations`.
    TCOM_Form_SerialMonitor(DataLink& link, RadioOperations& operations,
                            std::function<int()> comIndex, QWidget* parent = nullptr);
    ~TCOM_Form_SerialMonitor() override;

    // The link's status text, and one frame in or out, from the link.
    void ShowLinkStatus(std::string_view text);
    void FrameSeen(const FrameEvent& event);

    QWidget COM_Panel_Options;
    QToolButton COM_SpeedBtn_Monitor;
    QToolButton COM_SpeedBtn_Start;
    QToolButton COM_SpeedBtn_Stop;
    QSpinBox COM_CSpinEdit_Sector;
    QSpinBox COM_CSpinEdit_Block;
    QSpinBox COM_CSpinEdit_Size;
    QPushButton COM_Btn_EraseSector{"Erase Sector"};
    QPushButton COM_Btn_Read{"Read"};
    QPushButton COM_Btn_Write{"Write"};
    QPushButton Button1{"Clear"};
    QLabel COM_Lbl_LinkStatus{"Link Status:"};
    QLabel COM_Lbl_Link{"Lost"};
    QListWidget COM_ListBox_SerialData;

  public slots:
    void COM_SpeedBtn_MonitorClick();
    void COM_SpeedBtn_StartClick();
    void COM_SpeedBtn_StopClick();
    void COM_Btn_EraseSectorClick();
    void COM_Btn_ReadClick();
    void COM_Btn_WriteClick();
    void Button1Click();

  private:
    void BuildLayout();
    void RunTest(OperationKind operation);

    DataLink& link_;
    RadioOperations& operations_;
    std::function<int()> comIndex_;
    QVBoxLayout layout_{this};
    QGridLayout optionsLayout_{&COM_Panel_Options};
    QLabel sectorLabel_{"Sector"};
    QLabel blockLabel_{"Block"};
    QLabel sizeLabel_{"Size (Bytes)"};
};

// A row of the data list: time, direction, the frame's bytes in hex and its decoded type.
QString FrameRow(const FrameEvent& event, const QString& time);

}  // namespace km

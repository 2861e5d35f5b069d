#include "SerialMonitor.h"

#include <QTime>
#include <algorithm>
#include <memory>

#include "ReportBox.h"
#include "link/DataLink.h"
#include "link/Messages.h"
#include "radio/Operation.h"

namespace km {

namespace {

constexpr int kMaxSector = 140;
constexpr int kMaxBlock = 9999;
constexpr int kMaxSize = 16384;
constexpr int kDefaultSector = 5;
constexpr int kDefaultBlock = 640;
constexpr int kDefaultSize = 1024;

// Only a type 0 radio is exercised by the tests.
constexpr std::array<std::uint8_t, 5> kTypeZeroReply{0x00, kIdentifyReply, 0x00, 0x00, 0x00};

struct MessageName {
    std::uint8_t code;
    const char* name;
};
constexpr MessageName kMessageNames[] = {
    {kIdentifyRequest, "IdentifyRequest"},
    {kReadRequest, "ReadRequest"},
    {kWriteBlock, "WriteBlock"},
    {kEraseRequest, "EraseRequest"},
    {kInfoRequest, "InfoRequest"},
    {kEndProgramming, "EndProgramming"},
    {kIdentifyReply, "IdentifyReply"},
    {kReadData, "ReadData"},
    {kEraseDone, "EraseDone"},
    {kInfoReply, "InfoReply"},
};

// The link message's type, and for a transfer the programming message it carries.
QString DecodedType(const FrameEvent& event) {
    QString type = QString::fromUtf8(event.type.data(), static_cast<int>(event.type.size()));
    const auto& message = event.message;
    if (!message.empty() && message[0] == kLinkTransfer && message.size() > kTransferHeader + 1) {
        const std::uint8_t code = message[kTransferHeader + 1];
        for (const auto& entry : kMessageNames) {
            if (entry.code == code) {
                type += QStringLiteral(": ") + entry.name;
            }
        }
    }
    return type;
}

}  // namespace

// One test of the serial monitor: identify a type 0 radio, then erase a sector, read a stretch
// of memory (the data are not kept) or write one from the write buffer as it stands.
class MonitorTest : public StepMachine {
  public:
    MonitorTest(RadioOperations& host, OperationKind operation)
        : StepMachine(host), operation_(operation) {}

    std::uint8_t sector = 5;
    std::uint16_t block = 640;
    std::uint16_t size = 1024;

  private:
    void Begin() override;

    OperationKind operation_;
    std::array<std::uint8_t, kWriteBufferSize> readBuffer_{};
};

void MonitorTest::Begin() {
    // Only a type 0 radio gets past the identification; any other leaves the test waiting.
    ThenIdentify([this](std::span<const std::uint8_t> reply) {
        if (reply.size() < kTypeZeroReply.size() ||
            !std::equal(kTypeZeroReply.begin(), kTypeZeroReply.end(), reply.begin())) {
            return false;
        }
        host_.Identity().OptionBoardFitted = reply.size() > 5 && reply[5] == 1;
        return true;
    });
    if (operation_ == OperationKind::MonitorErase) {
        ThenErase(sector);
    } else if (operation_ == OperationKind::MonitorRead) {
        ThenRead(block, size, readBuffer_);
    } else {
        ThenWrite(block, size, nullptr);
    }
    ThenDo([this] {
        host_.EndOnOpenLink();
        return false;
    });
}

// ---- The window ----

QString FrameRow(const FrameEvent& event, const QString& time) {
    QStringList hex;
    for (const std::uint8_t byte : event.message) {
        hex << QStringLiteral("%1").arg(byte, 2, 16, QLatin1Char('0')).toUpper();
    }
    const QString direction = event.direction == FrameDirection::In ? "In " : "Out";
    return time + "  " + direction + "  " + hex.join(' ') + "  " + DecodedType(event);
}

TCOM_Form_SerialMonitor::TCOM_Form_SerialMonitor(DataLink& link, RadioOperations& operations,
                                                 std::function<int()> comIndex, QWidget* parent)
    : QWidget(parent), link_(link), operations_(operations), comIndex_(std::move(comIndex)) {
    setObjectName("TCOM_Form_SerialMonitor");
    setWindowTitle("Serial Comms");
    BuildLayout();
    link_.SetStatusMonitor([this](std::string_view text) { ShowLinkStatus(text); });
    link_.SetFrameMonitor([this](const FrameEvent& event) { FrameSeen(event); });
    for (const OperationKind operation :
         {OperationKind::MonitorWrite, OperationKind::MonitorRead, OperationKind::MonitorErase}) {
        operations_.Register(operation, std::make_unique<MonitorTest>(operations_, operation));
    }
}

TCOM_Form_SerialMonitor::~TCOM_Form_SerialMonitor() {
    link_.SetStatusMonitor(nullptr);
    link_.SetFrameMonitor(nullptr);
}

void TCOM_Form_SerialMonitor::BuildLayout() {
    struct Button {
        QToolButton& button;
        const char* name;
        const char* caption;
        const char* hint;
    };
    const Button buttons[] = {
        {COM_SpeedBtn_Monitor, "COM_SpeedBtn_Monitor", "Monitor", "Monitor Serial Comms."},
        {COM_SpeedBtn_Start, "COM_SpeedBtn_Start", "Start", "Start Serial Communications."},
        {COM_SpeedBtn_Stop, "COM_SpeedBtn_Stop", "Stop", "Stop Serial Communications."},
    };
    for (const auto& b : buttons) {
        b.button.setObjectName(b.name);
        b.button.setText(b.caption);
        b.button.setToolTip(b.hint);
    }
    // Start and Stop form a group: one of them is down, Stop at first.
    COM_SpeedBtn_Start.setCheckable(true);
    COM_SpeedBtn_Stop.setCheckable(true);
    COM_SpeedBtn_Stop.setChecked(true);
    COM_SpeedBtn_Start.setAutoExclusive(true);
    COM_SpeedBtn_Stop.setAutoExclusive(true);

    struct Spin {
        QSpinBox& spin;
        const char* name;
        int value;
        int maximum;
    };
    const Spin spins[] = {
        {COM_CSpinEdit_Sector, "COM_CSpinEdit_Sector", kDefaultSector, kMaxSector},
        {COM_CSpinEdit_Block, "COM_CSpinEdit_Block", kDefaultBlock, kMaxBlock},
        {COM_CSpinEdit_Size, "COM_CSpinEdit_Size", kDefaultSize, kMaxSize},
    };
    for (const auto& s : spins) {
        s.spin.setObjectName(s.name);
        s.spin.setRange(0, s.maximum);
        s.spin.setValue(s.value);
    }
    COM_Btn_EraseSector.setObjectName("COM_Btn_EraseSector");
    COM_Btn_Read.setObjectName("COM_Btn_Read");
    COM_Btn_Write.setObjectName("COM_Btn_Write");
    Button1.setObjectName("Button1");
    COM_Lbl_LinkStatus.setObjectName("COM_Lbl_LinkStatus");
    COM_Lbl_Link.setObjectName("COM_Lbl_Link");
    COM_ListBox_SerialData.setObjectName("COM_ListBox_SerialData");
    // Frames are hex columns: they line up only in a fixed-pitch font.
    COM_ListBox_SerialData.setFont(ColumnFont());
    COM_Panel_Options.setObjectName("COM_Panel_Options");

    optionsLayout_.addWidget(&COM_SpeedBtn_Monitor, 0, 0);
    optionsLayout_.addWidget(&COM_SpeedBtn_Start, 0, 1);
    optionsLayout_.addWidget(&COM_SpeedBtn_Stop, 0, 2);
    optionsLayout_.addWidget(&COM_Lbl_LinkStatus, 0, 3);
    optionsLayout_.addWidget(&COM_Lbl_Link, 0, 4);
    optionsLayout_.addWidget(&sectorLabel_, 1, 0);
    optionsLayout_.addWidget(&COM_CSpinEdit_Sector, 1, 1);
    optionsLayout_.addWidget(&COM_Btn_EraseSector, 1, 2);
    optionsLayout_.addWidget(&blockLabel_, 2, 0);
    optionsLayout_.addWidget(&COM_CSpinEdit_Block, 2, 1);
    optionsLayout_.addWidget(&COM_Btn_Read, 2, 2);
    optionsLayout_.addWidget(&sizeLabel_, 3, 0);
    optionsLayout_.addWidget(&COM_CSpinEdit_Size, 3, 1);
    optionsLayout_.addWidget(&COM_Btn_Write, 3, 2);
    optionsLayout_.addWidget(&Button1, 3, 4);
    optionsLayout_.setColumnStretch(5, 1);
    COM_Panel_Options.hide();
    layout_.addWidget(&COM_Panel_Options);
    layout_.addWidget(&COM_ListBox_SerialData, 1);

    connect(&COM_SpeedBtn_Monitor, &QToolButton::clicked, this,
            &TCOM_Form_SerialMonitor::COM_SpeedBtn_MonitorClick);
    connect(&COM_SpeedBtn_Start, &QToolButton::clicked, this,
            &TCOM_Form_SerialMonitor::COM_SpeedBtn_StartClick);
    connect(&COM_SpeedBtn_Stop, &QToolButton::clicked, this,
            &TCOM_Form_SerialMonitor::COM_SpeedBtn_StopClick);
    connect(&COM_Btn_EraseSector, &QPushButton::clicked, this,
            &TCOM_Form_SerialMonitor::COM_Btn_EraseSectorClick);
    connect(&COM_Btn_Read, &QPushButton::clicked, this,
            &TCOM_Form_SerialMonitor::COM_Btn_ReadClick);
    connect(&COM_Btn_Write, &QPushButton::clicked, this,
            &TCOM_Form_SerialMonitor::COM_Btn_WriteClick);
    connect(&Button1, &QPushButton::clicked, this, &TCOM_Form_SerialMonitor::Button1Click);
}

void TCOM_Form_SerialMonitor::ShowLinkStatus(std::string_view text) {
    COM_Lbl_Link.setText(QString::fromUtf8(text.data(), static_cast<int>(text.size())));
}

void TCOM_Form_SerialMonitor::FrameSeen(const FrameEvent& event) {
    // Monitoring is on once the Monitor button has been pressed (it then stays disabled).
    if (COM_SpeedBtn_Monitor.isEnabled()) {
        return;
    }
    if (COM_ListBox_SerialData.count() >= kMaxRows) {
        const std::unique_ptr<QListWidgetItem> oldest(COM_ListBox_SerialData.takeItem(0));
    }
    COM_ListBox_SerialData.addItem(
        FrameRow(event, QTime::currentTime().toString(QStringLiteral("HH:mm:ss.zzz"))));
    COM_ListBox_SerialData.scrollToBottom();
}

void TCOM_Form_SerialMonitor::COM_SpeedBtn_MonitorClick() {
    COM_ListBox_SerialData.clear();
    COM_SpeedBtn_Monitor.setEnabled(!COM_SpeedBtn_Monitor.isEnabled());
}

void TCOM_Form_SerialMonitor::COM_SpeedBtn_StartClick() {
    if (link_.OpenRadioPort(comIndex_())) {
        link_.LinkReset();
    }
}

void TCOM_Form_SerialMonitor::COM_SpeedBtn_StopClick() {
    link_.CloseRadioPort();
}

void TCOM_Form_SerialMonitor::RunTest(OperationKind operation) {
    auto* test = dynamic_cast<MonitorTest*>(operations_.Machine(operation));
    if (test == nullptr || operations_.PendingOperation() != OperationKind::None) {
        return;
    }
    test->sector = static_cast<std::uint8_t>(COM_CSpinEdit_Sector.value());
    test->block = static_cast<std::uint16_t>(COM_CSpinEdit_Block.value());
    test->size = static_cast<std::uint16_t>(COM_CSpinEdit_Size.value());
    operations_.StartOnOpenLink(operation);
}

void TCOM_Form_SerialMonitor::COM_Btn_EraseSectorClick() {
    RunTest(OperationKind::MonitorErase);
}
void TCOM_Form_SerialMonitor::COM_Btn_ReadClick() {
    RunTest(OperationKind::MonitorRead);
}
void TCOM_Form_SerialMonitor::COM_Btn_WriteClick() {
    RunTest(OperationKind::MonitorWrite);
}
void TCOM_Form_SerialMonitor::Button1Click() {
    COM_ListBox_SerialData.clear();
}

}  // namespace km

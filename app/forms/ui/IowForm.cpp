#include "forms/ui/IowForm.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

#include "HelpWindow.h"
#include "forms/FieldBinder.h"

namespace km {
namespace {

constexpr const char* kCaption = "Input/Output Device";
constexpr const char* kGroupCaption = "Select Input Device";
constexpr const char* kInfoCaption = "INFO";
constexpr const char* kOkCaption = "OK";
constexpr const char* kCancelCaption = "Cancel";
// Each item of the radio group takes 25 pixels, and the group 25 more.
constexpr int kItemHeight = 25;

}  // namespace

TForm_IOW_InputOutputWizard::TForm_IOW_InputOutputWizard(DeviceKind kind, QWidget* parent)
    : QDialog(parent), kind_(kind), listed_(DevicesOffered(kind)) {
    setObjectName("TForm_IOW_InputOutputWizard");
    setWindowTitle(kCaption);
    GBox_IOW_Device.setObjectName("GBox_IOW_Device");
    RadioGrp_IOW_Devices.setObjectName("RadioGrp_IOW_Devices");
    Btn_IOW_Info0.setObjectName("Btn_IOW_Info0");
    BitBtn_IOW_OK.setObjectName("BitBtn_IOW_OK");
    BitBtn_IOW_Cancel.setObjectName("BitBtn_IOW_Cancel");
    GBox_IOW_Device.setTitle(kGroupCaption);
    Btn_IOW_Info0.setText(kInfoCaption);
    BitBtn_IOW_OK.setText(kOkCaption);
    BitBtn_IOW_Cancel.setText(kCancelCaption);

    auto* items = new QVBoxLayout(&RadioGrp_IOW_Devices);
    auto addItem = [&](const QString& text) {
        auto* button = new QRadioButton(text, &RadioGrp_IOW_Devices);
        items->addWidget(button);
        Devices.addButton(button, Devices.buttons().size());
    };
    addItem(ToQString(kDontChangeText));
    for (int device : listed_) {
        addItem(ToQString(kIoDevices[device].name));
    }
    Devices.button(0)->setChecked(true);
    RadioGrp_IOW_Devices.setMinimumHeight(kItemHeight * static_cast<int>(listed_.size()) +
                                          kItemHeight);

    auto* group = new QHBoxLayout(&GBox_IOW_Device);
    group->addWidget(&RadioGrp_IOW_Devices, 1);
    group->addWidget(&Btn_IOW_Info0, 0, Qt::AlignTop);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(&BitBtn_IOW_OK);
    buttons->addWidget(&BitBtn_IOW_Cancel);
    auto* form = new QVBoxLayout(this);
    form->addWidget(&GBox_IOW_Device);
    form->addLayout(buttons);
    BitBtn_IOW_OK.setDefault(true);

    connect(&BitBtn_IOW_OK, &QPushButton::clicked, this, [this] { BitBtn_IOW_OKClick(); });
    connect(&BitBtn_IOW_Cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(&Btn_IOW_Info0, &QPushButton::clicked, this, [this] { Btn_IOW_Info0Click(); });

    // A fixed single border, centred on the screen.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

TForm_IOW_InputOutputWizard::~TForm_IOW_InputOutputWizard() = default;

void TForm_IOW_InputOutputWizard::BitBtn_IOW_OKClick() {
    const int item = Devices.checkedId();
    if (item <= 0) {
        selection_ = kNoDevice;
        reject();
        return;
    }
    selection_ = listed_.at(static_cast<std::size_t>(item - 1));
    accept();
}

void TForm_IOW_InputOutputWizard::Btn_IOW_Info0Click() {
    if (!help_) {
        help_ = std::make_unique<THelpWindow>(this);
    }
    if (help_->ShowTopic(HelpTopic(kind_))) {
        help_->show();
        help_->raise();
    }
}

}  // namespace km

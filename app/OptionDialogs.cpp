#include "OptionDialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <algorithm>
#include <cstring>

#include "ReportBox.h"
#include "Resources.h"
#include "core/Cp1252.h"
#include "core/Files.h"
#include "image/Images.h"

namespace km {
namespace {

constexpr const char* kComPortCaption = " Comms Setup";
constexpr const char* kComPortConfigMark = "(comports.cfg)";
constexpr const char* kComPortAbsentMark = "(absent)";
constexpr std::array<const char*, 3> kBaudRates = {"4800", "9600", "19200"};
constexpr const char* kSetupCaption = "Setup";
constexpr std::array<const char*, 3> kCountries = {"International", "Australia / NewZealand",
                                                   "United States of America"};
constexpr const char* kWorkFolderCaption = "Working folder";
constexpr const char* kWorkFolderNote =
    "Used when the programmer is not started in a folder that holds its files.\n"
    "A new folder is filled with the templates and takes effect at the next start.";
constexpr const char* kBrowseButton = "Browse...";
constexpr const char* kWorkFolderNotAbsolute = "Give the whole path of the folder.";
constexpr const char* kWorkFolderNotMade = "The folder cannot be created.";
constexpr const char* kWorkFolderNotKept = "The choice cannot be stored in %1.";
constexpr const char* kAboutCaption = "About";
constexpr const char* kAboutWorkFolder = "Working folder: %1";
constexpr const char* kProductName = "KM700 / KP800 Configuration Programmer";
constexpr const char* kContactCaption = "Contact Information";
constexpr const char* kLicenceCaption = "Software Licence Agreement";
constexpr const char* kContactFile = "Contact.txt";
constexpr const char* kLicenceFile = "Licence.txt";
constexpr const char* kContactButton = "Contact";
constexpr const char* kLicenceButton = "Licence";
constexpr std::size_t kLargestTextFile = 1 << 20;

void AddButtonRow(QVBoxLayout& layout, std::initializer_list<QPushButton*> buttons) {
    auto row = std::make_unique<QHBoxLayout>();
    row->addStretch();
    for (QPushButton* button : buttons) {
        row->addWidget(button);
    }
    layout.addLayout(row.release());
}

int Bounded(int index, int count, int fallback) {
    return index >= 0 && index < count ? index : fallback;
}

}  // namespace

QString ReadTextFile(const std::filesystem::path& workDir, const char* name) {
    const auto bytes = ReadFileBytes(FindFileIgnoringCase(workDir, name), kLargestTextFile);
    if (!bytes) {
        return {};
    }
    const std::string raw(bytes->begin(), bytes->end());
    return QString::fromStdString(Cp1252ToUtf8(raw));
}

TForm_COM_ComPort::TForm_COM_ComPort(int comIndex, int baudIndex, QWidget* parent)
    : QDialog(parent),
      comIndex_(Bounded(comIndex, kComPortCount, 0)),
      baudIndex_(Bounded(baudIndex, 3, 2)) {
    setObjectName("TForm_COM_ComPort");
    setWindowTitle(kComPortCaption);
    portLabel_.setText("COM Port");
    ComboBox_COM_ComPort.setObjectName("ComboBox_COM_ComPort");
    for (int i = 1; i <= kComPortCount; ++i) {
        ComboBox_COM_ComPort.addItem(QStringLiteral("COM%1").arg(i));
    }
    ComboBox_COM_ComPort.setMaxVisibleItems(kComPortCount);
    ComboBox_COM_ComPort.setFont(ColumnFont());
    ComboBox_COM_ComPort.setSizeAdjustPolicy(QComboBox::AdjustToContents);
    RadioGrp_COM_BaudRate.setObjectName("RadioGrp_COM_BaudRate");
    RadioGrp_COM_BaudRate.setLayout(&baudLayout_);
    for (std::size_t i = 0; i < baudRows_.size(); ++i) {
        baudRows_[i].setText(kBaudRates[i]);
        baudLayout_.addWidget(&baudRows_[i]);
    }
    RadioGrp_COM_BaudRate.hide();
    BitBtn2.setObjectName("BitBtn2");
    BitBtn2.setText("OK");
    BitBtn2.setDefault(true);
    BitBtn_COM_Cancel.setObjectName("BitBtn_COM_Cancel");
    BitBtn_COM_Cancel.setText("Cancel");
    layout_.addWidget(&portLabel_);
    layout_.addWidget(&ComboBox_COM_ComPort);
    layout_.addWidget(&RadioGrp_COM_BaudRate);
    AddButtonRow(layout_, {&BitBtn2, &BitBtn_COM_Cancel});
    setMinimumWidth(420);
    connect(&BitBtn2, &QPushButton::clicked, this, &TForm_COM_ComPort::BitBtn2Click);
    connect(&BitBtn_COM_Cancel, &QPushButton::clicked, this,
            &TForm_COM_ComPort::BitBtn_COM_CancelClick);
    FormCreate();
}

QStringList ComPortRows(const std::vector<ComPortListing>& listing) {
    constexpr int kGap = 3;
    const auto widest = [&](auto text) {
        qsizetype width = 0;
        for (const ComPortListing& port : listing) {
            width = std::max(width, QString::fromStdString(text(port)).size());
        }
        return width > 0 ? width + kGap : 0;
    };
    const qsizetype deviceWidth = widest([](const ComPortListing& port) { return port.device; });
    const qsizetype descriptionWidth =
        widest([](const ComPortListing& port) { return port.description; });
    QStringList rows;
    for (std::size_t i = 0; i < listing.size(); ++i) {
        const ComPortListing& port = listing[i];
        QString text = QStringLiteral("COM%1").arg(i + 1).leftJustified(7);
        text += QString::fromStdString(port.device).leftJustified(deviceWidth);
        text += QString::fromStdString(port.description).leftJustified(descriptionWidth);
        if (port.fromConfig) {
            text +=
                QString(kComPortConfigMark).leftJustified(std::strlen(kComPortConfigMark) + kGap);
        }
        if (!port.present) {
            text += kComPortAbsentMark;
        }
        rows << text.trimmed();
    }
    return rows;
}

void TForm_COM_ComPort::ListPorts() {
    if (!portLister_) {
        return;
    }
    const QStringList rows = ComPortRows(portLister_());
    for (int i = 0; i < kComPortCount && i < rows.size(); ++i) {
        ComboBox_COM_ComPort.setItemText(i, rows[i]);
    }
}

void TForm_COM_ComPort::FormCreate() {
    ComboBox_COM_ComPort.setCurrentIndex(comIndex_);
    baudRows_[static_cast<std::size_t>(baudIndex_)].setChecked(true);
}

void TForm_COM_ComPort::BitBtn2Click() {
    comIndex_ = ComboBox_COM_ComPort.currentIndex();
    if (portChanged_) {
        portChanged_(comIndex_);
    }
    accept();
}

void TForm_COM_ComPort::BitBtn_COM_CancelClick() {
    FormCreate();
    reject();
}

TForm_SET_Setup::TForm_SET_Setup(int countryIndex, QWidget* parent)
    : QDialog(parent), shownFolder_(UserWorkFolder()) {
    setObjectName("TForm_SET_Setup");
    setWindowTitle(kSetupCaption);
    countryLabel_.setText("Country");
    Combo_SET_Country.setObjectName("Combo_SET_Country");
    for (const char* country : kCountries) {
        Combo_SET_Country.addItem(country);
    }
    Combo_SET_Country.setCurrentIndex(
        Bounded(countryIndex, static_cast<int>(kCountries.size()), 1));
    workFolderLabel_.setText(kWorkFolderCaption);
    Edit_SET_WorkFolder.setObjectName("Edit_SET_WorkFolder");
    Edit_SET_WorkFolder.setText(shownFolder_);
    Edit_SET_WorkFolder.setPlaceholderText(DefaultUserWorkFolder());
    browseButton_.setText(kBrowseButton);
    workFolderNote_.setText(kWorkFolderNote);
    workFolderError_.setStyleSheet("color: #b00000");
    workFolderError_.hide();
    okButton_.setText("OK");
    okButton_.setDefault(true);
    cancelButton_.setText("Cancel");
    layout_.addWidget(&countryLabel_);
    layout_.addWidget(&Combo_SET_Country);
    layout_.addSpacing(8);
    layout_.addWidget(&workFolderLabel_);
    auto folderRow = std::make_unique<QHBoxLayout>();
    folderRow->addWidget(&Edit_SET_WorkFolder, 1);
    folderRow->addWidget(&browseButton_);
    layout_.addLayout(folderRow.release());
    layout_.addWidget(&workFolderNote_);
    layout_.addWidget(&workFolderError_);
    AddButtonRow(layout_, {&okButton_, &cancelButton_});
    connect(&okButton_, &QPushButton::clicked, this, &TForm_SET_Setup::OkClick);
    connect(&cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
    connect(&browseButton_, &QPushButton::clicked, this, &TForm_SET_Setup::BrowseClick);
    setMinimumWidth(460);
}

void TForm_SET_Setup::OkClick() {
    if (KeepWorkFolder()) {
        accept();
    }
}

void TForm_SET_Setup::BrowseClick() {
    const QString folder =
        QFileDialog::getExistingDirectory(this, kWorkFolderCaption, Edit_SET_WorkFolder.text());
    if (!folder.isEmpty()) {
        Edit_SET_WorkFolder.setText(QDir::toNativeSeparators(folder));
    }
}

bool TForm_SET_Setup::KeepWorkFolder() {
    const QString typed = Edit_SET_WorkFolder.text().trimmed();
    if (typed == shownFolder_) {
        return true;
    }
    auto refuse = [this](const QString& reason) {
        workFolderError_.setText(reason);
        workFolderError_.show();
        Edit_SET_WorkFolder.setFocus();
        return false;
    };
    // An emptied field, or the default typed out, goes back to the default.
    const bool isDefault = typed.isEmpty() || QDir(typed) == QDir(DefaultUserWorkFolder());
    if (!isDefault && !QDir::isAbsolutePath(typed)) {
        return refuse(kWorkFolderNotAbsolute);
    }
    if (!isDefault && !QDir().mkpath(typed)) {
        return refuse(kWorkFolderNotMade);
    }
    if (!StoreUserWorkFolder(isDefault ? QString() : QDir::cleanPath(typed))) {
        return refuse(QString(kWorkFolderNotKept).arg(UserSettingsFile()));
    }
    return true;
}

TAboutBox::TAboutBox(const std::filesystem::path& workDir, QWidget* parent) : QDialog(parent) {
    setObjectName("TAboutBox");
    setWindowTitle(kAboutCaption);
    product_.setText(kProductName);
    QFont font = product_.font();
    font.setBold(true);
    font.setPointSize(font.pointSize() + 2);
    product_.setFont(font);
    version_.setText(QString::fromUtf8(kProgramVersionText).trimmed());
    details_.setText(QStringLiteral("KM700 mobile and KP800 portable radios\nBuilt with Qt %1\n"
                                    "See Help > Contact for the licence agreement.")
                         .arg(QString::fromUtf8(qVersion())));
    workFolder_.setText(QString(kAboutWorkFolder).arg(QString::fromStdString(workDir.string())));
    workFolder_.setTextInteractionFlags(Qt::TextSelectableByMouse);
    okButton_.setText("OK");
    okButton_.setDefault(true);
    layout_.addWidget(&product_);
    layout_.addWidget(&version_);
    layout_.addSpacing(8);
    layout_.addWidget(&details_);
    layout_.addWidget(&workFolder_);
    AddButtonRow(layout_, {&okButton_});
    connect(&okButton_, &QPushButton::clicked, this, &QDialog::accept);
}

TForm_VTR_ContactVeltra::TForm_VTR_ContactVeltra(std::filesystem::path workDir, QWidget* parent)
    : QDialog(parent), workDir_(std::move(workDir)) {
    setObjectName("TForm_VTR_ContactVeltra");
    memo_.setReadOnly(true);
    memo_.setLineWrapMode(QPlainTextEdit::WidgetWidth);
    closeButton_.setText("Close");
    layout_.addWidget(&memo_);
    AddButtonRow(layout_, {&toggleButton_, &closeButton_});
    connect(&toggleButton_, &QPushButton::clicked, this, &TForm_VTR_ContactVeltra::ToggleClick);
    connect(&closeButton_, &QPushButton::clicked, this, &QDialog::accept);
    resize(560, 420);
    ShowFile(false);
}

void TForm_VTR_ContactVeltra::ToggleClick() {
    ShowFile(!licenceShown_);
}

void TForm_VTR_ContactVeltra::ShowFile(bool licence) {
    licenceShown_ = licence;
    setWindowTitle(licence ? kLicenceCaption : kContactCaption);
    toggleButton_.setText(licence ? kContactButton : kLicenceButton);
    memo_.setPlainText(ReadTextFile(workDir_, licence ? kLicenceFile : kContactFile));
}

}  // namespace km

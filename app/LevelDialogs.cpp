#include "LevelDialogs.h"

#include <QHBoxLayout>
#include <QKeyEvent>

namespace km {
namespace {

constexpr const char* kLevelCaption = "User Level";
constexpr const char* kLevelGroupCaption = "Level";
constexpr std::array<const char*, 4> kLevelRows = {"Level 1  Basic", "Level 2  General",
                                                   "Level 3  Network", "Level 4  Engineering"};
constexpr const char* kInvalidPassword = "Invalid Password.";

constexpr const char* kPasswordCaption = "Password";
constexpr const char* kPasswordLine1 = "Network Level is only required by your ";
constexpr const char* kPasswordLine2 = "network provider to create network files.";
constexpr const char* kEnterPassword = "Enter Password";
constexpr const char* kOk = "OK";
constexpr const char* kCancel = "Cancel";
constexpr int kDialogWidth = 280;

// The key that reveals the Engineering row when pressed on the OK button.
constexpr QChar kEngineeringKey = u'Z';

constexpr std::array<const char*, 4> kAcceptedPasswords = {"DINGO", "dingo", "WOMBAT", "wombat"};

void AddButtons(QVBoxLayout& layout, QPushButton& ok, QPushButton& cancel) {
    auto buttons = std::make_unique<QHBoxLayout>();
    buttons->addStretch();
    buttons->addWidget(&ok);
    buttons->addWidget(&cancel);
    layout.addLayout(buttons.release());
}

}  // namespace

bool PasswordAccepted(const QString& text) {
    for (const char* password : kAcceptedPasswords) {
        if (text == QLatin1String(password)) {
            return true;
        }
    }
    return false;
}

QString LevelRowText(int levelIndex) {
    return kLevelRows.at(static_cast<std::size_t>(levelIndex));
}

TPWD_Form_Password::TPWD_Form_Password(QWidget* parent) : QDialog(parent) {
    setObjectName("TPWD_Form_Password");
    setWindowTitle(kPasswordCaption);
    line1_.setText(kPasswordLine1);
    line2_.setText(kPasswordLine2);
    prompt_.setText(kEnterPassword);
    PWD_Edit_Password.setObjectName("PWD_Edit_Password");
    PWD_Edit_Password.setEchoMode(QLineEdit::Password);
    PWD_BitBtn_OK.setObjectName("PWD_BitBtn_OK");
    PWD_BitBtn_OK.setText(kOk);
    PWD_BitBtn_OK.setDefault(true);
    PWD_BitBtn_Cancel.setObjectName("PWD_BitBtn_Cancel");
    PWD_BitBtn_Cancel.setText(kCancel);
    layout_.addWidget(&line1_);
    layout_.addWidget(&line2_);
    layout_.addSpacing(8);
    layout_.addWidget(&prompt_);
    layout_.addWidget(&PWD_Edit_Password);
    AddButtons(layout_, PWD_BitBtn_OK, PWD_BitBtn_Cancel);
    setMinimumWidth(kDialogWidth);
    connect(&PWD_BitBtn_OK, &QPushButton::clicked, this, &TPWD_Form_Password::PWD_BitBtn_OKClick);
    connect(&PWD_BitBtn_Cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TPWD_Form_Password::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    PWD_Edit_Password.setFocus();
}

void TPWD_Form_Password::PWD_BitBtn_OKClick() {
    if (PasswordAccepted(PWD_Edit_Password.text())) {
        PWD_Edit_Password.clear();
        done(QDialog::Accepted);
        return;
    }
    done(kPasswordIgnored);
}

TForm_LVL_Level::TForm_LVL_Level(int storedLevel, Person& person, PasswordAsker askPassword,
                                 QWidget* parent)
    : QDialog(parent),
      storedLevel_(storedLevel),
      person_(person),
      askPassword_(std::move(askPassword)) {
    setObjectName("TForm_LVL_Level");
    setWindowTitle(kLevelCaption);
    RadioGrp_LVL_Level.setObjectName("RadioGrp_LVL_Level");
    RadioGrp_LVL_Level.setTitle(kLevelGroupCaption);
    RadioGrp_LVL_Level.setLayout(&rowsLayout_);
    for (int row = 0; row < static_cast<int>(rows_.size()); ++row) {
        rows_[row].setText(kLevelRows[row]);
        rowsLayout_.addWidget(&rows_[row]);
        group_.addButton(&rows_[row], row);
    }
    rows_[kLevelEngineering].hide();
    LVL_BitBtn_OK.setObjectName("LVL_BitBtn_OK");
    LVL_BitBtn_OK.setText(kOk);
    LVL_BitBtn_OK.setAutoDefault(false);
    LVL_BitBtn_Cancel.setObjectName("LVL_BitBtn_Cancel");
    LVL_BitBtn_Cancel.setText(kCancel);
    LVL_BitBtn_Cancel.setDefault(true);
    layout_.addWidget(&RadioGrp_LVL_Level);
    AddButtons(layout_, LVL_BitBtn_OK, LVL_BitBtn_Cancel);
    LVL_BitBtn_OK.installEventFilter(this);
    setMinimumWidth(kDialogWidth);
    // Only a click of the user runs the rules; selecting a row from the code does not.
    connect(&group_, &QButtonGroup::idClicked, this, &TForm_LVL_Level::RadioGrp_LVL_LevelClick);
    connect(&LVL_BitBtn_OK, &QPushButton::clicked, this, &TForm_LVL_Level::LVL_BitBtn_OKClick);
    connect(&LVL_BitBtn_Cancel, &QPushButton::clicked, this, &QDialog::reject);
    FormActivate();
}

void TForm_LVL_Level::FormActivate() {
    RadioGrp_LVL_Level.setEnabled(false);
    if (storedLevel_ == kLevelEngineering) {
        // A stored Engineering level shows its row, or nothing would be selected.
        rows_[kLevelEngineering].show();
        rowCount_ = 4;
    }
    Select(storedLevel_);
    remembered_ = storedLevel_;
    RadioGrp_LVL_Level.setEnabled(true);
}

int TForm_LVL_Level::SelectedLevel() const {
    return group_.checkedId();
}

void TForm_LVL_Level::Select(int row) {
    if (row >= 0 && row < rowCount_) {
        rows_[row].setChecked(true);
    }
}

void TForm_LVL_Level::RadioGrp_LVL_LevelClick(int row) {
    if (row == kLevelNetwork && remembered_ < kLevelNetwork) {
        const int result = askPassword_ ? askPassword_() : QDialog::Rejected;
        if (result == QDialog::Accepted) {
            remembered_ = kLevelNetwork;
            return;
        }
        if (result == kPasswordIgnored) {
            person_.Error(kInvalidPassword);
        }
        Select(remembered_);
        return;
    }
    if (row == kLevelEngineering && remembered_ < kLevelEngineering) {
        return;  // allowed without a password; the remembered level stays
    }
    remembered_ = row;
}

void TForm_LVL_Level::LVL_BitBtn_OKClick() {
    accept();
}

bool TForm_LVL_Level::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &LVL_BitBtn_OK && event->type() == QEvent::KeyPress) {
        LVL_BitBtn_OKKeyPress(static_cast<QKeyEvent*>(event)->text());
    }
    return QDialog::eventFilter(watched, event);
}

void TForm_LVL_Level::LVL_BitBtn_OKKeyPress(const QString& key) {
    if (key != kEngineeringKey) {
        return;
    }
    if (rowCount_ <= 3) {
        rows_[kLevelEngineering].show();
        rowCount_ = 4;
    }
    rows_[kLevelEngineering].setChecked(true);
    RadioGrp_LVL_LevelClick(kLevelEngineering);
}

}  // namespace km

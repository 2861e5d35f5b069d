#pragma once
// The "User Level" dialog and the "Password" dialog. Basic and General are free; Network asks for
// a password; Engineering is a hidden row that one capital-letter key on the OK button reveals.

#include <QButtonGroup>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <array>
#include <functional>

#include "core/Person.h"

namespace km {

inline constexpr int kLevelBasic = 0;
inline constexpr int kLevelGeneral = 1;
inline constexpr int kLevelNetwork = 2;
inline constexpr int kLevelEngineering = 3;

// Result codes of the Password dialog: Accepted (1) when the password was accepted, Rejected (0)
// when cancelled, and this when a wrong password was entered.
inline constexpr int kPasswordIgnored = 2;

// The dialog's row text of a level index ("Level 1  Basic" .. "Level 4  Engineering").
QString LevelRowText(int levelIndex);

// True for the passwords that open the Network level (compared exactly, whole text).
bool PasswordAccepted(const QString& text);

class TPWD_Form_Password : public QDialog {
    Q_OBJECT
  public:
    explicit TPWD_Form_Password(QWidget* parent = nullptr);

    QLineEdit PWD_Edit_Password;
    QPushButton PWD_BitBtn_OK;
    QPushButton PWD_BitBtn_Cancel;

  public slots:
    void PWD_BitBtn_OKClick();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QVBoxLayout layout_{this};
    QLabel line1_;
    QLabel line2_;
    QLabel prompt_;
};

class TForm_LVL_Level : public QDialog {
    Q_OBJECT
  public:
    // Asks for the password: returns the Password dialog's result code.
    using PasswordAsker = std::function<int()>;

    TForm_LVL_Level(int storedLevel, Person& person, PasswordAsker askPassword,
                    QWidget* parent = nullptr);

    // The chosen row (the level index that OK stores).
    int SelectedLevel() const;
    // The number of rows (3, or 4 once the Engineering row is revealed).
    int RowCount() const { return rowCount_; }
    int RememberedLevel() const { return remembered_; }

    QGroupBox RadioGrp_LVL_Level;
    QPushButton LVL_BitBtn_OK;
    QPushButton LVL_BitBtn_Cancel;

  public slots:
    void FormActivate();
    void RadioGrp_LVL_LevelClick(int row);
    void LVL_BitBtn_OKClick();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void LVL_BitBtn_OKKeyPress(const QString& key);
    void Select(int row);

    QVBoxLayout layout_{this};
    QVBoxLayout rowsLayout_;
    std::array<QRadioButton, 4> rows_;
    QButtonGroup group_;
    int storedLevel_;
    int remembered_ = 0;
    int rowCount_ = 3;
    Person& person_;
    PasswordAsker askPassword_;
};

}  // namespace km

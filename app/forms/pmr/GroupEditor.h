#pragma once
// The Group Editor: the modal dialog in which a scan, vote or multiax group of the channel table
// is added or changed, with its member grid. The rules are pmr/GroupEdit.h.

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <array>

#include "forms/NamedControl.h"
#include "pmr/GroupEdit.h"

namespace km {

class Person;
class FieldExits;

class TGEDT_Form : public QDialog {
    Q_OBJECT
  public:
    TGEDT_Form(const pmr::GroupEditContext& context, Person& person, QWidget* parent = nullptr);

    void FillFromEditBuffer(const pmr::ChannelEntry& entry);
    void ReadBackToEditBuffer(pmr::ChannelEntry& entry) const;

    // Handlers, named as the domain names them; the exits return false when the focus goes back.
    bool GEDT_Edit_ChanNumberExit();
    bool GEDT_Edit_ChanNameExit();
    void GEDT_RadioGrp_GroupTypeClick();
    bool GEDT_RadioGrp_GroupTypeExit();
    bool GEDT_Edit_ScanPriorityChExit();
    // Selecting another cell of the member grid leaves `row`; false refuses the move.
    bool GEDT_StrGrid_ChanGroupSelectCell(int row);
    void GEDT_BitBtn_OKClick();

    // Controls, public for the form's tests.
    KM_CONTROL(QLineEdit, GEDT_Edit_ChanNumber);
    KM_CONTROL(QLineEdit, GEDT_Edit_ChanName);
    KM_CONTROL(QGroupBox, GEDT_RadioGrp_GroupType);
    std::array<QRadioButton, 4> GEDT_Radio_GroupTypes;
    KM_CONTROL(QCheckBox, GEDT_CBox_SelcallEnabled);
    KM_CONTROL(QCheckBox, GEDT_CBox_ShowAsChannel);
    QLabel GEDT_Lbl_ScanPriorityCh;
    KM_CONTROL(QLineEdit, GEDT_Edit_ScanPriorityCh);
    KM_CONTROL(QTableWidget, GEDT_StrGrid_ChanGroup);
    KM_CONTROL(QPushButton, GEDT_BitBtn_OK);
    KM_CONTROL(QPushButton, GEDT_BitBtn_Cancel);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildLayout();
    void Connect();
    pmr::GroupEditFields Fields() const;
    pmr::GroupType ChosenType() const;
    // Rows, priority, "Selcall Scanning" and "Show As Channel" as the group type wants them.
    void ShowType(pmr::GroupType type);

    const pmr::GroupEditContext& context_;
    Person& person_;
    FieldExits* exits_;
    QButtonGroup types_;
    int currentMemberRow_ = 0;
    bool movingCell_ = false;
    std::string wideNameKept_;  // a name too wide for the display, kept by the user
};

}  // namespace km

#pragma once
// The Radio Type form: the first form of the Trunk and PMR views. It edits the job header (the
// description, radio mode, radio type, band and accessory) and, in the Trunk view, loads and
// deletes the two network files of the job. The header map and the network rules live in
// config/MobMap.h and config/NetworkSlots.h; this class shows them and asks the questions.

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <optional>
#include <span>

#include "config/MobMap.h"
#include "forms/ConfigForm.h"
#include "forms/FieldBinder.h"

namespace km {

// The model picture of a radio type row: the separator row stands for an earlier portable and
// shows the first portable's picture, the reserved row a "not supported" picture.
QString RadioTypePictureName(int row);

class TForm_MOB_Mobile : public ConfigForm {
    Q_OBJECT
  public:
    explicit TForm_MOB_Mobile(const FormContext& context, QWidget* parent = nullptr);

    void LoadPass() override;
    void StorePass() override;
    void RefreshVisibility() override;
    void ShowFirstPage() override;

    // Handlers, named as the domain names them.
    void ComboBox_MOB_HeadEnter();
    void ComboBox_MOB_HeadChange();
    void ComboBox_MOB_MobileChange();
    void ComboBox_MOB_FrequencyChange();
    void ComboBox_MOB_AccessoryChange();
    void Btn_MOB_LoadNW1Click();
    void Btn_MOB_DeleteNW1Click();
    void Btn_MOB_LoadNW2Click();
    void Btn_MOB_DeleteNW2Click();
    void Page_MOB_MobileChange(int page);
    void Tab_MOB_NextShow();
    // Enter moves the focus to the next control.

    // Controls, public for the form's tests.
    QTabWidget Page_MOB_Mobile;
    QWidget Tab_MOB_Mobile;
    QWidget Tab_MOB_Next;
    QPlainTextEdit Memo_MOB_Description;
    QLabel Lbl_MOB_RCPJobVersion;
    QLabel Lbl_MOB_Mobile;
    QComboBox ComboBox_MOB_Mobile;
    QLabel Lbl_MOB_Head;
    QComboBox ComboBox_MOB_Head;
    QLabel Image_MOB_ControlUnit;
    QLabel Lbl_MOB_Frequency;
    QComboBox ComboBox_MOB_Frequency;
    QLabel Lbl_MOB_Accessory;
    QComboBox ComboBox_MOB_Accessory;
    QGroupBox GBox_MOB_NWFile1;
    QPushButton Btn_MOB_LoadNW1;
    QPushButton Btn_MOB_DeleteNW1;
    QLabel Lbl_MOB_FilenameNW1;
    QGroupBox GBox_MOB_NWFile2;
    QPushButton Btn_MOB_LoadNW2;
    QPushButton Btn_MOB_DeleteNW2;
    QLabel Lbl_MOB_FilenameNW2;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildLayout();
    void FillLists();
    void ShowBandTexts();
    void Connect();
    bool TrunkView() const;
    bool PmrView() const;
    // Sets RadioTypeMask, PortableGeneration and the picture of a row.
    void ShowRadioType(int row);
    void SelectSilently(QComboBox& combo, int row);
    void DescriptionChanged();
    void ShowNetworkName(int selector, const std::string& name);
    // After a load or delete: a deleted Network 2 loses its name and, when it was current, gives
    // way to Network 1; the identities and user interface forms follow the image.
    void FollowNetworkChange(const struct NetworkChange& change);
    bool LeavingRadioPageAllowed();
    fields::ImageId ImageOfView() const;
    std::span<std::uint8_t> BytesOfView() const;
    JobHeader HeaderOfView() const;

    // Description, radio mode and accessory are plain rows of the header table.
    std::optional<FieldBinder> binder_;
    JobHeader loaded_;  // the header as loaded, for values outside the lists
    int headRowOnEntry_ = 0;
    QString lastDescription_;
};

}  // namespace km

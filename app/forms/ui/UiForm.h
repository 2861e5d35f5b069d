#pragma once
// The User Interface form: how the radio presents itself to its user, in the Trunk and PMR views,
// on the image of the view. Its fields are the rows of config/UiMap.h and config/UiLevels.h; this
// class shows them, fills the lists that depend on the control head, and asks the questions.
//
// The form lives for the whole run; its pages are built when it is first loaded or shown, so that
// the program starts quickly.

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <array>
#include <memory>
#include <optional>
#include <vector>

#include "config/UiMap.h"
#include "config/UiVisibility.h"
#include "forms/ConfigForm.h"
#include "forms/EditChecks.h"
#include "forms/FieldBinder.h"
#include "forms/FieldGrid.h"
#include "forms/NamedControl.h"
#include "forms/mobile/RadioTypeListener.h"

namespace km {

// The controls of the form, named as the domain names them. Containers come first: a control is
// destroyed before the page that holds it.
struct UiControls {
    KM_CONTROL(QTabWidget, Page_UI_UserInterface);
    KM_CONTROL(QWidget, Tab_UO_UserOptions);
    KM_CONTROL(QWidget, Tab_AU_Audio);
    KM_CONTROL(QWidget, Tab_VOX_VoxAlarm);
    KM_CONTROL(QWidget, Tab_KEY_Keys);
    KM_CONTROL(QWidget, Tab_KEY2_MicKeys);
    KM_CONTROL(QWidget, Tab_MNU_Menus);
    KM_CONTROL(QWidget, Tab_CT_CallTypes);
    KM_CONTROL(QWidget, Tab_IO_InputOutput);
    KM_CONTROL(QWidget, Tab_MRS_Mrs);
    KM_CONTROL(QWidget, Tab_GPIF_AudioLevels);
    KM_CONTROL(QWidget, Tab_UI_Next);
    KM_CONTROL(QGroupBox, GBox_AU_Volumes);
    KM_CONTROL(QGroupBox, RGrp_AU_ExtAlertPC);
    KM_CONTROL(QGroupBox, GBox_AU_MuteLevels);
    KM_CONTROL(QGroupBox, GBox_AU_AudioDataPipe);
    KM_CONTROL(QGroupBox, GBox_VOX_Vox);
    KM_CONTROL(QGroupBox, Group_ALM_Options);
    KM_CONTROL(QGroupBox, GBox_KEY_SelectSwitch);
    KM_CONTROL(QGroupBox, GBox_KEY_DialSwitch);
    KM_CONTROL(QGroupBox, GBox_KEY_Toggle);
    KM_CONTROL(QGroupBox, GBox_KEY2_MicButtons);
    KM_CONTROL(QGroupBox, GBox_KEY2_GPS);
    KM_CONTROL(QGroupBox, GBox_KEY2_ManDown);

    // User Options
    KM_CONTROL(QComboBox, CB_UO_PowerOnMode);
    KM_CONTROL(QCheckBox, CBox_UO_SimplePMR);
    KM_CONTROL(QLineEdit, Edit_UO_UserPassword);
    KM_CONTROL(QLineEdit, Edit_UO_BacklightTime);
    KM_CONTROL(QLineEdit, Edit_UO_PowerDownTime);
    KM_CONTROL(QLineEdit, Edit_UO_MenuTimeout);
    KM_CONTROL(QLineEdit, Edit_UO_MessageTimeout);
    KM_CONTROL(QLineEdit, Edit_UO_WelcomeText);
    KM_CONTROL(QCheckBox, CBox_UO_LowPowerOverride);
    KM_CONTROL(QCheckBox, CBox_UO_MemoryKey);
    KM_CONTROL(QCheckBox, CBox_UO_SidePttWithRemote);
    KM_CONTROL(QCheckBox, CBox_UO_NoKeypadDialling);
    KM_CONTROL(QCheckBox, CBox_UO_CallTimerDisplay);
    KM_CONTROL(QCheckBox, CBox_UO_PermanentPower);
    KM_CONTROL(QCheckBox, CBox_UO_Autolock);
    KM_CONTROL(QCheckBox, CBox_UO_AllowSideKeys);
    KM_CONTROL(QCheckBox, CBox_UO_ExtAlertAtPowerOn);
    // Audio
    KM_CONTROL(QCheckBox, CBox_AU_KeyBeepsEnabled);
    KM_CONTROL(QCheckBox, CBox_AU_ServiceBeeps);
    KM_CONTROL(QCheckBox, CBox_AU_InvalidKeyBeeps);
    KM_CONTROL(QCheckBox, CBox_AU_BatteryLowAlert);
    KM_CONTROL(QCheckBox, CBox_AU_TelemetryOutput);
    KM_CONTROL(QCheckBox, CBox_AU_DefCradleMute);
    KM_CONTROL(QCheckBox, CBox_AU_SaveScramblerState);
    KM_CONTROL(QCheckBox, CBox_AU_EightOhmSpeaker);
    KM_CONTROL(QLineEdit, Edit_AU_MaxVolume);
    KM_CONTROL(QLineEdit, Edit_AU_MinVolume);
    KM_CONTROL(QLineEdit, Edit_AU_MaxAlertVolume);
    KM_CONTROL(QLineEdit, Edit_AU_MinAlertVolume);
    KM_CONTROL(QComboBox, Combo_AU_AlertOffset);
    KM_CONTROL(QLineEdit, Edit_AU_DataVolume);
    KM_CONTROL(QLineEdit, Edit_AU_ExtAlertDelay);
    KM_CONTROL(QLineEdit, Edit_AU_ExtAlertDuration);
    KM_CONTROL(QLineEdit, Edit_AU_MinMute);
    KM_CONTROL(QLineEdit, Edit_AU_MaxMute);
    KM_CONTROL(QLineEdit, Edit_AU_DefaultMute);
    KM_CONTROL(QCheckBox, CBox_AU_PhaseInvertTx);
    KM_CONTROL(QCheckBox, CBox_AU_PhaseInvertRx);
    KM_CONTROL(QCheckBox, CBox_AU_RemoveCTCSS);
    // Vox/Alm
    KM_CONTROL(QCheckBox, CBox_VOX_VoxPttDefault);
    KM_CONTROL(QCheckBox, CBox_VOX_VoxHandsfree);
    KM_CONTROL(QCheckBox, CBox_VOX_VoxAfterManPtt);
    KM_CONTROL(QCheckBox, CBox_VOX_VoxWithHeadset);
    KM_CONTROL(QComboBox, Combo_VOX_Sensitivity);
    KM_CONTROL(QLineEdit, Edit_VOX_HangTime);
    KM_CONTROL(QComboBox, Combo_ALM_Microphone);
    KM_CONTROL(QLineEdit, Edit_ALM_Repeats);
    KM_CONTROL(QLineEdit, Edit_ALM_RxTime);
    KM_CONTROL(QLineEdit, Edit_ALM_TxTime);
    KM_CONTROL(QLineEdit, Edit_ALM_AlarmDebounce);
    KM_CONTROL(QCheckBox, CBox_ALM_ConfidenceBeep);
    KM_CONTROL(QLineEdit, Edit_ALM_SecondDialStr);
    // Keys and Mic Keys: F1..F11 (F8..F11 on the Mic Keys tab)
    std::array<QLabel, kButtonCount> ButtonCaptions;
    std::array<QComboBox, kButtonCount> ButtonFunctions;
    std::array<QLineEdit, kButtonCount> ButtonLabels;
    KM_CONTROL(QCheckBox, CBox_KEY_PTTCallRequest);
    KM_CONTROL(QComboBox, ComboBox_KEY_SelectSwitch);
    KM_CONTROL(QComboBox, ComboBox_KEY_D1);
    std::array<QComboBox, kDialPositions> DialValues;
    KM_CONTROL(QComboBox, Combo_KEY_TogFunction);
    KM_CONTROL(QLineEdit, Edit_KEY_ToggleText);
    KM_CONTROL(QLabel, Image_UI_ControlUnit);
    KM_CONTROL(QLineEdit, Edit_KEY2_CFST);
    KM_CONTROL(QLineEdit, Edit_KEY2_CFIT);
    KM_CONTROL(QLineEdit, Edit_KEY2_WFOT);
    KM_CONTROL(QLineEdit, Edit_KEY2_WFIT);
    KM_CONTROL(QLineEdit, Edit_KEY2_PFOT);
    KM_CONTROL(QCheckBox, CBox_KEY2_GPSBeep);
    KM_CONTROL(QLineEdit, Edit_KEY2_TiltDelay);
    KM_CONTROL(QLineEdit, Edit_KEY2_AlertDelay);
    KM_CONTROL(QComboBox, ComboBox_KEY2_MDAlertFunction);
    // Menus
    KM_CONTROL(QTableWidget, StrGrid_MNU_MainMenu);
    KM_CONTROL(QTableWidget, StrGrid_MNU_SetupMenu);
    // Call Types
    KM_CONTROL(QTableWidget, StrGrid_CT_CallTypes);
    KM_CONTROL(QPushButton, Btn_CT_Defaults);
    // Input/Output
    KM_CONTROL(QComboBox, Combo_IO_OptionBoardMode);
    KM_CONTROL(QLabel, Lbl_IO_OptionBoard);
    KM_CONTROL(QComboBox, Combo_IO_SerialADataRate);
    KM_CONTROL(QComboBox, Combo_IO_Protocol);
    KM_CONTROL(QComboBox, Combo_IO_SerialBDataRate);
    KM_CONTROL(QComboBox, Combo_IO_RxAudioGating);
    KM_CONTROL(QTableWidget, StrGrid_IO_OptionBoard);
    KM_CONTROL(QLabel, Lbl_IO_InputDevice);
    // MRS
    KM_CONTROL(QLineEdit, Edit_MRS_EncodeLODTime);
    KM_CONTROL(QLineEdit, Edit_MRS_EncodeLETTime);
    KM_CONTROL(QLineEdit, Edit_MRS_PrimaryRptrChan);
    KM_CONTROL(QLineEdit, Edit_MRS_SecondaryRptrChan);
    KM_CONTROL(QLineEdit, Edit_MRS_CloneTime);
    KM_CONTROL(QLineEdit, Edit_MRS_RptrActiveTime);
    KM_CONTROL(QLineEdit, Edit_MRS_HeartbeatPeriod);
    KM_CONTROL(QLineEdit, Edit_MRS_PowerDownTime);
    KM_CONTROL(QLineEdit, Edit_MRS_ReactivationTime);
    // Audio Levels
    KM_CONTROL(QTableWidget, StrGrid_GPIF_TxCol1);
    KM_CONTROL(QTableWidget, StrGrid_GPIF_TxCol2);
    KM_CONTROL(QTableWidget, StrGrid_GPIF_TxCol3);
    KM_CONTROL(QTableWidget, StrGrid_GPIF_RxCol1);
    KM_CONTROL(QTableWidget, StrGrid_GPIF_RxCol2);
    KM_CONTROL(QComboBox, Combo_GPIF_LimiterThreshold);
    KM_CONTROL(QComboBox, Combo_GPIF_LimiterGain);
    KM_CONTROL(QComboBox, Combo_GPIF_Discriminator);
    KM_CONTROL(QCheckBox, CBox_GPIF_PhaseDTMF);
    KM_CONTROL(QCheckBox, CBox_GPIF_PhaseSelcall);
    KM_CONTROL(QCheckBox, CBox_GPIF_PhaseFFSK);
    KM_CONTROL(QPushButton, Btn_GPIF_Defaults);
};

class TForm_UI_UserInterface : public ConfigForm, public RadioTypeListener {
    Q_OBJECT
  public:
    explicit TForm_UI_UserInterface(const FormContext& context, QWidget* parent = nullptr);
    ~TForm_UI_UserInterface() override;

    void LoadPass() override;
    void StorePass() override;
    void RefreshVisibility() override;
    void ShowFirstPage() override;
    bool CheckFocusedField() override;

    // The form stores what it shows, the image takes the new head, the form shows it again with
    // the new head's lists.
    void BeforeRadioTypeChange() override;
    void RadioTypeChanged(const RadioTypeChange& change) override;
    void AccessoryChanged(const AccessoryChange& change) override;

    // Handlers, named as the domain names them.
    void CB_UO_PowerOnModeChange();
    void CBox_UO_PermanentPowerClick();
    void Combo_ALM_MicrophoneChange();
    void Combo_IO_OptionBoardModeChange();
    void StrGrid_IO_OptionBoardFunctionChange(int line);
    void CBox_GPIF_PhaseFFSKClick();
    void Btn_GPIF_DefaultsClick();
    void Btn_CT_DefaultsClick();
    void Tab_UI_NextShow();

    // The controls, built on first use.
    UiControls& Controls();
    bool Built() const { return controls_ != nullptr; }
    // The grids of the form's string grids, for its tests.
    FieldGrid& GridOf(const QTableWidget& table);
    // The device selections the next store writes.
    DeviceSelections Devices() const { return devices_; }
    // A covert microphone chosen for the alarm, here or on the Selcall form: the first transmit
    // audio input level becomes "+12" and both device selections are given up.
    void CovertMicChosen();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct LevelCell {
        QTableWidget* table;
        int line;
        AudioLevel level;
    };

    void Build();
    void NameKeyControls();
    void BuildUserOptions();
    void BuildAudio();
    void BuildVox();
    void BuildKeys();
    void BuildMicKeys();
    void BuildMenus();
    void BuildCallTypes();
    void BuildInputOutput();
    void BuildMrs();
    void BuildAudioLevels();
    void Connect();
    void WatchEdits();
    QWidget* Labelled(QWidget& control, const QString& caption);

    bool JobView() const;
    fields::ImageId ImageOfView() const;
    std::span<std::uint8_t> BytesOfView() const;
    FunctionView FunctionsOfView() const;
    UiContext Context() const;
    bool Portable() const;

    void LoadShown(bool fallBack);
    void LoadPowerOnMode();
    void LoadKeys(bool fallBack);
    void LoadDialSwitch();
    void LoadMenus(bool fallBack);
    void ShowSetupMenuInUse();
    void LoadIoLines(bool fallBack);
    void LoadLevels();
    void StoreOwnFields();
    void StoreLevels();
    void ShowPicture();
    void ShowBoardLayout();
    void FillDialValues();
    void SetLineEditors(int line, bool input);
    void SetCellText(const LevelCell& cell, std::string_view text);
    const LevelCell* CellOf(AudioLevel level) const;
    QCheckBox* PhaseBoxOf(AudioLevel level);
    void ResetDevices();
    void OpenDeviceWizard(DeviceKind kind, bool optionBoard);
    void ApplyDevice(int device, bool optionBoard);
    void ShowIfAny(QGroupBox& group);
    void SetShown(QWidget& control, bool shown);

    std::unique_ptr<UiControls> controls_;
    std::vector<FieldBinder> binders_;
    std::unique_ptr<EditChecks> editChecks_;
    struct Grid {
        const QTableWidget* table;
        std::unique_ptr<FieldGrid> grid;
    };
    std::vector<Grid> grids_;
    std::vector<LevelCell> levelCells_;
    std::vector<std::pair<QWidget*, QLabel*>> captions_;
    DeviceSelections devices_;
    int headRow_ = 0;
    int accessory_ = 0;
    bool loading_ = false;
};

}  // namespace km

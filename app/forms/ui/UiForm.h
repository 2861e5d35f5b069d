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
#include "forms/mobile/RadioTypeListener.h"

namespace km {

// The controls of the form, named as the domain names them. Containers come first: a control is
// destroyed before the page that holds it.
struct UiControls {
    QTabWidget Page_UI_UserInterface;
    QWidget Tab_UO_UserOptions;
    QWidget Tab_AU_Audio;
    QWidget Tab_VOX_VoxAlarm;
    QWidget Tab_KEY_Keys;
    QWidget Tab_KEY2_MicKeys;
    QWidget Tab_MNU_Menus;
    QWidget Tab_CT_CallTypes;
    QWidget Tab_IO_InputOutput;
    QWidget Tab_MRS_Mrs;
    QWidget Tab_GPIF_AudioLevels;
    QWidget Tab_UI_Next;
    QGroupBox GBox_AU_Volumes;
    QGroupBox RGrp_AU_ExtAlertPC;
    QGroupBox GBox_AU_MuteLevels;
    QGroupBox GBox_AU_AudioDataPipe;
    QGroupBox GBox_VOX_Vox;
    QGroupBox Group_ALM_Options;
    QGroupBox GBox_KEY_SelectSwitch;
    QGroupBox GBox_KEY_DialSwitch;
    QGroupBox GBox_KEY_Toggle;
    QGroupBox GBox_KEY2_MicButtons;
    QGroupBox GBox_KEY2_GPS;
    QGroupBox GBox_KEY2_ManDown;

    // User Options
    QComboBox CB_UO_PowerOnMode;
    QCheckBox CBox_UO_SimplePMR;
    QLineEdit Edit_UO_UserPassword;
    QLineEdit Edit_UO_BacklightTime;
    QLineEdit Edit_UO_PowerDownTime;
    QLineEdit Edit_UO_MenuTimeout;
    QLineEdit Edit_UO_MessageTimeout;
    QLineEdit Edit_UO_WelcomeText;
    QCheckBox CBox_UO_LowPowerOverride;
    QCheckBox CBox_UO_MemoryKey;
    QCheckBox CBox_UO_SidePttWithRemote;
    QCheckBox CBox_UO_NoKeypadDialling;
    QCheckBox CBox_UO_CallTimerDisplay;
    QCheckBox CBox_UO_PermanentPower;
    QCheckBox CBox_UO_Autolock;
    QCheckBox CBox_UO_AllowSideKeys;
    QCheckBox CBox_UO_ExtAlertAtPowerOn;
    // Audio
    QCheckBox CBox_AU_KeyBeepsEnabled;
    QCheckBox CBox_AU_ServiceBeeps;
    QCheckBox CBox_AU_InvalidKeyBeeps;
    QCheckBox CBox_AU_BatteryLowAlert;
    QCheckBox CBox_AU_TelemetryOutput;
    QCheckBox CBox_AU_DefCradleMute;
    QCheckBox CBox_AU_SaveScramblerState;
    QCheckBox CBox_AU_EightOhmSpeaker;
    QLineEdit Edit_AU_MaxVolume;
    QLineEdit Edit_AU_MinVolume;
    QLineEdit Edit_AU_MaxAlertVolume;
    QLineEdit Edit_AU_MinAlertVolume;
    QComboBox Combo_AU_AlertOffset;
    QLineEdit Edit_AU_DataVolume;
    QLineEdit Edit_AU_ExtAlertDelay;
    QLineEdit Edit_AU_ExtAlertDuration;
    QLineEdit Edit_AU_MinMute;
    QLineEdit Edit_AU_MaxMute;
    QLineEdit Edit_AU_DefaultMute;
    QCheckBox CBox_AU_PhaseInvertTx;
    QCheckBox CBox_AU_PhaseInvertRx;
    QCheckBox CBox_AU_RemoveCTCSS;
    // Vox/Alm
    QCheckBox CBox_VOX_VoxPttDefault;
    QCheckBox CBox_VOX_VoxHandsfree;
    QCheckBox CBox_VOX_VoxAfterManPtt;
    QCheckBox CBox_VOX_VoxWithHeadset;
    QComboBox Combo_VOX_Sensitivity;
    QLineEdit Edit_VOX_HangTime;
    QComboBox Combo_ALM_Microphone;
    QLineEdit Edit_ALM_Repeats;
    QLineEdit Edit_ALM_RxTime;
    QLineEdit Edit_ALM_TxTime;
    QLineEdit Edit_ALM_AlarmDebounce;
    QCheckBox CBox_ALM_ConfidenceBeep;
    QLineEdit Edit_ALM_SecondDialStr;
    // Keys and Mic Keys: F1..F11 (F8..F11 on the Mic Keys tab)
    std::array<QLabel, kButtonCount> ButtonCaptions;
    std::array<QComboBox, kButtonCount> ButtonFunctions;
    std::array<QLineEdit, kButtonCount> ButtonLabels;
    QCheckBox CBox_KEY_PTTCallRequest;
    QComboBox ComboBox_KEY_SelectSwitch;
    QComboBox ComboBox_KEY_D1;
    std::array<QComboBox, kDialPositions> DialValues;
    QComboBox Combo_KEY_TogFunction;
    QLineEdit Edit_KEY_ToggleText;
    QLabel Image_UI_ControlUnit;
    QLineEdit Edit_KEY2_CFST;
    QLineEdit Edit_KEY2_CFIT;
    QLineEdit Edit_KEY2_WFOT;
    QLineEdit Edit_KEY2_WFIT;
    QLineEdit Edit_KEY2_PFOT;
    QCheckBox CBox_KEY2_GPSBeep;
    QLineEdit Edit_KEY2_TiltDelay;
    QLineEdit Edit_KEY2_AlertDelay;
    QComboBox ComboBox_KEY2_MDAlertFunction;
    // Menus
    QTableWidget StrGrid_MNU_MainMenu;
    QTableWidget StrGrid_MNU_SetupMenu;
    // Call Types
    QTableWidget StrGrid_CT_CallTypes;
    QPushButton Btn_CT_Defaults;
    // Input/Output
    QComboBox Combo_IO_OptionBoardMode;
    QLabel Lbl_IO_OptionBoard;
    QComboBox Combo_IO_SerialADataRate;
    QComboBox Combo_IO_Protocol;
    QComboBox Combo_IO_SerialBDataRate;
    QComboBox Combo_IO_RxAudioGating;
    QTableWidget StrGrid_IO_OptionBoard;
    QLabel Lbl_IO_InputDevice;
    // MRS
    QLineEdit Edit_MRS_EncodeLODTime;
    QLineEdit Edit_MRS_EncodeLETTime;
    QLineEdit Edit_MRS_PrimaryRptrChan;
    QLineEdit Edit_MRS_SecondaryRptrChan;
    QLineEdit Edit_MRS_CloneTime;
    QLineEdit Edit_MRS_RptrActiveTime;
    QLineEdit Edit_MRS_HeartbeatPeriod;
    QLineEdit Edit_MRS_PowerDownTime;
    QLineEdit Edit_MRS_ReactivationTime;
    // Audio Levels
    QTableWidget StrGrid_GPIF_TxCol1;
    QTableWidget StrGrid_GPIF_TxCol2;
    QTableWidget StrGrid_GPIF_TxCol3;
    QTableWidget StrGrid_GPIF_RxCol1;
    QTableWidget StrGrid_GPIF_RxCol2;
    QComboBox Combo_GPIF_LimiterThreshold;
    QComboBox Combo_GPIF_LimiterGain;
    QComboBox Combo_GPIF_Discriminator;
    QCheckBox CBox_GPIF_PhaseDTMF;
    QCheckBox CBox_GPIF_PhaseSelcall;
    QCheckBox CBox_GPIF_PhaseFFSK;
    QPushButton Btn_GPIF_Defaults;
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
    void NameControls();
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

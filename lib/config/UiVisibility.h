#pragma once
// What the User Interface form shows for a job: one pure function of the view, the radio mode,
// the control head, the portable generation, the accessory and the user level.

#include <cstdint>

namespace km {

enum class UiView : std::uint8_t { Pmr, Trunk, Network };

struct UiContext {
    UiView view;
    int radioModeMask;       // 1 PMR Radio, 2 Trunk Radio, 4 Multi Mode Radio
    int radioTypeMask;       // the head (HM-A 1 ... HM-D 32, portables 256, 512, 1024)
    int portableGeneration;  // 2 for the Reserved entry, KP8C and KP8D
    int accessory;           // 0 None, 1 ACC1, 2 RSM-GPS, 3 OEM Mic
    int userLevelMask;       // 1 Basic, 2 General, 4 Network, 8 Engineering
};

inline constexpr int kAccessoryNone = 0;
inline constexpr int kAccessoryAcc1 = 1;
inline constexpr int kAccessoryRsmGps = 2;
inline constexpr int kAccessoryOemMic = 3;

// Tabs and controls (or groups of controls) the form shows or hides.
struct UiVisibility {
    // User Options
    bool callTimerDisplay;
    bool welcomeBacklightMenuTimeout;
    bool userPassword;
    bool messageTimeout;
    bool portableOptions;  // autolock, side PTT with remote, allow side keys
    bool noKeypadDialling;
    bool permanentPower;
    bool simplePmr;
    // Audio
    bool dataVolumeAndExternalAlert;
    bool cradleMuteAndAlertTimes;  // default cradle mute, external alert delay and duration
    bool serviceBeeps;
    bool batteryLowAlert;
    bool muteLevels;
    bool audioDataPipe;  // with telemetry output and the 8 ohm speaker
    // Vox/Alm
    bool voxHandsfree;
    bool voxPttDefault;
    bool portableVox;  // VOX after manual PTT, with headset, sensitivity, hang time
    bool alarmGroup;
    bool alarmMobile;   // repeats, microphone, transmit and receive time, second dial string
    bool alarmAnyHead;  // debounce, confidence beep
    // Keys
    bool f1Button;
    bool f1Label;
    bool f2ToF4Buttons;
    bool f2F3Labels;
    bool f4Label;
    bool f5F6Buttons;
    bool f5ToF7Labels;
    bool f7Button;
    bool pttCallRequest;
    bool selectAndDialSwitch;
    bool toggle;
    // Mic Keys
    bool micKeysTab;
    bool f8F9;
    bool f10F11GpsManDown;
    bool micButtonsGroup;
    // Tabs
    bool menusTab;
    bool callTypesTab;
    bool ioTab;
    bool audioLevelsTab;
    bool mrsTab;
};

UiVisibility UiVisibilityOf(const UiContext& context);

}  // namespace km

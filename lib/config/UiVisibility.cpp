#include "config/UiVisibility.h"

#include "config/UiFunctions.h"

namespace km {
namespace {

bool HeadIn(const UiContext& c, int heads) {
    return (c.radioTypeMask & heads) != 0;
}
bool Mobile(const UiContext& c) {
    return HeadIn(c, kMobileHeads);
}
bool Portable(const UiContext& c) {
    return HeadIn(c, kPortableHeads);
}
// The Reserved entry shares its mask with the earlier portable; its generation tells it apart.
bool Reserved(const UiContext& c) {
    return c.radioTypeMask == kHeadPortable0 && c.portableGeneration == 2;
}
bool TrunkMode(const UiContext& c) {
    return c.radioModeMask == 2 || c.radioModeMask == 4;
}
bool PmrMode(const UiContext& c) {
    return c.radioModeMask == 1 || c.radioModeMask == 4;
}
bool TrunkView(const UiContext& c) {
    return c.view == UiView::Trunk;
}
bool PmrView(const UiContext& c) {
    return c.view == UiView::Pmr;
}
bool JobView(const UiContext& c) {
    return TrunkView(c) || PmrView(c);
}

constexpr int kKp8Heads = kHeadKp8AC | kHeadKp8BD;
// HM-C, HM-E, HM-F, HM-D and the KP8A to KP8D entries: the heads with a display.
constexpr int kDisplayHeads = kHeadHmC | kHeadHmE | kHeadHmF | kHeadHmD | kKp8Heads;
constexpr int kKeypadHeads = kHeadHmE | kHeadHmF | kHeadHmD | kHeadKp8BD;

}  // namespace

UiVisibility UiVisibilityOf(const UiContext& c) {
    UiVisibility v{};
    const bool trunkJob = TrunkMode(c) && TrunkView(c);
    v.callTimerDisplay = trunkJob && !Reserved(c);
    v.welcomeBacklightMenuTimeout = HeadIn(c, kDisplayHeads);
    v.userPassword = HeadIn(c, kKeypadHeads);
    v.messageTimeout = HeadIn(c, kHeadHmE | kHeadHmF | kHeadHmD | kKp8Heads);
    v.portableOptions = Portable(c);
    v.noKeypadDialling = HeadIn(c, kKeypadHeads);
    v.permanentPower = Mobile(c);
    v.simplePmr = c.userLevelMask == 8;

    v.dataVolumeAndExternalAlert = Mobile(c) && JobView(c);
    v.cradleMuteAndAlertTimes = trunkJob && Mobile(c);
    v.serviceBeeps = trunkJob;
    v.batteryLowAlert = HeadIn(c, kKp8Heads) && JobView(c);
    v.muteLevels = PmrMode(c) && PmrView(c);
    v.audioDataPipe = PmrMode(c) && Mobile(c) && PmrView(c);

    v.voxHandsfree = trunkJob && HeadIn(c, kHeadHmA | kHeadHmB | kHeadHmC | kHeadHmE | kHeadHmF);
    v.voxPttDefault = !HeadIn(c, kHeadHmD) && JobView(c);
    v.portableVox = Portable(c) && PmrView(c);
    v.alarmGroup = trunkJob && !Reserved(c);
    v.alarmMobile = trunkJob && Mobile(c);
    v.alarmAnyHead = trunkJob;

    const bool hmBTrunkOnly = c.radioTypeMask == kHeadHmB && c.radioModeMask == 2;
    v.f1Button = c.radioTypeMask != kHeadHmA && !hmBTrunkOnly;
    v.f1Label = HeadIn(c, kHeadHmF | kHeadHmD | kKp8Heads);
    v.f2ToF4Buttons = HeadIn(c, kDisplayHeads);
    v.f2F3Labels = HeadIn(c, kHeadHmF | kKp8Heads);
    v.f4Label = HeadIn(c, kHeadHmF | kHeadHmD | kKp8Heads);
    v.f5F6Buttons = HeadIn(c, kHeadHmF | kHeadHmD | kKp8Heads);
    v.f5ToF7Labels = Portable(c) && PmrView(c);
    v.f7Button = Portable(c);
    v.pttCallRequest = TrunkView(c);
    v.selectAndDialSwitch = Portable(c) && c.portableGeneration == 2;
    v.toggle = Portable(c) && PmrView(c);

    v.micKeysTab = Portable(c) && c.accessory != kAccessoryNone;
    v.f8F9 = v.micKeysTab;
    v.f10F11GpsManDown = Portable(c) && c.accessory == kAccessoryRsmGps;
    v.micButtonsGroup =
        Portable(c) && (c.accessory == kAccessoryAcc1 || c.accessory == kAccessoryRsmGps);

    v.menusTab = HeadIn(c, kDisplayHeads);
    v.callTypesTab = trunkJob && c.radioTypeMask != kHeadHmB && !Reserved(c);
    v.ioTab = Mobile(c);
    v.audioLevelsTab = (c.userLevelMask == 4 || c.userLevelMask == 8) && JobView(c);
    v.mrsTab = false;
    return v;
}

}  // namespace km

// What the User Interface form shows, over every view, radio mode, head, accessory and user level
// the rules name: each rule is the heads that offer it and the condition it adds.

#include <gtest/gtest.h>

#include <string_view>

#include "config/RadioTypes.h"
#include "config/UiVisibility.h"

namespace km {
namespace {

enum class Condition {
    Any,
    JobView,  // PMR or trunk view
    TrunkView,
    PmrView,
    TrunkJob,      // trunk mode (Trunk Radio or Multi Mode Radio), trunk view
    PmrJob,        // PMR mode (PMR Radio or Multi Mode Radio), PMR view
    Engineering,   // user level 8
    NetworkLevel,  // user level 4 or 8, PMR or trunk view
    AnyAccessory,
    RsmGps,
    Acc1OrRsmGps,
};

// The heads of the radio type list, rows 0..13: HM-A, HM-B, HM-C, HM-C Plus, HM-D, HM-E, HM-F,
// HM-F+, the earlier portable, KP8A, KP8B, Reserved, KP8C, KP8D. "x" shows, "." hides, "b" shows
// unless the radio mode is Trunk Radio.
struct Rule {
    const char* name;
    bool UiVisibility::*flag;
    std::string_view heads;
    Condition condition;
};

constexpr std::string_view kAllRows = "xxxxxxxxxxxxxx";
constexpr std::string_view kMobiles = "xxxxxxxx......";
constexpr std::string_view kPortables = "........xxxxxx";
constexpr std::string_view kNotReserved = "xxxxxxxxxxx.xx";
constexpr std::string_view kDisplayHeads = "..xxxxxx.xx.xx";  // HM-C, HM-E, HM-F, HM-D, KP8A-D
constexpr std::string_view kKeypadHeads = "....xxxx..x..x";   // HM-E, HM-F, HM-D, KP8B, KP8D
constexpr std::string_view kLabelHeads = "....x.xx.xx.xx";    // HM-F, HM-D, KP8A-D

const Rule kRules[] = {
    {"call timer display", &UiVisibility::callTimerDisplay, kNotReserved, Condition::TrunkJob},
    {"welcome, backlight, menu timeout", &UiVisibility::welcomeBacklightMenuTimeout, kDisplayHeads,
     Condition::Any},
    {"user password", &UiVisibility::userPassword, kKeypadHeads, Condition::Any},
    {"message timeout", &UiVisibility::messageTimeout, "....xxxx.xx.xx", Condition::Any},
    {"portable options", &UiVisibility::portableOptions, kPortables, Condition::Any},
    {"no keypad dialling", &UiVisibility::noKeypadDialling, kKeypadHeads, Condition::Any},
    {"permanent power", &UiVisibility::permanentPower, kMobiles, Condition::Any},
    {"simple PMR", &UiVisibility::simplePmr, kAllRows, Condition::Engineering},
    {"data volume, external alert", &UiVisibility::dataVolumeAndExternalAlert, kMobiles,
     Condition::JobView},
    {"cradle mute, alert delay and duration", &UiVisibility::cradleMuteAndAlertTimes, kMobiles,
     Condition::TrunkJob},
    {"service beeps", &UiVisibility::serviceBeeps, kAllRows, Condition::TrunkJob},
    {"battery low alert", &UiVisibility::batteryLowAlert, ".........xx.xx", Condition::JobView},
    {"mute levels", &UiVisibility::muteLevels, kAllRows, Condition::PmrJob},
    {"audio data pipe", &UiVisibility::audioDataPipe, kMobiles, Condition::PmrJob},
    {"VOX handsfree", &UiVisibility::voxHandsfree, "xxxx.xxx......", Condition::TrunkJob},
    {"VOX PTT default", &UiVisibility::voxPttDefault, "xxxx.xxxxxxxxx", Condition::JobView},
    {"portable VOX", &UiVisibility::portableVox, kPortables, Condition::PmrView},
    {"alarm group", &UiVisibility::alarmGroup, kNotReserved, Condition::TrunkJob},
    {"alarm of mobiles", &UiVisibility::alarmMobile, kMobiles, Condition::TrunkJob},
    {"alarm debounce, confidence beep", &UiVisibility::alarmAnyHead, kAllRows, Condition::TrunkJob},
    {"F1 button", &UiVisibility::f1Button, ".bxxxxxxxxxxxx", Condition::Any},
    {"F1 label", &UiVisibility::f1Label, kLabelHeads, Condition::Any},
    {"F2-F4 buttons", &UiVisibility::f2ToF4Buttons, kDisplayHeads, Condition::Any},
    {"F2, F3 labels", &UiVisibility::f2F3Labels, "......xx.xx.xx", Condition::Any},
    {"F4 label", &UiVisibility::f4Label, kLabelHeads, Condition::Any},
    {"F5, F6 buttons", &UiVisibility::f5F6Buttons, kLabelHeads, Condition::Any},
    {"F5-F7 labels", &UiVisibility::f5ToF7Labels, kPortables, Condition::PmrView},
    {"F7 button", &UiVisibility::f7Button, kPortables, Condition::Any},
    {"PTT call request", &UiVisibility::pttCallRequest, kAllRows, Condition::TrunkView},
    {"select and dial switch", &UiVisibility::selectAndDialSwitch, "...........xxx",
     Condition::Any},
    {"toggle", &UiVisibility::toggle, kPortables, Condition::PmrView},
    {"Mic Keys tab", &UiVisibility::micKeysTab, kPortables, Condition::AnyAccessory},
    {"F8, F9", &UiVisibility::f8F9, kPortables, Condition::AnyAccessory},
    {"F10, F11, GPS, man-down", &UiVisibility::f10F11GpsManDown, kPortables, Condition::RsmGps},
    {"microphone buttons group", &UiVisibility::micButtonsGroup, kPortables,
     Condition::Acc1OrRsmGps},
    {"Menus tab", &UiVisibility::menusTab, kDisplayHeads, Condition::Any},
    {"Call Types tab", &UiVisibility::callTypesTab, "x.xxxxxxxxx.xx", Condition::TrunkJob},
    {"Input/Output tab", &UiVisibility::ioTab, kMobiles, Condition::Any},
    {"Audio Levels tab", &UiVisibility::audioLevelsTab, kAllRows, Condition::NetworkLevel},
    {"MRS tab", &UiVisibility::mrsTab, "..............", Condition::Any},
};

bool Holds(Condition condition, const UiContext& c) {
    const bool trunkMode = c.radioModeMask == 2 || c.radioModeMask == 4;
    const bool pmrMode = c.radioModeMask == 1 || c.radioModeMask == 4;
    switch (condition) {
        case Condition::Any:
        case Condition::JobView:
            return true;  // every view tested is a job's
        case Condition::TrunkView:
            return c.view == UiView::Trunk;
        case Condition::PmrView:
            return c.view == UiView::Pmr;
        case Condition::TrunkJob:
            return trunkMode && c.view == UiView::Trunk;
        case Condition::PmrJob:
            return pmrMode && c.view == UiView::Pmr;
        case Condition::Engineering:
            return c.userLevelMask == 8;
        case Condition::NetworkLevel:
            return c.userLevelMask == 4 || c.userLevelMask == 8;
        case Condition::AnyAccessory:
            return c.accessory != 0;
        case Condition::RsmGps:
            return c.accessory == 2;
        case Condition::Acc1OrRsmGps:
            return c.accessory == 1 || c.accessory == 2;
    }
    return false;
}

bool Shown(const Rule& rule, int headRow, const UiContext& c) {
    const char head = rule.heads[static_cast<std::size_t>(headRow)];
    const bool byHead = head == 'x' || (head == 'b' && c.radioModeMask != 2);
    return byHead && Holds(rule.condition, c);
}

TEST(UiVisibility, EveryRuleOverEveryViewModeHeadAccessoryAndLevel) {
    int combinations = 0;
    for (UiView view : {UiView::Pmr, UiView::Trunk}) {
        for (int mode : {1, 2, 4}) {
            for (int row = 0; row < kRadioTypeRowCount; ++row) {
                for (int accessory = 0; accessory < 4; ++accessory) {
                    for (int level : {1, 2, 4, 8}) {
                        const RadioTypeRow& head = kRadioTypeRows[static_cast<std::size_t>(row)];
                        const UiContext c{
                            view,      mode, head.RadioTypeMask, head.PortableGeneration,
                            accessory, level};
                        const UiVisibility v = UiVisibilityOf(c);
                        for (const Rule& rule : kRules) {
                            ASSERT_EQ(v.*rule.flag, Shown(rule, row, c))
                                << rule.name << ": view " << static_cast<int>(view) << " mode "
                                << mode << " head " << head.text << " accessory " << accessory
                                << " level " << level;
                        }
                        ++combinations;
                    }
                }
            }
        }
    }
    EXPECT_EQ(combinations, 2 * 3 * 14 * 4 * 4);
}

TEST(UiVisibility, TheRulesThatCatchTheUsualMistakes) {
    // HM-B hides F1 only in Trunk Radio mode; a Multi Mode HM-B keeps it.
    EXPECT_FALSE(UiVisibilityOf({UiView::Trunk, 2, 2, 0, 0, 1}).f1Button);
    EXPECT_TRUE(UiVisibilityOf({UiView::Trunk, 4, 2, 0, 0, 1}).f1Button);
    // The Reserved entry shares the earlier portable's mask but has no call types or alarm.
    EXPECT_TRUE(UiVisibilityOf({UiView::Trunk, 2, 256, 0, 0, 1}).callTypesTab);
    EXPECT_FALSE(UiVisibilityOf({UiView::Trunk, 2, 256, 2, 0, 1}).callTypesTab);
    EXPECT_FALSE(UiVisibilityOf({UiView::Trunk, 2, 256, 2, 0, 1}).alarmGroup);
    // A PMR-only radio shows no trunk controls in the trunk view, and the reverse.
    EXPECT_FALSE(UiVisibilityOf({UiView::Trunk, 1, 16, 0, 0, 1}).serviceBeeps);
    EXPECT_FALSE(UiVisibilityOf({UiView::Pmr, 2, 16, 0, 0, 1}).muteLevels);
    // The Audio Levels tab needs the Network level or above.
    EXPECT_FALSE(UiVisibilityOf({UiView::Pmr, 1, 16, 0, 0, 2}).audioLevelsTab);
    EXPECT_TRUE(UiVisibilityOf({UiView::Pmr, 1, 16, 0, 0, 4}).audioLevelsTab);
}

}  // namespace
}  // namespace km

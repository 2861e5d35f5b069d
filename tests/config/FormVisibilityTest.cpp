// What the Identities and Selcall forms, the Decode dialog and the Radio Type form show for each
// head of the radio type list, in each radio mode and view.

#include <gtest/gtest.h>

#include <string_view>

#include "config/FormVisibility.h"
#include "config/RadioTypes.h"

namespace km {
namespace {

// The rows of the radio type list, 0..13: HM-A, HM-B, HM-C, HM-C Plus, HM-D, HM-E, HM-F, HM-F+,
// the earlier portable, KP8A, KP8B, Reserved, KP8C, KP8D. "x" shows, "." hides.
constexpr std::string_view kAllRows = "xxxxxxxxxxxxxx";
constexpr std::string_view kNoRow = "..............";
constexpr std::string_view kMobiles = "xxxxxxxx......";

HeadContext ContextOfRow(int row, int radioModeMask) {
    const RadioTypeRow& type = kRadioTypeRows[static_cast<std::size_t>(row)];
    return {HeadOfMask(type.RadioTypeMask), type.PortableGeneration, radioModeMask};
}

struct IdentitiesRule {
    const char* name;
    bool IdentitiesVisibility::*flag;
    std::string_view trunkView;    // a trunk or multi-mode radio in the trunk view
    std::string_view networkView;  // the same radio in the network view
};

TEST(FormVisibilityTest, IdentitiesPagesFollowTheHeadTheModeAndTheView) {
    using V = IdentitiesVisibility;
    const IdentitiesRule rules[] = {
        {"Radio Identity", &V::identity, kAllRows, kAllRows},
        {"Groups", &V::groups, kAllRows, kAllRows},
        {"5 Digit Dial", &V::fiveDigit, kAllRows, kAllRows},
        {"Facilities", &V::facilities, kAllRows, kAllRows},
        {"DTMF", &V::dtmf, kAllRows, kNoRow},
        {"Phone Book", &V::phonebook, kAllRows, kAllRows},
        // Not for the HM-B nor for the Reserved entry.
        {"Status", &V::status, "x.xxxxxxxxx.xx", "x.xxxxxxxxx.xx"},
        {"Call Dispatchers", &V::dispatchers, kNoRow, kNoRow},
        // HM-D, HM-E, HM-F and every portable.
        {"Data", &V::data, "....xxxxxxxxxx", kNoRow},
        {"Next Form -->", &V::next, kAllRows, kAllRows},
        {"Ignition Sense", &V::ignitionSense, kMobiles, kMobiles},
    };
    for (const int mode : {kModeTrunk, kModeMulti}) {
        for (const IdentitiesRule& rule : rules) {
            for (int row = 0; row < kRadioTypeRowCount; ++row) {
                const HeadContext context = ContextOfRow(row, mode);
                const auto at = static_cast<std::size_t>(row);
                EXPECT_EQ(IdentitiesVisibilityOf(context, true).*rule.flag,
                          rule.trunkView[at] == 'x')
                    << rule.name << ", row " << row << ", mode " << mode;
                EXPECT_EQ(IdentitiesVisibilityOf(context, false).*rule.flag,
                          rule.networkView[at] == 'x')
                    << rule.name << ", row " << row << ", mode " << mode;
            }
        }
    }
}

TEST(FormVisibilityTest, WithoutTrunkModeTheIdentitiesShowOnlyNextFormAndTheirHeadsControls) {
    for (const int mode : {0, kModePmr, kModeUnknown}) {
        for (int row = 0; row < kRadioTypeRowCount; ++row) {
            const IdentitiesVisibility v = IdentitiesVisibilityOf(ContextOfRow(row, mode), true);
            EXPECT_FALSE(v.identity || v.groups || v.fiveDigit || v.facilities || v.dtmf ||
                         v.phonebook || v.status || v.dispatchers || v.data)
                << "row " << row << ", mode " << mode;
            EXPECT_TRUE(v.next);
            EXPECT_EQ(v.ignitionSense, kMobiles[static_cast<std::size_t>(row)] == 'x') << row;
        }
    }
}

struct SelcallRule {
    const char* name;
    bool SelcallVisibility::*flag;
    std::string_view rows;
};

TEST(FormVisibilityTest, SelcallControlsFollowTheHeadOnceARadioModeIsSet) {
    using V = SelcallVisibility;
    const SelcallRule rules[] = {
        // HM-D, HM-E, HM-F, HM-F+, KP8B and KP8D.
        {"Free-dial Selcall", &V::freeDial, "....xxxx..x..x"},
        // Every head with a display but the earlier portable and the Reserved entry.
        {"Phone Book and Status", &V::phonebookAndStatus, "..xxxxxx.xx.xx"},
        {"Pause Timer While Off Cradle", &V::pauseOffCradle, kMobiles},
        {"Alarm Microphone", &V::alarmMicrophone, kMobiles},
        // Not for the earlier portable nor for the Reserved entry.
        {"Alarm Button Press", &V::alarmButtonPress, "xxxxxxxx.xx.xx"},
    };
    for (const SelcallRule& rule : rules) {
        for (int row = 0; row < kRadioTypeRowCount; ++row) {
            for (const int mode : {kModePmr, kModeTrunk, kModeMulti}) {
                EXPECT_EQ(SelcallVisibilityOf(ContextOfRow(row, mode)).*rule.flag,
                          rule.rows[static_cast<std::size_t>(row)] == 'x')
                    << rule.name << ", row " << row << ", mode " << mode;
            }
            EXPECT_FALSE(SelcallVisibilityOf(ContextOfRow(row, 0)).*rule.flag)
                << rule.name << ", row " << row << " without a radio mode";
        }
    }
}

struct HeadRule {
    const char* name;
    bool (*shown)(Head head);
    std::string_view rows;
};

TEST(FormVisibilityTest, HeadOnlyRulesOverTheRadioTypeList) {
    const HeadRule rules[] = {
        {"narrow display", &HasNarrowDisplay, "......xx......"},
        {"Decode external alert", &DecodeShowsExternalAlert, "xxxxxxxxx..x.."},
        {"Accessory", &AccessoryShown, ".........xx.xx"},
    };
    for (const HeadRule& rule : rules) {
        for (int row = 0; row < kRadioTypeRowCount; ++row) {
            EXPECT_EQ(rule.shown(ContextOfRow(row, kModePmr).head),
                      rule.rows[static_cast<std::size_t>(row)] == 'x')
                << rule.name << ", row " << row;
        }
    }
}

TEST(FormVisibilityTest, AJobWithoutAKnownHeadShowsNoHeadsControl) {
    const HeadContext none{HeadOfMask(0), 0, kModeMulti};
    const IdentitiesVisibility identities = IdentitiesVisibilityOf(none, true);
    EXPECT_FALSE(identities.data || identities.ignitionSense);
    EXPECT_TRUE(identities.status);
    const SelcallVisibility selcall = SelcallVisibilityOf(none);
    EXPECT_FALSE(selcall.freeDial || selcall.phonebookAndStatus || selcall.pauseOffCradle ||
                 selcall.alarmMicrophone);
    EXPECT_FALSE(HasNarrowDisplay(none.head) || AccessoryShown(none.head));
}

}  // namespace
}  // namespace km

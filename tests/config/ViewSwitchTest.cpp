// What the run-time state becomes when the main window builds a view.

#include <gtest/gtest.h>

#include "config/RadioTypes.h"
#include "config/ViewSwitch.h"

namespace km {
namespace {

TEST(ViewSwitchTest, AViewSetsItsImageItsRadioModeAndTheHmFHead) {
    struct Case {
        JobView view;
        int imageKind;
        int radioModeMask;
    };
    const Case cases[] = {{JobView::Trunk, kImageTrunk, kModeTrunk},
                          {JobView::Pmr, kImagePmr, kModePmr},
                          {JobView::Network, kImageNetwork, kModeTrunk}};
    for (const Case& c : cases) {
        for (const bool newJob : {false, true}) {
            MainState state;
            state.RadioModeMask = kModeMulti;
            state.RadioTypeMask = static_cast<int>(Head::Kp8BD);
            state.PortableGeneration = 2;
            EnterView(state, c.view, newJob);
            EXPECT_EQ(state.ImageKind, c.imageKind);
            EXPECT_EQ(state.RadioModeMask, c.radioModeMask);
            EXPECT_EQ(HeadOfMask(state.RadioTypeMask), Head::HmF);
            EXPECT_EQ(ViewStateOf(c.view).imageKind, c.imageKind);
            EXPECT_EQ(ViewStateOf(c.view).radioModeMask, c.radioModeMask);
        }
    }
}

TEST(ViewSwitchTest, ANewTrunkJobOrNetworkStartsOnNetworkOneAndANewPmrJobKeepsTheChoice) {
    struct Case {
        JobView view;
        bool newJob;
        int selector;
    };
    const Case cases[] = {{JobView::Trunk, true, 0},    {JobView::Network, true, 0},
                          {JobView::Pmr, true, 1},      {JobView::Trunk, false, 1},
                          {JobView::Network, false, 1}, {JobView::Pmr, false, 1}};
    for (const Case& c : cases) {
        MainState state;
        state.NetworkSelector = 1;
        EnterView(state, c.view, c.newJob);
        EXPECT_EQ(state.NetworkSelector, c.selector)
            << static_cast<int>(c.view) << " new " << c.newJob;
    }
}

TEST(ViewSwitchTest, OnlyEnteringTheNetworkViewFromAnotherTakesANewBaseline) {
    MainState state;
    state.ImageKind = kImageTrunk;
    EXPECT_TRUE(EnterView(state, JobView::Network, false));
    // Rebuilding the Network view keeps the baseline it has, a new network too.
    EXPECT_FALSE(EnterView(state, JobView::Network, false));
    EXPECT_FALSE(EnterView(state, JobView::Network, true));
    EXPECT_FALSE(EnterView(state, JobView::Pmr, false));
    EXPECT_TRUE(EnterView(state, JobView::Network, true));
    MainState fresh;
    EXPECT_TRUE(EnterView(fresh, JobView::Network, true));
}

}  // namespace
}  // namespace km

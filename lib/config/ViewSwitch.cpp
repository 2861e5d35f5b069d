#include "config/ViewSwitch.h"

#include "config/RadioTypes.h"

namespace km {

ViewState ViewStateOf(JobView view) {
    switch (view) {
        case JobView::Pmr:
            return {kImagePmr, kModePmr};
        case JobView::Network:
            return {kImageNetwork, kModeTrunk};
        case JobView::Trunk:
            break;
    }
    return {kImageTrunk, kModeTrunk};
}

bool EnterView(MainState& state, JobView view, bool newJob) {
    const ViewState entered = ViewStateOf(view);
    const bool enteringNetworkView = view == JobView::Network && state.ImageKind != kImageNetwork;
    if (newJob && view != JobView::Pmr) {
        state.NetworkSelector = 0;
    }
    state.ImageKind = entered.imageKind;
    state.RadioModeMask = entered.radioModeMask;
    state.RadioTypeMask = static_cast<int>(Head::HmF);
    return enteringNetworkView;
}

}  // namespace km

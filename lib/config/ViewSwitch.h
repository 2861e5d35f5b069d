#pragma once
// What the run-time state becomes when the main window builds a view.

#include "image/JobFiles.h"
#include "image/State.h"

namespace km {

// The image a view shows and the radio mode its forms take until the Radio Type form loads the
// job's own.
struct ViewState {
    int imageKind;
    int radioModeMask;
};
ViewState ViewStateOf(JobView view);

// Builds the state of `view`: its image and radio mode, and the HM-F head until the Radio Type
// form loads the job's own; a new trunk job or a new network starts on Network 1. True when the
// Network view is entered from another view, so that its network files become the baseline of
// the unsaved-changes test (rebuilding the Network view keeps the baseline it has).
bool EnterView(MainState& state, JobView view, bool newJob);

}  // namespace km

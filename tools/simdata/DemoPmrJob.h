#pragma once
// The PMR job of the demo radio (sim/data/demo.pmr).

#include "image/Images.h"

namespace km::simdata {

// The PMR template for an HM-F mobile in the TK band with a short list of named channels, made
// with the channel table's own store: a job every PMR form can show and that Program Radio takes
// as it is.
PmrJobImage DemoPmrJob();

}  // namespace km::simdata

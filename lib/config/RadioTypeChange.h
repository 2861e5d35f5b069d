#pragma once
// What choosing another radio type on the Radio Type form does to the job of the view, besides
// its header: the defaults that depend on the control head's display and on mobile or portable.
// The image takes them here whether or not the forms that show them exist; a form that exists
// stores before and loads after (app/forms/mobile/RadioTypeListener.h).
//
// Both jobs:
// - the message and menu texts (and in a PMR job the edit-function texts) take the new head's
//   default texts (config/TxtMap.h);
// - from a mobile to a portable, the four programmable keys get the portable defaults;
// - transmit audio input rows 1 and 3 of the audio levels become "+12" for a portable and "0"
//   for a mobile.
// PMR job only:
// - the transmit power levels are limited to the new head's lists: a portable has six levels
//   (high, medium and low at most index 5), a mobile five low levels (at most index 4).

#include "image/Images.h"

namespace km {

// `previousRow` and `newRow` are rows of the radio type list; a row outside it changes nothing.
void ApplyRadioTypeChange(TrunkJobImage& image, int previousRow, int newRow);
void ApplyRadioTypeChange(PmrJobImage& image, int previousRow, int newRow);

}  // namespace km

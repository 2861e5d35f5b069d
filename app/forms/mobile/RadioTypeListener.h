#pragma once
// How a change of radio type on the Radio Type form reaches every other form: the one place a form
// registers, once, for the effects of the change.
//
// The change itself is made on the image of the view (ApplyRadioTypeChange, config/
// RadioTypeChange.h), so that a job never keeps the old head's defaults whether or not the forms
// that show them exist. A form that shows a field the change touches, or that shows something
// that depends on the head, derives from RadioTypeListener; the object is registered while it
// lives. A change then runs in three steps:
//   1. BeforeRadioTypeChange: every listener's controls reach the image (its store pass), so that
//      nothing typed is lost and nothing shown is stale afterwards;
//   2. the Radio Type form shows the new head and the image takes the change;
//   3. RadioTypeChanged: every listener shows the image again (its load pass) and refreshes what
//      depends on the head.
//
// What each form shows at step 3:
//   Text Strings: the message, menu and edit-function texts of the new head.
//   User Interface: the head's picture (rows 0 and 1 hide it), the programmable keys and the audio
//     input levels from the image, and its head-dependent lists, in which a function the new head
//     does not offer falls back to the first entry.
//   Channel Options (PMR view): the transmit power lists of a portable or a mobile, with the
//     selections limited in the image, and the option controls of the new head.
//   Identities (to come): its head-dependent parts.
// A change of accessory on a portable applies the accessory-dependent User Interface settings (the
// microphone keys and what the store writes for the accessory).

#include <functional>
#include <vector>

namespace km {

struct RadioTypeChange {
    int previousRow;
    int newRow;
    bool mobileToPortable;
    bool pmrView;
};

struct AccessoryChange {
    int row;
    bool pmrView;
};

class RadioTypeListener {
  public:
    RadioTypeListener(const RadioTypeListener&) = delete;
    RadioTypeListener& operator=(const RadioTypeListener&) = delete;

    virtual void BeforeRadioTypeChange() = 0;
    virtual void RadioTypeChanged(const RadioTypeChange& change) = 0;
    virtual void AccessoryChanged(const AccessoryChange& /*change*/) {}

    // Runs a change of radio type through every live listener, in the order they were created:
    // each stores, `changeImage` runs, each is told.
    static void ChangeRadioType(const RadioTypeChange& change,
                                const std::function<void()>& changeImage);
    static void NotifyAccessoryChanged(const AccessoryChange& change);

  protected:
    RadioTypeListener();
    virtual ~RadioTypeListener();

  private:
    static std::vector<RadioTypeListener*>& Listeners();
    template <typename Call>
    static void NotifyEach(Call call);
};

}  // namespace km

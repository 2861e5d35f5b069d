#pragma once
// How the Radio Type form tells other forms that the radio type or the accessory changed. The
// forms that keep head-dependent defaults derive from RadioTypeListener; an object registers
// itself while it lives, so only the forms that exist hear the change.
//
// What each listener does with a change of radio type:
//   Text Strings: in the PMR view the 16 edit-function texts go back to the default column used for
//     every head but HM-D (or to the HM-D column when the new row is HM-D); the 48 (Trunk view) or
//     44 (PMR view) message texts and the 18 or 17 menu texts take the new head's defaults.
//   User Interface: shows the head's picture (rows 0 and 1 hide it), re-reads the programmable
//     key words 208..214 from the image (the Radio Type form has written the portable defaults
//     there when `mobileToPortable`), sets rows 0 and 2 of its value grid to "+12" for portables
//     and "0" for mobiles, and refreshes its head-dependent lists.
//   Channel Options (PMR view): rebuilds the transmit power lists for portables or mobiles.
//   Identities: refreshes its head-dependent parts.
// A change of accessory on a portable applies the accessory-dependent User Interface settings.

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

    virtual void RadioTypeChanged(const RadioTypeChange& change) = 0;
    virtual void AccessoryChanged(const AccessoryChange& /*change*/) {}

    // Tells every live listener, in the order they were created.
    static void NotifyRadioTypeChanged(const RadioTypeChange& change);
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

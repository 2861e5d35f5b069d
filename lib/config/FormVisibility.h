#pragma once
// What the Identities and Selcall forms, the Decode dialog and the Radio Type form show for the
// head of a job: pure functions of the head, the portable generation, the radio mode and the view.
// The User Interface form has rules of its own (config/UiVisibility.h).

#include "config/RadioTypes.h"

namespace km {

struct HeadContext {
    Head head;
    int portableGeneration;  // 2 for the Reserved entry, KP8C and KP8D
    int radioModeMask;       // 1 PMR Radio, 2 Trunk Radio, 4 Multi Mode Radio, 0 none yet
};

// The Reserved entry shares its mask with the earlier portable; its generation tells it apart.
constexpr bool IsReservedEntry(const HeadContext& context) {
    return context.head == Head::Portable0 && context.portableGeneration == 2;
}

// The pages of the Identities form, in their order, and the controls its heads decide.
struct IdentitiesVisibility {
    bool identity;
    bool groups;
    bool fiveDigit;
    bool facilities;
    bool dtmf;
    bool phonebook;
    bool status;
    bool dispatchers;
    bool data;
    bool next;
    bool ignitionSense;
};
IdentitiesVisibility IdentitiesVisibilityOf(const HeadContext& context, bool trunkView);

// What the Selcall form shows beyond its pages of plain fields.
struct SelcallVisibility {
    bool freeDial;            // free-dial selcall and the user-entered identity
    bool phonebookAndStatus;  // the Phone Book and Status pages
    bool pauseOffCradle;      // the timed reset's "Pause Timer While Off Cradle"
    bool alarmMicrophone;
    bool alarmButtonPress;
};
SelcallVisibility SelcallVisibilityOf(const HeadContext& context);

// Only the HM-F display is too narrow for some texts; the HM-F+ shares its head.
constexpr bool HasNarrowDisplay(Head head) {
    return head == Head::HmF;
}

// The Decode dialog leaves out the external alert for the KP8 models.
constexpr bool DecodeShowsExternalAlert(Head head) {
    return !IsKp8Head(head);
}

// The Radio Type form offers the accessory of the KP8 models only.
constexpr bool AccessoryShown(Head head) {
    return IsKp8Head(head);
}

}  // namespace km

#include "config/FormVisibility.h"

namespace km {
namespace {

bool TrunkMode(const HeadContext& context) {
    return (context.radioModeMask & (kModeTrunk | kModeMulti)) != 0;
}

// The heads whose radios take data messages.
bool DataHead(Head head) {
    return HeadIn(head,
                  {Head::HmD, Head::HmE, Head::HmF, Head::Portable0, Head::Kp8AC, Head::Kp8BD});
}

}  // namespace

IdentitiesVisibility IdentitiesVisibilityOf(const HeadContext& context, bool trunkView) {
    const bool trunk = TrunkMode(context);
    return {.identity = trunk,
            .groups = trunk,
            .fiveDigit = trunk,
            .facilities = trunk,
            .dtmf = trunk && trunkView,
            .phonebook = trunk,
            .status = trunk && context.head != Head::HmB && !IsReservedEntry(context),
            .dispatchers = false,
            .data = trunk && DataHead(context.head) && trunkView,
            .next = true,
            .ignitionSense = IsMobileHead(context.head)};
}

SelcallVisibility SelcallVisibilityOf(const HeadContext& context) {
    const bool mode = context.radioModeMask != 0;
    const Head head = context.head;
    const bool mobile = IsMobileHead(head);
    return {
        .freeDial = mode && HeadIn(head, {Head::HmE, Head::HmF, Head::HmD, Head::Kp8BD}),
        .phonebookAndStatus = mode && HeadIn(head, {Head::HmC, Head::HmE, Head::HmF, Head::HmD,
                                                    Head::Kp8AC, Head::Kp8BD}),
        .pauseOffCradle = mode && mobile,
        .alarmMicrophone = mode && mobile,
        .alarmButtonPress = mode && head != Head::Portable0,
    };
}

}  // namespace km

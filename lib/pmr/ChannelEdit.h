#pragma once
// The rules of the Channel Editor: what is checked when a field is left or a box is ticked, and
// the final check when the dialog is closed with OK. They work on the dialog's fields as typed
// (ChannelEditFields), so the dialog only copies its controls in and out around each rule. Here
// the program knows the radio regulations: the band limits, the 5 / 6.25 / 7.5 kHz raster, the
// 800 MHz band split, two receive frequencies the radio cannot use and the Australian UHF CB
// band plan.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/Person.h"
#include "pmr/ChannelTable.h"
#include "pmr/Frequency.h"

namespace km::pmr {

// The controls the rules read and change, as the dialog shows them.
struct ChannelEditFields {
    std::string number;
    std::string name;
    std::string rx;  // megahertz as typed
    std::string tx;  // empty: transmit disabled
    bool txDisabled = false;
    std::uint8_t rxCode = 0;  // code bytes of the CTCSS/DCS lists
    std::uint8_t txCode = 0;
    Power power = Power::Low;
    Bandwidth bandwidth = Bandwidth::k12_5;
    bool selectableCtcss = false;
    bool communityRepeater = false;
    bool rxLockout = false;
    bool openSelcall = false;
    bool selcallEnabled = false;
    std::string encode;        // empty: none
    std::string pttOffEncode;  // empty: none
    // Set when the user leaves the name, cleared when a frequency is left: while clear, the final
    // check may name an Australian CB channel.
    bool nameEdited = false;
    // A name too wide for the display that the user chose to keep: not asked about again.
    std::string wideNameKept;
};

// What the rules need to know about the job and the edit.
struct ChannelEditContext {
    const ChannelTable& table;
    std::optional<std::size_t> replacing;  // position of the entry being edited
    BandLimits band;                       // limits of the job's band for the country
    int countryCode = 0;
    int radioTypeMask = 0;
    bool hmFPlus = false;  // the HM-F+ head shows every name in full
};

enum class EditField { None, Number, Name, Rx, Tx, Encode, PttOffEncode };

// The dialog's fields filled from an entry, and an entry read back from them (the fields the
// rules do not cover are the dialog's own).
ChannelEditFields FieldsOf(const ChannelEntry& entry);
void ReadBack(const ChannelEditFields& fields, ChannelEntry& entry);

// Leaving a field. False: the message has been shown and the focus goes back to the field.
bool NumberLeft(const ChannelEditFields& fields, const ChannelEditContext& context, Person& person);
bool NameLeft(ChannelEditFields& fields, const ChannelEditContext& context, Person& person);
bool FrequencyLeft(ChannelEditFields& fields, bool transmit, const ChannelEditContext& context,
                   Person& person);
bool EncodeChanged(std::string_view text, Person& person);

// Ticking and choosing; each corrects the fields as the rule says.
void TxDisabledTicked(ChannelEditFields& fields, Person& person);
void RxLockoutTicked(ChannelEditFields& fields, Person& person);
void OpenSelcallTicked(ChannelEditFields& fields, Person& person);
void CommunityRepeaterTicked(const ChannelEditFields& fields, Person& person);
void CodeChanged(ChannelEditFields& fields, bool transmit, const ChannelEditContext& context,
                 Person& person);
void SelectableCtcssTicked(ChannelEditFields& fields, Person& person);
void PowerChanged(ChannelEditFields& fields, const ChannelEditContext& context, Person& person);
void BandwidthChanged(ChannelEditFields& fields, const ChannelEditContext& context, Person& person);

struct FinalCheck {
    bool close = false;
    EditField focus = EditField::None;
};
// The check when the dialog is closed with OK. `nameFocused`: the name field has the focus, so
// the name is the user's.
FinalCheck FinalChannelCheck(ChannelEditFields& fields, const ChannelEditContext& context,
                             bool nameFocused, Person& person);

// The name the final check gives a channel of the Australian CB band ("CB CH5", "CB Rep 1",
// "CB CH1-2"), or nothing when the receive frequency is no CB channel.
std::optional<std::string> CbChannelName(std::int64_t rxHz, std::int64_t txHz);

// Messages of the dialog (the raster's is fields::kNotOnRasterMessage).
inline constexpr std::string_view kNoNumberText = "You must define a Channel Number";
inline constexpr std::string_view kDuplicateNumberText =
    "Duplicate Channel Numbers are not allowed.";
inline constexpr std::string_view kTxWhileDisabledText =
    "Cannot specify Transmit Frequency if Transmit Disabled flag is set.";
inline constexpr std::string_view kUndefinedFrequencyText =
    "Undefined Frequency\nMust be between %dMHz and %dMHz";
inline constexpr std::string_view kX8TxText =
    "Invalid Frequency.                                \n"
    "Tx Frequencies 825MHz to 851MHz cannot be used.";
inline constexpr std::string_view kX8RxText =
    "Invalid Frequency.                                \n"
    "X8 Band Receive Frequency Range is 851-870MHz.";
inline constexpr std::string_view kOutOfBandLeftText =
    "Frequency %ldMHz is out of band.\nMust be between %ldMHz and %ldMHz                           "
    " "
    "\n\nFrequencies entered outside band may violate type approval.";
inline constexpr std::string_view kNotCbChannelText =
    "The frequency entered is not a valid Australian CB channel.";
inline constexpr std::string_view kCbMediumLeftText =
    "Australian CB channels (frequencies 476.425 - 477.4125MHz)                          \n"
    "may not use Medium power.";
inline constexpr std::string_view kCbNoToneLeftText =
    "Australian CB frequencies 476.525 and 477.275MHz                                 \n"
    "(channels 5 and 35), may not have CTCSS.";
inline constexpr std::string_view kUnusableRxText =
    "Rx Frequencies 360MHz and 450MHz cannot be used.";
inline constexpr std::string_view kDisableTransmitQuestion =
    "If Transmit Disabled flag is set, then Transmit Frequency will be set to 0MHz.              "
    "       \nAre you sure you want to disable transmit on this channel? ";
inline constexpr std::string_view kOpenSelcallRxLockoutText =
    "Open Selcall and Rx Lockout together on a Selcall channel is invalid.";
inline constexpr std::string_view kCommunityRepeaterText =
    "Community Repeater requires a Transmit and Receive CTCSS tone to be defined.";
inline constexpr std::string_view kCbNoToneTxCodeText =
    "Australian CB frequencies 476.525 and 477.275MHz                       \n"
    "(channels 5 and 35), can not have CTCSS.";
inline constexpr std::string_view kSelectableWithDcsText =
    "Cannot enable \"Selectable CTCSS\" if DCS is enabled";
inline constexpr std::string_view kSelectableWithoutToneText =
    "Selectable CTCSS requires a Transmit or Receive CTCSS tone to be defined.";
inline constexpr std::string_view kCbMediumPowerText =
    "Australian CB channels (frequencies 476.425 - 477.4125MHz)                   \n"
    "may not use Medium power.";
inline constexpr std::string_view kCbBandwidthText =
    "Australian CB frequencies 476.425 - 477.4125MHz must be                       \n"
    "set to 12.5kHz channel bandwidth.";
inline constexpr std::string_view kUndefinedRxTxText =
    "Undefined Rx/Tx Frequency\nMust be between %dMHz and %dMHz";
inline constexpr std::string_view kOutOfBandText =
    "Frequency %ldMHz is out of band.\nMust be between %ldMHz and %ldMHz                       "
    "\n\nFrequencies entered outside band may violate type approval.";
inline constexpr std::string_view kRxNotCbText =
    "The RX frequency entered is not an Australian CB channel.";
inline constexpr std::string_view kTxNotCbText =
    "The TX frequency entered is not an Australian CB channel.";
inline constexpr std::string_view kCbDataOnlyText =
    "Australian CB frequencies 476.950 and 476.975Mhz (Channels 22 and 23)                      \n"
    "are for Data only (no Voice). Transmit will be disabled.";
inline constexpr std::string_view kCbNotPermittedText =
    "Australian CB frequencies 476.9375, 476.9625 and 476.9875MHz                       \n"
    "(Channels 61, 62 and 63) are not permitted. Transmit disabled.";
inline constexpr std::string_view kCbNoToneText =
    "Australian CB frequencies 476.525 and 477.275MHz                       \n"
    "(channels 5 and 35), may not have CTCSS.";
inline constexpr std::string_view kCbMobilePowerText =
    "Australian CB frequencies 476.425 - 477.4125MHz Mobile                         \n"
    "Transmitter power will be automatically limited to 5W.";
// A frequency text that is no number, in the style of the toolkit's conversion errors.
inline constexpr std::string_view kNotAFrequencyText = "'%s' is not a valid frequency.";

}  // namespace km::pmr

#pragma once
// The rules of the Channel Options pages beyond the range checks of their rows (OptionRows.h):
// the power lists of each radio type, which controls a radio type shows, the power-on mode,
// channel and zone worked out at every store, the checks of the channel and zone fields, the
// values an image holds that the pages show otherwise, and the DTMF sequences with their digit
// count.

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "config/RadioTypes.h"
#include "core/Person.h"
#include "fields/FieldOps.h"
#include "image/Images.h"
#include "pmr/ChannelTable.h"
#include "pmr/OptionRows.h"
#include "pmr/Zones.h"

namespace km::pmr {

inline constexpr std::string_view kZoneNotDefinedText =
    "Zone has not been defined in the zone table.";
inline constexpr std::string_view kDefineZoneFirstText = "Please define the Power-On Zone first.";
inline constexpr std::string_view kChannelNotInZoneText =
    "This Channel is not in the defined Zone.";
inline constexpr std::string_view kDualWatchActiveText =
    "Dual-Watch is now active on all channels.       \n"
    "To disable Dual-Watch this field must be set to <blank>.";
inline constexpr std::string_view kSwitchNeedsSelectText =
    "To enable Zone/Channel Switch option either:                      \n"
    "   The top rotary Select Switch must be defined as Channel select.                      \n"
    "   or the top ABC Switch must be defined as Zone select.                      \n ";

// ---- Power lists ------------------------------------------------------------------------------

// The list a power row (high, medium or low) offers for a radio type: six levels for a portable;
// eleven high and medium and five low levels for a mobile.
std::span<const fields::Choice> PowerList(const fields::FieldRow& row, int radioTypeMask);

// The power level indexes as the image holds them.
struct PowerLevels {
    int high = 0;
    int medium = 0;
    int low = 0;
};
PowerLevels PowerLevelsOf(const PmrJobImage& image);

// ---- Visibility -------------------------------------------------------------------------------

// Whether the control of `row` shows for the head. Every control of these pages needs a radio
// mode; the rows no rule names show for every head, and the carried fields never show.
bool OptionShown(const fields::FieldRow& row, Head head, bool radioModeSet);

// The heads that have zones ("Defined Zone" and the zones page).
bool HasZones(int radioTypeMask);

// ---- Power-on ---------------------------------------------------------------------------------

// "Zone/Channel Switch" is offered to second generation portables whose top rotary select switch
// is not in continuous rotation.
bool SwitchChoiceOffered(int portableGeneration, const ZoneSwitches& switches);

// The "Power-On" radio group: the switches may leave it no choice but "Zone/Channel Switch".
struct PowerOnGroup {
    bool enabled = true;
    bool forcedToSwitch = false;
};
PowerOnGroup PowerOnGroupOf(bool zoneMode, const ZoneSwitches& switches);

// The choice a click leaves: "Zone/Channel Switch" needs the select switch or the A/B/C switch to
// select; otherwise it is refused with a warning and "Last Zone/Channel" is chosen.
int PowerOnChoiceClicked(int choice, const ZoneSwitches& switches, Person& person);

// What the page shows of the power-on fields for a mode.
struct PowerOnFields {
    bool channel = false;
    bool zone = false;
};
PowerOnFields PowerOnFieldsShown(int mode, int radioTypeMask);

struct PowerOnChoice {
    int mode = options_rows::kPowerOnLast;  // the radio group's index
    std::optional<int> definedChannel;      // "Defined Chan", empty: nullopt
    std::optional<int> definedZone;         // "Defined Zone"
    bool zoneMode = false;
    ZoneSwitches switches;
    int headVariant = 0;
};

// The mode the radio is given: the head variant and switches decide whether the switch mode is
// possible.
int PowerOnModeToStore(const PowerOnChoice& choice);

// Writes the power-on mode, zone and channel. Runs after the channel table and the zones have
// been stored: it reads the first visible entry and the zone records.
void StorePowerOn(const PowerOnChoice& choice, PmrJobImage& image);

// ---- Field checks -----------------------------------------------------------------------------

enum class ExitResult {
    Pass,
    Refuse,        // the focus goes back into the field
    ClearChannel,  // the channel field is emptied
};

// "Defined Zone" left: 1..20, and the zone must have a name.
bool DefinedZoneLeft(std::string_view zone, const ZoneGrids& grids, Person& person);

// "Defined Chan" left: 0..999 and a channel of the table; in zone mode the zone grid shown is
// written into the image first, then the channel must be in the defined zone.
ExitResult DefinedChannelLeft(std::string_view channel, std::string_view zone,
                              const ChannelTable& table, const ZoneGrids& grids, PmrJobImage& image,
                              Person& person);

// A Goto channel left: 0..999, and a warning (only) when the table does not hold the channel.
bool GotoChannelLeft(std::string_view channel, const ChannelTable& table, Person& person);

// The dual watch channel left: 0..999 and a channel of the table; a channel set turns dual watch
// on for every channel, which the person is told.
bool DualWatchChannelLeft(std::string_view channel, const ChannelTable& table, Person& person);

// ---- Load ---------------------------------------------------------------------------------------

// The value the page shows for a stored one: encodes of 255 show empty; economiser times the radio
// cannot take show the radio's defaults. Other rows show what they hold.
fields::FieldValue ShownOnLoad(const fields::FieldRow& row, const fields::FieldValue& stored);

// Images of a program version up to 300 hold no data and GPS settings: the page shows the rows'
// defaults.
bool DataSettingsStored(const PmrJobImage& image);

// ---- DTMF sequences ---------------------------------------------------------------------------

// The digits of the sequence record at `at` (options_rows::kDtmf1 or kDtmf2): as many as its count
// says, at most 16.
std::string DtmfSequenceOf(std::span<const std::uint8_t> bytes, int at);
// Writes the whole record for `text` when it differs from the sequence held (an unchanged one
// keeps its bytes); characters other than 0-9 * # - are dropped.
void StoreDtmfSequence(std::span<std::uint8_t> bytes, int at, std::string_view text);
// The characters a DTMF sequence takes.
bool IsDtmfCharacter(char c);

}  // namespace km::pmr

// The radio-wide conventional settings of a PMR job: their rows' encodings where they scale, blank
// or share bytes, the power-on mode, zone and channel worked out at a store, the checks of the
// channel and zone fields, the power lists per radio type, the visibility rules, and the DTMF
// sequences with their count. Offsets are the image's own.

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "ScriptedPerson.h"
#include "config/RadioTypeChange.h"
#include "fields/FieldOps.h"
#include "pmr/ChannelOptions.h"
#include "pmr/SclMap.h"

namespace km::pmr {
namespace {

namespace orows = options_rows;
using fields::FieldRow;
using fields::FieldValue;

constexpr std::size_t kZoneArea = 0xEA2C;

std::size_t Zone(int z) {
    return kZoneArea + 800 * static_cast<std::size_t>(z);
}
std::size_t Entry(int z, int e) {
    return Zone(z) + 32 + 3 * static_cast<std::size_t>(e);
}

struct Job {
    Job() {
        image->SetU16(14, 5860);
        image->SetU16(0x1D10, 0xFFFF);  // pager channel and power-on zone: none
        image->SetU16(0x1D16, 0xFFFF);
        image->SetU16(0x1D22, 0xFFFF);
        for (int z = 0; z < 20; ++z) {
            image->SetU8(Zone(z) + 15, 63);
            for (int e = 0; e < 255; ++e) {
                image->SetU16BE(Entry(z, e), 0x03FF);
                image->SetU8(Entry(z, e) + 2, 0xFF);
            }
        }
    }
    // Zone `z` (0-based) named and numbered, its entry `e` channel `channel` in grid row `row`.
    void NameZone(int z) { image->SetU8(Zone(z) + 15, static_cast<std::uint8_t>(z + 1)); }
    void PutEntry(int z, int e, int channel, int row) {
        image->SetU16BE(Entry(z, e), static_cast<std::uint16_t>(channel));
        image->SetU8(Entry(z, e) + 2, static_cast<std::uint8_t>(row));
    }
    FieldValue Read(const FieldRow& row) const {
        return fields::ReadField(row, image->Bytes(), static_cast<std::size_t>(row.at.pmr));
    }
    void Write(const FieldRow& row, const FieldValue& value) {
        fields::WriteField(row, image->Bytes(), static_cast<std::size_t>(row.at.pmr), value);
    }
    int PowerOnZoneBits() const { return image->U8(0x1D11) >> 2; }
    std::unique_ptr<PmrJobImage> image = std::make_unique<PmrJobImage>();
};

ChannelTable TableOf(std::initializer_list<int> numbers) {
    ChannelTable table;
    for (int number : numbers) {
        ChannelEntry entry = DefaultEntry(450000000);
        entry.SetNumber(number);
        table.Add(entry);
    }
    return table;
}

// ---- Encodings ------------------------------------------------------------------------------

struct ScaledCase {
    std::string_view id;
    std::size_t offset;
    int width;  // 1 or 2 bytes
    std::int64_t typed;
    std::uint16_t stored;
    std::int64_t shown;
};

TEST(ChannelOptionsTest, ScaledFieldsStoreTheRadiosUnitsAndLoadBackRounded) {
    const ScaledCase cases[] = {
        {"options.priority_interval", 0x1D28, 2, 850, 8, 800},
        {"options.out_of_cradle_alert", 0x1D2A, 2, 25, 250, 25},
        {"options.repeater_tail", 0x1D12, 1, 1200, 12, 1200},
        {"options.dual_watch_interval", 0x1D34, 1, 25500, 255, 25500},
        {"options.dual_watch_pause", 0x1D35, 1, 1000, 10, 1000},
        {"options.revote_dwell", 0x1D3E, 2, 300000, 30000, 300000},
        {"options.dtmf_tone_period", 0x1D5E, 2, 2550, 255, 2550},
        {"options.dtmf_let", 0x1D62, 2, 10000, 1000, 10000},
        {"options.forced_revote", 0x1D3A, 2, 31, 1860, 31},  // "PTT-Rel"
    };
    for (const ScaledCase& c : cases) {
        Job job;
        const FieldRow& row = orows::Row(c.id);
        ASSERT_EQ(row.at.pmr, static_cast<std::int32_t>(c.offset)) << c.id;
        job.Write(row, c.typed);
        const int stored = c.width == 2 ? job.image->U16(c.offset) : job.image->U8(c.offset);
        EXPECT_EQ(stored, c.stored) << c.id;
        EXPECT_EQ(job.Read(row), FieldValue(c.shown)) << c.id;
    }
}

TEST(ChannelOptionsTest, ForcedRevoteLoadsWholeMinutesAndShowsItsListTexts) {
    Job job;
    const FieldRow& row = orows::Row("options.forced_revote");
    job.image->SetU16(0x1D3A, 90);
    EXPECT_EQ(fields::FormatField(row, job.Read(row)), "1");
    job.image->SetU16(0x1D3A, 1860);
    EXPECT_EQ(fields::FormatField(row, job.Read(row)), "PTT-Rel");
    job.image->SetU16(0x1D3A, 0);
    EXPECT_EQ(fields::FormatField(row, job.Read(row)), "Disabled");
}

TEST(ChannelOptionsTest, HoldOffKeepsTheLowBitsAndAZeroHoldOffShowsEmpty) {
    Job job;
    const FieldRow& onRow = orows::Row("options.ptt_on_holdoff");
    job.image->SetU16(0x1F28, 0b000011);
    EXPECT_EQ(job.Read(onRow), FieldValue(std::string())) << "a word below 64 shows empty";
    job.Write(onRow, std::int64_t{10});
    EXPECT_EQ(job.image->U16(0x1F28), 0x0283);
    job.Write(onRow, std::string());
    EXPECT_EQ(job.image->U16(0x1F28), 0x0003);

    const FieldRow& offRow = orows::Row("options.ptt_off_holdoff");
    job.image->SetU16(0x1F2C, 0xFFC5);
    EXPECT_EQ(job.Read(offRow), FieldValue(std::int64_t{1023}));
    EXPECT_TRUE(fields::CheckField(offRow, std::int64_t{1000}).has_value());
    job.Write(offRow, std::int64_t{999});
    EXPECT_EQ(job.image->U16(0x1F2C), (999 << 6) | 0x05);
}

TEST(ChannelOptionsTest, FieldsSharingAByteLeaveEachOthersBits) {
    Job job;
    job.image->SetU8(0x1D24, 0x02);                               // zone mode
    job.Write(orows::Row("options.reversion"), std::int64_t{0});  // box clear: bit 2 set
    job.Write(orows::Row("options.ffsk_status_messages"), std::int64_t{1});
    job.Write(orows::Row("options.dont_display_chan_number"), std::int64_t{1});
    EXPECT_EQ(job.image->U8(0x1D24), 0x02 | 0x04 | 0x40 | 0x01);
    EXPECT_TRUE(FfskStatusMessages(*job.image)) << "the selcall form reads the same bit";

    job.image->SetU16(0x1D10, 0xFFFF);
    job.Write(orows::kPowerOnZone, std::int64_t{5});
    EXPECT_EQ(job.image->U8(0x1D11), (5 << 2) | 0x03) << "the pager channel's top bits stay";
    EXPECT_EQ(job.Read(orows::Row("options.pager_channel")), FieldValue(std::string()));

    job.image->SetU8(0x1D0E, 0x00);
    job.Write(orows::kMediumPower, std::int64_t{9});
    EXPECT_EQ(job.image->U8(0x1D0E), 0x90);
    job.image->SetU8(0x1E62, 0x08);
    job.Write(orows::Row("options.ffsk_message_queue"), std::int64_t{2});
    EXPECT_EQ(job.image->U8(0x1E62), 0x28);
}

TEST(ChannelOptionsTest, StoredValuesThePagesShowOtherwise) {
    struct Case {
        std::string_view id;
        std::int64_t stored;
        FieldValue shown;
    };
    const Case cases[] = {
        {"options.ptt_on_encode", 255, std::string()},
        {"options.ptt_on_encode", 0, std::string()},
        {"options.out_of_cradle_encode", 250, std::int64_t{250}},
        {"options.econ_awake", 0, std::int64_t{70}},
        {"options.econ_awake", 10000, std::int64_t{70}},
        {"options.econ_awake", 9999, std::int64_t{9999}},
        {"options.econ_sleep", 0, std::int64_t{0}},
        {"options.econ_sleep", 12000, std::int64_t{800}},
        {"options.econ_pause", 10000, std::int64_t{2000}},
        {"options.scan_restart", 255, std::int64_t{255}},
    };
    for (const Case& c : cases) {
        Job job;
        const FieldRow& row = orows::Row(c.id);
        job.Write(row, c.stored == 0 && row.blankRaw == 0 ? FieldValue(std::string())
                                                          : FieldValue(std::int64_t{0}));
        if (row.encoding == fields::Encoding::U8) {
            job.image->SetU8(static_cast<std::size_t>(row.at.pmr),
                             static_cast<std::uint8_t>(c.stored));
        } else {
            job.image->SetU16(static_cast<std::size_t>(row.at.pmr),
                              static_cast<std::uint16_t>(c.stored));
        }
        EXPECT_EQ(ShownOnLoad(row, job.Read(row)), c.shown) << c.id << " " << c.stored;
    }
}

TEST(ChannelOptionsTest, DataSettingsAreStoredOnlyAfterVersion300) {
    Job job;
    job.image->SetU16(14, 300);
    EXPECT_FALSE(DataSettingsStored(*job.image));
    job.image->SetU16(14, 301);
    EXPECT_TRUE(DataSettingsStored(*job.image));
}

// ---- DTMF sequences -------------------------------------------------------------------------

TEST(ChannelOptionsTest, ADtmfSequenceIsStoredWithItsCountAndFill) {
    Job job;
    StoreDtmfSequence(job.image->Bytes(), orows::kDtmf1, "12*#");
    std::vector<std::uint8_t> expected = {0x00, 0x04, 0x12, 0xBC};
    expected.resize(12, 0xFF);
    expected.resize(24, 0x00);
    const auto bytes = job.image->Bytes().subspan(0x1D64, 24);
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.end()), expected);
    EXPECT_EQ(DtmfSequenceOf(job.image->Bytes(), orows::kDtmf1), "12*#");
    EXPECT_EQ(DtmfSequenceOf(job.image->Bytes(), orows::kDtmf2), "") << "a zero record is empty";

    StoreDtmfSequence(job.image->Bytes(), orows::kDtmf2, "0000000000000000");
    EXPECT_EQ(job.image->U8(0x1D7D), 16);
    EXPECT_EQ(DtmfSequenceOf(job.image->Bytes(), orows::kDtmf2), "0000000000000000");
    EXPECT_EQ(job.image->U16(0x1D86), 0xFFFF);
}

TEST(ChannelOptionsTest, ADtmfCountIsReadClampedAndAnUnchangedSequenceIsNotRewritten) {
    Job job;
    StoreDtmfSequence(job.image->Bytes(), orows::kDtmf1, "1-2");
    job.image->SetU8(0x1D65, 200);  // a count past the record's sixteen digits
    EXPECT_EQ(DtmfSequenceOf(job.image->Bytes(), orows::kDtmf1), "1-2");
    job.image->SetU8(0x1D65, 2);
    EXPECT_EQ(DtmfSequenceOf(job.image->Bytes(), orows::kDtmf1), "1-");
    job.image->SetU8(0x1D70, 0x55);  // a byte the radio ignores
    StoreDtmfSequence(job.image->Bytes(), orows::kDtmf1, "1-");
    EXPECT_EQ(job.image->U8(0x1D70), 0x55);
    StoreDtmfSequence(job.image->Bytes(), orows::kDtmf1, "1E2x3");
    EXPECT_EQ(DtmfSequenceOf(job.image->Bytes(), orows::kDtmf1), "123") << "E is no DTMF key";
    EXPECT_EQ(job.image->U8(0x1D70), 0x00);
}

// ---- Power-on -------------------------------------------------------------------------------

TEST(ChannelOptionsTest, TheSwitchModeIsStoredOnlyWhereTheHeadAndSwitchesAllowIt) {
    struct Case {
        int mode;
        int headVariant;
        int selectSwitch;
        bool abcZoneSelect;
        bool zoneMode;
        int stored;
    };
    const Case cases[] = {
        {2, 0, 1, true, true, 1},  // only the second generation portables power on at switches
        {0, 0, 0, false, false, 0},
        {0, 2, 1, false, false, 2},  // a channel select switch makes it the switch mode
        {0, 2, 2, false, false, 2},
        {0, 2, 0, true, true, 2},  // the A/B/C switch selecting zones in zone mode
        {0, 2, 0, true, false, 0},
        {2, 2, 0, false, false, 1},  // no switch selects: last zone/channel
        {2, 2, 0, true, false, 2},
        {2, 2, 3, true, true, 1},  // continuous rotation never stores mode 2
        {0, 2, 3, true, true, 0},
        {1, 2, 3, false, false, 1},
    };
    for (const Case& c : cases) {
        PowerOnChoice choice{.mode = c.mode,
                             .zoneMode = c.zoneMode,
                             .switches = {c.selectSwitch, c.abcZoneSelect},
                             .headVariant = c.headVariant};
        EXPECT_EQ(PowerOnModeToStore(choice), c.stored)
            << c.mode << " " << c.headVariant << " " << c.selectSwitch << " " << c.abcZoneSelect;
    }
}

TEST(ChannelOptionsTest, SwitchModeInZoneModePowersOnInTheFirstZoneAtItsFirstChannel) {
    Job job;
    job.NameZone(0);
    job.NameZone(1);
    job.PutEntry(0, 0, 42, 3);
    job.PutEntry(0, 1, 7, 0);
    job.PutEntry(1, 0, 9, 0);
    job.image->SetU16(0x1D22, 5);
    StorePowerOn({.mode = 2, .zoneMode = true, .switches = {0, true}, .headVariant = 2},
                 *job.image);
    EXPECT_EQ(job.image->U16(0x1D18), 2);
    EXPECT_EQ(job.PowerOnZoneBits(), 1);
    EXPECT_EQ(job.image->U16(0x1D16), 42);
    EXPECT_EQ(job.image->U8(0x1D11) & 0x03, 0x03) << "the pager channel's bits stay";
}

TEST(ChannelOptionsTest, PowerOnChannelAndZoneFollowTheModeStored) {
    struct Case {
        const char* what;
        PowerOnChoice choice;
        bool zonesUsed;
        int mode;
        int zone;
        int channel;
    };
    const Case cases[] = {
        {"defined, both given",
         {.mode = 0, .definedChannel = 12, .definedZone = 2, .zoneMode = true},
         true,
         0,
         2,
         12},
        {"defined, no zone mode",
         {.mode = 0, .definedChannel = 12, .definedZone = 2},
         true,
         0,
         63,
         12},
        {"defined, channel empty", {.mode = 0, .zoneMode = true}, true, 0, 63, 5},
        {"last", {.mode = 1, .zoneMode = true}, true, 1, 2, 5},
        {"last, no zones", {.mode = 1}, false, 1, 63, 5},
        {"switch without zone mode",
         {.mode = 2, .switches = {1, false}, .headVariant = 2},
         true,
         2,
         2,
         5},
        {"switch, zone without entries",
         {.mode = 2, .zoneMode = true, .switches = {1, false}, .headVariant = 2},
         true,
         2,
         2,
         0xFFFF},
        {"switch, no zone",
         {.mode = 2, .zoneMode = true, .switches = {1, false}, .headVariant = 2},
         false,
         2,
         63,
         0xFFFF},
    };
    for (const Case& c : cases) {
        Job job;
        if (c.zonesUsed) {
            job.NameZone(1);  // zone 2 is the first in use
        }
        job.image->SetU16(0x1D22, 5);
        StorePowerOn(c.choice, *job.image);
        EXPECT_EQ(job.image->U16(0x1D18), c.mode) << c.what;
        EXPECT_EQ(job.PowerOnZoneBits(), c.zone) << c.what;
        EXPECT_EQ(job.image->U16(0x1D16), c.channel) << c.what;
    }
}

TEST(ChannelOptionsTest, TheSwitchesAreReadFromTheUserInterfaceOptions) {
    Job job;
    EXPECT_EQ(ZoneSwitchesOf(*job.image).selectSwitchMode, 0);
    EXPECT_FALSE(ZoneSwitchesOf(*job.image).abcSwitchZoneSelect);
    job.image->SetU16(0x0138, 3);
    job.image->SetU8(0x012F, 0x2A);  // the A/B/C switch's use in the high nibble: zone select
    EXPECT_EQ(ZoneSwitchesOf(*job.image).selectSwitchMode, 3);
    EXPECT_TRUE(ZoneSwitchesOf(*job.image).abcSwitchZoneSelect);
    job.image->SetU8(0x012F, 0x12);
    EXPECT_FALSE(ZoneSwitchesOf(*job.image).abcSwitchZoneSelect);
}

TEST(ChannelOptionsTest, ThePowerOnGroupAndItsSwitchChoiceFollowTheSwitches) {
    EXPECT_TRUE(SwitchChoiceOffered(2, {0, false}));
    EXPECT_FALSE(SwitchChoiceOffered(2, {3, true}));
    EXPECT_FALSE(SwitchChoiceOffered(0, {1, false}));

    struct Case {
        bool zoneMode;
        ZoneSwitches switches;
        bool forced;
    };
    const Case cases[] = {
        {false, {0, true}, false}, {false, {1, false}, true}, {false, {2, false}, true},
        {true, {0, true}, true},   {true, {2, false}, true},  {true, {3, false}, false},
    };
    for (const Case& c : cases) {
        const PowerOnGroup group = PowerOnGroupOf(c.zoneMode, c.switches);
        EXPECT_EQ(group.forcedToSwitch, c.forced);
        EXPECT_EQ(group.enabled, !c.forced);
    }

    testing::ScriptedPerson person;
    EXPECT_EQ(PowerOnChoiceClicked(2, {0, false}, person), 1);
    ASSERT_EQ(person.shown.size(), 1u);
    EXPECT_EQ(person.shown[0].kind, BoxKind::Warning);
    EXPECT_EQ(person.shown[0].text,
              "To enable Zone/Channel Switch option either:                      \n   The top "
              "rotary Select Switch must be defined as Channel select.                      \n   "
              "or the top ABC Switch must be defined as Zone select.                      \n ");
    EXPECT_EQ(PowerOnChoiceClicked(2, {1, false}, person), 2);
    EXPECT_EQ(PowerOnChoiceClicked(2, {0, true}, person), 2);
    EXPECT_EQ(person.shown.size(), 1u);
}

// ---- Field checks ---------------------------------------------------------------------------

TEST(ChannelOptionsTest, TheDefinedChannelMustBeInTheDefinedZoneAsTheGridShowsIt) {
    Job job;
    const ChannelTable table = TableOf({1, 2, 3});
    ZoneGrids grids;
    grids.zoneMode = true;
    grids.names[0] = "North";
    grids.channels[0] = "2";  // typed, not yet in the image
    grids.currentZone = 0;
    struct Case {
        std::string_view channel;
        std::string_view zone;
        ExitResult result;
        std::string_view message;
    };
    const Case cases[] = {
        {"", "", ExitResult::Pass, ""},
        {"2", "1", ExitResult::Pass, ""},
        {"3", "1", ExitResult::Refuse, "This Channel is not in the defined Zone."},
        {"2", "", ExitResult::ClearChannel, "Please define the Power-On Zone first."},
        {"7", "1", ExitResult::Refuse, "Channel has not been defined in the channel table."},
        {"1000", "1", ExitResult::Refuse, "Value out of range.  Must be between 0 and 999"},
    };
    for (const Case& c : cases) {
        testing::ScriptedPerson person;
        EXPECT_EQ(DefinedChannelLeft(c.channel, c.zone, table, grids, *job.image, person), c.result)
            << c.channel;
        EXPECT_EQ(person.shown.empty() ? "" : person.shown.back().text, c.message) << c.channel;
    }
    grids.zoneMode = false;
    testing::ScriptedPerson person;
    EXPECT_EQ(DefinedChannelLeft("3", "", table, grids, *job.image, person), ExitResult::Pass);
}

TEST(ChannelOptionsTest, ChannelAndZoneFieldsRefuseNumbersNothingHas) {
    const ChannelTable table = TableOf({0, 10});
    ZoneGrids grids;
    grids.names[3] = "Depot";
    struct Case {
        const char* what;
        std::function<bool(Person&)> leave;
        bool passes;
        std::vector<std::string> messages;
    };
    const std::string notDefined = "Channel has not been defined in the channel table.";
    const std::string dualWatch = std::string(kDualWatchActiveText);
    const Case cases[] = {
        {"goto, defined", [&](Person& p) { return GotoChannelLeft("10", table, p); }, true, {}},
        {"goto, empty", [&](Person& p) { return GotoChannelLeft("", table, p); }, true, {}},
        // A Goto naming a channel the table does not hold: a warning only.
        {"goto, undefined",
         [&](Person& p) { return GotoChannelLeft("11", table, p); },
         true,
         {notDefined}},
        {"goto, out of range",
         [&](Person& p) { return GotoChannelLeft("1000", table, p); },
         false,
         {"Value out of range.  Must be between 0 and 999"}},
        {"dual watch, defined",
         [&](Person& p) { return DualWatchChannelLeft("0", table, p); },
         true,
         {dualWatch}},
        {"dual watch, undefined",
         [&](Person& p) { return DualWatchChannelLeft("5", table, p); },
         false,
         {notDefined}},
        {"zone, named", [&](Person& p) { return DefinedZoneLeft("4", grids, p); }, true, {}},
        {"zone, unnamed",
         [&](Person& p) { return DefinedZoneLeft("5", grids, p); },
         false,
         {"Zone has not been defined in the zone table."}},
        {"zone, out of range",
         [&](Person& p) { return DefinedZoneLeft("21", grids, p); },
         false,
         {"Value out of range.  Must be between 1 and 20"}},
    };
    for (const Case& c : cases) {
        testing::ScriptedPerson person;
        EXPECT_EQ(c.leave(person), c.passes) << c.what;
        EXPECT_EQ(person.Texts(), c.messages) << c.what;
    }
    EXPECT_EQ(dualWatch,
              "Dual-Watch is now active on all channels.       \nTo disable Dual-Watch this field "
              "must be set to <blank>.");
}

TEST(ChannelOptionsTest, OptionsThatNameAChannelAreFoundThroughTheirRows) {
    Job job;
    for (std::size_t word : {0x1D1A, 0x1D1C, 0x1D1E, 0x1D20, 0x1D32}) {
        job.image->SetU16(word, 0xFFFF);
    }
    EXPECT_FALSE(ChannelOptionsName(*job.image, 7));
    job.image->SetU16(0x1D1E, 7);  // Goto C
    EXPECT_TRUE(ChannelOptionsName(*job.image, 7));
    job.image->SetU16(0x1D1E, 0xFFFF);
    job.image->SetU16(0x1D16, 7);
    job.image->SetU16(0x1D18, 1);
    EXPECT_FALSE(ChannelOptionsName(*job.image, 7)) << "a computed power-on channel is no name";
    job.image->SetU16(0x1D18, 0);
    EXPECT_TRUE(ChannelOptionsName(*job.image, 7));
}

// ---- Power lists and radio types ------------------------------------------------------------

std::vector<std::string> Texts(std::span<const fields::Choice> choices) {
    std::vector<std::string> texts;
    for (const fields::Choice& choice : choices) {
        texts.emplace_back(choice.text);
    }
    return texts;
}

TEST(ChannelOptionsTest, PowerListsFollowTheRadioType) {
    const std::vector<std::string> mobile = {"1 W", "2 W",  "2.5 W", "4 W",  "5 W", "6 W",
                                             "8 W", "10 W", "15 W",  "20 W", "25 W"};
    const std::vector<std::string> portable = {"0.5 W", "1 W", "2 W", "2.5 W", "4 W", "5 W"};
    EXPECT_EQ(Texts(PowerList(orows::kHighPower, 16)), mobile);
    EXPECT_EQ(Texts(PowerList(orows::kMediumPower, 1)), mobile);
    EXPECT_EQ(Texts(PowerList(orows::kLowPower, 32)),
              std::vector<std::string>(mobile.begin(), mobile.begin() + 5));
    for (int mask : {256, 512, 1024}) {
        for (const FieldRow* row : {&orows::kHighPower, &orows::kMediumPower, &orows::kLowPower}) {
            EXPECT_EQ(Texts(PowerList(*row, mask)), portable) << mask;
        }
    }
}

TEST(ChannelOptionsTest, AMobileTurnedPortableKeepsItsPowerLevelsWithinTheSixPortableLevels) {
    Job job;
    job.image->SetU16(0x1D2E, 10);
    job.image->SetU8(0x1D0E, 0x80);
    job.image->SetU16(0x1D30, 3);
    ApplyRadioTypeChange(*job.image, 6, 9);  // HM-F to KP8A
    const PowerLevels levels = PowerLevelsOf(*job.image);
    EXPECT_EQ(levels.high, 5);
    EXPECT_EQ(levels.medium, 5);
    EXPECT_EQ(levels.low, 3);
    EXPECT_EQ(Texts(PowerList(orows::kHighPower, 512)).size(), 6u);
    const StoreSettings settings = StoreSettingsOf(*job.image, 512, 0);
    EXPECT_EQ(settings.highPowerLevel, 5) << "every record takes the limited level";
}

const FieldRow& RowOfControl(std::string_view control) {
    for (const FieldRow& row : orows::kRows) {
        if (row.control == control) {
            return row;
        }
    }
    ADD_FAILURE() << "no row has the control " << control;
    return orows::kRows[0];
}

// The pages make each row's control by its kind; the control's name says the same kind.
TEST(ChannelOptionsTest, EveryRowWithAControlSaysTheKindItsNameHas) {
    using fields::ControlKind;
    int rows = 0;
    for (const FieldRow& row : orows::kRows) {
        if (row.control.empty()) {
            continue;
        }
        ++rows;
        const auto named = [&](std::string_view part) {
            return row.control.find(part) != std::string_view::npos;
        };
        const ControlKind expected = named("_CBox_")       ? ControlKind::CheckBox
                                     : named("_Combo_")    ? ControlKind::List
                                     : named("_RadioGrp_") ? ControlKind::RadioButtons
                                                           : ControlKind::Edit;
        EXPECT_EQ(row.controlKind, expected) << row.id;
        // A list has its choices; no other control has any.
        EXPECT_EQ(!row.choices.empty(),
                  expected == ControlKind::List || expected == ControlKind::RadioButtons)
            << row.id;
    }
    EXPECT_GT(rows, 90);
}

TEST(ChannelOptionsTest, ControlsShowByRadioTypeAndOnlyWithARadioMode) {
    struct Case {
        std::string_view control;
        std::vector<int> shownFor;
    };
    const Case cases[] = {
        {"COP_Edit_GotoA", {4, 8, 16, 32, 512, 1024}},
        {"COP_Combo_RepeaterDefeat", {4, 8, 16, 32, 512, 1024}},
        {"SCN_Edit_OutOfCradleAlert", {1, 2, 4, 8, 16, 32}},
        // The rows of the Mic In Cradle box, which is hidden with them.
        {"MIC_Edit_MIC_SendANI", {1, 2, 4, 8, 16, 32}},
        {"MIC_CBox_MOC_MuteExternalSpkr", {1, 2, 4, 8, 16, 32}},
        {"DATA_CBox_IgnitionSense", {1, 2, 4, 8, 16, 32}},
        {"SCN_Edit_ScanSkipTime", {256, 512, 1024}},
        // The rows of the Economiser box, which is hidden with them.
        {"DTMF_Edit_EconAwake", {256, 512, 1024}},
        {"VMX_CBox_DisplayVoteIndex", {1, 2, 4, 8, 16, 32, 512, 1024}},
        {"DTMF_Edit_TonePeriod", {1, 2, 4, 8, 16, 32, 256, 512, 1024}},
        {"COP_Edit_PagerChannel", {}},
        {"DTMF_Edit_Holdover", {}},
        {"DATA_Edit_DistanceBased", {}},
    };
    for (const Case& c : cases) {
        for (int mask : {1, 2, 4, 8, 16, 32, 256, 512, 1024}) {
            const bool expected =
                std::find(c.shownFor.begin(), c.shownFor.end(), mask) != c.shownFor.end();
            const FieldRow& row = RowOfControl(c.control);
            EXPECT_EQ(OptionShown(row, HeadOfMask(mask), true), expected)
                << c.control << " " << mask;
            EXPECT_FALSE(OptionShown(row, HeadOfMask(mask), false)) << c.control;
        }
    }
    EXPECT_EQ(PowerOnFieldsShown(0, 16).zone, true);
    EXPECT_EQ(PowerOnFieldsShown(0, 4).zone, false);
    EXPECT_EQ(PowerOnFieldsShown(0, 4).channel, true);
    EXPECT_EQ(PowerOnFieldsShown(1, 16).channel, false);
}

TEST(ChannelOptionsTest, DataCtcssListsTheLetteredTonesWithTextsOfItsOwn) {
    const FieldRow& row = orows::Row("options.data_ctcss");
    ASSERT_EQ(row.choices.size(), 40u);
    EXPECT_EQ(row.choices[0].text, "Undefined");
    EXPECT_EQ(row.choices[1].text, "Q,   67.0 Hz");
    EXPECT_EQ(row.choices[12].text, "B,  100.0 Hz");
    EXPECT_EQ(row.choices[38].text, "#,  250.3 Hz");
    EXPECT_EQ(row.choices[39].text, "Unchanged");
    // Every tone is the channel list's row of the same code: its letter, its frequency in 0.1 Hz
    // right-aligned in seven characters.
    for (int code = 1; code <= 38; ++code) {
        const auto& tone = kCtcssDcsRows[static_cast<std::size_t>(code)];
        char text[16];
        std::snprintf(text, sizeof text, "%c,%7.1f Hz", tone.text[0], tone.toneDecihertz / 10.0);
        EXPECT_EQ(row.choices[static_cast<std::size_t>(code)].code, code);
        EXPECT_EQ(row.choices[static_cast<std::size_t>(code)].text, text) << code;
    }
}

}  // namespace
}  // namespace km::pmr

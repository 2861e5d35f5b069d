// The Channel Editor's rules: band limits, raster, the 800 MHz band, the Australian CB band plan
// and the final check, on the dialog's fields as typed.

#include <gtest/gtest.h>

#include "ScriptedPerson.h"
#include "pmr/ChannelEdit.h"

namespace km::pmr {
namespace {

namespace cr = channel_rows;
using km::testing::ScriptedPerson;

constexpr std::uint16_t kUw = 0x5557;
constexpr std::uint16_t kX8 = 0x5838;

const std::string kOutOfBand505 =
    "Frequency 505MHz is out of band.\nMust be between 440MHz and 500MHz                       "
    "\n\nFrequencies entered outside band may violate type approval.";

struct Editor {
    ChannelTable table;
    ScriptedPerson person;
    ChannelEditContext context;
    ChannelEditFields fields;

    explicit Editor(std::uint16_t band = kUw, int country = 0, int mask = 16)
        : context{table, std::nullopt, *LimitsOfBand(band, country), country, mask} {
        fields.number = "1";
        fields.rx = "450.0125";
        fields.tx = "450.0125";
    }
    FinalCheck Final() { return FinalChannelCheck(fields, context, false, person); }
};

TEST(ChannelEditTest, TheUsaLimitsOfTheUwBandTakeFiveHundredAndFiveMegahertz) {
    Editor usa(kUw, 5);
    usa.fields.rx = "505.0";
    usa.fields.tx = "505.0";
    EXPECT_TRUE(FrequencyLeft(usa.fields, false, usa.context, usa.person));
    EXPECT_TRUE(usa.Final().close);
    EXPECT_TRUE(usa.person.shown.empty());

    Editor elsewhere(kUw, 0);
    elsewhere.fields.rx = "505.0";
    const FinalCheck result = elsewhere.Final();
    EXPECT_TRUE(result.close) << "out of band is an error that still closes";
    ASSERT_EQ(elsewhere.person.shown.size(), 1u);
    EXPECT_EQ(elsewhere.person.shown[0].text, kOutOfBand505);
    EXPECT_EQ(elsewhere.person.shown[0].kind, BoxKind::Error);
}

TEST(ChannelEditTest, CbChannelNumbersAndNames) {
    EXPECT_EQ(CbChannel(476425000), 1);
    EXPECT_EQ(CbChannel(477400000), 40);
    EXPECT_EQ(CbChannel(476437500), 41);
    EXPECT_EQ(CbChannel(477412500), 80);
    EXPECT_EQ(CbChannel(476412500), std::nullopt);
    EXPECT_EQ(CbChannelName(476425000, 477175000), "CB Rep 1");
    EXPECT_EQ(CbChannelName(476425000, 476450000), "CB CH1-2");
    EXPECT_EQ(CbChannelName(476450000, 476450000), "CB CH2");
}

TEST(ChannelEditTest, TheFinalCheckNamesACbChannelUnlessTheUserNamedIt) {
    Editor editor(kUw, 1, 512);
    editor.fields.rx = "476.425";
    editor.fields.tx = "477.175";
    editor.fields.name = "Mine";
    EXPECT_TRUE(editor.Final().close);
    EXPECT_EQ(editor.fields.name, "CB Rep 1");
    editor.fields.name = "Mine";
    EXPECT_TRUE(NameLeft(editor.fields, editor.context, editor.person));
    EXPECT_TRUE(editor.Final().close);
    EXPECT_EQ(editor.fields.name, "Mine");
}

TEST(ChannelEditTest, ADataOnlyCbTransmitFrequencyDisablesTransmitAndLowersThePower) {
    Editor editor(kUw, 1, 512);
    editor.fields.rx = "476.950";
    editor.fields.tx = "476.950";
    editor.fields.power = Power::High;
    EXPECT_TRUE(editor.Final().close);
    EXPECT_EQ(editor.fields.tx, "");
    EXPECT_EQ(editor.fields.power, Power::Low);
    ChannelEntry entry = DefaultEntry(0);
    ReadBack(editor.fields, entry);
    EXPECT_EQ(entry.txHz, 0);
    EXPECT_TRUE(FieldsOf(entry).txDisabled) << "reads back with Transmit Disabled ticked";
    EXPECT_EQ(editor.person.shown.front().text,
              "Australian CB frequencies 476.950 and 476.975Mhz (Channels 22 and 23)              "
              "        \nare for Data only (no Voice). Transmit will be disabled.");
}

TEST(ChannelEditTest, X8WarningsAndLimits) {
    Editor editor(kX8);
    editor.fields.rx = "840";
    EXPECT_TRUE(FrequencyLeft(editor.fields, false, editor.context, editor.person));
    EXPECT_EQ(editor.person.Texts(),
              std::vector<std::string>{"Invalid Frequency.                                \n"
                                       "X8 Band Receive Frequency Range is 851-870MHz."});
    editor.person.shown.clear();
    editor.fields.tx = "851";
    EXPECT_TRUE(FrequencyLeft(editor.fields, true, editor.context, editor.person));
    EXPECT_TRUE(editor.person.shown.empty());
    editor.fields.tx = "830";
    FrequencyLeft(editor.fields, true, editor.context, editor.person);
    EXPECT_EQ(editor.person.Texts(),
              std::vector<std::string>{"Invalid Frequency.                                \n"
                                       "Tx Frequencies 825MHz to 851MHz cannot be used."});
}

TEST(ChannelEditTest, FrequencyFieldsRefuseWhatTheRadioCannotTake) {
    struct Case {
        const char* text;
        bool transmit;
        bool passes;
        std::string message;
    };
    const Case cases[] = {
        {"360.0", true, true, "Rx Frequencies 360MHz and 450MHz cannot be used."},
        {"450", false, true, "Rx Frequencies 360MHz and 450MHz cannot be used."},
        {"450.001", false, false, "Frequency is not a multiple of 5kHz, 6.25kHz or 7.5kHz"},
        {"45O.0", false, false, "'45O.0' is not a valid frequency."},
        {"450,0125", false, true, ""},
        {"", false, true, "Undefined Frequency\nMust be between 300MHz and 500MHz"},
    };
    for (const Case& c : cases) {
        Editor editor;
        editor.context.band = BandLimits{300000000, 500000000, false};
        std::string& field = c.transmit ? editor.fields.tx : editor.fields.rx;
        field = c.text;
        EXPECT_EQ(FrequencyLeft(editor.fields, c.transmit, editor.context, editor.person), c.passes)
            << c.text;
        if (c.message.empty()) {
            EXPECT_TRUE(editor.person.shown.empty()) << c.text;
        } else {
            ASSERT_FALSE(editor.person.shown.empty()) << c.text;
            EXPECT_EQ(editor.person.shown.back().text, c.message) << c.text;
        }
    }
}

TEST(ChannelEditTest, TheFinalCheckAlwaysChecksTheNumber) {
    // A duplicate is refused even with Transmit Disabled ticked or the receive frequency out of
    // band, which end the frequency checks early.
    for (const char* rx : {"450.0125", "300"}) {
        for (bool txDisabled : {false, true}) {
            Editor editor;
            ASSERT_TRUE(editor.table.Add(DefaultEntry(450012500)));  // number 0
            editor.fields.number = "0";
            editor.fields.rx = rx;
            editor.fields.txDisabled = txDisabled;
            const FinalCheck result = editor.Final();
            EXPECT_FALSE(result.close) << rx << txDisabled;
            EXPECT_EQ(result.focus, EditField::Number);
            EXPECT_EQ(editor.person.shown.back().text,
                      "Duplicate Channel Numbers are not allowed.");
        }
    }
    Editor empty;
    empty.fields.number = "";
    EXPECT_FALSE(empty.Final().close);
    EXPECT_EQ(empty.person.shown.back().text, "You must define a Channel Number");
    Editor replacing;
    ASSERT_TRUE(replacing.table.Add(DefaultEntry(450012500)));
    replacing.context.replacing = 0;
    replacing.fields.number = "0";
    EXPECT_TRUE(replacing.Final().close) << "the entry replaced keeps its number";
}

TEST(ChannelEditTest, AChannelAGroupListsKeepsItsNumber) {
    Editor editor;
    ChannelEntry channel = DefaultEntry(450012500);
    channel.SetNumber(5);
    ASSERT_TRUE(editor.table.Add(channel));
    ChannelEntry group = DefaultEntry(0);
    group.SetFlag(cr::kIsGroup, true);
    group.SetNumber(9);
    group.members[0] = 5;
    ASSERT_TRUE(editor.table.Add(group));
    editor.context.replacing = 0;
    editor.fields.number = "6";
    EXPECT_FALSE(editor.Final().close);
    EXPECT_EQ(editor.person.shown.back().text,
              "Cannot change the channel number.                               \n"
              "Channel is used in a Scan or Vote group.");
    editor.fields.number = "5";
    EXPECT_TRUE(editor.Final().close);
}

TEST(ChannelEditTest, AnOffRasterFrequencyKeepsTheDialogOpenButTheOtherChecksRun) {
    Editor editor;
    editor.fields.rx = "450.001";
    editor.fields.encode = "251";
    const FinalCheck result = editor.Final();
    EXPECT_FALSE(result.close);
    EXPECT_EQ(editor.person.Texts(),
              (std::vector<std::string>{"Frequency is not a multiple of 5kHz, 6.25kHz or 7.5kHz",
                                        "Value out of range.  Must be between 0 and 250"}));
}

TEST(ChannelEditTest, TickingRulesCorrectTheBoxes) {
    Editor editor(kUw, 1);
    editor.fields.rxLockout = true;
    editor.fields.openSelcall = true;
    OpenSelcallTicked(editor.fields, editor.person);
    EXPECT_FALSE(editor.fields.openSelcall);
    EXPECT_TRUE(editor.fields.rxLockout);
    EXPECT_EQ(editor.person.shown.back().text,
              "Open Selcall and Rx Lockout together on a Selcall channel is invalid.");

    editor.fields.selectableCtcss = true;
    editor.fields.rxCode = 0x81;  // DCS 023
    SelectableCtcssTicked(editor.fields, editor.person);
    EXPECT_FALSE(editor.fields.selectableCtcss);
    EXPECT_EQ(editor.person.shown.back().text,
              "Cannot enable \"Selectable CTCSS\" if DCS is enabled");

    editor.fields.rx = "476.525";
    editor.fields.rxCode = 5;
    editor.fields.txCode = 5;
    editor.fields.communityRepeater = true;
    CodeChanged(editor.fields, false, editor.context, editor.person);
    EXPECT_EQ(editor.fields.rxCode, 0);
    EXPECT_EQ(editor.fields.txCode, 0);

    editor.fields.txDisabled = true;
    editor.fields.tx = "476.525";
    editor.person.answers = {Answer::No};
    TxDisabledTicked(editor.fields, editor.person);
    EXPECT_FALSE(editor.fields.txDisabled);
    EXPECT_EQ(editor.fields.tx, "476.525");

    editor.fields.power = Power::Medium;
    PowerChanged(editor.fields, editor.context, editor.person);
    EXPECT_EQ(editor.fields.power, Power::Low);
    editor.fields.bandwidth = Bandwidth::k25;
    BandwidthChanged(editor.fields, editor.context, editor.person);
    EXPECT_EQ(editor.fields.bandwidth, Bandwidth::k12_5);
}

TEST(ChannelEditTest, TheFieldsReadBackIntoTheEntryTheyCameFrom) {
    ChannelEntry entry = DefaultEntry(451012500);
    entry.txHz = 0;
    entry.SetNumber(42);
    entry.SetName("Yard");
    entry.Set(cr::kEncode, 12);
    entry.Set(cr::kPttOffEncode, 0);
    SetPower(entry, Power::High);
    SetBandwidth(entry, Bandwidth::k20);
    const ChannelEditFields fields = FieldsOf(entry);
    EXPECT_EQ(fields.rx, "451.0125");
    EXPECT_EQ(fields.tx, "");
    EXPECT_TRUE(fields.txDisabled);
    EXPECT_EQ(fields.pttOffEncode, "");
    ChannelEntry back = DefaultEntry(0);
    ReadBack(fields, back);
    EXPECT_EQ(back.record, entry.record);
    EXPECT_EQ(back.rxHz, entry.rxHz);
    EXPECT_EQ(back.txHz, 0);
}

}  // namespace
}  // namespace km::pmr

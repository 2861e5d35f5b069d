// The user interface options of the trunk and PMR jobs: what the form's rules store, at the
// offsets the jobs keep them, and the tables the lists come from.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>

#include "config/IoDevices.h"
#include "config/UiLevels.h"
#include "config/UiMap.h"
#include "fields/FieldOps.h"

namespace km {
namespace {

using fields::FieldValue;
using fields::ImageId;

constexpr int kLevelGeneral = 2;
constexpr int kLevelEngineering = 8;
constexpr int kModeBytePmr = 0;
constexpr int kModeByteTrunk = 1;
constexpr int kModeByteMulti = 2;

std::uint16_t Word(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}
void SetWord(std::span<std::uint8_t> bytes, std::size_t at, std::uint16_t value) {
    bytes[at] = static_cast<std::uint8_t>(value);
    bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

struct Jobs {
    std::unique_ptr<TrunkJobImage> trunk = std::make_unique<TrunkJobImage>();
    std::unique_ptr<PmrJobImage> pmr = std::make_unique<PmrJobImage>();
};

const fields::FieldRow& Row(std::span<const fields::FieldRow> rows, std::string_view id) {
    for (const fields::FieldRow& row : rows) {
        if (row.id == id) {
            return row;
        }
    }
    throw std::logic_error("no row " + std::string(id));
}

void Write(std::span<std::uint8_t> bytes, ImageId image, std::span<const fields::FieldRow> rows,
           std::string_view id, const FieldValue& value) {
    const fields::FieldRow& row = Row(rows, id);
    fields::WriteField(row, bytes, static_cast<std::size_t>(row.at.Of(image)), value);
}
FieldValue Read(std::span<const std::uint8_t> bytes, ImageId image,
                std::span<const fields::FieldRow> rows, std::string_view id) {
    const fields::FieldRow& row = Row(rows, id);
    return fields::ReadField(row, bytes, static_cast<std::size_t>(row.at.Of(image)));
}

TEST(UiMap, PowerOnModeFollowsTheRadioModeAndTheSimplePmrBox) {
    const PowerOnShown pmr{3, false};
    const PowerOnShown simple{3, true};
    // A trunk-only radio cannot power up in PMR: Network 1.
    EXPECT_EQ(PowerOnModeToStore(ImageId::Trunk, pmr, kLevelGeneral, kModeByteTrunk), 1);
    EXPECT_EQ(PowerOnModeToStore(ImageId::Trunk, pmr, kLevelGeneral, kModeByteMulti), 3);
    // Simple PMR is stored from the trunk view only at the Engineering level.
    EXPECT_EQ(PowerOnModeToStore(ImageId::Trunk, simple, kLevelEngineering, kModeByteTrunk), 4);
    EXPECT_EQ(PowerOnModeToStore(ImageId::Trunk, simple, kLevelGeneral, kModeByteMulti), 3);
    EXPECT_EQ(PowerOnModeToStore(ImageId::Trunk, {16, false}, kLevelGeneral, kModeByteMulti), 16);
    // The PMR view keeps Simple PMR at any level; a PMR-only radio always powers up in PMR.
    EXPECT_EQ(PowerOnModeToStore(ImageId::Pmr, simple, kLevelGeneral, kModeByteMulti), 4);
    EXPECT_EQ(PowerOnModeToStore(ImageId::Pmr, {2, false}, kLevelGeneral, kModeBytePmr), 3);
    EXPECT_EQ(PowerOnModeToStore(ImageId::Pmr, {2, false}, kLevelGeneral, kModeByteMulti), 2);
    // A stored value no list entry has goes back unchanged.
    EXPECT_EQ(PowerOnModeToStore(ImageId::Trunk, ShowPowerOnMode(9), kLevelGeneral, 2), 9);

    EXPECT_TRUE(ShowPowerOnMode(4).simplePmr);
    EXPECT_EQ(ShowPowerOnMode(4).code, 3);
    EXPECT_FALSE(ShowPowerOnMode(16).simplePmr);

    const auto trunkOnly = RefusePowerOnMode(3, 2);
    ASSERT_TRUE(trunkOnly);
    EXPECT_EQ(trunkOnly->code, 1);
    EXPECT_EQ(trunkOnly->message,
              "You Cannot Power-up in PMR mode,                   \nif the Mobile is Trunk only.");
    const auto pmrOnly = RefusePowerOnMode(2, 1);
    ASSERT_TRUE(pmrOnly);
    EXPECT_EQ(pmrOnly->code, 3);
    EXPECT_EQ(pmrOnly->message,
              "You Cannot Power-up in Trunk mode,                   \nif the Mobile is PMR only.");
    EXPECT_FALSE(RefusePowerOnMode(3, 4));
    EXPECT_FALSE(RefusePowerOnMode(16, 1));
    EXPECT_FALSE(RefusePowerOnMode(16, 2));
}

TEST(UiMap, PasswordAlertTimesAndOffsetAsStored) {
    Jobs jobs;
    const auto bytes = jobs.trunk->Bytes();
    // Four decimal digits in a little-endian word, thousands in bits 12-15.
    Write(bytes, ImageId::Trunk, ui_rows::kRows, "ui.password", std::int64_t{1234});
    EXPECT_EQ(Word(bytes, 0x092), 0x1234);
    EXPECT_EQ(fields::FormatField(ui_rows::kPassword,
                                  Read(bytes, ImageId::Trunk, ui_rows::kRows, "ui.password")),
              "1234");
    EXPECT_EQ(PasswordToStore(999), 0);
    EXPECT_EQ(PasswordToStore(1000), 1000);

    // The duration is entered in ms and kept in 4 ms units.
    Write(bytes, ImageId::Trunk, ui_rows::kRows, "ui.ext_alert_duration", std::int64_t{1000});
    EXPECT_EQ(Word(bytes, 0x0AE), 250);
    // A stored 9000 (36000 ms) shows as 0; 8000 units are the longest shown.
    EXPECT_EQ(ShownExtAlertDuration(9000 * 4), 0);
    EXPECT_EQ(ShownExtAlertDuration(8000 * 4), 32000);
    EXPECT_EQ(ShownExtAlertDelay(0), 1);
    EXPECT_EQ(ShownExtAlertDelay(7), 7);

    // The offset is signed; the list runs from -31 (first item) to +31 (last).
    SetWord(bytes, 0x0AA, 0xFFE1);
    const FieldValue first = Read(bytes, ImageId::Trunk, ui_rows::kRows, "ui.alert_offset");
    EXPECT_EQ(first, FieldValue(std::int64_t{-31}));
    EXPECT_EQ(ui_rows::kAlertOffsetChoices.front().code, -31);
    EXPECT_EQ(ui_rows::kAlertOffsetChoices.back().code, 31);
    EXPECT_EQ(ui_rows::kAlertOffsetChoices[31].text, "0");
    Write(bytes, ImageId::Trunk, ui_rows::kRows, "ui.alert_offset", std::int64_t{31});
    EXPECT_EQ(Word(bytes, 0x0AA), 31);

    // The PMR job keeps its data volume where the trunk job keeps the alert duration's
    // neighbours.
    Write(jobs.pmr->Bytes(), ImageId::Pmr, ui_rows::kRows, "ui.data_volume", std::int64_t{17});
    EXPECT_EQ(Word(jobs.pmr->Bytes(), 0x0B2), 17);
}

TEST(UiMap, ExternalAlertOffSetsItsBitWhateverContinuousHolds) {
    Jobs jobs;
    const auto bytes = jobs.trunk->Bytes();
    bytes[0x0A0] = 0x81;  // continuous, key beeps
    bytes[0x0A1] = 0x05;  // VOX PTT default, save scrambler state
    EXPECT_EQ(Read(bytes, ImageId::Trunk, ui_rows::kRows, "ui.external_alert"),
              FieldValue(std::int64_t{ui_rows::kExtAlertContinuous}));
    Write(bytes, ImageId::Trunk, ui_rows::kRows, "ui.external_alert",
          std::int64_t{ui_rows::kExtAlertOff});
    EXPECT_EQ(bytes[0x0A0], 0x01);
    EXPECT_EQ(bytes[0x0A1], 0x07);
    // Both bits set loads as "Off".
    EXPECT_EQ(ShownExternalAlert(3), ui_rows::kExtAlertOff);
    Write(bytes, ImageId::Trunk, ui_rows::kRows, "ui.external_alert",
          std::int64_t{ui_rows::kExtAlertPulsed});
    EXPECT_EQ(bytes[0x0A0], 0x01);
    EXPECT_EQ(bytes[0x0A1], 0x05);
}

TEST(UiMap, MobileKeysWithTheirFixedKeysAndPortableKeysInARow) {
    Jobs jobs;
    const auto trunk = jobs.trunk->Bytes();
    SetWord(trunk, 0x0E0, 0x1234);
    SetWord(trunk, 0x0F4, 0x5678);
    const std::array<std::int64_t, kButtonCount> buttons = {7,    8,    9,    0x0A, 0x0B, 0x0C,
                                                            0x0D, 0x12, 0x13, 0x14, 0x15};
    StoreKeys(ImageId::Trunk, trunk, {false, 0, 0}, buttons);
    EXPECT_EQ(Word(trunk, 0x0C2), 7);
    EXPECT_EQ(Word(trunk, 0x0C8), 0x0A);
    EXPECT_EQ(Word(trunk, 0x0C0), 0x0B) << "F5 of a mobile";
    EXPECT_EQ(Word(trunk, 0x0D6), 0x0C) << "F6 of a mobile";
    const std::uint16_t fixed[] = {0, 6, 3, 4, 2, 1};
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(Word(trunk, 0x0CA + 2 * i), fixed[i]) << i;
    }
    EXPECT_EQ(Word(trunk, 0x0E0), 0xFFFF) << "every trunk store clears the key words";
    EXPECT_EQ(Word(trunk, 0x0F4), 0x5678) << "the clearing ends at 0x0F3";

    // A KP8C with ACC1: F5..F11 one after the other, and the accessory mark.
    StoreKeys(ImageId::Trunk, trunk, {true, 2, 1}, buttons);
    for (std::size_t i = 4; i < kButtonCount; ++i) {
        EXPECT_EQ(Word(trunk, 0x0CA + 2 * (i - 4)), buttons[i]) << "F" << i + 1;
    }
    EXPECT_EQ(Word(trunk, 0x0C0), 0xFFFF);
    EXPECT_EQ(Word(trunk, 0x0DC), 0x80);
    // The earlier generation, or an RSM-GPS, has no mark.
    StoreKeys(ImageId::Trunk, trunk, {true, 0, 1}, buttons);
    EXPECT_EQ(Word(trunk, 0x0DC), 0xFFFF);
    StoreKeys(ImageId::Trunk, trunk, {true, 2, 2}, buttons);
    EXPECT_EQ(Word(trunk, 0x0DC), 0xFFFF);

    // A PMR store clears nothing, and writes no trunk fixed keys for a mobile.
    const auto pmr = jobs.pmr->Bytes();
    SetWord(pmr, 0x0E0, 0x1234);
    StoreKeys(ImageId::Pmr, pmr, {true, 2, 3}, buttons);
    EXPECT_EQ(Word(pmr, 0x0E0), 0x1234);
    EXPECT_EQ(Word(pmr, 0x0DC), 0x80);
    SetWord(pmr, 0x0CC, 0x1234);
    StoreKeys(ImageId::Pmr, pmr, {false, 0, 0}, buttons);
    EXPECT_EQ(Word(pmr, 0x0CC), 0x1234);
}

TEST(UiMap, PortableKeyDefaults) {
    Jobs jobs;
    ApplyPortableKeyDefaults(ImageId::Trunk, jobs.trunk->Bytes());
    ApplyPortableKeyDefaults(ImageId::Pmr, jobs.pmr->Bytes());
    const std::uint16_t trunkKeys[] = {1, 2, 0xFFFF, 6};
    const std::uint16_t pmrKeys[] = {15, 16, 0xFFFF, 4};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(jobs.trunk->U16(208 + 2 * i), trunkKeys[i]);
        EXPECT_EQ(jobs.pmr->U16(208 + 2 * i), pmrKeys[i]);
    }
}

TEST(UiMap, LabelsMarkerAndTheFieldsEveryStoreWrites) {
    Jobs jobs;
    const auto trunk = jobs.trunk->Bytes();
    Write(trunk, ImageId::Trunk, key_rows::kRows, "ui.keys.f1_label", std::string("Scan"));
    EXPECT_EQ(trunk[0x3A4], 73);
    EXPECT_EQ(jobs.trunk->Text(0x3A6, 6), "Scan");
    trunk[0x0B0] = 0xFE;
    SetWord(trunk, 0x0B6, 0xFFFF);
    WriteFixedUiFields(ImageId::Trunk, trunk);
    EXPECT_EQ(jobs.trunk->Text(0x080, 16), "-OPERATION DATA-");
    const std::uint8_t rows[] = {7, 5, 2, 0};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(trunk[0x3A5 + 8 * i], rows[i]) << "F" << i + 1;
    }
    EXPECT_EQ(trunk[0x0B0], 0x02) << "the alarm microphone keeps bits 0-1";
    EXPECT_EQ(Word(trunk, 0x0B6), 0x0001) << "the alarm options keep bit 0";

    const auto pmr = jobs.pmr->Bytes();
    pmr[0x1D94] = 0x33;
    pmr[0x0B0] = 0xFE;  // the default mute of a PMR job
    SetWord(pmr, 0x0F4, 0xFFFF);
    Write(pmr, ImageId::Pmr, key_rows::kRows, "ui.keys.f5_label", std::string("Zone"));
    WriteFixedUiFields(ImageId::Pmr, pmr);
    EXPECT_EQ(jobs.pmr->Text(0x1D96, 6), "Zone");
    EXPECT_EQ(pmr[0x1D94], 0);
    EXPECT_EQ(pmr[0x1D95], 0);
    EXPECT_EQ(pmr[0x0B0], 0xFE);
    EXPECT_EQ(Word(pmr, 0x0F4), 0);
    EXPECT_EQ(jobs.pmr->Text(0x080, 16), "-OPERATION DATA-");
}

TEST(UiMap, CallTypeDefaultsAndTheSecondAlarmDialString) {
    Jobs jobs;
    const auto bytes = jobs.trunk->Bytes();
    WriteCallTypeDefaults(bytes);
    EXPECT_EQ(bytes[0x580], 0xB1);
    EXPECT_EQ(bytes[0x581], 0xBF);
    EXPECT_EQ(bytes[0x582], 0xB1);
    EXPECT_EQ(bytes[0x583], 0x1B);
    EXPECT_EQ(jobs.trunk->Text(0x508, 12), "Conference");
    EXPECT_EQ(jobs.trunk->Text(0x508 + 12 * 9, 12), "Cancl Busy");
    EXPECT_EQ(bytes[0x580 + 2 * 9], 0xC4);  // "#49"
    EXPECT_EQ(bytes[0x580 + 2 * 9 + 1], 0x9F);

    // An all-zero second dial string shows empty; a typed one is packed.
    EXPECT_EQ(Read(bytes, ImageId::Trunk, ui_rows::kRows, "ui.alarm_second_dial"),
              FieldValue(std::string()));
    Write(bytes, ImageId::Trunk, ui_rows::kRows, "ui.alarm_second_dial", std::string("12*"));
    EXPECT_EQ(bytes[0x0B8], 0x12);
    EXPECT_EQ(bytes[0x0B9], 0xBF);
    EXPECT_EQ(bytes[0x0BF], 0xFF);
}

TEST(UiMap, InputOutputLines) {
    Jobs jobs;
    const auto trunk = jobs.trunk->Bytes();
    // Bits 4-7 of a line's second byte are no field's: they are kept.
    std::fill_n(trunk.begin() + 0x20F8, 40, 0x55);
    // An input with no function stores 0xFF; an empty debounce 0xFFFF.
    StoreIoLine(ImageId::Trunk, trunk, 0, {true, "", true, ""});
    EXPECT_EQ(trunk[0x20F8], 0xFF);
    EXPECT_EQ(trunk[0x20F9], 0x50 | 0x03);  // input, active high, no kind
    EXPECT_EQ(Word(trunk, 0x20FA), 0xFFFF);
    // A PTT function keeps its kind in bits 2-3.
    StoreIoLine(ImageId::Trunk, trunk, 2, {true, "PTT Ext", false, "120"});
    EXPECT_EQ(trunk[0x2100], 0x82);
    EXPECT_EQ(trunk[0x2101], 0x50 | 0x01 | 2 << 2);
    EXPECT_EQ(Word(trunk, 0x2102), 120);
    const IoLine shown = LoadIoLine(ImageId::Trunk, trunk, 2);
    EXPECT_TRUE(shown.input);
    EXPECT_EQ(shown.function, "PTT Ext");
    EXPECT_EQ(shown.debounce, "120");
    // An output.
    StoreIoLine(ImageId::Trunk, trunk, 1, {false, "Music Mute", true, ""});
    EXPECT_EQ(trunk[0x20FC], 2);
    EXPECT_EQ(trunk[0x20FD], 0x50 | 0x02);
    EXPECT_EQ(LoadIoLine(ImageId::Trunk, trunk, 1).function, "Music Mute");
    // "Undefined" is the input line's first item for 0xFF.
    EXPECT_EQ(LoadIoLine(ImageId::Trunk, trunk, 0).function, "Undefined");

    // A code no list has shows as its number and goes back unchanged, kind and all.
    trunk[0x2104] = 0x33;
    trunk[0x2105] = 0x01 | 3 << 2;
    const IoLine unknown = LoadIoLine(ImageId::Trunk, trunk, 3);
    EXPECT_EQ(unknown.function, "? 51");
    StoreIoLine(ImageId::Trunk, trunk, 3, unknown);
    EXPECT_EQ(trunk[0x2104], 0x33);
    EXPECT_EQ(trunk[0x2105], 0x01 | 3 << 2);

    // A line shown and stored unchanged keeps a kind its function does not name; a new function
    // brings its own.
    trunk[0x2101] = 0x01 | 3 << 2;
    StoreIoLine(ImageId::Trunk, trunk, 2, LoadIoLine(ImageId::Trunk, trunk, 2));
    EXPECT_EQ(trunk[0x2101] & 0x0C, 3 << 2);
    StoreIoLine(ImageId::Trunk, trunk, 2, {true, "Alarm", false, "120"});
    EXPECT_EQ(trunk[0x2101] & 0x0C, 1 << 2);

    // The PMR job keeps its lines from 0x2AE4.
    const auto pmr = jobs.pmr->Bytes();
    StoreIoLine(ImageId::Pmr, pmr, 0, {false, "Scrambler-4", false, ""});
    EXPECT_EQ(pmr[0x2AE4], 10);
    EXPECT_EQ(Word(pmr, 0x2AE6), 0xFFFF);
}

TEST(UiMap, LevelWordsWithTheirPhaseInversion) {
    EXPECT_EQ(LevelWord(AudioLevel::Dtmf, "60%", false), 5280);
    EXPECT_EQ(LevelWord(AudioLevel::Dtmf, "60%", true), 60256);
    const ShownLevel dtmf = ShowLevel(AudioLevel::Dtmf, 60256);
    EXPECT_EQ(dtmf.text, "60%");
    EXPECT_TRUE(dtmf.inverted);
    EXPECT_EQ(LevelWord(AudioLevel::TxInput1, "-18", false), 0xFFFD);
    EXPECT_EQ(LevelWord(AudioLevel::TxInput5, "-18", false), 0xFFFF);
    EXPECT_EQ(LevelWord(AudioLevel::ModulationLast, "200%", false), 163 * 200);
    EXPECT_EQ(LevelWord(AudioLevel::LineOutput3, "+6", false), 1);
    EXPECT_EQ(LevelWord(AudioLevel::Discriminator, "0.0", false), 13785);
    // A word no step has shows as its number and goes back as it was.
    EXPECT_EQ(ShowLevel(AudioLevel::TxInput1, 0x1234).text, "? 4660");
    EXPECT_EQ(LevelWord(AudioLevel::TxInput1, "? 4660", false), 0x1234);
    EXPECT_FALSE(LevelWord(AudioLevel::TxInput1, "+48", false));

    EXPECT_EQ(DefaultLevelText(AudioLevel::TxInput1, true), "+12");
    EXPECT_EQ(DefaultLevelText(AudioLevel::TxInput3, false), "0");
    EXPECT_EQ(DefaultLevelText(AudioLevel::TxInput2, true), "0.0");
    EXPECT_EQ(DefaultLevelText(AudioLevel::Ffsk, false), "60%");
    EXPECT_EQ(DefaultLevelText(AudioLevel::CompressorGain, false), "0 ");

    Jobs jobs;
    SetTxInputLevelsForKind(ImageId::Trunk, jobs.trunk->Bytes(), true);
    SetTxInputLevelsForKind(ImageId::Pmr, jobs.pmr->Bytes(), true);
    EXPECT_EQ(jobs.trunk->U16(0x2148), 2);
    EXPECT_EQ(jobs.trunk->U16(0x214A), 2);
    EXPECT_EQ(jobs.pmr->U16(0x552), 2);
    EXPECT_EQ(jobs.pmr->U16(0x554), 2);
}

TEST(UiMap, DialSwitchOptionBoardAndDevices) {
    Jobs jobs;
    const auto bytes = jobs.trunk->Bytes();
    StoreDialSwitch(ImageId::Trunk, bytes, key_rows::kDialZone, {3, 0, 20});
    EXPECT_EQ(Word(bytes, 0x12E), 0x2003);
    EXPECT_EQ(Word(bytes, 0x130), 0x2000);
    EXPECT_EQ(Word(bytes, 0x132), 0x2014);
    EXPECT_EQ(DialValues(key_rows::kDialMode).size(), 3u);
    EXPECT_TRUE(DialValues(key_rows::kDialNotUsed).empty());

    // Old trunk jobs numbered DMAP and the audio discriminator the other way round.
    EXPECT_EQ(OptionBoardItem(ImageId::Trunk, 3, 0x106), 4);
    EXPECT_EQ(OptionBoardItem(ImageId::Trunk, 4, 0x106), 3);
    EXPECT_EQ(OptionBoardItem(ImageId::Trunk, 3, 5860), 3);
    EXPECT_EQ(OptionBoardItem(ImageId::Pmr, 3, 0x106), 3);
    EXPECT_EQ(LayoutOfBoard(3).linesShown, 10u);
    EXPECT_TRUE(LayoutOfBoard(3).serialB);
    EXPECT_TRUE(LayoutOfBoard(6).protocol);
    EXPECT_FALSE(LayoutOfBoard(7).protocol);
    EXPECT_EQ(LayoutOfBoard(0).linesShown, 2u);
    EXPECT_EQ(ProtocolToStore(7, 1), 0);
    EXPECT_EQ(ProtocolToStore(6, 1), 1);

    SetWord(bytes, 0x2140, 0x0AFF);
    const DeviceSelections loaded = LoadDeviceSelections(ImageId::Trunk, bytes);
    EXPECT_EQ(loaded.input, 255);
    EXPECT_EQ(loaded.optionBoard, 10);
    EXPECT_EQ(DeviceLabel(loaded.input), "");
    EXPECT_EQ(DeviceLabel(loaded.optionBoard), "DMAP Dual Head");
    StoreDeviceSelections(ImageId::Pmr, jobs.pmr->Bytes(), {2, 14});
    EXPECT_EQ(jobs.pmr->U16(0x2B30), 0x0E02);
}

TEST(UiMap, TheFunctionTablesPerViewAndHead) {
    // The PMR table: "Undefined", then the program's 64 rows with the codes it names and the
    // codes 0x03..0x40 for the others, each once.
    ASSERT_EQ(kPmrFunctions.size(), 65u);
    std::set<int> codes;
    for (const FunctionEntry& entry : kPmrFunctions) {
        EXPECT_TRUE(codes.insert(entry.code).second) << entry.name;
    }
    std::set<int> expected = {0xFFFF, 1, 2};
    for (int code = 0x03; code <= 0x40; ++code) {
        expected.insert(code);
    }
    EXPECT_EQ(codes, expected);
    const std::pair<std::string_view, int> telling[] = {
        {"Alarm", 0x22},         {"Monitor-Reset", 2},   {"Send Ch Encode", 1},
        {"Channel Up", 0x0F},    {"Channel Down", 0x10}, {"Scan", 5},
        {"Noise Blanker", 0x21}, {"Backlight", 0x37},    {"Zone Select", 0x3A},
        {"Special Enc1", 0x18},  {"Special Enc8", 0x1F}, {"PTT On", 0x2A},
        {"PTT Off", 0x2B}};
    for (const auto& [name, code] : telling) {
        const auto* entry = FunctionOfCode(FunctionView::Pmr, static_cast<std::uint16_t>(code));
        ASSERT_NE(entry, nullptr) << name;
        EXPECT_EQ(entry->name, name);
    }

    auto names = [](FunctionView view, int head, std::uint8_t use) {
        std::set<std::string_view> offered;
        for (const FunctionEntry* entry : OfferedFunctions(view, head, use)) {
            offered.insert(entry->name);
        }
        return offered;
    };
    const auto hmA = names(FunctionView::Trunk, 1, kKeyUse);
    const auto kp8a = names(FunctionView::Trunk, 512, kKeyUse);
    EXPECT_TRUE(hmA.contains("Auxiliary"));
    EXPECT_FALSE(kp8a.contains("Auxiliary"));
    EXPECT_FALSE(hmA.contains("Stored Calls")) << "offered for nothing";
    EXPECT_FALSE(hmA.contains("PTT Mic")) << "a line function only";
    EXPECT_TRUE(names(FunctionView::Trunk, 512, kLineUse).contains("PTT Ext"));
    EXPECT_FALSE(names(FunctionView::Trunk, 512, kLineUse).contains("Lock/Unlock Keys"));
    EXPECT_TRUE(names(FunctionView::Pmr, 16, kKeyUse).contains("Zone Select"));
    EXPECT_FALSE(names(FunctionView::Pmr, 4, kKeyUse).contains("Zone Select"));
    EXPECT_TRUE(names(FunctionView::Pmr, 1024, kKeyUse).contains("Backlight"));
    EXPECT_FALSE(names(FunctionView::Pmr, 16, kKeyUse).contains("Backlight"));
    EXPECT_FALSE(names(FunctionView::Pmr, 16, kKeyUse).contains("PTT On"));
    // Every list starts with "Undefined", the fallback of a function a head does not offer.
    EXPECT_EQ(OfferedFunctions(FunctionView::Pmr, 256, kKeyUse).front()->name, "Undefined");
    EXPECT_EQ(OfferedFunctions(FunctionView::Trunk, 2, kKeyUse).front()->code, 0xFFFF);

    bool hmDHasVox = false;
    for (const MenuEntry* entry : OfferedMenus(32)) {
        hmDHasVox = hmDHasVox || entry->name == "VOX Sensitivity";
    }
    EXPECT_FALSE(hmDHasVox);
    EXPECT_EQ(OfferedMenus(16).size(), 18u);
}

TEST(IoDevices, OfferedDevicesAndTheirPresets) {
    EXPECT_EQ(DevicesOffered(DeviceKind::PttData), std::vector<int>{9});
    EXPECT_EQ(DevicesOffered(DeviceKind::PttExt), (std::vector<int>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(DevicesOffered(DeviceKind::Sib), (std::vector<int>{14, 15, 16, 17}));
    for (DeviceKind kind : {DeviceKind::PttExt, DeviceKind::PttExtData, DeviceKind::PttData,
                            DeviceKind::Dmap, DeviceKind::Sib}) {
        for (int never : {0, 12, 13, 18, 19}) {
            const auto offered = DevicesOffered(kind);
            EXPECT_EQ(std::count(offered.begin(), offered.end(), never), 0);
        }
    }
    EXPECT_EQ(HelpTopic(DeviceKind::PttExt), 2650);
    EXPECT_EQ(HelpTopic(DeviceKind::Sib), 2654);
    EXPECT_EQ(DeviceKindOfLineFunction("PTT Ext Data"), DeviceKind::PttExtData);
    EXPECT_FALSE(DeviceKindOfLineFunction("PTT Mic"));
    EXPECT_EQ(DeviceKindOfBoard(3), DeviceKind::Dmap);
    EXPECT_FALSE(DeviceKindOfBoard(5));

    // Every preset is a step of its setting's list.
    for (int device = 0; device < kDeviceCount; ++device) {
        for (const Preset& preset : PresetsOf(device)) {
            const auto steps = LevelSteps(preset.setting);
            EXPECT_TRUE(std::any_of(steps.begin(), steps.end(),
                                    [&](const auto& step) { return step.text == preset.step; }))
                << kIoDevices[device].name << " " << preset.step;
        }
    }
    const auto covert = PresetsOf(2);
    ASSERT_EQ(covert.size(), 3u);
    EXPECT_EQ(covert[0].setting, AudioLevel::TxInput1);
    EXPECT_EQ(covert[0].step, "+42");
    EXPECT_EQ(covert[1].step, "0.0");
    EXPECT_EQ(covert[2].setting, AudioLevel::CompressorGain);
    EXPECT_EQ(covert[2].step, "12 ");
    const auto dataPipe = PresetsOf(9);
    EXPECT_EQ(dataPipe[0].setting, AudioLevel::TxInput3);
    EXPECT_EQ(dataPipe[1].setting, AudioLevel::TxInput4);
}

}  // namespace
}  // namespace km

#include "config/UiMap.h"

#include <algorithm>

#include "config/MobMap.h"
#include "config/UiVisibility.h"
#include "fields/FieldOps.h"

namespace km {
namespace {

using fields::FieldRow;
using fields::FieldValue;
using fields::ImageId;
using key_rows::KeyWord;

std::size_t At(const FieldRow& row, ImageId image) {
    return static_cast<std::size_t>(row.at.Of(image));
}

std::int64_t NumberAt(const FieldRow& row, std::span<const std::uint8_t> bytes,
                      std::size_t offset) {
    const FieldValue value = fields::ReadField(row, bytes, offset);
    const auto* number = std::get_if<std::int64_t>(&value);
    return number ? *number : row.blankRaw;
}

// Radio modes of the job header's byte.
constexpr int kModeBytePmr = 0;
constexpr int kModeByteTrunk = 1;
constexpr int kEngineeringLevel = 8;

// Trunk program versions below this numbered option board items 3 and 4 the other way round.
constexpr std::uint16_t kBoardItemsSwappedBefore = 0x107;

constexpr std::int64_t kLowestPassword = 1000;

// The alarm bytes whose other bits a trunk store clears.
constexpr std::size_t kAlarmMicrophoneByte = 0x0B0;
constexpr std::uint8_t kAlarmMicrophoneBits = 0x03;
constexpr std::size_t kAlarmOptionsWord = 0x0B6;
constexpr std::uint16_t kAlarmOptionsBits = 0x0001;

// Every trunk store clears the key words 0x0C0-0x0F3 first.
constexpr std::size_t kTrunkKeyWordsCleared = 26;

// The keys of a mobile head that are no function buttons.
struct FixedKey {
    KeyWord word;
    std::int64_t code;
};
constexpr FixedKey kMobileFixedKeys[] = {{KeyWord::W0CA, 0}, {KeyWord::W0CC, 6},
                                         {KeyWord::W0CE, 3}, {KeyWord::W0D0, 4},
                                         {KeyWord::W0D2, 2}, {KeyWord::W0D4, 1}};
constexpr std::int64_t kAccessoryMicMark = 0x80;

constexpr std::array<KeyWord, 4> kPortableDefaultWords = {KeyWord::W0D0, KeyWord::W0D2,
                                                          KeyWord::W0D4, KeyWord::W0D6};
constexpr std::array<std::int64_t, 4> kTrunkPortableKeys = {1, 2, kNoFunction, 6};
constexpr std::array<std::int64_t, 4> kPmrPortableKeys = {15, 16, kNoFunction, 4};

constexpr fields::Choice kZoneValues[] = {
    {1, "Zone 1"},   {2, "Zone 2"},   {3, "Zone 3"},   {4, "Zone 4"},   {5, "Zone 5"},
    {6, "Zone 6"},   {7, "Zone 7"},   {8, "Zone 8"},   {9, "Zone 9"},   {10, "Zone 10"},
    {11, "Zone 11"}, {12, "Zone 12"}, {13, "Zone 13"}, {14, "Zone 14"}, {15, "Zone 15"},
    {16, "Zone 16"}, {17, "Zone 17"}, {18, "Zone 18"}, {19, "Zone 19"}, {20, "Zone 20"}};
constexpr fields::Choice kModeValues[] = {{1, "Network 1"}, {2, "Network 2"}, {3, "PMR"}};

FunctionView FunctionViewOf(ImageId view) {
    return view == ImageId::Pmr ? FunctionView::Pmr : FunctionView::Trunk;
}

std::size_t LineOffset(ImageId view, std::size_t line) {
    return static_cast<std::size_t>(io_rows::kLines.base.Of(view)) + line * io_rows::kLines.stride;
}

// "? 23": a stored number no list has.
std::optional<std::int64_t> UnlistedNumber(std::string_view text) {
    if (!text.starts_with("? ")) {
        return std::nullopt;
    }
    const fields::FieldRow plain = {.id = "n", .encoding = fields::Encoding::U16};
    const auto value = fields::ParseField(plain, text.substr(2));
    const auto* number = value ? std::get_if<std::int64_t>(&*value) : nullptr;
    return number ? std::optional<std::int64_t>(*number) : std::nullopt;
}

std::string UnlistedText(std::int64_t number) {
    return "? " + std::to_string(number);
}

const FunctionEntry* LineFunctionOfByte(FunctionView view, std::uint8_t code) {
    for (const FunctionEntry& entry : FunctionTable(view)) {
        if ((entry.uses & kLineUse) != 0 && (entry.code & 0xFF) == code) {
            return &entry;
        }
    }
    return nullptr;
}

const FunctionEntry* LineFunctionOfName(FunctionView view, std::string_view name) {
    for (const FunctionEntry& entry : FunctionTable(view)) {
        if ((entry.uses & kLineUse) != 0 && entry.name == name) {
            return &entry;
        }
    }
    return nullptr;
}

// The function byte and kind a line stores for its shown function.
struct LineCode {
    std::int64_t code;
    std::optional<std::int64_t> kind;  // nullopt keeps the stored kind
};
LineCode LineCodeOf(FunctionView view, const IoLine& shown) {
    if (const auto unlisted = UnlistedNumber(shown.function)) {
        return {*unlisted, std::nullopt};
    }
    if (shown.input) {
        if (const FunctionEntry* entry = LineFunctionOfName(view, shown.function)) {
            return {entry->code & 0xFF, static_cast<std::int64_t>(entry->kind)};
        }
    } else {
        for (const fields::Choice& output : OutputFunctions(view)) {
            if (output.text == shown.function) {
                return {output.code, 0};
            }
        }
    }
    return {io_rows::kNoLineFunction, 0};
}

}  // namespace

// ---- Power-on mode ----

PowerOnShown ShowPowerOnMode(std::int64_t stored) {
    if (stored == ui_rows::kPowerOnSimplePmr) {
        return {ui_rows::kPowerOnPmr, true};
    }
    return {stored, false};
}

std::int64_t PowerOnModeToStore(ImageId view, const PowerOnShown& shown, int userLevelMask,
                                int imageRadioMode) {
    if (view == ImageId::Trunk) {
        if (userLevelMask == kEngineeringLevel && shown.simplePmr) {
            return ui_rows::kPowerOnSimplePmr;
        }
        if (imageRadioMode == kModeByteTrunk && shown.code == ui_rows::kPowerOnPmr) {
            return ui_rows::kPowerOnNetwork1;
        }
        return shown.code;
    }
    if (shown.simplePmr) {
        return ui_rows::kPowerOnSimplePmr;
    }
    if (imageRadioMode == kModeBytePmr) {
        return ui_rows::kPowerOnPmr;
    }
    return shown.code;
}

std::optional<PowerOnRefusal> RefusePowerOnMode(std::int64_t chosen, int radioModeMask) {
    constexpr int kTrunkRadio = 2;
    constexpr int kPmrRadio = 1;
    if (radioModeMask == kTrunkRadio && chosen == ui_rows::kPowerOnPmr) {
        return PowerOnRefusal{ui_rows::kPowerOnNetwork1, kPowerUpInPmrRefused};
    }
    const bool trunkMode = chosen == ui_rows::kPowerOnLastSelected ||
                           chosen == ui_rows::kPowerOnNetwork1 || chosen == 2;
    if (radioModeMask == kPmrRadio && trunkMode) {
        return PowerOnRefusal{ui_rows::kPowerOnPmr, kPowerUpInTrunkRefused};
    }
    return std::nullopt;
}

// ---- Shown values ----

std::int64_t PasswordToStore(std::int64_t entered) {
    return entered < kLowestPassword ? 0 : entered;
}

std::int64_t ShownExtAlertDelay(std::int64_t stored) {
    return stored == 0 ? 1 : stored;
}

std::int64_t ShownExtAlertDuration(std::int64_t milliseconds) {
    return milliseconds > ui_rows::kExtAlertDuration.max ? 0 : milliseconds;
}

std::int64_t ShownExternalAlert(std::int64_t stored) {
    return stored == (ui_rows::kExtAlertOff | ui_rows::kExtAlertContinuous) ? ui_rows::kExtAlertOff
                                                                            : stored;
}

std::int64_t OptionBoardItem(ImageId view, std::int64_t stored, std::uint16_t versionWord) {
    if (view != ImageId::Trunk || versionWord >= kBoardItemsSwappedBefore) {
        return stored;
    }
    if (stored == io_rows::kBoardDmap) {
        return io_rows::kBoardAudioDiscriminator;
    }
    if (stored == io_rows::kBoardAudioDiscriminator) {
        return io_rows::kBoardDmap;
    }
    return stored;
}

bool NetworkOneIs3rp(std::span<const std::uint8_t> trunkBytes) {
    constexpr std::uint16_t k3rpScheme = 2;
    const std::size_t at = trunk::NetworkFileStart(0) + network::kNumberingScheme;
    return at + 1 < trunkBytes.size() && (trunkBytes[at] | trunkBytes[at + 1] << 8) == k3rpScheme;
}

// ---- Stores ----

void WriteFixedUiFields(ImageId view, std::span<std::uint8_t> bytes) {
    for (std::span<const FieldRow> rows :
         {std::span<const FieldRow>(ui_rows::kRows), std::span<const FieldRow>(key_rows::kRows)}) {
        for (const FieldRow& row : rows) {
            if (row.derived && &row != &key_rows::kAccessoryMark &&
                row.at.Of(view) != fields::kAbsent) {
                fields::WriteField(row, bytes, At(row, view), fields::DefaultValue(row));
            }
        }
    }
    if (view == ImageId::Trunk) {
        bytes[kAlarmMicrophoneByte] &= kAlarmMicrophoneBits;
        bytes[kAlarmOptionsWord] &= kAlarmOptionsBits;
        bytes[kAlarmOptionsWord + 1] = 0;
    }
}

std::optional<KeyWord> ButtonWord(std::size_t button, bool portable) {
    constexpr std::size_t kF5 = 4;
    constexpr std::size_t kF6 = 5;
    if (button < kF5) {
        return static_cast<KeyWord>(static_cast<std::size_t>(KeyWord::W0C2) + button);
    }
    if (portable) {
        if (button >= kButtonCount) {
            return std::nullopt;
        }
        return static_cast<KeyWord>(static_cast<std::size_t>(KeyWord::W0CA) + button - kF5);
    }
    if (button == kF5) {
        return KeyWord::W0C0;
    }
    if (button == kF6) {
        return KeyWord::W0D6;
    }
    return std::nullopt;
}

void StoreKeys(ImageId view, std::span<std::uint8_t> bytes, const KeyLayout& layout,
               const std::array<std::int64_t, kButtonCount>& buttons) {
    if (view == ImageId::Trunk) {
        std::fill_n(bytes.begin() + key_rows::kFirstKeyWord, 2 * kTrunkKeyWordsCleared, 0xFF);
    }
    // The fixed keys carry trunk functions (Call, Clear, Menu, Right, Left): a trunk job's.
    if (!layout.portable && view == ImageId::Trunk) {
        for (const FixedKey& key : kMobileFixedKeys) {
            const FieldRow& row = key_rows::KeyRowOf(view, key.word);
            fields::WriteField(row, bytes, At(row, view), key.code);
        }
    }
    for (std::size_t button = 0; button < kButtonCount; ++button) {
        if (const auto word = ButtonWord(button, layout.portable)) {
            const FieldRow& row = key_rows::KeyRowOf(view, *word);
            fields::WriteField(row, bytes, At(row, view), buttons[button]);
        }
    }
    const bool micAccessory =
        layout.accessory == kAccessoryAcc1 || layout.accessory == kAccessoryOemMic;
    if (layout.portable && layout.portableGeneration == 2 && micAccessory) {
        fields::WriteField(key_rows::kAccessoryMark, bytes, At(key_rows::kAccessoryMark, view),
                           kAccessoryMicMark);
    }
}

void ApplyPortableKeyDefaults(ImageId view, std::span<std::uint8_t> bytes) {
    const auto& keys = view == ImageId::Pmr ? kPmrPortableKeys : kTrunkPortableKeys;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const FieldRow& row = key_rows::KeyRowOf(view, kPortableDefaultWords[i]);
        fields::WriteField(row, bytes, At(row, view), keys[i]);
    }
}

void StoreDialSwitch(ImageId view, std::span<std::uint8_t> bytes, std::int64_t use,
                     const std::array<std::int64_t, kDialPositions>& values) {
    for (std::size_t i = 0; i < kDialPositions; ++i) {
        const FieldRow& useRow = *key_rows::kDialUses[i];
        const FieldRow& valueRow = *key_rows::kDialValues[i];
        fields::WriteField(useRow, bytes, At(useRow, view), use);
        fields::WriteField(valueRow, bytes, At(valueRow, view), values[i]);
    }
}

std::span<const fields::Choice> DialValues(std::int64_t use) {
    if (use == key_rows::kDialZone) {
        return kZoneValues;
    }
    if (use == key_rows::kDialMode) {
        return kModeValues;
    }
    return {};
}

void WriteCallTypeDefaults(std::span<std::uint8_t> trunkBytes) {
    using namespace call_type_rows;
    for (std::size_t n = 0; n < kCallTypes; ++n) {
        fields::WriteField(kDialColumns[0], trunkBytes,
                           static_cast<std::size_t>(kDials.base.trunk) + n * kDials.stride,
                           std::string(kDefaults[n].dial));
        fields::WriteField(kNameColumns[0], trunkBytes,
                           static_cast<std::size_t>(kNames.base.trunk) + n * kNames.stride,
                           std::string(kDefaults[n].name));
    }
}

void ApplyUserInterfaceDefaults(ImageId view, std::span<std::uint8_t> bytes) {
    WriteFixedUiFields(view, bytes);
    // The keys as a store leaves them for the templates' HM-F head: no functions, and the head's
    // fixed keys.
    std::fill_n(bytes.begin() + key_rows::kFirstKeyWord, 2 * kTrunkKeyWordsCleared, 0xFF);
    std::array<std::int64_t, kButtonCount> none{};
    none.fill(kNoFunction);
    StoreKeys(view, bytes, {false, 0, kAccessoryNone}, none);
    // The power-on mode the job's radio mode allows (a PMR-only job powers up in PMR).
    const FieldRow& powerOn = ui_rows::kPowerOnMode;
    const int radioMode = bytes[static_cast<std::size_t>(header_rows::kRadioMode.at.Of(view))];
    fields::WriteField(
        powerOn, bytes, At(powerOn, view),
        PowerOnModeToStore(view, ShowPowerOnMode(NumberAt(powerOn, bytes, At(powerOn, view))), 0,
                           radioMode));
    for (const FieldRow& row : key_rows::kRows) {
        if (row.encoding == fields::Encoding::Label) {
            fields::RewriteField(row, bytes, At(row, view), std::string());
        }
    }
    const std::size_t line1 = LineOffset(view, kInputOnlyLine);
    fields::WriteField(io_rows::kLineDirection, bytes, line1 + At(io_rows::kLineDirection, view),
                       io_rows::kLineInput);
}

// ---- Input/output lines ----

IoLine LoadIoLine(ImageId view, std::span<const std::uint8_t> bytes, std::size_t line) {
    using namespace io_rows;
    const std::size_t at = LineOffset(view, line);
    IoLine shown;
    shown.input = NumberAt(kLineDirection, bytes, at + At(kLineDirection, view)) == 1;
    shown.activeHigh = NumberAt(kLineActive, bytes, at + At(kLineActive, view)) == 1;
    shown.debounce = fields::FormatField(
        kLineDebounce, fields::ReadField(kLineDebounce, bytes, at + At(kLineDebounce, view)));
    const std::uint8_t code = bytes[at + At(kLineFunction, view)];
    const FunctionView functions = FunctionViewOf(view);
    if (shown.input) {
        const FunctionEntry* entry = LineFunctionOfByte(functions, code);
        shown.function = entry ? std::string(entry->name) : UnlistedText(code);
        return shown;
    }
    if (code == kNoLineFunction) {
        return shown;
    }
    shown.function = UnlistedText(code);
    for (const fields::Choice& output : OutputFunctions(functions)) {
        if (output.code == code) {
            shown.function = std::string(output.text);
        }
    }
    return shown;
}

void StoreIoLine(ImageId view, std::span<std::uint8_t> bytes, std::size_t line,
                 const IoLine& shown) {
    using namespace io_rows;
    const std::size_t at = LineOffset(view, line);
    auto write = [&](const FieldRow& row, const FieldValue& value) {
        fields::WriteField(row, bytes, at + At(row, view), value);
    };
    const LineCode code = LineCodeOf(FunctionViewOf(view), shown);
    // The kind follows a function that changed; an unchanged line keeps its bytes.
    const bool changed =
        bytes[at + At(kLineFunction, view)] != code.code ||
        (NumberAt(kLineDirection, bytes, at + At(kLineDirection, view)) == 1) != shown.input;
    write(kLineDirection, std::int64_t{shown.input ? 1 : 0});
    write(kLineActive, std::int64_t{shown.activeHigh ? 1 : 0});
    write(kLineFunction,
          code.code == kNoLineFunction ? FieldValue(std::string()) : FieldValue(code.code));
    if (code.kind && changed) {
        write(kLineKind, *code.kind);
    }
    if (const auto debounce = fields::ParseField(kLineDebounce, shown.debounce)) {
        write(kLineDebounce, *debounce);
    }
}

std::vector<std::string_view> LineFunctions(FunctionView view, int radioTypeMask, bool input) {
    std::vector<std::string_view> names;
    if (input) {
        for (const FunctionEntry* entry : OfferedFunctions(view, radioTypeMask, kLineUse)) {
            names.push_back(entry->name);
        }
        return names;
    }
    for (const fields::Choice& output : OutputFunctions(view)) {
        names.push_back(output.text);
    }
    return names;
}

// ---- Devices and the option board ----

DeviceSelections LoadDeviceSelections(ImageId view, std::span<const std::uint8_t> bytes) {
    using namespace io_rows;
    return {static_cast<int>(NumberAt(kInputDevice, bytes, At(kInputDevice, view))),
            static_cast<int>(NumberAt(kOptionBoardDevice, bytes, At(kOptionBoardDevice, view)))};
}

void StoreDeviceSelections(ImageId view, std::span<std::uint8_t> bytes,
                           const DeviceSelections& selections) {
    using namespace io_rows;
    fields::WriteField(kInputDevice, bytes, At(kInputDevice, view), std::int64_t{selections.input});
    fields::WriteField(kOptionBoardDevice, bytes, At(kOptionBoardDevice, view),
                       std::int64_t{selections.optionBoard});
}

BoardLayout LayoutOfBoard(std::int64_t board) {
    // The two lines of the accessory connector are always shown; a board shows the lines it
    // uses.
    constexpr std::size_t kConnectorLines = 2;
    constexpr std::size_t kSerialBoardLines = 6;
    switch (board) {
        case io_rows::kBoardDmap:
            return {io_rows::kLineCount, false, true, false};
        case io_rows::kBoard600Ohm:
        case io_rows::kBoardAsiStandard:
            return {kSerialBoardLines, true, false, true};
        case io_rows::kBoardAsiGps:
            return {kSerialBoardLines, false, false, true};
        default:
            return {kConnectorLines, false, false, false};
    }
}

std::int64_t ProtocolToStore(std::int64_t board, std::int64_t protocol) {
    return board == io_rows::kBoardAsiGps ? 0 : protocol;
}

}  // namespace km

#include "radio/CodeFile.h"

#include <algorithm>
#include <stdexcept>

#include "core/Cp1252.h"
#include "core/Files.h"
#include "radio/VirtualRadioMark.h"

namespace km {
namespace {

// Offsets inside the Software Description record.
struct TextField {
    std::size_t offset;
    std::size_t width;
};
constexpr TextField kDescriptionField{0, 25};
constexpr TextField kSoftwareCodeField{25, 6};
constexpr TextField kVersionField{31, 6};
constexpr TextField kDateField{37, 10};
constexpr std::size_t kCodeTypeOffset = 47;
constexpr TextField kRequiredRcpCodeField{49, 6};
constexpr TextField kRequiredRcpVersionField{55, 6};
constexpr std::uint8_t kNoDescription = 0xFF;

constexpr CodeTypeInfo kCodeTypes[] = {
    {2, "TRUNK", "TRUNK", kTrunkCodeEntry, CodeFamily::Revision8Mobile},
    {3, "PMR", "PMR", kPmrCodeEntry, CodeFamily::Revision8Mobile},
    {4, "StartUp", "StartUp", kStartupCodeEntry, CodeFamily::Revision8Mobile},
    {6, "TRUNK", "TRUNK", kTrunkCodeEntry, CodeFamily::Revision8Mobile},
    {7, "TRUNK", "TRUNK", kTrunkCodeEntry, CodeFamily::Revision8Mobile},
    {8, "TRUNK", "TRUNK", kTrunkCodeEntry, CodeFamily::Revision8Mobile},
    {9, "TRUNK", "TRUNK", kTrunkCodeEntry, CodeFamily::Revision8Mobile},
    {10, "TRUNK", "TRUNK", kTrunkCodeEntry, CodeFamily::Revision8Mobile},
    {132, "DMAP", "DMAP", kOptionBoardCodeEntry, CodeFamily::OptionBoard},
    {58, "Startup", "Startup", kStartupCodeEntry, CodeFamily::Portable},
    {59, "PMR", "PMR", kPmrCodeEntry, CodeFamily::Portable},
    {61, "TRUNK", "TRUNK", kTrunkCodeEntry, CodeFamily::Portable},
    {80, "Startup", "Startup", kStartupCodeEntry, CodeFamily::Revision9Mobile},
    {81, "PMR", "PMR", kPmrCodeEntry, CodeFamily::Revision9Mobile},
    {82, "APCO P25", "APCO-P25", kApcoCodeEntry, CodeFamily::ApcoP25},
    {83, "TRUNK", "TRUNK", kTrunkCodeEntry, CodeFamily::Revision9Mobile},
    {90, "Startup", "Startup", kStartupCodeEntry, CodeFamily::Revision10Mobile},
    {91, "PMR", "PMR", kPmrCodeEntry, CodeFamily::Revision10Mobile},
    {92, "APCO P25", "APCO-P25", kApcoCodeEntry, CodeFamily::ApcoP25},
    {93, "TRUNK", "TRUNK", kTrunkCodeEntry, CodeFamily::Revision10Mobile},
};

// Which radios each kind of code cannot go into.
struct CompatibilityRule {
    CodeFamily family;
    bool (*refuses)(const RadioIdentity&);
    std::string_view text;
};
constexpr std::string_view kMobileIntoPortable =
    "Cannot download KM700 Mobile code into an KP800 Portable.";
constexpr CompatibilityRule kCompatibilityRules[] = {
    {CodeFamily::Portable, [](const RadioIdentity& r) { return !r.Portable; },
     "Cannot download KP800 Portable code into an KM700 Mobile."},
    {CodeFamily::OptionBoard, [](const RadioIdentity& r) { return !r.OptionBoardFitted; },
     "Cannot download option board code. \nNo option board fitted."},
    {CodeFamily::Revision8Mobile, [](const RadioIdentity& r) { return r.Portable; },
     kMobileIntoPortable},
    {CodeFamily::Revision8Mobile, [](const RadioIdentity& r) { return r.MobileRevision > 0; },
     "Cannot download Revision 8 Mobile code into a Revision 9 KM700 Mobile."},
    {CodeFamily::Revision9Mobile, [](const RadioIdentity& r) { return r.Portable; },
     kMobileIntoPortable},
    {CodeFamily::Revision9Mobile, [](const RadioIdentity& r) { return r.MobileRevision == 8; },
     "Cannot download Revision 9 KM700 Mobile code into a Revision 10 KM700 Mobile."},
    {CodeFamily::Revision9Mobile,
     [](const RadioIdentity& r) { return !r.Portable && r.MobileRevision == 0; },
     "Cannot download Revision 9 KM700 Mobile code into a Revision 8 KM700 Mobile."},
    {CodeFamily::Revision10Mobile, [](const RadioIdentity& r) { return r.Portable; },
     kMobileIntoPortable},
    {CodeFamily::Revision10Mobile, [](const RadioIdentity& r) { return r.MobileRevision == 4; },
     "Cannot download Revision 10 KM700 Mobile code into a Revision 9 KM700 Mobile."},
    {CodeFamily::Revision10Mobile,
     [](const RadioIdentity& r) { return !r.Portable && r.MobileRevision == 0; },
     "Cannot download Revision 10 KM700 Mobile code into a Revision 8 KM700 Mobile."},
};

// Portable code against the KP8B / KP8D hardware; classes 1 and 2 are KP8D code.
struct PortableRule {
    bool (*refuses)(bool portableCode, int codeClass, const RadioIdentity&);
    std::string_view text;
};
constexpr PortableRule kPortableRules[] = {
    {[](bool code, int cls, const RadioIdentity& r) {
         return r.HardwareOptionB && cls == 0 && code;
     },
     "Cannot download KP8B Portable Code into an KP8D Portable."},
    {[](bool code, int cls, const RadioIdentity& r) {
         return r.HardwareOptionB && cls == 0 && !code;
     },
     "Cannot download incorrect Code into an KP8D Portable."},
    {[](bool code, int cls, const RadioIdentity& r) {
         return !r.HardwareOptionB && cls != 0 && code;
     },
     "Cannot download KP8D Portable Code into an KP8B Portable."},
    {[](bool, int cls, const RadioIdentity& r) {
         return r.HardwareOptionB && r.HardwareOptionC && cls == 1;
     },
     "Cannot download Standard KP8D Code into KP8D with Rotary Knob."},
    {[](bool, int cls, const RadioIdentity& r) {
         return r.HardwareOptionB && !r.HardwareOptionC && cls == 2;
     },
     "Cannot download KP8D(with Rotary Knob) Code into Standard KP8D."},
};

constexpr std::int64_t kStandardKp8dCodes[] = {0x14670, 0x14680, 0x14690, 0x14700,
                                               0x14710, 0x15080, 0x15090};
constexpr std::int64_t kRotaryKp8dCodes[] = {0x16230, 0x16240, 0x16250, 0x16260,
                                             0x16270, 0x16280, 0x16290};

constexpr std::size_t kOverlaySectionHeader = 3;
constexpr std::size_t kOverlayMinimumFile = kCodeImageExtra + 10;  // L + 82

std::string RecordText(std::span<const std::uint8_t> record, TextField field) {
    std::string raw;
    for (std::size_t i = 0; i < field.width; ++i) {
        const std::uint8_t c = record[field.offset + i];
        if (c == 0) {
            break;
        }
        raw.push_back(static_cast<char>(c));
    }
    return Cp1252ToUtf8(raw);
}

void PutRecordText(std::span<std::uint8_t> record, TextField field, std::string_view text) {
    const std::string raw = Utf8ToCp1252(text);
    for (std::size_t i = 0; i < field.width; ++i) {
        record[field.offset + i] = i < raw.size() ? static_cast<std::uint8_t>(raw[i]) : ' ';
    }
}

SoftwareDescription ParseDescription(std::span<const std::uint8_t> record) {
    SoftwareDescription d;
    d.description = RecordText(record, kDescriptionField);
    d.softwareCode = RecordText(record, kSoftwareCodeField);
    d.versionText = RecordText(record, kVersionField);
    d.date = RecordText(record, kDateField);
    d.codeType = record[kCodeTypeOffset];
    d.requiredRcpCode = RecordText(record, kRequiredRcpCodeField);
    d.requiredRcpVersion = RecordText(record, kRequiredRcpVersionField);
    return d;
}

std::size_t LengthField(std::span<const std::uint8_t> bytes) {
    return static_cast<std::size_t>(bytes[kCodeLengthField] << 8 | bytes[kCodeLengthField + 1]);
}

int DigitValue(char c) {
    return static_cast<unsigned char>(c) & 0x0F;
}

}  // namespace

bool VirtualRadioBuild(const SoftwareDescription& description) {
    return description.description.starts_with(kVirtualRadioCodeDescription);
}

std::optional<CodeTypeInfo> CodeTypeOf(std::uint8_t codeType) {
    for (const CodeTypeInfo& info : kCodeTypes) {
        if (info.codeType == codeType) {
            return info;
        }
    }
    return std::nullopt;
}

std::string CodeKindInWords(const CodeTypeInfo& type) {
    // APCO P25 code has a family of its own; its type says which mobile runs it.
    constexpr std::uint8_t kApcoRevision9 = 82;
    std::string_view radio;
    switch (type.family) {
        case CodeFamily::Revision8Mobile:
            radio = "a Revision 8 KM700 Mobile";
            break;
        case CodeFamily::Portable:
            radio = "a KP800 Portable";
            break;
        case CodeFamily::Revision9Mobile:
            radio = "a Revision 9 KM700 Mobile";
            break;
        case CodeFamily::Revision10Mobile:
            radio = "a Revision 10 KM700 Mobile";
            break;
        case CodeFamily::OptionBoard:
            radio = "the option board";
            break;
        case CodeFamily::ApcoP25:
            radio = type.codeType == kApcoRevision9 ? "a Revision 9 KM700 Mobile"
                                                    : "a Revision 10 KM700 Mobile";
            break;
    }
    return std::string(type.kindText) + " software for " + std::string(radio);
}

std::size_t CodePiecesWritten(const CodeTypeInfo& type) {
    return type.fitEntry == kStartupCodeEntry ? 2 : 4;
}

bool CodeTakesOverlay(const CodeTypeInfo& type) {
    return type.fitEntry != kStartupCodeEntry;
}

int CodeVersionNumber(std::string_view versionText) {
    auto at = [&versionText](std::size_t i) {
        return i < versionText.size() ? DigitValue(versionText[i]) : 0;
    };
    return 100 * at(1) + 10 * at(3) + at(4);
}

std::int64_t SoftwareCodeNumber(std::string_view softwareCode) {
    std::int64_t number = 0;
    for (std::size_t i = 0; i < 5; ++i) {
        const int digit = i < softwareCode.size() ? softwareCode[i] - '0' : -'0';
        number = number * 16 + digit;
    }
    return number;
}

int SoftwareCodeClass(std::int64_t softwareCodeNumber) {
    auto among = [softwareCodeNumber](std::span<const std::int64_t> codes) {
        return std::find(codes.begin(), codes.end(), softwareCodeNumber) != codes.end();
    };
    if (among(kStandardKp8dCodes)) {
        return 1;
    }
    return among(kRotaryKp8dCodes) ? 2 : 0;
}

CodeFileCheck InspectCodeFile(std::span<const std::uint8_t> fileBytes) {
    const auto bytes = fileBytes.first(std::min(fileBytes.size(), kCodeFileReadLimit));
    if (bytes.size() < kCodeLengthField + 2) {
        return {std::nullopt, kNoDescriptionText};
    }
    const std::size_t length = LengthField(bytes);
    const std::size_t recordStart = length + kDescriptionInFile;
    const std::size_t codeLength = length + kCodeImageExtra;
    if (recordStart + kDescriptionRecordSize > bytes.size() || codeLength > kCodeImageLimit) {
        return {std::nullopt, kNoDescriptionText};
    }
    CodeImage image;
    image.description = ParseDescription(bytes.subspan(recordStart, kDescriptionRecordSize));
    if (image.description.codeType == kNoDescription) {
        return {std::nullopt, kNoDescriptionText};
    }
    const auto type = CodeTypeOf(image.description.codeType);
    if (type && codeLength > CodePiecesWritten(*type) * kCodePieceSize) {
        return {std::nullopt, kStartupCodeTooLongText};
    }
    image.codeLength = codeLength;
    image.fileBytes.assign(fileBytes.begin(), fileBytes.end());
    return {std::move(image), {}};
}

bool CodeFileExtensionAccepted(const std::filesystem::path& path) {
    const std::string extension = path.extension().string();
    return extension == ".bin" || extension == ".BIN";
}

WriteRegions CodeRegions(std::size_t codeLength) {
    WriteRegions regions;
    for (std::size_t i = 0; i < regions.WriteRegionLength.size(); ++i) {
        const std::size_t start = i * kCodePieceSize;
        regions.WriteRegionLength[i] =
            codeLength > start ? std::min(kCodePieceSize, codeLength - start) : 0;
    }
    regions.progressTotal = static_cast<int>(codeLength / kWriteBlockSize);
    return regions;
}

std::optional<CodeImage> ReadCodeFile(const std::filesystem::path& path, Person& person) {
    // Read past the code limit so that the overlay sections are checked from the same bytes.
    const auto bytes = ReadFileBytes(path, kOverlayFileLimit + 1);
    if (!bytes) {
        person.Error(kCodeFileNotFoundText);
        return std::nullopt;
    }
    CodeFileCheck check = InspectCodeFile(*bytes);
    if (!check.image) {
        person.Error(check.refusal);
        return std::nullopt;
    }
    return std::move(check.image);
}

WriteRegions LoadCodeImage(const CodeImage& image, ScratchBuffer& scratch) {
    scratch.Fill(0xFF);
    const std::size_t n = std::min(image.fileBytes.size(), kCodeFileReadLimit);
    scratch.Write(0, std::span<const std::uint8_t>(image.fileBytes).first(n));
    return CodeRegions(image.codeLength);
}

std::optional<WriteRegions> LoadCodeFile(const std::filesystem::path& path, ScratchBuffer& scratch,
                                         Person& person) {
    const auto image = ReadCodeFile(path, person);
    if (!image) {
        return std::nullopt;
    }
    return LoadCodeImage(*image, scratch);
}

OverlayParse ParseOverlay(std::span<const std::uint8_t> fileBytes) {
    OverlayParse parse;
    if (fileBytes.size() > kOverlayFileLimit) {
        parse.outcome = OverlayOutcome::TooLong;
        return parse;
    }
    if (fileBytes.size() < kCodeLengthField + 2) {
        return parse;
    }
    const std::size_t length = LengthField(fileBytes);
    if (fileBytes.size() < length + kOverlayMinimumFile) {
        return parse;
    }
    // What the loaded code leaves at the start of the ScratchBuffer: its first bytes.
    parse.image.fill(0xFF);
    std::copy_n(fileBytes.begin(), std::min(fileBytes.size(), parse.image.size()),
                parse.image.begin());
    std::size_t at = length + kCodeImageExtra + 1;
    std::size_t used = 0;
    while (used < kMaxOverlaySections && at + kOverlaySectionHeader <= fileBytes.size()) {
        const std::size_t count = static_cast<std::size_t>(fileBytes[at] << 8 | fileBytes[at + 1]);
        const std::size_t slot = fileBytes[at + 2];
        const std::size_t size = 3 * count + 6;
        if (size <= 6 || size >= kOverlaySlotSize) {
            break;
        }
        const std::size_t to = slot * kOverlaySlotSize;
        if (at + size > fileBytes.size() || to + size > kOverlayImageSize) {
            parse.outcome = OverlayOutcome::SectionInvalid;
            return parse;
        }
        std::copy_n(fileBytes.begin() + static_cast<std::ptrdiff_t>(at), size,
                    parse.image.begin() + static_cast<std::ptrdiff_t>(to));
        at += size;
        ++used;
    }
    parse.outcome = used > 0 ? OverlayOutcome::Built : OverlayOutcome::None;
    return parse;
}

namespace {

// Shows the error of an overlay that cannot be used; these boxes have only a Cancel button.
bool OverlayUsable(const OverlayParse& parse, Person& person) {
    switch (parse.outcome) {
        case OverlayOutcome::TooLong:
            person.Show(BoxKind::Error, kOverlayTooLongText, Buttons::Cancel);
            return false;
        case OverlayOutcome::SectionInvalid:
            person.Show(BoxKind::Error, kOverlaySectionInvalidText, Buttons::Cancel);
            return false;
        case OverlayOutcome::None:
        case OverlayOutcome::Built:
            break;
    }
    return true;
}

}  // namespace

bool CheckOverlay(const CodeImage& image, Person& person) {
    return OverlayUsable(ParseOverlay(image.fileBytes), person);
}

std::optional<WriteRegions> LoadOverlay(const std::filesystem::path& path, ScratchBuffer& scratch,
                                        Person& person) {
    const auto bytes = ReadFileBytes(path, kOverlayFileLimit + 1);
    if (!bytes) {
        person.Show(BoxKind::Error, kOverlayCodeFileNotFoundText, Buttons::Cancel);
        return std::nullopt;
    }
    const OverlayParse parse = ParseOverlay(*bytes);
    if (!OverlayUsable(parse, person) || parse.outcome != OverlayOutcome::Built) {
        return std::nullopt;
    }
    scratch.Write(0, parse.image);
    WriteRegions regions;
    regions.WriteRegionLength[0] = kOverlayImageSize;
    regions.progressTotal = static_cast<int>(kOverlayImageSize / kWriteBlockSize);
    return regions;
}

std::optional<std::string_view> CodeCompatibilityRefusal(std::uint8_t codeType,
                                                         const RadioIdentity& radio) {
    std::optional<std::string_view> refusal;
    const auto type = CodeTypeOf(codeType);
    if (type) {
        for (const CompatibilityRule& rule : kCompatibilityRules) {
            if (rule.family == type->family && rule.refuses(radio)) {
                refusal = rule.text;
            }
        }
    }
    if (radio.Secure) {
        refusal = kInvalidRadioText;
    }
    return refusal;
}

std::optional<std::string_view> PortableCodeRefusal(std::uint8_t codeType, int codeClass,
                                                    const RadioIdentity& radio) {
    if (!radio.Portable) {
        return std::nullopt;
    }
    const auto type = CodeTypeOf(codeType);
    const bool portableCode = type && type->family == CodeFamily::Portable;
    std::optional<std::string_view> refusal;
    for (const PortableRule& rule : kPortableRules) {
        if (rule.refuses(portableCode, codeClass, radio)) {
            refusal = rule.text;
        }
    }
    return refusal;
}

bool OlderSoftwareRefused(const RadioIdentity& radio, int codeVersion, std::uint8_t codeType) {
    const auto type = CodeTypeOf(codeType);
    const bool optionBoardCode = type && type->family == CodeFamily::OptionBoard;
    return radio.FlashType == 2 && radio.MobileRevision > 0 &&
           codeVersion < kMinimumVersionForNewFlash && !optionBoardCode;
}

bool CodeAreaUsable(const FitEntry& entry) {
    constexpr std::uint16_t kFirstCodeBlock = 60;
    return entry.sector != 0 && entry.sector != 1 && entry.sector != 255 && entry.block != 0xFFFF &&
           entry.block >= kFirstCodeBlock;
}

std::vector<std::uint8_t> MakeCodeFile(std::span<const std::uint8_t> code,
                                       const SoftwareDescription& description,
                                       std::span<const OverlaySection> overlays) {
    if (code.size() < kDescriptionInFile || code.size() - kDescriptionInFile > 0xFFFF) {
        throw std::invalid_argument("code too short or too long for a code file");
    }
    std::vector<std::uint8_t> file(code.begin(), code.end());
    const std::size_t length = code.size() - kDescriptionInFile;
    file[kCodeLengthField] = static_cast<std::uint8_t>(length >> 8);
    file[kCodeLengthField + 1] = static_cast<std::uint8_t>(length & 0xFF);

    std::array<std::uint8_t, kDescriptionRecordSize> record{};
    PutRecordText(record, kDescriptionField, description.description);
    PutRecordText(record, kSoftwareCodeField, description.softwareCode);
    PutRecordText(record, kVersionField, description.versionText);
    PutRecordText(record, kDateField, description.date);
    record[kCodeTypeOffset] = description.codeType;
    PutRecordText(record, kRequiredRcpCodeField, description.requiredRcpCode);
    PutRecordText(record, kRequiredRcpVersionField, description.requiredRcpVersion);
    file.insert(file.end(), record.begin(), record.end());

    for (const OverlaySection& section : overlays) {
        if (section.body.size() < 3 || section.body.size() % 3 != 0) {
            throw std::invalid_argument("an overlay section body holds 3 x c + 3 bytes");
        }
        const std::size_t count = section.body.size() / 3 - 1;
        file.push_back(static_cast<std::uint8_t>(count >> 8));
        file.push_back(static_cast<std::uint8_t>(count & 0xFF));
        file.push_back(section.slot);
        file.insert(file.end(), section.body.begin(), section.body.end());
    }
    return file;
}

}  // namespace km

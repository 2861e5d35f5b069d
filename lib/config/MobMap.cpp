#include "config/MobMap.h"

#include "config/BandTable.h"
#include "config/RadioTypes.h"

namespace km {
namespace {

enum class JobKind { Trunk, Pmr };

constexpr const HeaderFieldPlace& Place(HeaderField field) {
    return kHeaderFields[static_cast<std::size_t>(field)];
}
static_assert(Place(HeaderField::HeadVariant).field == HeaderField::HeadVariant,
              "the header table is listed in the order of HeaderField");

constexpr std::size_t Offset(HeaderField field, JobKind kind) {
    return kind == JobKind::Trunk ? Place(field).trunkOffset : Place(field).pmrOffset;
}

// Keys 1..4 of the user interface options, and their portable defaults per job kind.
constexpr std::array<std::size_t, 4> kProgrammableKeyWords = {208, 210, 212, 214};
constexpr std::array<std::uint16_t, 4> kTrunkPortableKeys = {1, 2, 0xFFFF, 6};
constexpr std::array<std::uint16_t, 4> kPmrPortableKeys = {15, 16, 0xFFFF, 4};

constexpr std::size_t kDescriptionStoredLimit = 63;

std::string DescriptionFromBytes(std::string_view raw) {
    std::string text;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '\r') {
            text.push_back('\n');
            if (i + 1 < raw.size() && raw[i + 1] == '\n') {
                ++i;
            }
        } else {
            text.push_back(raw[i]);
        }
    }
    return Cp1252ToUtf8(text);
}

template <std::size_t N>
JobHeader LoadHeader(const ByteImage<N>& image, JobKind kind) {
    JobHeader header;
    const std::size_t descriptionAt = Offset(HeaderField::Description, kind);
    std::string raw;
    for (std::size_t i = 0; i < Place(HeaderField::Description).width; ++i) {
        const std::uint8_t byte = image.U8(descriptionAt + i);
        if (byte == 0) {
            break;
        }
        raw.push_back(static_cast<char>(byte));
    }
    header.description = DescriptionFromBytes(raw);
    header.versionWord = image.U16(Offset(HeaderField::VersionWord, kind));
    header.radioMode = image.U8(Offset(HeaderField::RadioMode, kind));
    header.radioTypeRow =
        RadioTypeRowOfCode(image.U8(Offset(HeaderField::RadioType, kind)),
                           image.U8(Offset(HeaderField::HeadVariant, kind)), header.versionWord);
    header.bandWord = image.U16(Offset(HeaderField::BandCode, kind));
    header.bandEntry = BandEntryOfWord(header.bandWord);
    header.accessory = image.U16(Offset(HeaderField::Accessory, kind));
    return header;
}

template <std::size_t N>
void StoreCommonHeader(ByteImage<N>& image, const JobHeader& header, JobKind kind,
                       std::uint16_t formatMark) {
    image.SetU16(Offset(HeaderField::VersionWord, kind), kProgramVersionNumber);
    image.SetU16(Offset(HeaderField::FormatMark, kind), formatMark);
    const std::string bytes = DescriptionBytes(header.description);
    const std::size_t descriptionAt = Offset(HeaderField::Description, kind);
    image.FillRegion(descriptionAt, Place(HeaderField::Description).width, 0);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        image.SetU8(descriptionAt + i, static_cast<std::uint8_t>(bytes[i]));
    }
    image.SetU8(Offset(HeaderField::RadioMode, kind), static_cast<std::uint8_t>(header.radioMode));
    const RadioTypeCode code = RadioTypeCodeOfRow(header.radioTypeRow);
    image.SetU8(Offset(HeaderField::RadioType, kind), code.code);
    image.SetU8(Offset(HeaderField::HeadVariant, kind), code.headVariant);
    image.SetU16(Offset(HeaderField::Accessory, kind),
                 static_cast<std::uint16_t>(header.accessory));
}

template <std::size_t N>
void WriteKeys(ByteImage<N>& image, const std::array<std::uint16_t, 4>& keys) {
    for (std::size_t i = 0; i < keys.size(); ++i) {
        image.SetU16(kProgrammableKeyWords[i], keys[i]);
    }
}

}  // namespace

std::string DescriptionBytes(std::string_view utf8) {
    const std::string raw = Utf8ToCp1252(utf8);
    std::string bytes;
    for (char c : raw) {
        if (c == '\r') {
            continue;  // a line break is stored as CR LF whatever the memo held
        }
        const std::size_t need = c == '\n' ? 2 : 1;
        if (bytes.size() + need > kDescriptionStoredLimit) {
            break;
        }
        if (c == '\n') {
            bytes += "\r\n";
        } else if (c != '\0') {
            bytes.push_back(c);
        }
    }
    return bytes;
}

std::size_t DescriptionLength(std::string_view utf8) {
    std::size_t length = 0;
    for (char c : Utf8ToCp1252(utf8)) {
        length += c == '\n' ? 2 : (c == '\r' ? 0 : 1);
    }
    return length;
}

JobHeader LoadTrunkHeader(const TrunkJobImage& image) {
    return LoadHeader(image, JobKind::Trunk);
}
JobHeader LoadPmrHeader(const PmrJobImage& image) {
    return LoadHeader(image, JobKind::Pmr);
}

void StoreTrunkHeader(TrunkJobImage& image, const JobHeader& header) {
    StoreCommonHeader(image, header, JobKind::Trunk, trunk::kFormatMarkValue);
    const std::size_t band1 = trunk::NetworkFileStart(0) + network::kBandCode;
    const std::size_t band2 = trunk::NetworkFileStart(1) + network::kBandCode;
    if (NetworkPresent(image, 0)) {
        image.SetU16(trunk::kBandCode, image.U16(band1));
    } else {
        image.SetU16(trunk::kBandCode, 0);
        image.SetU16(band1, 0);
    }
    if (!NetworkPresent(image, 1)) {
        image.SetU16(band2, 0);
    }
}

void StorePmrHeader(PmrJobImage& image, const JobHeader& header) {
    StoreCommonHeader(image, header, JobKind::Pmr, pmr::kCurrentFormat);
    // A stored word that names no band shows as "Undefined"; unless a band is chosen it is
    // written back as it was.
    const bool unknownKept = header.bandEntry == 0 && BandEntryOfWord(header.bandWord) == 0;
    image.SetU16(pmr::kBandCode, unknownKept ? header.bandWord : BandWordOfEntry(header.bandEntry));
}

void ApplyPortableKeyDefaults(TrunkJobImage& image) {
    WriteKeys(image, kTrunkPortableKeys);
}
void ApplyPortableKeyDefaults(PmrJobImage& image) {
    WriteKeys(image, kPmrPortableKeys);
}

bool VersionLabelVisible(int userLevelMask) {
    return userLevelMask == 4 || userLevelMask == 8;
}

}  // namespace km

#include "config/MobMap.h"

#include "config/BandTable.h"
#include "config/RadioTypes.h"
#include "fields/FieldOps.h"

namespace km {
namespace {

using fields::ImageId;

template <std::size_t N>
std::int64_t Number(const ByteImage<N>& image, ImageId id, const fields::FieldRow& row) {
    return std::get<std::int64_t>(fields::ReadField(row, image.Bytes(), row.at.Of(id)));
}
template <std::size_t N>
void SetNumber(ByteImage<N>& image, ImageId id, const fields::FieldRow& row, std::int64_t value) {
    fields::WriteField(row, image.Bytes(), row.at.Of(id), value);
}

template <std::size_t N>
JobHeader LoadHeader(const ByteImage<N>& image, ImageId id) {
    using namespace header_rows;
    JobHeader header;
    header.description = std::get<std::string>(
        fields::ReadField(kDescription, image.Bytes(), kDescription.at.Of(id)));
    header.versionWord = static_cast<std::uint16_t>(Number(image, id, kVersion));
    header.radioMode = static_cast<int>(Number(image, id, kRadioMode));
    header.radioTypeRow = RadioTypeRowOfCode(
        static_cast<std::uint8_t>(Number(image, id, kRadioType)),
        static_cast<std::uint8_t>(Number(image, id, kHeadVariant)), header.versionWord);
    header.bandWord = static_cast<std::uint16_t>(Number(image, id, kBand));
    header.bandEntry = BandEntryOfWord(header.bandWord);
    header.accessory = static_cast<int>(Number(image, id, kAccessory));
    return header;
}

template <std::size_t N>
void StoreCommonHeader(ByteImage<N>& image, const JobHeader& header, ImageId id,
                       std::uint16_t formatMark) {
    using namespace header_rows;
    SetNumber(image, id, kVersion, kProgramVersionNumber);
    SetNumber(image, id, kFormat, formatMark);
    fields::WriteField(kDescription, image.Bytes(), kDescription.at.Of(id), header.description);
    SetNumber(image, id, kRadioMode, header.radioMode);
    const RadioTypeCode code = RadioTypeCodeOfRow(header.radioTypeRow);
    SetNumber(image, id, kRadioType, code.code);
    SetNumber(image, id, kHeadVariant, code.headVariant);
    SetNumber(image, id, kAccessory, header.accessory);
}

}  // namespace

std::size_t DescriptionLength(std::string_view utf8) {
    std::size_t length = 0;
    for (char c : Utf8ToCp1252(utf8)) {
        length += c == '\n' ? 2 : (c == '\r' ? 0 : 1);
    }
    return length;
}

JobHeader LoadTrunkHeader(const TrunkJobImage& image) {
    return LoadHeader(image, ImageId::Trunk);
}
JobHeader LoadPmrHeader(const PmrJobImage& image) {
    return LoadHeader(image, ImageId::Pmr);
}

void StoreTrunkHeader(TrunkJobImage& image, const JobHeader& header) {
    StoreCommonHeader(image, header, ImageId::Trunk, trunk::kFormatMarkValue);
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
    StoreCommonHeader(image, header, ImageId::Pmr, pmr::kCurrentFormat);
    // A stored word that names no band shows as "Undefined"; unless a band is chosen it is
    // written back as it was.
    const bool unknownKept = header.bandEntry == 0 && BandEntryOfWord(header.bandWord) == 0;
    image.SetU16(pmr::kBandCode, unknownKept ? header.bandWord : BandWordOfEntry(header.bandEntry));
}

bool VersionLabelVisible(int userLevelMask) {
    return userLevelMask == 4 || userLevelMask == 8;
}

}  // namespace km

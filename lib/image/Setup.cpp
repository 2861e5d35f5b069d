#include "image/Setup.h"

#include "core/Files.h"
#include "fields/FieldOps.h"

namespace km {

SetupRecord ParseSetupRecord(std::span<const std::uint8_t> bytes) {
    SetupRecord record;
    for (std::size_t i = 0; i < std::size(setup_rows::kRows); ++i) {
        const fields::FieldRow& row = setup_rows::kRows[i];
        const auto at = static_cast<std::size_t>(row.at.setup);
        if (bytes.size() < at + fields::ByteWidth(row)) {
            continue;  // a short file does not reach this field: it keeps its default
        }
        const fields::FieldValue value = fields::ReadField(row, bytes, at);
        if (!fields::CheckField(row, value)) {
            record.*kSetupMembers[i] = static_cast<std::int32_t>(std::get<std::int64_t>(value));
        }
    }
    return record;
}

std::vector<std::uint8_t> SerializeSetupRecord(const SetupRecord& record) {
    std::vector<std::uint8_t> bytes(kSetupRecordSize, 0);
    for (std::size_t i = 0; i < std::size(setup_rows::kRows); ++i) {
        const fields::FieldRow& row = setup_rows::kRows[i];
        fields::WriteField(row, bytes, static_cast<std::size_t>(row.at.setup),
                           std::int64_t{record.*kSetupMembers[i]});
    }
    return bytes;
}

SetupRecord ReadSetup(const std::filesystem::path& workDir) {
    const auto bytes =
        ReadFileBytes(FindFileIgnoringCase(workDir, kSetupFileName), kSetupRecordSize);
    return bytes ? ParseSetupRecord(*bytes) : SetupRecord{};
}

bool WriteSetup(const std::filesystem::path& workDir, const SetupRecord& record) {
    return WriteFileAtomically(FindFileIgnoringCase(workDir, kSetupFileName),
                               SerializeSetupRecord(record));
}

int UserLevelMaskFromIndex(int levelIndex) {
    constexpr int kMasks[] = {1, 2, 4, 8};
    return levelIndex >= 0 && levelIndex < 4 ? kMasks[levelIndex] : 2;
}

int LevelIndexFromMask(int userLevelMask) {
    switch (userLevelMask) {
        case 2:
            return 1;
        case 4:
            return 2;
        case 8:
            return 3;
        default:
            return 0;
    }
}

int CountryCodeFromIndex(int countryIndex) {
    switch (countryIndex) {
        case 1:
            return 1;
        case 2:
            return 5;
        default:
            return 0;
    }
}

}  // namespace km

#include "image/Setup.h"

#include "core/Files.h"

namespace km {
namespace {

// The five fields of the record, each a little-endian 32-bit signed integer with its range.
struct SetupField {
    std::int32_t SetupRecord::*member;
    std::size_t offset;
    std::int32_t min;
    std::int32_t max;
};
constexpr SetupField kSetupFields[] = {
    {&SetupRecord::comPortIndex, 0, 0, 15},
    {&SetupRecord::baudRateIndex, 4, 0, 2},
    {&SetupRecord::userLevelIndex, 8, 0, 3},
    {&SetupRecord::viewAtExit, 12, kViewNone, kViewNetwork},
    {&SetupRecord::countryIndex, 16, 0, 2},
};

std::int32_t ReadI32(std::span<const std::uint8_t> bytes, std::size_t offset) {
    const std::uint32_t u = static_cast<std::uint32_t>(bytes[offset]) |
                            static_cast<std::uint32_t>(bytes[offset + 1]) << 8 |
                            static_cast<std::uint32_t>(bytes[offset + 2]) << 16 |
                            static_cast<std::uint32_t>(bytes[offset + 3]) << 24;
    return static_cast<std::int32_t>(u);
}

void WriteI32(std::vector<std::uint8_t>& bytes, std::size_t offset, std::int32_t value) {
    const auto u = static_cast<std::uint32_t>(value);
    for (std::size_t i = 0; i < 4; ++i) {
        bytes[offset + i] = static_cast<std::uint8_t>(u >> (8 * i));
    }
}

}  // namespace

SetupRecord ParseSetupRecord(std::span<const std::uint8_t> bytes) {
    SetupRecord record;
    for (const SetupField& field : kSetupFields) {
        if (bytes.size() < field.offset + 4) {
            continue;  // a short file does not reach this field: it keeps its default
        }
        const std::int32_t value = ReadI32(bytes, field.offset);
        if (value >= field.min && value <= field.max) {
            record.*field.member = value;
        }
    }
    return record;
}

std::vector<std::uint8_t> SerializeSetupRecord(const SetupRecord& record) {
    std::vector<std::uint8_t> bytes(kSetupRecordSize, 0);
    for (const SetupField& field : kSetupFields) {
        WriteI32(bytes, field.offset, record.*field.member);
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

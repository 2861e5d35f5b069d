#include "network/SysMap.h"

#include <algorithm>
#include <stdexcept>

#include "config/FieldRoutines.h"
#include "fields/FieldOps.h"

namespace km {
namespace {

constexpr std::uint16_t kNationalBit = 0x4000;
constexpr int kNationalShift = 12;
constexpr int kRegionalShift = 7;
// The word of a Regional network keeps bit 15 and bits 7..13 of identity x 128.
constexpr std::uint16_t kRegionalMask = 0xBF80;
constexpr std::uint16_t kEmptyRoamingEntry = 0xFFFF;
constexpr int kLargestAnnValue = 10;

// The identity word as one number, for writing it whole.
constexpr fields::FieldRow kIdentityWord = {.id = "network.system.identity_word",
                                            .at = system_rows::kNetworkType.at,
                                            .encoding = fields::Encoding::U16};

std::size_t At(const fields::FieldRow& row, std::size_t area) {
    return area + static_cast<std::size_t>(row.at.network);
}

std::int64_t NumberAt(const fields::FieldRow& row, std::span<const std::uint8_t> bytes,
                      std::size_t at) {
    const fields::FieldValue value = fields::ReadField(row, bytes, at);
    const auto* number = std::get_if<std::int64_t>(&value);
    return number ? *number : 0;
}

}  // namespace

NetworkIdentity ReadNetworkIdentity(std::span<const std::uint8_t> bytes, std::size_t area) {
    using namespace system_rows;
    const bool national = NumberAt(kNetworkType, bytes, At(kNetworkType, area)) == 1;
    const auto& identity = national ? kNationalIdentity : kRegionalIdentity;
    return {national, static_cast<int>(NumberAt(identity, bytes, At(identity, area)))};
}

void WriteNetworkIdentity(std::span<std::uint8_t> bytes, std::size_t area,
                          const NetworkIdentity& identity) {
    if (ReadNetworkIdentity(bytes, area) == identity) {
        return;
    }
    const auto id = static_cast<unsigned>(std::max(identity.identity, 0));
    const auto word =
        static_cast<std::uint16_t>(identity.national ? (id << kNationalShift) | kNationalBit
                                                     : (id << kRegionalShift) & kRegionalMask);
    fields::WriteField(kIdentityWord, bytes, At(kIdentityWord, area), std::int64_t{word});
}

NumberRange IdentityRange(bool national) {
    const auto& row = national ? system_rows::kNationalIdentity : system_rows::kRegionalIdentity;
    return {row.min, row.max};
}

NumberRange SilRange(bool national) {
    return {system_rows::kSil.min, national ? system_rows::kSil.max : 4};
}

NumberRange FallbackNddRange(bool national) {
    return {system_rows::kFallbackNdd.min, national ? system_rows::kFallbackNdd.max : 15};
}

void WriteNetworkMarker(std::span<std::uint8_t> bytes, std::size_t area) {
    fields::WriteField(system_rows::kMarkerRow, bytes, At(system_rows::kMarkerRow, area),
                       std::string(system_rows::kMarker));
}

int AnnExtentLimit(std::string_view partitionText) {
    const std::int64_t partition = IntegerOfField(partitionText);
    if (partition == kNotANumberValue) {
        return 0;
    }
    return static_cast<int>(
        std::clamp<std::int64_t>(kLargestAnnValue - partition, 0, kLargestAnnValue));
}

void PrepareRoamingTable(std::span<std::uint8_t> bytes, std::size_t area) {
    const auto& table = system_rows::kRecords[1];
    // subspan throws nothing: check the place first.
    const std::size_t start = area + static_cast<std::size_t>(table.base.network);
    const std::size_t size = std::size_t{table.stride} * table.capacity;
    if (start > bytes.size() || size > bytes.size() - start) {
        throw std::out_of_range("roaming table outside its image");
    }
    const auto entries = bytes.subspan(start, size);
    if (std::all_of(entries.begin(), entries.end(), [](std::uint8_t b) { return b == 0; })) {
        std::fill(entries.begin(), entries.end(), std::uint8_t{kEmptyRoamingEntry & 0xFF});
    }
}

void StoreRoamingTable(std::span<std::uint8_t> bytes, std::size_t area,
                       std::span<const std::string> opids) {
    using namespace system_rows;
    const auto& table = kRecords[1];
    const std::size_t base = area + static_cast<std::size_t>(table.base.network);
    std::size_t next = 0;
    for (const std::string& text : opids) {
        const auto value = fields::ParseField(kRoamingOpid, text);
        if (next < table.capacity && value && !std::holds_alternative<std::string>(*value)) {
            fields::WriteField(kRoamingOpid, bytes, base + next * table.stride, *value);
            ++next;
        }
    }
    for (; next < table.capacity; ++next) {
        fields::WriteField(kRoamingOpid, bytes, base + next * table.stride, std::string());
    }
}

}  // namespace km

#include "tables/Tables.h"

#include <array>

#include "fields/FieldOps.h"

#include "config/MobMap.h"
#include "image/Images.h"
#include "image/Setup.h"

namespace km::tables {
namespace {

using fields::Area;
using fields::ImageId;

inline constexpr fields::FieldTable kSetupTable = {
    .id = "setup", .form = "Setup", .area = Area::Image, .rows = setup_rows::kRows};

constexpr std::array<const fields::FieldTable*, 2> kTables = {
    &header_rows::kTable,
    &kSetupTable,
};

}  // namespace

std::span<const fields::FieldTable* const> AllTables() {
    return kTables;
}

ImageId OffsetsOf(Area area, ImageId image) {
    return area == Area::NetworkFile ? ImageId::Network : image;
}

std::optional<std::size_t> AreaStart(Area area, ImageId image, int selector) {
    switch (area) {
        case Area::Image:
            return 0;
        case Area::NetworkSlot:
            if (image == ImageId::Trunk) {
                return trunk::SlotStart(selector);
            }
            return std::nullopt;
        case Area::NetworkFile:
            if (image == ImageId::Network) {
                return 0;
            }
            if (image == ImageId::Trunk) {
                return trunk::NetworkFileStart(selector);
            }
            return std::nullopt;
    }
    return std::nullopt;
}

std::optional<std::size_t> RowOffset(const fields::FieldTable& table, const fields::FieldRow& row,
                                     ImageId image, int selector) {
    const auto start = AreaStart(table.area, image, selector);
    const std::int32_t at = row.at.Of(OffsetsOf(table.area, image));
    if (!start || at == fields::kAbsent) {
        return std::nullopt;
    }
    return *start + static_cast<std::size_t>(at);
}

std::optional<std::size_t> RecordOffset(const fields::FieldTable& table,
                                        const fields::RecordTable& records,
                                        const fields::FieldRow& column, std::size_t index,
                                        ImageId image, int selector) {
    const auto start = AreaStart(table.area, image, selector);
    const ImageId offsets = OffsetsOf(table.area, image);
    const std::int32_t base = records.base.Of(offsets);
    const std::int32_t at = column.at.Of(offsets);
    if (!start || base == fields::kAbsent || at == fields::kAbsent) {
        return std::nullopt;
    }
    return *start + static_cast<std::size_t>(base) + index * records.stride +
           static_cast<std::size_t>(at);
}

void FillTemplateDefaults(ImageId image, std::span<std::uint8_t> bytes) {
    for (const fields::FieldTable* table : AllTables()) {
        const int slots = PerNetwork(*table) && image == ImageId::Trunk ? 2 : 1;
        const ImageId offsets = OffsetsOf(table->area, image);
        for (int selector = 0; selector < slots; ++selector) {
            const auto start = AreaStart(table->area, image, selector);
            if (!start) {
                continue;
            }
            fields::FillDefaults(table->rows, offsets, bytes, *start);
            for (const fields::RecordTable& records : table->records) {
                const std::int32_t base = records.base.Of(offsets);
                for (std::size_t r = 0; base != fields::kAbsent && r < records.capacity; ++r) {
                    fields::FillDefaults(
                        records.columns, offsets, bytes,
                        *start + static_cast<std::size_t>(base) + r * records.stride);
                }
            }
        }
    }
}

}  // namespace km::tables

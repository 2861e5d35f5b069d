#include "tables/Tables.h"

#include <algorithm>
#include <array>

#include "fields/FieldOps.h"

#include "config/IdMap.h"
#include "config/MobMap.h"
#include "config/NwoMap.h"
#include "config/Phonebook.h"
#include "config/TxtMap.h"
#include "config/UiLevels.h"
#include "config/UiMap.h"
#include "image/Images.h"
#include "image/Setup.h"
#include "network/HntMap.h"
#include "network/SysMap.h"
#include "network/TimMap.h"
#include "pmr/ChannelRows.h"
#include "pmr/OptionRows.h"
#include "pmr/Scl2Map.h"
#include "pmr/SclMap.h"

namespace km::tables {
namespace {

using fields::Area;
using fields::ImageId;

inline constexpr fields::FieldTable kSetupTable = {
    .id = "setup", .form = "Setup", .area = Area::Image, .rows = setup_rows::kRows};

constexpr const fields::FieldTable* kTables[] = {
    &header_rows::kTable,
    // User Interface
    &ui_rows::kTable, &key_rows::kTrunkTable, &key_rows::kPmrTable, &key_rows::kTable,
    &call_type_rows::kTable, &io_rows::kTable, &level_rows::kTable,
    &id_rows::kTable,             // Identities, per network
    &id_rows::kFiveDigitTable,    // Identities: five-digit dialling entries 1-10
    &id_rows::kFiveDigit11Table,  // Identities: five-digit dialling entries 11-20
    &phonebook_rows::kTable,      // Identities: phone book and GPS, once per job
    &nwo_rows::kTable,            // Network Options
    &text_rows::kTable, &text_rows::kPmrEditTable, &kSetupTable,
    &pmr::pmr_rows::kTable,       // Channel Options: channels, groups and zones
    &pmr::options_rows::kTable,   // Channel Options: the radio-wide settings
    &pmr::selcall_rows::kTable,   // Selcall
    &pmr::sequence_rows::kTable,  // Selcall 2: encodes and decodes
    &system_rows::kTable,         // Network Systems
    &timer_rows::kTable,          // Thresholds and Timers
    &hunt_rows::kTable,           // Hunt Channels
};

std::string SlotPrefix(const fields::FieldTable& table, ImageId image, int selector) {
    return PerNetwork(table) && image == ImageId::Trunk ? "n" + std::to_string(selector + 1) + "."
                                                        : std::string();
}

int SlotsOf(const fields::FieldTable& table, ImageId image) {
    return PerNetwork(table) && image == ImageId::Trunk ? 2 : 1;
}

// Records in use: the count row's value clamped to the capacity, or the capacity.
std::size_t RecordsInUse(const fields::FieldTable& table, const fields::RecordTable& records,
                         ImageId image, int selector, std::span<const std::uint8_t> bytes) {
    if (records.countField.empty()) {
        return records.capacity;
    }
    for (const fields::FieldRow& row : table.rows) {
        if (row.id != records.countField) {
            continue;
        }
        const auto at = RowOffset(table, row, image, selector);
        if (!at) {
            break;
        }
        const fields::FieldValue value = fields::ReadField(row, bytes, *at);
        const auto* count = std::get_if<std::int64_t>(&value);
        return count
                   ? static_cast<std::size_t>(std::clamp<std::int64_t>(*count, 0, records.capacity))
                   : 0;
    }
    return records.capacity;
}

// False when `image` has no place for the records of `records`.
bool CarriesRecords(const fields::FieldTable& table, const fields::RecordTable& records,
                    ImageId image, int selector) {
    return AreaStart(table.area, image, selector) &&
           records.base.Of(OffsetsOf(table.area, image)) != fields::kAbsent;
}

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

void ForEachField(ImageId image, std::span<const std::uint8_t> bytes, Records which,
                  const std::function<void(const PlacedField&)>& visit) {
    for (const fields::FieldTable* table : AllTables()) {
        for (int selector = 0; selector < SlotsOf(*table, image); ++selector) {
            const std::string prefix = SlotPrefix(*table, image, selector);
            for (const fields::FieldRow& row : table->rows) {
                if (const auto at = RowOffset(*table, row, image, selector)) {
                    visit({prefix + std::string(row.id), &row, *at, table, selector});
                }
            }
            for (const fields::RecordTable& records : table->records) {
                if (!CarriesRecords(*table, records, image, selector)) {
                    continue;  // a thousand records of columns the image has no place for
                }
                const std::size_t used =
                    which == Records::All ? records.capacity
                                          : RecordsInUse(*table, records, image, selector, bytes);
                for (std::size_t r = 0; r < used; ++r) {
                    for (const fields::FieldRow& column : records.columns) {
                        const auto at = RecordOffset(*table, records, column, r, image, selector);
                        if (at) {
                            visit({prefix + std::string(records.id) + "[" + std::to_string(r) +
                                       "]." + std::string(column.id),
                                   &column, *at, table, selector, &records, r});
                        }
                    }
                }
            }
        }
    }
}

void FillTemplateDefaults(ImageId image, std::span<std::uint8_t> bytes) {
    for (const fields::FieldTable* table : AllTables()) {
        const int slots = SlotsOf(*table, image);
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

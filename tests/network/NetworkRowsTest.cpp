// The rows of the network file forms: each field at its place with its encoding.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fields/FieldOps.h"
#include "network/HntMap.h"
#include "network/SysMap.h"
#include "network/TimMap.h"

namespace km {
namespace {

using fields::FieldRow;
using fields::FieldValue;

const FieldRow& RowById(std::string_view id) {
    for (const fields::FieldTable* table :
         {&system_rows::kTable, &timer_rows::kTable, &hunt_rows::kTable}) {
        for (const FieldRow& row : table->rows) {
            if (row.id == id) {
                return row;
            }
        }
    }
    throw std::invalid_argument(std::string(id));
}

struct PlaceCase {
    const char* id;
    FieldValue value;
    std::size_t offset;  // in the network file
    std::vector<std::uint8_t> bytes;
};

// Offsets and encodings as the network file lays them out.
const PlaceCase kPlaces[] = {
    {"network.system.description", std::string("North"), 32, {'N', 'o', 'r', 't', 'h', 0}},
    {"network.system.band", std::int64_t{0x544B}, 92, {0x4B, 0x54}},
    {"network.system.scheme", std::int64_t{3}, 94, {3, 0}},
    {"network.system.sil", std::int64_t{9}, 102, {9, 0}},
    {"network.system.variable_info", std::int64_t{1}, 104, {0x00, 0x80}},
    {"network.system.info", std::int64_t{32767}, 104, {0xFF, 0x7F}},
    {"network.system.power_on_registration", std::int64_t{1}, 107, {0x80}},
    {"network.system.power_off_deregistration", std::int64_t{1}, 107, {0x40}},
    {"network.system.demanded_registration", std::int64_t{1}, 107, {0x20}},
    {"network.system.level_margin_3", std::int64_t{42}, 120, {42, 0}},
    {"network.system.portable_level_l2", std::int64_t{120}, 124, {120, 0}},
    {"network.system.fallback_ndd", std::int64_t{511}, 132, {0xFF, 0x01}},
    {"network.system.pressel_off_messages", std::int64_t{5}, 146, {5, 0}},
    {"network.timers.call_time_limit", std::int64_t{254}, 392, {254, 0}},
    {"network.timers.tsclim_control", std::int64_t{1}, 398, {1, 0}},
    {"network.timers.ta", std::int64_t{120}, 400, {120, 0}},
    {"network.timers.tj", std::int64_t{60}, 420, {60, 0}},
    {"network.timers.tl", std::int64_t{320}, 418, {0x40, 0x01}},
    {"network.timers.tx", std::int64_t{255}, 434, {255, 0}},
    {"network.timers.nc1_time_shared", std::int64_t{7}, 441, {7}},
    {"network.timers.nv_continuous", std::int64_t{16}, 452, {16}},
    {"network.timers.nt", std::int64_t{12}, 456, {12, 0}},
    {"network.hunt.comprehensive_highest", std::int64_t{1023}, 152, {0xFF, 0x03}},
    {"network.hunt.comprehensive_enabled", std::int64_t{1}, 156, {1, 0}},
    {"network.hunt.bandwidth", std::int64_t{3}, 736, {0x05}},  // "20    kHz": bits 0 and 2
    {"network.hunt.bandwidth", std::int64_t{2}, 736, {0x04}},  // "10    kHz": bit 2 only
    {"network.hunt.xtal_switch", std::int64_t{1}, 736, {0x08}},
    {"network.hunt.tx_high_power", std::int64_t{10}, 1242, {10, 0}},
};

TEST(NetworkRowsTest, EachFieldLiesAtItsPlaceWithItsEncoding) {
    for (const PlaceCase& c : kPlaces) {
        const FieldRow& row = RowById(c.id);
        std::vector<std::uint8_t> file(1536, 0);
        fields::WriteField(row, file, static_cast<std::size_t>(row.at.network), c.value);
        const std::vector<std::uint8_t> at(
            file.begin() + static_cast<std::ptrdiff_t>(c.offset),
            file.begin() + static_cast<std::ptrdiff_t>(c.offset + c.bytes.size()));
        EXPECT_EQ(at, c.bytes) << c.id;
    }
}

TEST(NetworkRowsTest, RecordColumnsLieInTheirRecords) {
    std::vector<std::uint8_t> file(1536, 0);
    const auto& ann = system_rows::kRecords[0];
    // Prefix 5: extent in byte 0, partition in byte 1 of entry 5.
    fields::WriteField(system_rows::kAnnPartition, file, 480 + 2 * 5 + 1, std::int64_t{4});
    EXPECT_EQ(ann.base.network + 5 * static_cast<int>(ann.stride), 490);
    EXPECT_EQ(file[491], 4);
    // Roaming entry: OPID x 128.
    fields::WriteField(system_rows::kRoamingOpid, file, 1244, std::int64_t{127});
    EXPECT_EQ(file[1244], 0x80);
    EXPECT_EQ(file[1245], 0x3F);
    // Normal hunt entry 2: channel in bits 0..14, Timed in bit 15.
    const auto& hunt = hunt_rows::kNormalHunt;
    EXPECT_EQ(hunt.base.network + 1 * static_cast<int>(hunt.stride), 230);
    fields::WriteField(hunt.columns[0], file, 230, std::int64_t{1000});
    fields::WriteField(hunt.columns[1], file, 230, std::int64_t{1});
    EXPECT_EQ(file[230], 0xE8);
    EXPECT_EQ(file[231], 0x83);
    EXPECT_EQ(hunt_rows::kWithdrawn.base.network, 160);
    EXPECT_EQ(hunt_rows::kSubBandRecords.base.network + 10 * 49, 1230);
}

TEST(NetworkRowsTest, EmptyFieldsAreTheirBlanks) {
    std::vector<std::uint8_t> file(1536, 0);
    // An empty SIL length stores 0 and loads back empty.
    fields::WriteField(system_rows::kSil, file, 102, std::string());
    EXPECT_EQ(file[102], 0);
    EXPECT_EQ(fields::ReadField(system_rows::kSil, file, 102), FieldValue(std::string()));
    // An empty roaming entry is 0xFFFF.
    fields::WriteField(system_rows::kRoamingOpid, file, 1250, std::string());
    EXPECT_EQ(file[1250], 0xFF);
    EXPECT_EQ(file[1251], 0xFF);
}

}  // namespace
}  // namespace km

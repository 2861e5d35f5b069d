#include "sim/Profile.h"

#include "sim/RadioMemory.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace km::sim {
namespace {

TEST(ProfileTest, TypeSelectsTableKindAndFactoryCode) {
    const struct {
        int type;
        TableKind table;
        int trunkCodeType;
    } cases[] = {{0, TableKind::FromFile, 8},  {16, TableKind::FromFile, 8},
                 {1, TableKind::OwnTable, 61}, {4, TableKind::OwnTable, 83},
                 {8, TableKind::OwnTable, 93}, {22, TableKind::OwnTable, 93},
                 {5, TableKind::FromFile, 8}};
    for (const auto& c : cases) {
        const auto result = ParseProfile("type = " + std::to_string(c.type) + "\n");
        ASSERT_TRUE(result.profile) << result.error;
        EXPECT_EQ(result.profile->typeCode, c.type);
        EXPECT_EQ(result.profile->table, c.table) << c.type;
        EXPECT_EQ(result.profile->trunkCode.codeType, c.trunkCodeType) << c.type;
        EXPECT_TRUE(result.profile->startupCode.present);
    }
}

TEST(ProfileTest, ReadsSettingsCommentsAndCodeFields) {
    const auto result = ParseProfile(
        "# a portable\n"
        "type = 1\n"
        "  band = X8   # comment after a value\n"
        "esn = 0A310014\n"
        "hardware_byte27 = 0x7F\n"
        "option_board = yes\n"
        "trunk_code.version = V6.10\n"
        "trunk_code.length = 50000\n"
        "pmr_code.present = no\n"
        "pmr_channels = 600\n"
        "realistic = yes\n"
        "link_p1 = 10\n");
    ASSERT_TRUE(result.profile) << result.error;
    const Profile& p = *result.profile;
    EXPECT_EQ(p.band, "X8");
    EXPECT_EQ(p.esn, (std::array<std::uint8_t, 4>{0x0A, 0x31, 0x00, 0x14}));
    EXPECT_EQ(p.hardwareByte27, 0x7F);
    EXPECT_TRUE(p.optionBoard);
    EXPECT_TRUE(p.optionBoardCode.present);
    EXPECT_EQ(p.trunkCode.version, "V6.10");
    EXPECT_EQ(p.trunkCode.imageLength, 50000u);
    EXPECT_FALSE(p.pmrCode.present);
    EXPECT_EQ(p.pmrChannels, 600);
    EXPECT_EQ(p.eraseTimeMs, kRealisticEraseTimeMs);
    EXPECT_EQ(p.linkP1, 10);
    EXPECT_EQ(p.linkP2, 1);
}

TEST(ProfileTest, RefusesBadLinesNamingTheLine) {
    const struct {
        const char* text;
        const char* error;
    } cases[] = {
        {"type = 0\nbogus = 1\n", "line 2: unknown setting 'bogus'"},
        {"pmr_channels = 1001\n", "line 1: '1001' is not a number from 0 to 1000"},
        {"pmr_encodes = 251\n", "from 0 to 250"},
        {"pmr_zones = -1\n", "from 0 to 20"},
        {"band = ABC\n", "band must be two characters"},
        {"esn = 12345\n", "esn must be eight hexadecimal digits"},
        {"trunk_job = maybe\n", "is not yes or no"},
        {"name = x\ntype = 4\n", "'type' must be the first setting"},
        {"just words\n", "line 1: expected key = value"},
        {"trunk_code.length = 70000\n", "from 80 to 65531"},
        {"serial_number = 12345678901234567\n", "longer than 16"},
        {"fpga_version = 12.3\n", "fpga_version must look like 1.23"},
        {"flux_code.version = V1.00\n", "unknown code area 'flux_code'"},
    };
    for (const auto& c : cases) {
        const auto result = ParseProfile(c.text);
        EXPECT_FALSE(result.profile) << c.text;
        EXPECT_NE(result.error.find(c.error), std::string::npos)
            << c.text << " -> " << result.error;
    }
}

// Every shipped profile loads, and the radio it describes can be built (the files it names exist).
TEST(ProfileTest, EveryShippedProfileLoadsAndBuildsItsRadio) {
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(KM_SIM_PROFILE_DIR)) {
        if (entry.path().extension() != ".profile") {
            continue;
        }
        const auto result = LoadProfile(entry.path());
        ASSERT_TRUE(result.profile) << result.error;
        EXPECT_NO_THROW(BuildRadioMemory(*result.profile)) << entry.path();
        ++count;
    }
    EXPECT_GE(count, 10);
}

TEST(ProfileTest, MissingFileIsReported) {
    const auto result = LoadProfile("/nonexistent/radio.profile");
    EXPECT_FALSE(result.profile);
    EXPECT_NE(result.error.find("cannot read"), std::string::npos);
}

}  // namespace
}  // namespace km::sim

namespace km::sim {
namespace {

TEST(NthSerialNumberTest, SeveralRadiosCountTheDigitsAtTheEndUp) {
    struct Case {
        const char* first;
        int index;
        const char* serial;
    };
    const Case cases[] = {
        {"VIRTUAL-0000001", 0, "VIRTUAL-0000001"},
        {"VIRTUAL-0000001", 2, "VIRTUAL-0000003"},
        {"VIRTUAL-0000009", 1, "VIRTUAL-0000010"},
        {"VIRTUAL-99", 1, "VIRTUAL-100"},
        {"RADIO", 2, "RADIO-2"},
        {"17", 3, "20"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NthSerialNumber(c.first, c.index), c.serial) << c.first << " + " << c.index;
    }
}

}  // namespace
}  // namespace km::sim

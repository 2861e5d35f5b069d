#include <gtest/gtest.h>

#include <filesystem>

#include "ImageFixtures.h"
#include "core/Files.h"
#include "image/Setup.h"

namespace km {
namespace {

std::vector<std::uint8_t> RecordBytes(std::initializer_list<std::int32_t> fields,
                                      std::size_t size = kSetupRecordSize) {
    std::vector<std::uint8_t> bytes(std::max(size, fields.size() * 4), 0);
    std::size_t at = 0;
    for (std::int32_t v : fields) {
        for (std::size_t i = 0; i < 4; ++i) {
            bytes[at + i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(v) >> (8 * i));
        }
        at += 4;
    }
    bytes.resize(size);
    return bytes;
}

TEST(SetupRecord, FieldsOutOfRangeOrBeyondAShortFileTakeTheirDefaults) {
    const SetupRecord defaults;
    const struct {
        const char* what;
        std::vector<std::uint8_t> bytes;
        SetupRecord expected;
    } cases[] = {
        {"all in range", RecordBytes({15, 0, 3, 0, 2}), {15, 0, 3, 0, 2}},
        {"empty file", {}, defaults},
        {"COM 16", RecordBytes({16, 1, 1, 2, 0}), {0, 1, 1, 2, 0}},
        {"negative COM", RecordBytes({-1, 1, 1, 2, 0}), {0, 1, 1, 2, 0}},
        {"baud 3", RecordBytes({4, 3, 1, 2, 0}), {4, 2, 1, 2, 0}},
        {"level 4", RecordBytes({4, 1, 4, 2, 0}), {4, 1, 0, 2, 0}},
        {"view 4", RecordBytes({4, 1, 2, 4, 0}), {4, 1, 2, 1, 0}},
        {"country 3", RecordBytes({4, 1, 2, 3, 3}), {4, 1, 2, 3, 1}},
        {"short: two fields", RecordBytes({7, 0}, 8), {7, 0, 0, 1, 1}},
        {"short: half a field", RecordBytes({7, 0, 3}, 10), {7, 0, 0, 1, 1}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseSetupRecord(c.bytes), c.expected) << c.what;
    }
}

class SetupFileTest : public testing::WorkDirTest {};

TEST_F(SetupFileTest, MissingFileGivesDefaultsAndAWrittenRecordReadsBack) {
    const SetupRecord defaults = ReadSetup(dir_);
    EXPECT_EQ(defaults.comPortIndex, 0);
    EXPECT_EQ(defaults.baudRateIndex, 2);
    EXPECT_EQ(defaults.userLevelIndex, 0);
    EXPECT_EQ(defaults.viewAtExit, kViewTrunk);
    EXPECT_EQ(defaults.countryIndex, 1);

    const SetupRecord record{3, 1, 2, kViewNetwork, 2};
    ASSERT_TRUE(WriteSetup(dir_, record));
    const auto bytes = ReadFileBytes(dir_ / "Setup.dat", 1000);
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(*bytes, RecordBytes({3, 1, 2, 3, 2}));  // 92 bytes, reserved part zero
    EXPECT_EQ(ReadSetup(dir_), record);

    EXPECT_FALSE(WriteSetup(dir_ / "missing-folder", record));
}

TEST(SetupRecord, LevelAndCountryIndexesMapToTheirMasks) {
    const int levelMasks[][2] = {{0, 1}, {1, 2}, {2, 4}, {3, 8}, {4, 2}, {-1, 2}};
    for (const auto& m : levelMasks) {
        EXPECT_EQ(UserLevelMaskFromIndex(m[0]), m[1]) << m[0];
    }
    for (int index = 0; index < 4; ++index) {
        EXPECT_EQ(LevelIndexFromMask(UserLevelMaskFromIndex(index)), index);
    }
    const int countries[][2] = {{0, 0}, {1, 1}, {2, 5}, {3, 0}};
    for (const auto& c : countries) {
        EXPECT_EQ(CountryCodeFromIndex(c[0]), c[1]) << c[0];
    }
}

}  // namespace
}  // namespace km

// The zones of a PMR job: the grids of the zones page loaded from the image, zone selections and
// the store, with the dial positions and the A/B/C switch reset. Offsets are the image's own.

#include <gtest/gtest.h>

#include <memory>

#include "ScriptedPerson.h"
#include "pmr/Zones.h"

namespace km::pmr {
namespace {

constexpr std::size_t kZoneArea = 0xEA2C;

std::size_t Zone(int z) {
    return kZoneArea + 800 * static_cast<std::size_t>(z);
}
std::size_t Entry(int z, int e) {
    return Zone(z) + 32 + 3 * static_cast<std::size_t>(e);
}

struct Job {
    Job() {
        image->SetU16(14, 5860);
        // As the template holds them: every zone undefined, every entry empty.
        for (int z = 0; z < 20; ++z) {
            image->SetU8(Zone(z) + 15, 63);
            for (int e = 0; e < 255; ++e) {
                image->SetU8(Entry(z, e), 0x03);
                image->SetU8(Entry(z, e) + 1, 0xFF);
                image->SetU8(Entry(z, e) + 2, 0xFF);
            }
        }
    }
    ZoneGrids Load() const {
        ZoneGrids grids;
        LoadZones(*image, grids);
        return grids;
    }
    void Store(const ZoneGrids& grids, ZoneSwitches switches = {}) {
        StoreZones(grids, switches, *image);
    }
    int Dial(int z, int e) const { return image->U8(Entry(z, e)) >> 3; }
    std::unique_ptr<PmrJobImage> image = std::make_unique<PmrJobImage>();
};

TEST(ZonesTest, ChannelsInRowsOneFiveAndNineAreStoredPackedAndReloadIntoTheirRows) {
    Job job;
    ZoneGrids grids;
    grids.names[0] = "North";
    grids.channels[0] = "12";
    grids.channels[4] = "300";
    grids.channels[8] = "999";
    job.Store(grids);
    EXPECT_EQ(job.image->Text(Zone(0), 12), "North");
    EXPECT_EQ(job.image->U8(Zone(0) + 15), 1);
    EXPECT_EQ(job.image->U8(Zone(0) + 13), 3);
    const std::uint8_t expected[] = {0x00, 12, 0, 0x01, 300 & 0xFF, 4, 0x03, 999 & 0xFF, 8};
    for (std::size_t i = 0; i < sizeof expected; ++i) {
        EXPECT_EQ(job.image->U8(Entry(0, 0) + i), expected[i]) << i;
    }
    for (int e = 3; e < 255; ++e) {
        ASSERT_EQ(job.image->U8(Entry(0, e)), 0x03) << e;
        ASSERT_EQ(job.image->U8(Entry(0, e) + 1), 0xFF) << e;
        ASSERT_EQ(job.image->U8(Entry(0, e) + 2), 0xFF) << e;
    }
    EXPECT_EQ(job.image->U16(0x007A), 1);
    const ZoneGrids back = job.Load();
    EXPECT_EQ(back.names[0], "North");
    EXPECT_EQ(back.channels[0], "12");
    EXPECT_EQ(back.channels[4], "300");
    EXPECT_EQ(back.channels[8], "999");
    EXPECT_EQ(back.channels[1], "");
}

TEST(ZonesTest, TheZoneCountIsTheLastNamedRecord) {
    Job job;
    ZoneGrids grids;
    grids.names[0] = "One";
    grids.names[3] = "Four";
    job.Store(grids);
    EXPECT_EQ(job.image->U16(0x007A), 4);
    EXPECT_EQ(job.image->U8(Zone(1) + 15), 63);
    EXPECT_EQ(job.image->U8(Zone(3) + 15), 4);
}

TEST(ZonesTest, AZoneWhoseNameIsEmptiedLosesItsChannelsAtTheNextStore) {
    Job job;
    ZoneGrids grids;
    grids.names[0] = "Gone";
    grids.channels[0] = "7";
    job.Store(grids);
    ASSERT_EQ(job.image->U8(Zone(0) + 13), 1);
    grids.names[0] = "";
    job.Store(grids);
    EXPECT_EQ(job.image->U8(Zone(0) + 13), 0);
    EXPECT_EQ(job.image->U8(Entry(0, 0) + 2), 0xFF);
    EXPECT_EQ(job.image->U8(Zone(0) + 15), 63);
    EXPECT_EQ(job.image->U16(0x007A), 0);
}

TEST(ZonesTest, DialPositionsFollowTheSelectSwitchMode) {
    Job job;
    ZoneGrids grids;
    grids.names[0] = "Dial";
    for (int row : {0, 2, 16}) {
        grids.channels[static_cast<std::size_t>(row)] = std::to_string(row);
    }
    job.Store(grids, {.selectSwitchMode = 1});
    EXPECT_EQ(job.Dial(0, 0), 1);
    EXPECT_EQ(job.Dial(0, 1), 3);
    EXPECT_EQ(job.Dial(0, 2), 0) << "row 17 has no position";
    job.Store(grids, {.selectSwitchMode = 2});
    EXPECT_EQ(job.Dial(0, 0), 1);
    EXPECT_EQ(job.Dial(0, 1), 2);
    EXPECT_EQ(job.Dial(0, 2), 3);
    EXPECT_EQ(job.Dial(0, 3), 0) << "an empty entry";
    job.Store(grids, {.selectSwitchMode = 3});
    EXPECT_EQ(job.Dial(0, 0), 0);
}

TEST(ZonesTest, ASelectionStoresTheZoneLeftAndShowsTheOther) {
    Job job;
    ZoneGrids grids;
    grids.names = {"A", "B"};
    grids.channels[0] = "1";
    bool reload = false;
    SelectZone(grids, 1, reload, *job.image);
    EXPECT_EQ(grids.currentZone, 1);
    EXPECT_EQ(grids.channels[0], "");
    EXPECT_EQ(job.image->U8(Entry(0, 0) + 1), 1);
    grids.channels[3] = "2";
    SelectZone(grids, 0, reload, *job.image);
    EXPECT_EQ(grids.channels[0], "1");
    EXPECT_EQ(job.image->U8(Entry(1, 0) + 2), 3);
    // After a job was loaded the zone left is zone 1, whatever the grid showed before.
    grids.currentZone = 1;
    reload = true;
    grids.channels = {};
    grids.channels[5] = "9";
    SelectZone(grids, 1, reload, *job.image);
    EXPECT_FALSE(reload);
    EXPECT_EQ(job.image->U8(Entry(0, 0) + 2), 5);
    EXPECT_EQ(grids.channels[3], "2");
}

TEST(ZonesTest, OlderImagesAndRecordsThatNameNoRowLoadNothing) {
    Job job;
    job.image->SetText(Zone(0), 12, "Old");
    job.image->SetU8(Zone(0) + 15, 1);
    job.image->SetU8(Entry(0, 0), 0);
    job.image->SetU8(Entry(0, 0) + 1, 5);
    job.image->SetU8(Entry(0, 0) + 2, 0);
    job.image->SetU16(14, 5400);
    EXPECT_EQ(job.Load().names[0], "");
    EXPECT_EQ(job.Load().channels[0], "");
    job.image->SetU16(14, 5401);
    EXPECT_EQ(job.Load().names[0], "Old");
    // Zone number 0 names the grid's title row; a row byte of 254 lies past the 254 rows.
    job.image->SetU8(Zone(0) + 15, 0);
    job.image->SetU8(Entry(0, 0) + 2, 254);
    const ZoneGrids grids = job.Load();
    EXPECT_EQ(grids.names[0], "");
    EXPECT_TRUE(std::all_of(grids.channels.begin(), grids.channels.end(),
                            [](const std::string& cell) { return cell.empty(); }));
}

TEST(ZonesTest, WithoutZoneModeAnAbcSwitchSelectingZonesIsReset) {
    Job job;
    job.image->SetU16(0x012E, 0x2123);
    job.image->SetU16(0x0130, 0x1456);
    job.image->SetU16(0x0132, 0x3789);
    ZoneGrids grids;
    grids.zoneMode = true;
    job.Store(grids, ZoneSwitchesOf(*job.image));
    EXPECT_EQ(job.image->U16(0x012E), 0x2123);
    EXPECT_EQ(job.image->U8(0x1D24) & 0x02, 0x02);
    grids.zoneMode = false;
    job.Store(grids, ZoneSwitchesOf(*job.image));
    EXPECT_EQ(job.image->U16(0x012E), 0);
    EXPECT_EQ(job.image->U16(0x0130), 0);
    EXPECT_EQ(job.image->U16(0x0132), 0);
    EXPECT_EQ(job.image->U8(0x1D24) & 0x02, 0);
}

TEST(ZonesTest, ZoneCellsTakeDefinedChannelsAndShowTheirNames) {
    ChannelTable table;
    ChannelEntry entry = DefaultEntry(450000000);
    entry.SetNumber(4);
    entry.SetName("Base");
    ASSERT_TRUE(table.Add(entry));
    km::testing::ScriptedPerson person;
    EXPECT_TRUE(ZoneChannelLeft("4", table, person));
    EXPECT_TRUE(ZoneChannelLeft("", table, person));
    EXPECT_FALSE(ZoneChannelLeft("5", table, person));
    EXPECT_FALSE(ZoneChannelLeft("1000", table, person));
    EXPECT_EQ(person.Texts(),
              (std::vector<std::string>{"Channel has not been defined in the channel table.",
                                        "Value out of range.  Must be between 0 and 999"}));
    EXPECT_EQ(ZoneChannelName(table, "4"), "Base");
    EXPECT_EQ(ZoneChannelName(table, "5"), "");
}

}  // namespace
}  // namespace km::pmr

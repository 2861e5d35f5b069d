// The channel and zone tables as CSV files: the lines an export writes, files written by hand,
// and round trips of a full table and of 20 zones.

#include <gtest/gtest.h>

#include <memory>

#include "ScriptedPerson.h"
#include "pmr/PmrCsv.h"
#include "tables/Tables.h"

namespace km::pmr {
namespace {

namespace cr = channel_rows;

std::unique_ptr<PmrJobImage> Template() {
    auto image = std::make_unique<PmrJobImage>();
    tables::FillTemplateDefaults(fields::ImageId::Pmr, image->Bytes());
    image->SetU16(14, 5860);
    return image;
}

std::vector<std::string> LinesOf(const std::string& file) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = file.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(file.substr(start, end - start));
    }
    EXPECT_EQ(start, file.size()) << "every line ends in CR LF";
    return lines;
}

void Store(const ChannelTable& table, PmrJobImage& image) {
    km::testing::ScriptedPerson person;
    StoreChannelTable(table, {.radioTypeMask = 16}, image, person);
    EXPECT_TRUE(person.shown.empty());
}

TEST(ChannelsCsvTest, AnExportWritesTheKindTheHeaderAndAChannelAndAGroup) {
    auto image = Template();
    ChannelTable table;
    ChannelEntry channel = DefaultEntry(450012500);
    channel.txHz = 0;
    channel.SetNumber(7);
    channel.SetName("Yard, East");
    channel.Set(cr::kRxCode, 1);
    channel.Set(cr::kTxCode, 0x81);
    SetPower(channel, Power::Medium);
    SetBandwidth(channel, Bandwidth::k25);
    channel.SetFlag(*cr::kDecodes[1], false);
    channel.Set(cr::kEncode, 12);
    ASSERT_TRUE(table.Add(channel));
    ChannelEntry group;
    group.SetFlag(cr::kIsGroup, true);
    SetGroupType(group, GroupType::FixedScan);
    group.SetNumber(20);
    group.SetName("Scan");
    group.members[0] = 7;
    group.scanPriority = 7;
    ASSERT_TRUE(table.Add(group));
    Store(table, *image);

    const std::vector<std::string> lines = LinesOf(ChannelsCsv(*image));
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "PMR,Channels");
    EXPECT_EQ(lines[1],
              "Channel Number,Channel Name,Chan Or Group, Rx Freq,Tx Freq,Tx Power,Hidden "
              "Channel,Com Repeater,Chan Bndwdth,CTCSS DCS,Rx Tone,Tx Tone, Select CTCSS,Rx Normal "
              "DCS,Rx Inverted DCS,Tx Inverted DCS,Secall Enabled, Open Selcall,Rx Lockout,Tx "
              "Lockout,Selcall Encode,Active Decode1,Active Decode2,Active Decode3,Active "
              "Decode4,Active Decode5,Active Decode6,Active Decode7,Active Decode8,Economiser,"
              "OverrideXtal,PttOffEnc,NoFfskANI");
    EXPECT_EQ(lines[2],
              "7,Yard  East,Chan,450.01250,0.00000,Med,N,N,25.0,DCS, 67.0,023,N,Y,Y,N,Y,Y,N,N,12,"
              "1,0,1,1,1,1,1,1,N,N,0,N,");
    EXPECT_EQ(lines[3], "20,Scan,Group,SCANGRP,N,7,N,7,,,,,,,,,,,,,,,,");
}

TEST(ChannelsCsvTest, AFileWrittenByHandImports) {
    const std::string file =
        "PMR,Channels\r\n"
        "header\n"
        "5,Depot,Chan,476.525,476.525,Hi,N,y,15,CTCSS,67,71.9,N,Y,Y,N,Y,N,N,N,3,1,0,1,1,1,1,1,1,"
        "N,N,,N,\r\n"
        "6,Dcs,chan,150.0075,150.0075,Low,N,N,10,DCS,023,754\r\n"
        ",,,,,,,,,,,,,,,\r\n"
        "9,Vote,group,VOTEGRP,N,,5,6\r\n";
    const ChannelsImport import = ReadChannelsCsv(file, 16);
    ASSERT_TRUE(import.valid);
    EXPECT_EQ(import.skipped, 1) << "the line of commas has no number";
    ASSERT_EQ(import.table.Size(), 3u);
    const ChannelEntry& depot = import.table.At(0);
    EXPECT_EQ(depot.Name(), "Depot");
    EXPECT_EQ(depot.rxHz, 476525000);
    EXPECT_EQ(PowerOf(depot), Power::High);
    EXPECT_TRUE(depot.Flag(cr::kCommunityRepeater)) << "y sets: only N clears";
    EXPECT_EQ(BandwidthOf(depot), Bandwidth::k12_5) << "15 is no bandwidth";
    EXPECT_EQ(depot.Get(cr::kRxCode), 1);
    EXPECT_EQ(depot.Get(cr::kTxCode), 2);
    EXPECT_FALSE(depot.Flag(*cr::kDecodes[1]));
    EXPECT_EQ(depot.Get(cr::kEncode), 3);
    const ChannelEntry& dcs = import.table.At(1);
    EXPECT_EQ(dcs.rxHz, 150007500);
    EXPECT_EQ(BandwidthOf(dcs), Bandwidth::k10);
    EXPECT_EQ(dcs.Get(cr::kRxCode), 0x81);
    EXPECT_EQ(dcs.Get(cr::kTxCode), 0xE8);
    const ChannelEntry& vote = import.table.At(2);
    ASSERT_TRUE(vote.IsGroup());
    EXPECT_EQ(GroupTypeOf(vote), GroupType::Vote);
    EXPECT_EQ(vote.members[0], 5) << "no shown-as-channel column: members from field 7";
    EXPECT_EQ(vote.members[1], 6);
    EXPECT_TRUE(vote.Flag(cr::kShowAsChannel)) << "a vote group is always shown";
}

TEST(ChannelsCsvTest, RowsOutsideTheTableOrRepeatedAreSkippedAndCounted) {
    std::string file = "PMR,Channels\r\nheader\r\n";
    for (const char* number : {"1", "1", "1000", "-2", "x", "2"}) {
        file += std::string(number) + ",Ch,Chan,450,450,\r\n";
    }
    const ChannelsImport import = ReadChannelsCsv(file, 16);
    EXPECT_EQ(import.table.Size(), 2u);
    EXPECT_EQ(import.skipped, 4);
    EXPECT_EQ(SkippedRowsText(4),
              "4 rows of the file were not imported:\n"
              "their channel numbers are missing, outside 0..999 or repeated,\n"
              "or the table already holds 1000 channels and groups.");
}

TEST(ChannelsCsvTest, OtherFilesAreNoChannelTable) {
    for (const char* file : {"", "TRUNK,Phonebook\r\n", "PMR,Zones\r\n", "PMR\r\n"}) {
        EXPECT_FALSE(ReadChannelsCsv(file, 16).valid) << file;
    }
}

TEST(ChannelsCsvTest, AThousandChannelsGoOutAndComeBackToTheSameImage) {
    auto image = Template();
    image->SetU16(0x006C, 0x5838);  // X8: the file holds 800 MHz more than the records
    ChannelTable table;
    for (int n = 0; n < 990; ++n) {
        ChannelEntry entry = DefaultEntry(806000000 + 6250LL * n);
        entry.SetNumber(n);
        entry.SetName("C" + std::to_string(n));
        // One column says whether both codes are tones or DCS codes.
        const bool dcs = n % 3 == 0;
        entry.Set(cr::kRxCode, dcs ? 0x85 : static_cast<std::uint8_t>(n % 52));
        entry.Set(cr::kTxCode, dcs ? 0x90 : 0);
        entry.SetFlag(cr::kHidden, n % 7 == 0);
        entry.SetFlag(*cr::kDecodes[n % 8], false);
        SetPower(entry, static_cast<Power>(n % 3));
        SetBandwidth(entry, static_cast<Bandwidth>(n % 4));
        ASSERT_TRUE(table.Add(entry));
    }
    for (int g = 0; g < 10; ++g) {
        ChannelEntry group;
        group.SetFlag(cr::kIsGroup, true);
        SetGroupType(group, static_cast<GroupType>(g % 4));
        group.SetFlag(cr::kShowAsChannel, g % 4 >= 2);
        group.SetFlag(cr::kHidden, g % 4 < 2);
        group.SetNumber(990 + g);
        group.members[0] = static_cast<std::uint16_t>(g);
        group.members[14] = static_cast<std::uint16_t>(100 + g);
        ASSERT_TRUE(table.Add(group));
    }
    Store(table, *image);
    const std::vector<std::uint8_t> stored(image->Bytes().begin(), image->Bytes().end());
    const std::string file = ChannelsCsv(*image);

    const ChannelsImport import = ReadChannelsCsv(file, 16);
    ASSERT_TRUE(import.valid);
    EXPECT_EQ(import.skipped, 0);
    ASSERT_EQ(import.table.Size(), 1000u);
    image->FillRegion(0x3D2C, 32000, 0x55);
    Store(import.table, *image);
    for (std::size_t i = 0; i < stored.size(); ++i) {
        ASSERT_EQ(image->U8(i), stored[i]) << "byte " << i;
    }
    EXPECT_EQ(ChannelsCsv(*image), file);
}

TEST(ZonesCsvTest, TwentyZonesGoOutAndComeBack) {
    auto image = Template();
    ZoneGrids grids;
    for (int z = 0; z < 20; ++z) {
        grids.names[static_cast<std::size_t>(z)] = "Zone " + std::to_string(z + 1);
    }
    grids.channels[0] = "1";
    grids.channels[253] = "999";
    StoreZones(grids, {}, *image);
    bool reload = false;
    for (int z = 1; z < 20; ++z) {
        SelectZone(grids, z, reload, *image);
        grids.channels[static_cast<std::size_t>(z)] = std::to_string(z * 10);
        grids.channels[static_cast<std::size_t>(z + 100)] = std::to_string(z);
    }
    StoreZones(grids, {}, *image);
    const std::vector<std::uint8_t> stored(image->Bytes().begin(), image->Bytes().end());
    const std::string file = ZonesCsv(*image);
    const std::vector<std::string> lines = LinesOf(file);
    ASSERT_EQ(lines.size(), 22u);
    EXPECT_EQ(lines[0], "PMR,Zones");
    EXPECT_EQ(lines[1].substr(0, 15), "ZoneName,1,2,3,");
    EXPECT_EQ(lines[1].substr(lines[1].size() - 8), "253,254,");
    EXPECT_EQ(lines[2].substr(0, 12), "Zone 1,1, , ");

    auto fresh = Template();
    ZoneGrids imported;
    const ZonesImport import = ReadZonesCsv(file);
    ASSERT_TRUE(import.valid);
    ApplyZonesImport(import, *fresh, imported);
    EXPECT_EQ(imported.channels[253], "999");
    StoreZones(imported, {}, *fresh);
    for (std::size_t i = 0xEA2C; i < stored.size(); ++i) {
        ASSERT_EQ(fresh->U8(i), stored[i]) << "byte " << i;
    }
    EXPECT_EQ(fresh->U16(0x007A), 20);
}

TEST(ZonesCsvTest, BlankPositionsAndNumbersPastTheTableStayEmpty) {
    const std::string file = "PMR,Zones\nheader\nNorth,4,5, ,6,1000,7\n";
    const ZonesImport import = ReadZonesCsv(file);
    ASSERT_EQ(import.zones.size(), 1u);
    const auto& entries = import.zones[0].entries;
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[2].channel, 6);
    EXPECT_EQ(entries[2].row, 3) << "position 4 keeps its index";
    EXPECT_EQ(entries[3].channel, 7);
    EXPECT_EQ(entries[3].row, 5);
    EXPECT_FALSE(ReadZonesCsv("PMR,Channels\n").valid);
}

TEST(ChannelsCsvTest, CodeBytesOfOlderProgramsGoOutAsTheirCodesAndComeBackStandard) {
    auto image = Template();
    ChannelTable table;
    ChannelEntry channel = DefaultEntry(450000000);
    channel.SetNumber(3);
    ASSERT_TRUE(table.Add(channel));
    Store(table, *image);
    constexpr std::size_t kRecord = 0x3D2C;
    image->SetU8(kRecord + 8, 0x34);  // transmit: DCS 023 in the short form of the byte
    image->SetU8(kRecord + 9, 0x80);  // receive: 254.1 Hz likewise
    const std::string file = ExportChannelsCsvOfImage(image->Bytes());
    EXPECT_NE(file.find(",DCS,254.1,023,"), std::string::npos) << file;

    image->SetU8(kRecord + 9, 0x34);
    auto other = Template();
    const auto imported =
        ImportChannelsCsvIntoImage(other->Bytes(), ExportChannelsCsvOfImage(image->Bytes()), 0);
    ASSERT_TRUE(std::holds_alternative<csv::ImportSummary>(imported));
    EXPECT_EQ(other->U8(kRecord + 8), 0x81);
    EXPECT_EQ(other->U8(kRecord + 9), 0x81);
}

}  // namespace
}  // namespace km::pmr

#include "sim/RadioMemory.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "core/Files.h"
#include "sim/RadioWords.h"

namespace km::sim {
namespace {

using Bytes = std::vector<std::uint8_t>;

Profile ProfileOf(const std::string& text) {
    auto result = ParseProfile(text);
    EXPECT_TRUE(result.profile) << result.error;
    return result.profile.value_or(Profile{});
}

std::uint16_t U16(const Bytes& bytes, std::size_t offset) {
    return static_cast<std::uint16_t>(bytes.at(offset) << 8 | bytes.at(offset + 1));
}

// A table as the programmer decodes it: entry i at 8 x i, sector byte 0, block bytes 2-3.
FitEntry Decode(const Bytes& table, int i) {
    const std::size_t at = 8 * static_cast<std::size_t>(i);
    return {table.at(at), U16(table, at + 2), U16(table, at + 4)};
}

TEST(RadioMemoryTest, RadiosWithTheirOwnTableCarryItAtBlock7) {
    const Profile profile = ProfileOf("type = 4\nflash_type = 2\n");
    const Flash flash = BuildRadioMemory(profile);
    const Bytes table = flash.Read(kFitBlock * kBlockSize, kFitSize);
    EXPECT_EQ(table[1], 2);
    EXPECT_EQ(table[4], 'J');
    EXPECT_EQ(table[5], 'W');
    const FitLayout layout = LayoutFor(profile);
    for (int i = 1; i < static_cast<int>(kFitEntryCount); ++i) {
        EXPECT_EQ(Decode(table, i).block, layout[i].block) << "entry " << i;
        if (layout[i].block != kNoBlock) {
            EXPECT_EQ(Decode(table, i).sector, layout[i].sector) << "entry " << i;
        }
    }
}

// Radios of types 0 and 16 carry no table; the programmer reads FIT000101.bin instead, so the
// virtual radio's own file must describe the same memory as the radio holds.
TEST(RadioMemoryTest, RadiosWithoutATableMatchFit000101) {
    const Flash flash = BuildRadioMemory(ProfileOf("type = 0\ntrunk_job = yes\n"));
    const Bytes block7 = flash.Read(kFitBlock * kBlockSize, kFitSize);
    EXPECT_FALSE(block7[4] == 'J' && block7[5] == 'W');

    const auto file = ReadFileBytes(std::filesystem::path(KM_SIM_DATA_DIR) / "FIT000101.bin", 1024);
    ASSERT_TRUE(file);
    ASSERT_EQ(file->size(), kFitFileSize);
    const auto generated = FitFileContents();
    EXPECT_TRUE(std::equal(file->begin(), file->end(), generated.begin()));
    const FitLayout layout = FileTableLayout();
    for (int i = 1; i < static_cast<int>(kFitEntryCount); ++i) {
        EXPECT_EQ(Decode(*file, i).block, layout[i].block) << "entry " << i;
    }
    EXPECT_EQ(Decode(*file, fit::kZoneTable).block, kNoBlock);

    const auto align = ReadFileBytes(std::filesystem::path(KM_SIM_DATA_DIR) / "aligncfg.bin", 1024);
    ASSERT_TRUE(align);
    const Bytes startup =
        flash.Read(layout[fit::kStartupData].block * kBlockSize, kAlignConfigSize);
    // Bytes 0-3 are the block counts the programmer writes over the file's.
    EXPECT_TRUE(std::equal(align->begin() + 4, align->end(), startup.begin() + 4));
}

// The programmer finds a descriptor through the area's bytes 7-8 (v): offset e = v + 9, one gap
// byte after every 16383 bytes; the record holds description, version and code type.
TEST(RadioMemoryTest, CodeDescriptorsAreWhereTheProgrammerLooks) {
    const Profile profile =
        ProfileOf("type = 8\ntrunk_code.length = 50000\nstartup_code.length = 20000\n");
    const Flash flash = BuildRadioMemory(profile);
    const FitLayout layout = LayoutFor(profile);
    const struct {
        int entry;
        const CodeRecord& record;
    } areas[] = {{fit::kBackupCode, profile.backupCode},
                 {fit::kStartupCode, profile.startupCode},
                 {fit::kPmrCode, profile.pmrCode},
                 {fit::kTrunkCode, profile.trunkCode}};
    for (const auto& area : areas) {
        const std::size_t base = layout[area.entry].block * kBlockSize;
        const Bytes head = flash.Read(base, 128);
        std::size_t e = U16(head, 7) + 9u;
        e += e / 16383;
        const Bytes record = flash.Read(base + e, 64);
        EXPECT_EQ(std::string(record.begin(), record.begin() + area.record.description.size()),
                  area.record.description);
        EXPECT_EQ(std::string(record.begin() + 25, record.begin() + 30), area.record.softwareCode);
        EXPECT_EQ(std::string(record.begin() + 31, record.begin() + 36), area.record.version);
        EXPECT_EQ(record[47], area.record.codeType);
    }
    // No option board: its area stays erased, so its descriptor reads "Undefined".
    EXPECT_EQ(flash.At(layout[fit::kOptionBoardCode].block * kBlockSize + 7), 0xFF);
}

TEST(RadioMemoryTest, BandAndHardwareRecords) {
    const Profile profile = ProfileOf(
        "type = 1\nesn = 0A310014\nband = X8\nserial_number = KP123\nhardware_byte26 = 0xFB\n"
        "hardware_byte27 = 0x5F\nbootloader_date = 01/02/2003\nfpga_version = 2.47\n");
    const Flash flash = BuildRadioMemory(profile);
    const FitLayout layout = LayoutFor(profile);
    const Bytes band = flash.Read(layout[fit::kBandRecord].block * kBlockSize, 128);
    EXPECT_EQ(Bytes(band.begin(), band.begin() + 4), (Bytes{0x0A, 0x31, 0x00, 0x14}));
    EXPECT_EQ(std::string(band.begin() + 8, band.begin() + 10), "X8");
    EXPECT_EQ(std::string(band.begin() + 10, band.begin() + 15), "KP123");
    EXPECT_EQ(band[15], 0xFF);  // the radio ends its serial number text with 0xFF
    EXPECT_EQ(band[26], 0xFB);
    EXPECT_EQ(band[27], 0x5F);

    const FitEntry boot = layout[fit::kBootLoader];
    const Bytes date = flash.Read(boot.block * kBlockSize + boot.offset, 10);
    EXPECT_EQ(std::string(date.begin(), date.end()), "01/02/2003");
    const Bytes fpga = flash.Read(layout[fit::kFpgaConfig].block * kBlockSize, 5);
    EXPECT_EQ(fpga[3] & 0x0F, 2);
    EXPECT_EQ(fpga[4], 0x47);
}

// Every write of a programming operation must land in a sector erased earlier in the same
// operation, and what the operation does not rewrite must stay out of the sectors it erases.
// The plans follow the programmer's steps for each kind of radio.
struct Area {
    int entry;  // 0: a fixed block
    std::size_t blockOffset;
    std::size_t length;
    std::size_t fixedBlock = 0;
};

struct Plan {
    const char* what;
    const char* profile;
    std::vector<int> erasedEntries;
    std::vector<int> erasedNextSectors;  // entries whose following sector is erased too
    std::vector<Area> writes;
    std::vector<Area> kept;
};

std::size_t BlockOf(const FitLayout& layout, const Area& area) {
    return area.entry == 0 ? area.fixedBlock : layout[area.entry].block + area.blockOffset;
}

TEST(RadioMemoryTest, ProgrammingWritesLandInSectorsItErased) {
    using namespace fit;
    const std::vector<Area> codeWrites = {{kTrunkCode, 0, 16384},
                                          {kTrunkCode, 32, 16384},
                                          {kTrunkCode, 64, 16384},
                                          {kTrunkCode, 96, 16384},
                                          {kTrunkCode, 128, 16383}};
    const Plan plans[] = {
        {"trunk, Revision 8",
         "type = 0\n",
         {kTrunkConfig, kTrunkContext, kPmrContext},
         {},
         {{kStartupData, 0, 512}, {0, 0, 16384, 544}, {kTrunkConfig, 0, 16384}, {0, 0, 16384, 608}},
         {{kChannels1, 0, 16384}, {kChannels2, 0, 16384}, {kEncodes, 0, 8000}, {kGroupB, 0, 4096}}},
        {"trunk, portable",
         "type = 1\n",
         {kStartupData, kTrunkConfig, kTrunkContext, kPmrContext},
         {},
         {{kStartupData, 0, 512}, {kTrunkConfig, 0, 16384}, {0, 0, 16384, 608}},
         {{kPmrConfig, 0, 15660}, {kChannels1, 0, 16384}, {kZoneTable, 0, 16000}}},
        {"PMR, Revision 8",
         "type = 0\n",
         {kStartupData, kPmrContext, kChannels1},
         {},
         {{kStartupData, 0, 512},
          {kPmrConfig, 0, 15660},
          {kTrunkConfig, 0, 16384},
          {kChannels1, 0, 16384},
          {kChannels2, 0, 16384},
          {kEncodes, 0, 8191},
          {kGroupB, 0, 4096}},
         {}},
        {"PMR, Revision 9",
         "type = 4\n",
         {kStartupData, kPmrContext, kChannels1, kZoneTable},
         {},
         {{kStartupData, 0, 512},
          {kChannels1, 0, 16384},
          {kChannels2, 0, 16384},
          {kEncodes, 0, 8191},
          {kGroupB, 0, 4096},
          {kPmrConfig, 0, 15660},
          {kZoneTable, 0, 16000}},
         {{kTrunkConfig, 0, 16384}, {0, 0, 16384, 608}}},
        {"trunk code upgrade, Revision 10",
         "type = 8\n",
         {kTrunkCode},
         {kTrunkCode},
         codeWrites,
         {{kStartupCode, 0, 32768}, {kPmrCode, 0, 65536}, {kTrunkConfig, 0, 16384}}},
        // Every code but startup code may bring an overlay into the sector after its own.
        {"startup, PMR, option board and APCO code with their overlays",
         "type = 0\noption_board = yes\n",
         {kStartupCode, kPmrCode, kOptionBoardCode, kApcoCode},
         {kPmrCode, kOptionBoardCode, kApcoCode},
         {{kStartupCode, 0, 16384},
          {kStartupCode, 32, 16384},
          {kPmrCode, 96, 16384},
          {kPmrCode, 128, 16383},
          {kOptionBoardCode, 96, 16384},
          {kOptionBoardCode, 128, 16383},
          {kApcoCode, 96, 16384},
          {kApcoCode, 128, 16383}},
         {{kTrunkCode, 0, 65536}, {kTrunkConfig, 0, 16384}, {kChannels1, 0, 16384}}},
    };
    for (const auto& plan : plans) {
        const Profile profile = ProfileOf(plan.profile);
        const FitLayout layout = LayoutFor(profile);
        std::set<std::size_t> erased;
        for (int entry : plan.erasedEntries) {
            erased.insert(layout[entry].sector);
        }
        for (int entry : plan.erasedNextSectors) {
            erased.insert(layout[entry].sector + 1u);
        }
        for (std::size_t sector : erased) {
            EXPECT_GE(sector, 2u) << plan.what << ": boot sector erased";
            EXPECT_LT(sector, profile.sectorCount) << plan.what;
        }
        for (const Area& area : plan.writes) {
            const std::size_t first = BlockOf(layout, area);
            const std::size_t last = first + (area.length - 1) / kBlockSize;
            for (std::size_t block = first; block <= last; ++block) {
                EXPECT_TRUE(erased.count(Flash::SectorOfBlock(block)))
                    << plan.what << ": block " << block << " of entry " << area.entry;
            }
        }
        for (const Area& area : plan.kept) {
            if (area.entry != 0 && layout[area.entry].block == kNoBlock) {
                continue;
            }
            const std::size_t first = BlockOf(layout, area);
            const std::size_t last = first + (area.length - 1) / kBlockSize;
            for (std::size_t block = first; block <= last; ++block) {
                EXPECT_FALSE(erased.count(Flash::SectorOfBlock(block)))
                    << plan.what << ": kept block " << block << " of entry " << area.entry;
            }
        }
    }
}

TEST(RadioMemoryTest, ConfigurationAreasTellWhatTheRadioHolds) {
    const struct {
        const char* what;
        const char* profile;
        std::uint8_t dataSize;    // startup data byte 2: trunk configuration present
        std::uint8_t trunkBlank;  // trunk configuration byte 119
        std::uint8_t pmrBlank;    // PMR configuration byte 119
    } cases[] = {
        {"trunk job", "type = 0\ntrunk_job = yes\n", 128, 0x00, 0xFF},
        {"PMR job", "type = 4\npmr_channels = 24\n", 0, 0xFF, 0x00},
        {"blank radio", "type = 0\nblank = yes\n", 0xFF, 0xFF, 0xFF},
    };
    for (const auto& c : cases) {
        const Profile profile = ProfileOf(c.profile);
        const Flash flash = BuildRadioMemory(profile);
        const FitLayout layout = LayoutFor(profile);
        EXPECT_EQ(flash.At(layout[fit::kStartupData].block * kBlockSize + 2), c.dataSize) << c.what;
        EXPECT_EQ(flash.At(layout[fit::kTrunkConfig].block * kBlockSize + 119), c.trunkBlank)
            << c.what;
        EXPECT_EQ(flash.At(layout[fit::kPmrConfig].block * kBlockSize + 119), c.pmrBlank) << c.what;
    }
}

TEST(RadioMemoryTest, PmrJobCountsChannelsSplitAndPhonebookMarkers) {
    const Profile profile = ProfileOf(
        "type = 4\npmr_channels = 600\npmr_encodes = 3\npmr_group_b = 2\npmr_zones = 5\n"
        "pmr_phonebook_edited = yes\ntrunk_job = yes\ntrunk_phonebook_edited = yes\n");
    const Flash flash = BuildRadioMemory(profile);
    const FitLayout layout = LayoutFor(profile);
    const Bytes config = flash.Read(layout[fit::kPmrConfig].block * kBlockSize, 124);
    EXPECT_EQ(U16(config, 110), 600);
    EXPECT_EQ(config[113], 0xCA);
    EXPECT_EQ(config[115], 3);
    EXPECT_EQ(config[117], 2);
    EXPECT_EQ(config[123], 5);
    // Records 0 to 511 in the first part, 512 on in the second.
    EXPECT_EQ(U16(flash.Read(layout[fit::kChannels1].block * kBlockSize + 511 * 32, 2), 0), 511);
    EXPECT_EQ(U16(flash.Read(layout[fit::kChannels2].block * kBlockSize, 2), 0), 512);
    EXPECT_EQ(U16(flash.Read(layout[fit::kChannels2].block * kBlockSize + 87 * 32, 2), 0), 599);
    EXPECT_EQ(flash.Read(layout[fit::kPmrPhonebook].block * kBlockSize + 6000, 2),
              (Bytes{0x12, 0x34}));
    EXPECT_EQ(flash.Read(layout[fit::kTrunkPhonebook].block * kBlockSize + 7000, 2),
              (Bytes{0x12, 0x34}));
}

// Reading the trunk configuration and turning its words back gives the job the radio was made
// with: the template with the demo network as Network 1 and the radio's band.
TEST(RadioMemoryTest, TrunkJobFileIsHeldInTheRadiosWordOrder) {
    const std::filesystem::path data = KM_DATA_DIR;
    const Profile profile = ProfileOf("type = 0\nband = TK\ntrunk_job = yes\ntrunk_job_file = " +
                                      (data / "default.tct").string() + "\nnetwork1_file = " +
                                      (data / "Networks" / "Demo.nwk").string() + "\n");
    const Flash flash = BuildRadioMemory(profile);
    Bytes job = flash.Read(LayoutFor(profile)[fit::kTrunkConfig].block * kBlockSize, 16384);
    TurnWords(job, TrunkConfigurationWords());

    const auto templ = ReadFileBytes(data / "default.tct", 16384);
    const auto network = ReadFileBytes(data / "Networks" / "Demo.nwk", 1536);
    ASSERT_TRUE(templ && network);
    constexpr std::size_t kNetwork1 = 10240 + 1536;
    EXPECT_TRUE(std::equal(network->begin(), network->end(), job.begin() + kNetwork1));
    EXPECT_EQ(job[108] | job[109] << 8, 0x544B);  // "TK", first character in the high byte
    EXPECT_TRUE(std::equal(templ->begin() + 110, templ->begin() + kNetwork1, job.begin() + 110));

    const Flash made = BuildRadioMemory(ProfileOf("type = 0\nband = TK\ntrunk_job = yes\n"));
    Bytes madeUp = made.Read(LayoutFor(profile)[fit::kTrunkConfig].block * kBlockSize, 16384);
    TurnWords(madeUp, TrunkConfigurationWords());
    EXPECT_EQ(madeUp[108] | madeUp[109] << 8, 0x544B);
}

}  // namespace
}  // namespace km::sim

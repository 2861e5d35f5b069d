#include <gtest/gtest.h>

#include <memory>

#include "config/BandTable.h"
#include "config/MobMap.h"
#include "config/NetworkSlots.h"
#include "config/RadioTypes.h"

namespace km {
namespace {

constexpr std::uint16_t kBandTk = 0x544B;

// Network n's file starts at 10240 + 3072 n + 1536; its band code word is at 92.
void PutNetwork(TrunkJobImage& image, int selector, std::uint16_t band) {
    image.SetU16(11776 + 3072 * static_cast<std::size_t>(selector) + 92, band);
}

TEST(MobMapTest, TrunkHeaderStoresAndReloadsEveryChoice) {
    auto image = std::make_unique<TrunkJobImage>();
    PutNetwork(*image, 0, kBandTk);
    JobHeader header;
    header.description = "Fleet 7\nDepot";
    header.radioMode = 2;
    header.radioTypeRow = 7;  // HM-F+ Control Unit: code 4, variant 3
    header.accessory = 0;
    StoreTrunkHeader(*image, header);

    EXPECT_EQ(image->U16(14), 5860);
    EXPECT_EQ(image->U16(112), 100);
    EXPECT_EQ(image->U8(106), 4);
    EXPECT_EQ(image->U8(116), 3);
    EXPECT_EQ(image->U8(107), 2);
    EXPECT_EQ(image->U16(108), kBandTk);
    EXPECT_EQ(image->Text(36, 64), "Fleet 7\r\nDepot");

    const JobHeader back = LoadTrunkHeader(*image);
    EXPECT_EQ(back.description, header.description);
    EXPECT_EQ(back.radioTypeRow, 7);
    EXPECT_EQ(back.radioMode, 2);
    EXPECT_EQ(back.bandEntry, 9);
    EXPECT_EQ(back.versionWord, 5860);
}

TEST(MobMapTest, PmrHeaderUsesItsOwnPlacesAndTheChosenBand) {
    auto image = std::make_unique<PmrJobImage>();
    JobHeader header;
    header.radioTypeRow = 12;  // KP8C: code 10, variant 2
    header.accessory = 2;
    header.bandEntry = 15;
    header.radioMode = 0;
    StorePmrHeader(*image, header);
    EXPECT_EQ(image->U16(112), 202);
    EXPECT_EQ(image->U16(118), 2);
    EXPECT_EQ(image->U8(120), 2);
    EXPECT_EQ(image->U8(106), 10);
    EXPECT_EQ(image->U16(108), 0x5838);
    // The trunk places of accessory and head variant hold other PMR fields.
    EXPECT_EQ(image->U16(114), 0);
    EXPECT_EQ(image->U8(116), 0);
    const JobHeader back = LoadPmrHeader(*image);
    EXPECT_EQ(back.radioTypeRow, 12);
    EXPECT_EQ(back.accessory, 2);
    EXPECT_EQ(back.bandEntry, 15);

    header.bandEntry = 0;
    StorePmrHeader(*image, header);
    EXPECT_EQ(image->U16(108), 0);
}

TEST(MobMapTest, TrunkStoreClearsTheBandWordsOfAbsentNetworks) {
    auto image = std::make_unique<TrunkJobImage>();
    image->SetU16(108, kBandTk);
    PutNetwork(*image, 0, 0xFFFF);
    PutNetwork(*image, 1, 0xFFFF);
    StoreTrunkHeader(*image, JobHeader{});
    EXPECT_EQ(image->U16(108), 0);
    EXPECT_EQ(image->U16(11776 + 92), 0);
    EXPECT_EQ(image->U16(14848 + 92), 0);
}

TEST(MobMapTest, ValuesOutsideTheListsAreWrittenBackUnchanged) {
    auto image = std::make_unique<PmrJobImage>();
    image->SetU8(107, 9);
    image->SetU16(118, 300);
    image->SetU16(108, 0x4142);  // no band
    const JobHeader header = LoadPmrHeader(*image);
    EXPECT_EQ(header.bandEntry, 0);
    StorePmrHeader(*image, header);
    EXPECT_EQ(image->U8(107), 9);
    EXPECT_EQ(image->U16(118), 300);
    EXPECT_EQ(image->U16(108), 0x4142);
    // Choosing a band replaces it; choosing "Undefined" over a known band clears it.
    JobHeader chosen = header;
    chosen.bandEntry = 2;
    StorePmrHeader(*image, chosen);
    EXPECT_EQ(image->U16(108), 0x4143);
    JobHeader cleared = LoadPmrHeader(*image);
    cleared.bandEntry = 0;
    StorePmrHeader(*image, cleared);
    EXPECT_EQ(image->U16(108), 0);
}

TEST(MobMapTest, DescriptionAlwaysKeepsItsTerminatorAndWholeLineBreaks) {
    auto image = std::make_unique<TrunkJobImage>();
    image->FillRegion(36, 64, 'x');
    JobHeader header;
    header.description = std::string(62, 'a') + "\nb";  // the break would end at byte 64
    StoreTrunkHeader(*image, header);
    EXPECT_EQ(image->Text(36, 64), std::string(62, 'a'));
    EXPECT_EQ(image->U8(36 + 63), 0);

    header.description = std::string(80, 'z');
    StoreTrunkHeader(*image, header);
    EXPECT_EQ(image->Text(36, 64), std::string(63, 'z'));
    EXPECT_EQ(image->U8(36 + 63), 0);

    // Text outside Windows-1252 is stored as '?', one byte per character.
    header.description = "Caf\u00e9 \u4e2d";
    StoreTrunkHeader(*image, header);
    EXPECT_EQ(LoadTrunkHeader(*image).description, "Caf\u00e9 ?");
    EXPECT_EQ(DescriptionLength("ab\ncd"), 6u);
}

TEST(MobMapTest, VersionLabelOnlyAtNetworkAndEngineeringLevels) {
    EXPECT_FALSE(VersionLabelVisible(1));
    EXPECT_FALSE(VersionLabelVisible(2));
    EXPECT_TRUE(VersionLabelVisible(4));
    EXPECT_TRUE(VersionLabelVisible(8));
}

}  // namespace
}  // namespace km

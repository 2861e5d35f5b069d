// The network options of a slot: zone and area data shifted by the network file's lengths, never
// by a negative amount, and the preference data.

#include <gtest/gtest.h>

#include <memory>

#include "config/NwoMap.h"

namespace km {
namespace {

constexpr std::size_t kSlot1 = 0x2800;
constexpr std::size_t kFile1 = 0x2E00;
constexpr std::size_t kFile2 = 0x3A00;

class NwoMapTest : public ::testing::Test {
  protected:
    void SetLengths(std::size_t file, int zoneBits, int areaBits, bool wide) {
        image->SetU16(file + 0x62, static_cast<std::uint16_t>(zoneBits));
        image->SetU16(file + 0x64, static_cast<std::uint16_t>(areaBits));
        image->SetU8(file + 0x61, wide ? 0x40 : 0x00);
    }
    NetworkOptionTexts StoreEntry(int type, const char* data) {
        NetworkOptionTexts texts = LoadNetworkOptionTexts(*image, 0);
        texts.acquisition[0] = {type, data};
        StoreNetworkOptionTexts(*image, 0, texts);
        return LoadNetworkOptionTexts(*image, 0);
    }

    std::unique_ptr<TrunkJobImage> image = std::make_unique<TrunkJobImage>();
};

TEST_F(NwoMapTest, ZoneDataIsShiftedIntoTheFieldOfTheNetworksForm) {
    SetLengths(kFile1, 3, 2, false);
    const NetworkOptionTexts shown = StoreEntry(nwo_rows::kTypeZone, "5");
    EXPECT_EQ(image->U16(kSlot1 + 0x550), 1 << 14 | 5 << 1);
    EXPECT_EQ(shown.acquisition[0].data, "5");
    EXPECT_EQ(shown.acquisition[0].type, nwo_rows::kTypeZone);

    SetLengths(kFile1, 9, 2, true);
    StoreEntry(nwo_rows::kTypeZone, "300");
    EXPECT_EQ(image->U16(kSlot1 + 0x550) & 0x1FF, 300);
}

TEST_F(NwoMapTest, RangesFollowTypeAndLengthsAndAShiftIsNeverNegative) {
    const ZoneAreaLengths narrow{3, 2, false};
    const ZoneAreaLengths wide{3, 2, true};
    EXPECT_EQ(LargestDatum(nwo_rows::kTypeFull, narrow), 15);  // a Full entry of 16 is refused
    EXPECT_EQ(LargestDatum(nwo_rows::kTypeFull, wide), 511);   // and accepted here
    EXPECT_EQ(LargestDatum(nwo_rows::kTypeZone, narrow), 7);
    EXPECT_EQ(LargestDatum(nwo_rows::kTypeArea, narrow), 3);
    EXPECT_EQ(LargestDatum(nwo_rows::kTypeNone, wide), 0);
    // Lengths past the field: no shift, and the range of the field.
    const ZoneAreaLengths past{9, 60000, false};
    EXPECT_EQ(DatumShift(nwo_rows::kTypeZone, past), 0);
    EXPECT_EQ(DatumShift(nwo_rows::kTypeArea, past), 0);
    EXPECT_EQ(LargestDatum(nwo_rows::kTypeArea, past), 15);
    EXPECT_EQ(StoredDatum(nwo_rows::kTypeZone, 15, past), 15);
    EXPECT_EQ(DatumShift(nwo_rows::kTypeArea, {3, 0, true}), 9);
}

TEST_F(NwoMapTest, AStoreKeepsTheBitsBetweenDataAndTypeAndNoneStoresZero) {
    SetLengths(kFile1, 3, 2, false);
    image->SetU16(kSlot1 + 0x552, 0x3E00 | 0x8000 | 0x1F);
    NetworkOptionTexts texts = LoadNetworkOptionTexts(*image, 0);
    EXPECT_EQ(texts.acquisition[1].type, nwo_rows::kTypeArea);
    texts.acquisition[1] = {nwo_rows::kTypeNone, "0"};
    StoreNetworkOptionTexts(*image, 0, texts);
    EXPECT_EQ(image->U16(kSlot1 + 0x552), 0x3E00);
}

TEST_F(NwoMapTest, HomeZoneAndPreferencesHaveTheirPlaces) {
    SetLengths(kFile1, 3, 2, false);
    NetworkOptionTexts texts = LoadNetworkOptionTexts(*image, 0);
    texts.homeZone = "6";
    texts.preferences[2] = {"10", "3", "7"};
    image->SetU16(kSlot1 + 0x568 + 8 + 2, 0xFC00);  // bits 10-15 of the data word are kept
    StoreNetworkOptionTexts(*image, 0, texts);
    EXPECT_EQ(image->U16(kSlot1 + 0x560), 12);
    EXPECT_EQ(image->U8(kSlot1 + 0x568 + 8), 3);
    EXPECT_EQ(image->U8(kSlot1 + 0x569 + 8), 10);
    EXPECT_EQ(image->U16(kSlot1 + 0x56A + 8), 0xFC07);
    const NetworkOptionTexts loaded = LoadNetworkOptionTexts(*image, 0);
    EXPECT_EQ(loaded.homeZone, "6");
    EXPECT_EQ(loaded.preferences[2].priority, "10");
    EXPECT_EQ(loaded.preferences[2].length, "3");
    EXPECT_EQ(loaded.preferences[2].data, "7");
}

TEST_F(NwoMapTest, PreferenceDataOfLengthThreeGoesUpToSeven) {
    EXPECT_EQ(LargestPreferenceData("3"), 7);
    EXPECT_EQ(LargestPreferenceData("0"), 0);
    EXPECT_EQ(LargestPreferenceData(""), 0);
    EXPECT_EQ(LargestPreferenceData("11"), 0);  // a length above 10 counts as 0
    EXPECT_EQ(LargestPreferenceData("10"), 1023);
}

TEST_F(NwoMapTest, EachSlotReadsTheLengthsOfItsOwnNetworkFile) {
    SetLengths(kFile1, 3, 2, false);
    SetLengths(kFile2, 1, 4, true);
    EXPECT_EQ(ZoneAreaLengthsOfSlot(*image, 0).zoneBits, 3);
    const ZoneAreaLengths second = ZoneAreaLengthsOfSlot(*image, 1);
    EXPECT_EQ(second.zoneBits, 1);
    EXPECT_EQ(second.areaBits, 4);
    EXPECT_TRUE(second.wide);
}

TEST_F(NwoMapTest, DefaultsOfTheTwoPages) {
    NetworkOptionTexts texts;
    texts.acquisition[4] = {nwo_rows::kTypeFull, "9"};
    texts.preferences[0] = {"1", "2", "3"};
    texts.homeZone = "4";
    AcquisitionDefaults(texts);
    EXPECT_EQ(texts.acquisition[4].type, nwo_rows::kTypeNone);
    EXPECT_EQ(texts.acquisition[4].data, "0");
    EXPECT_EQ(texts.homeZone, "4");
    NetworkDataDefaults(texts);
    EXPECT_EQ(texts.homeZone, "0");
    EXPECT_EQ(texts.preferences[0].data, "0");
}

}  // namespace
}  // namespace km

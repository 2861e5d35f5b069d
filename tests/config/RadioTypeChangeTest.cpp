// What a change of radio type does to a job: the head's texts, the portable keys, the audio input
// levels and the PMR power levels.

#include <gtest/gtest.h>

#include <memory>

#include "config/RadioTypeChange.h"

namespace km {
namespace {

constexpr int kHmC = 2;
constexpr int kHmE = 5;
constexpr int kHmF = 6;
constexpr int kKp8a = 9;
constexpr int kKp8b = 10;

std::string TextAt(std::span<const std::uint8_t> bytes, std::size_t offset, std::size_t width) {
    std::string text;
    for (std::size_t i = 0; i < width && bytes[offset + i] != 0; ++i) {
        text.push_back(static_cast<char>(bytes[offset + i]));
    }
    return text;
}

TEST(RadioTypeChange, HmFToHmCAndBackRefillsTheTrunkTexts) {
    auto image = std::make_unique<TrunkJobImage>();
    ApplyRadioTypeChange(*image, kHmF, kHmC);
    EXPECT_EQ(TextAt(image->Bytes(), 0x014C, 12), "ALL");
    EXPECT_EQ(TextAt(image->Bytes(), 0x014C + 12 * 41, 12), "Push S");
    EXPECT_EQ(TextAt(image->Bytes(), 0x03C4 + 12 * 8, 12), "PB-EDT");
    ApplyRadioTypeChange(*image, kHmC, kHmF);
    EXPECT_EQ(TextAt(image->Bytes(), 0x014C, 12), "All Units");
    EXPECT_EQ(TextAt(image->Bytes(), 0x014C + 12 * 41, 12), "SEL to Edit");
    EXPECT_EQ(TextAt(image->Bytes(), 0x03C4 + 12 * 8, 12), "Ph Book Edit");
}

TEST(RadioTypeChange, PortableKeysOnlyFromAMobileAndAudioInputsByKind) {
    auto trunk = std::make_unique<TrunkJobImage>();
    auto pmr = std::make_unique<PmrJobImage>();
    trunk->SetU16(0x2148, 7);
    pmr->SetU16(0x552, 7);
    ApplyRadioTypeChange(*trunk, kHmF, kKp8a);
    ApplyRadioTypeChange(*pmr, kHmF, kKp8a);
    EXPECT_EQ(trunk->U16(208), 1);
    EXPECT_EQ(trunk->U16(210), 2);
    EXPECT_EQ(trunk->U16(212), 0xFFFF);
    EXPECT_EQ(trunk->U16(214), 6);
    EXPECT_EQ(pmr->U16(208), 15);
    EXPECT_EQ(pmr->U16(210), 16);
    EXPECT_EQ(pmr->U16(212), 0xFFFF);
    EXPECT_EQ(pmr->U16(214), 4);
    // "+12" is stored as 12 / 6.
    for (std::size_t offset : {0x2148, 0x214A}) {
        EXPECT_EQ(trunk->U16(offset), 2) << offset;
    }
    for (std::size_t offset : {0x552, 0x554}) {
        EXPECT_EQ(pmr->U16(offset), 2) << offset;
    }

    // Portable to portable keeps the keys the user set.
    trunk->SetU16(208, 9);
    ApplyRadioTypeChange(*trunk, kKp8a, kKp8b);
    EXPECT_EQ(trunk->U16(208), 9);

    ApplyRadioTypeChange(*trunk, kKp8b, kHmE);
    ApplyRadioTypeChange(*pmr, kKp8a, kHmE);
    EXPECT_EQ(trunk->U16(208), 9);
    EXPECT_EQ(trunk->U16(0x2148), 0);
    EXPECT_EQ(trunk->U16(0x214A), 0);
    EXPECT_EQ(pmr->U16(0x552), 0);
    EXPECT_EQ(pmr->U16(0x554), 0);
}

TEST(RadioTypeChange, PowerLevelsAreLimitedToTheNewHeadsLists) {
    auto pmr = std::make_unique<PmrJobImage>();
    pmr->SetU16(0x1D2E, 10);
    pmr->SetU8(0x1D0E, 0x93);  // medium 9, the low bits kept
    pmr->SetU16(0x1D30, 4);
    ApplyRadioTypeChange(*pmr, kHmF, kKp8a);
    EXPECT_EQ(pmr->U16(0x1D2E), 5);
    EXPECT_EQ(pmr->U8(0x1D0E), 0x53);
    EXPECT_EQ(pmr->U16(0x1D30), 4);

    pmr->SetU16(0x1D30, 5);
    ApplyRadioTypeChange(*pmr, kKp8a, kHmF);
    EXPECT_EQ(pmr->U16(0x1D30), 4) << "a mobile has five low levels";
    EXPECT_EQ(pmr->U16(0x1D2E), 5) << "and eleven high levels";

    // A trunk job has no such levels: the same bytes are left alone.
    auto trunk = std::make_unique<TrunkJobImage>();
    trunk->SetU16(0x1D2E, 10);
    ApplyRadioTypeChange(*trunk, kHmF, kKp8a);
    EXPECT_EQ(trunk->U16(0x1D2E), 10);
}

TEST(RadioTypeChange, ARowOutsideTheListChangesNothing) {
    auto trunk = std::make_unique<TrunkJobImage>();
    ApplyRadioTypeChange(*trunk, kHmF, 14);
    ApplyRadioTypeChange(*trunk, -1, kHmC);
    EXPECT_TRUE(std::all_of(trunk->Bytes().begin(), trunk->Bytes().end(),
                            [](std::uint8_t b) { return b == 0; }));
}

}  // namespace
}  // namespace km

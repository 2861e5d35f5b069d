// The Network Systems map: identity words, the roaming table and the ANN extent bound.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fields/FieldOps.h"
#include "network/SysMap.h"

namespace km {
namespace {

constexpr std::size_t kSlot0File = 11776;  // the network file of a trunk job's Network 1

std::uint16_t Word(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

TEST(SystemMapTest, IdentityWordsOfBothNetworkTypes) {
    std::vector<std::uint8_t> file(1536, 0);
    WriteNetworkIdentity(file, 0, {true, 3});
    EXPECT_EQ(Word(file, 96), 0x7000);
    WriteNetworkIdentity(file, 0, {false, 127});
    EXPECT_EQ(Word(file, 96), 0x3F80);
    // The same word in a trunk job's network slot.
    std::vector<std::uint8_t> job(16384, 0);
    WriteNetworkIdentity(job, kSlot0File, {true, 1});
    EXPECT_EQ(Word(job, kSlot0File + 96), 0x5000);

    const std::pair<std::uint16_t, NetworkIdentity> reads[] = {
        {0x4000, {true, 0}}, {0x0000, {false, 0}}, {0x7000, {true, 3}}, {0x3F80, {false, 127}}};
    for (const auto& [word, identity] : reads) {
        file[96] = static_cast<std::uint8_t>(word);
        file[97] = static_cast<std::uint8_t>(word >> 8);
        EXPECT_EQ(ReadNetworkIdentity(file, 0), identity) << word;
    }
}

TEST(SystemMapTest, AnIdentityStoredUnchangedKeepsTheOtherBitsOfItsWord) {
    std::vector<std::uint8_t> file(1536, 0);
    file[96] = 0x85;  // Regional 5 with bits 0 and 2 set
    file[97] = 0x02;
    WriteNetworkIdentity(file, 0, ReadNetworkIdentity(file, 0));
    EXPECT_EQ(Word(file, 96), 0x0285);
    WriteNetworkIdentity(file, 0, {false, 6});
    EXPECT_EQ(Word(file, 96), 0x0300);
}

TEST(SystemMapTest, RangesFollowTheNetworkType) {
    EXPECT_EQ(IdentityRange(true).high, 3);
    EXPECT_EQ(IdentityRange(false).high, 127);
    EXPECT_EQ(SilRange(true).low, 3);
    EXPECT_EQ(SilRange(true).high, 9);
    EXPECT_EQ(SilRange(false).high, 4);
    EXPECT_EQ(FallbackNddRange(true).high, 511);
    EXPECT_EQ(FallbackNddRange(false).high, 15);
}

TEST(SystemMapTest, AnnExtentIsBoundByTheRowsPartition) {
    EXPECT_EQ(AnnExtentLimit("10"), 0);
    EXPECT_EQ(AnnExtentLimit("3"), 7);
    EXPECT_EQ(AnnExtentLimit(""), 10);
    EXPECT_EQ(AnnExtentLimit("x"), 0);  // a partition that is no number
}

TEST(SystemMapTest, RoamingEntriesAreStoredFromTheFirstWithoutGaps) {
    std::vector<std::uint8_t> file(1536, 0);
    std::vector<std::string> grid(50);
    grid[2] = "5";
    grid[6] = "127";
    StoreRoamingTable(file, 0, grid);
    EXPECT_EQ(Word(file, 1244), 5 * 128);
    EXPECT_EQ(Word(file, 1246), 0x3F80);
    for (std::size_t entry = 2; entry < 50; ++entry) {
        EXPECT_EQ(Word(file, 1244 + 2 * entry), 0xFFFF) << entry;
    }
    // Loaded again, they are rows 1 and 2.
    const auto& opid = system_rows::kRoamingOpid;
    EXPECT_EQ(fields::FormatField(opid, fields::ReadField(opid, file, 1244)), "5");
    EXPECT_EQ(fields::FormatField(opid, fields::ReadField(opid, file, 1246)), "127");
    EXPECT_EQ(fields::FormatField(opid, fields::ReadField(opid, file, 1248)), "");
}

TEST(SystemMapTest, RoamingWordsShowBits7To13WhateverBits14And15Hold) {
    struct Case {
        std::uint16_t word;
        const char* shown;
    };
    const Case cases[] = {
        {0x0080, "1"},   {0x4080, "1"},   {0x8080, "1"}, {0xC080, "1"}, {0xC000, "0"},
        {0x3F80, "127"}, {0x7FFF, "127"}, {0x007F, "0"}, {0xFFFF, ""},
    };
    const auto& opid = system_rows::kRoamingOpid;
    for (const Case& c : cases) {
        std::vector<std::uint8_t> file(1536, 0);
        file[1244] = static_cast<std::uint8_t>(c.word);
        file[1245] = static_cast<std::uint8_t>(c.word >> 8);
        const auto value = fields::ReadField(opid, file, 1244);
        EXPECT_EQ(fields::FormatField(opid, value), c.shown) << c.word;
        EXPECT_EQ(fields::CheckField(opid, value), std::nullopt) << c.word;
        // Stored unchanged, the word keeps its other bits.
        std::vector<std::string> grid(50);
        grid[0] = c.shown;
        StoreRoamingTable(file, 0, grid);
        EXPECT_EQ(Word(file, 1244), c.word);
    }
}

TEST(SystemMapTest, ARoamingTableOfZerosBecomesEmptyAndOneInUseStays) {
    std::vector<std::uint8_t> file(1536, 0);
    PrepareRoamingTable(file, 0);
    for (std::size_t at = 1244; at < 1344; ++at) {
        ASSERT_EQ(file[at], 0xFF) << at;
    }
    EXPECT_EQ(file[1344], 0);  // the bytes after the table are not the table's
    std::vector<std::uint8_t> used(1536, 0);
    used[1300] = 0x80;
    PrepareRoamingTable(used, 0);
    EXPECT_EQ(used[1244], 0);
    EXPECT_EQ(used[1300], 0x80);
}

TEST(SystemMapTest, TheMarkerIsWrittenWithoutTerminator) {
    std::vector<std::uint8_t> file(1536, 0xAA);
    WriteNetworkMarker(file, 0);
    EXPECT_EQ(std::string(file.begin(), file.begin() + 16), "--NETWORK FILE--");
    EXPECT_EQ(file[16], 0xAA);
}

}  // namespace
}  // namespace km

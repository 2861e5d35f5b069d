#include "sim/Flash.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "core/Files.h"

namespace km::sim {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(FlashTest, StartsErasedAndReadsErasedBeyondItsEnd) {
    Flash flash(2);
    EXPECT_EQ(flash.Size(), 2 * kSectorSize);
    EXPECT_EQ(flash.Read(0, 4), (Bytes{0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(flash.Read(flash.Size() - 2, 4), (Bytes{0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(flash.Read(1 << 30, 2), (Bytes{0xFF, 0xFF}));
}

// NOR flash: programming only clears bits, so what lands is the AND of old and new; programming
// anything but 0xFF onto a byte that is not erased is a fault.
TEST(FlashTest, ProgramsWithNorSemanticsAndRecordsWritesOntoUnerasedBytes) {
    const struct {
        const char* what;
        std::uint8_t before;  // 0xFF: erased
        std::uint8_t written;
        std::uint8_t stored;
        bool fault;
    } cases[] = {
        {"onto erased", 0xFF, 0x5A, 0x5A, false},
        {"0xFF onto programmed changes nothing", 0x5A, 0xFF, 0x5A, false},
        {"same value onto programmed", 0x5A, 0x5A, 0x5A, true},
        {"new bits cannot be set", 0x0F, 0xF0, 0x00, true},
    };
    for (const auto& c : cases) {
        Flash flash(3);
        const std::size_t at = kSectorSize + 100;
        if (c.before != 0xFF) {
            flash.Program(at, Bytes{c.before});
            flash.ClearFaults();
        }
        flash.Program(at, Bytes{c.written});
        EXPECT_EQ(flash.At(at), c.stored) << c.what;
        ASSERT_EQ(flash.Faults().size(), c.fault ? 1u : 0u) << c.what;
        if (c.fault) {
            EXPECT_EQ(flash.Faults()[0].kind, FaultKind::WriteOntoUnerased);
            EXPECT_EQ(flash.Faults()[0].address, at);
        }
    }
}

TEST(FlashTest, GathersAdjacentClashingBytesIntoOneFault) {
    Flash flash(2);
    flash.Store(1000, Bytes(10, 0x00));
    // Bytes 995..1014: five erased, ten programmed, five erased.
    flash.Program(995, Bytes(20, 0x11));
    ASSERT_EQ(flash.Faults().size(), 1u);
    EXPECT_EQ(flash.Faults()[0].address, 1000u);
    EXPECT_EQ(flash.Faults()[0].count, 10u);
    EXPECT_NE(Describe(flash.Faults()[0]).find("unerased"), std::string::npos);
}

TEST(FlashTest, EraseSetsTheWholeSectorAndNothingElse) {
    Flash flash(4);
    flash.Store(0, Bytes(flash.Size(), 0x00));
    flash.EraseSector(2);
    EXPECT_EQ(flash.At(2 * kSectorSize - 1), 0x00);
    EXPECT_EQ(flash.At(2 * kSectorSize), 0xFF);
    EXPECT_EQ(flash.At(3 * kSectorSize - 1), 0xFF);
    EXPECT_EQ(flash.At(3 * kSectorSize), 0x00);
    EXPECT_TRUE(flash.Faults().empty());
    EXPECT_EQ(flash.EraseCount(), 1u);
    // Erased bytes take a new write without a fault.
    flash.Program(2 * kSectorSize, Bytes{0x12});
    EXPECT_TRUE(flash.Faults().empty());
}

TEST(FlashTest, RecordsAddressesOutsideTheFlashAndBootSectorErases) {
    const struct {
        const char* what;
        std::function<void(Flash&)> act;
        FaultKind kind;
    } cases[] = {
        {"write past the end", [](Flash& f) { f.Program(f.Size() - 2, Bytes(4, 0)); },
         FaultKind::WriteOutsideFlash},
        {"erase past the end", [](Flash& f) { f.EraseSector(200); }, FaultKind::EraseOutsideFlash},
        {"erase of the boot sector", [](Flash& f) { f.EraseSector(1); },
         FaultKind::EraseBootSector},
    };
    for (const auto& c : cases) {
        Flash flash(16);
        c.act(flash);
        ASSERT_FALSE(flash.Faults().empty()) << c.what;
        EXPECT_EQ(flash.Faults().back().kind, c.kind) << c.what;
    }
    Flash flash(16);
    flash.Program(flash.Size() - 2, Bytes{1, 2, 3, 4});
    EXPECT_EQ(flash.Read(flash.Size() - 2, 2), (Bytes{1, 2}));
}

TEST(FlashTest, MemoryFileRoundTripsAndRefusesOddSizes) {
    const auto folder = std::filesystem::temp_directory_path() / "km_sim_flash_test";
    std::filesystem::create_directories(folder);
    Flash flash(3);
    flash.Store(12345, Bytes{1, 2, 3});
    ASSERT_TRUE(flash.SaveTo(folder / "radio.mem"));

    Flash loaded(1);
    ASSERT_TRUE(loaded.LoadFrom(folder / "radio.mem"));
    EXPECT_EQ(loaded.SectorCount(), 3u);
    EXPECT_EQ(loaded.Read(12345, 3), (Bytes{1, 2, 3}));

    const Bytes odd(kSectorSize + 1, 0);
    ASSERT_TRUE(WriteFileAtomically(folder / "odd.mem", odd));
    EXPECT_FALSE(loaded.LoadFrom(folder / "odd.mem"));
    EXPECT_FALSE(loaded.LoadFrom(folder / "missing.mem"));
    EXPECT_EQ(loaded.SectorCount(), 3u);  // unchanged by the refusals
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace km::sim

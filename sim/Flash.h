#pragma once
// The radio's flash memory: 512-byte blocks gathered into erasable sectors of 128 blocks, with
// NOR semantics. Erasing a sector sets every byte to 0xFF; writing can only clear bits, so a
// write onto bytes that are not erased cannot store what was meant. The virtual radio stores the
// bitwise AND, as the chip would, and records the write as a fault so that a test can see the
// programmer forgot an erase.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace km::sim {

inline constexpr std::size_t kBlockSize = 512;
inline constexpr std::size_t kBlocksPerSector = 128;
inline constexpr std::size_t kSectorSize = kBlockSize * kBlocksPerSector;
inline constexpr std::size_t kDefaultSectorCount = 32;
// The programming messages address flash by a 16-bit block number and an 8-bit sector number.
inline constexpr std::size_t kMaxSectorCount = 256;

enum class FaultKind {
    WriteOntoUnerased,  // bytes written where the flash was not erased
    WriteOutsideFlash,  // bytes addressed beyond the end of the flash
    EraseOutsideFlash,  // a sector number beyond the flash
    EraseBootSector,    // sector 0 or 1: the boot loader, FIT and band record live there
};

struct FlashFault {
    FaultKind kind;
    std::size_t address = 0;  // first byte concerned (the sector's first byte for erases)
    std::size_t count = 0;    // bytes concerned
};

std::string Describe(const FlashFault& fault);

class Flash {
  public:
    explicit Flash(std::size_t sectorCount = kDefaultSectorCount);

    std::size_t Size() const { return bytes_.size(); }
    std::size_t SectorCount() const { return bytes_.size() / kSectorSize; }
    static std::size_t BlockAddress(std::size_t block) { return block * kBlockSize; }
    static std::size_t SectorOfBlock(std::size_t block) { return block / kBlocksPerSector; }

    // Reads `length` bytes from `address`; bytes beyond the flash read as 0xFF (no chip there).
    std::vector<std::uint8_t> Read(std::size_t address, std::size_t length) const;
    std::uint8_t At(std::size_t address) const;

    // Programs bytes with NOR semantics; records WriteOntoUnerased for every run of bytes that
    // were not 0xFF and receive something other than 0xFF (programming 0xFF changes nothing).
    void Program(std::size_t address, std::span<const std::uint8_t> data);
    void EraseSector(std::size_t sector);

    // Sets bytes as they are, bypassing NOR semantics: used to build a radio's memory.
    void Store(std::size_t address, std::span<const std::uint8_t> data);

    const std::vector<FlashFault>& Faults() const { return faults_; }
    void ClearFaults() { faults_.clear(); }
    std::size_t EraseCount() const { return eraseCount_; }

    // The memory file is the flash byte for byte; its size gives the sector count.
    bool SaveTo(const std::filesystem::path& path) const;
    // False (flash unchanged) when the file cannot be read or its size is not a whole number of
    // sectors between 1 and 256.
    bool LoadFrom(const std::filesystem::path& path);

  private:
    void Record(FaultKind kind, std::size_t address, std::size_t count);

    std::vector<std::uint8_t> bytes_;
    std::vector<FlashFault> faults_;
    std::size_t eraseCount_ = 0;
};

}  // namespace km::sim

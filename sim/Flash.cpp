#include "sim/Flash.h"

#include <algorithm>
#include <sstream>
#include <stdexcept>

#include "core/Files.h"

namespace km::sim {

namespace {
constexpr std::uint8_t kErased = 0xFF;
constexpr std::size_t kBootSectors = 2;
}  // namespace

std::string Describe(const FlashFault& fault) {
    std::ostringstream text;
    switch (fault.kind) {
        case FaultKind::WriteOntoUnerased:
            text << "write onto unerased flash";
            break;
        case FaultKind::WriteOutsideFlash:
            text << "write beyond the end of the flash";
            break;
        case FaultKind::EraseOutsideFlash:
            text << "erase of a sector beyond the flash";
            break;
        case FaultKind::EraseBootSector:
            text << "erase of a boot sector";
            break;
    }
    text << " at 0x" << std::hex << fault.address << std::dec << " (block "
         << fault.address / kBlockSize << ", " << fault.count << " bytes)";
    return text.str();
}

Flash::Flash(std::size_t sectorCount)
    : bytes_(std::clamp<std::size_t>(sectorCount, 1, kMaxSectorCount) * kSectorSize, kErased) {}

std::vector<std::uint8_t> Flash::Read(std::size_t address, std::size_t length) const {
    std::vector<std::uint8_t> data(length, kErased);
    if (address < bytes_.size()) {
        const std::size_t inside = std::min(length, bytes_.size() - address);
        std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(address), inside, data.begin());
    }
    return data;
}

std::uint8_t Flash::At(std::size_t address) const {
    return address < bytes_.size() ? bytes_[address] : kErased;
}

void Flash::Program(std::size_t address, std::span<const std::uint8_t> data) {
    std::size_t runStart = 0;
    std::size_t runLength = 0;
    auto closeRun = [&] {
        if (runLength > 0) {
            Record(FaultKind::WriteOntoUnerased, runStart, runLength);
            runLength = 0;
        }
    };
    for (std::size_t i = 0; i < data.size(); ++i) {
        const std::size_t at = address + i;
        if (at >= bytes_.size()) {
            closeRun();
            Record(FaultKind::WriteOutsideFlash, at, data.size() - i);
            return;
        }
        const bool clash = bytes_[at] != kErased && data[i] != kErased;
        if (clash) {
            if (runLength == 0) {
                runStart = at;
            }
            ++runLength;
        } else {
            closeRun();
        }
        bytes_[at] &= data[i];
    }
    closeRun();
}

void Flash::EraseSector(std::size_t sector) {
    if (sector >= SectorCount()) {
        Record(FaultKind::EraseOutsideFlash, sector * kSectorSize, kSectorSize);
        return;
    }
    if (sector < kBootSectors) {
        Record(FaultKind::EraseBootSector, sector * kSectorSize, kSectorSize);
    }
    std::fill_n(bytes_.begin() + static_cast<std::ptrdiff_t>(sector * kSectorSize), kSectorSize,
                kErased);
    ++eraseCount_;
}

void Flash::Store(std::size_t address, std::span<const std::uint8_t> data) {
    if (address > bytes_.size() || data.size() > bytes_.size() - address) {
        throw std::out_of_range("radio memory built beyond the end of the flash");
    }
    std::copy(data.begin(), data.end(), bytes_.begin() + static_cast<std::ptrdiff_t>(address));
}

bool Flash::SaveTo(const std::filesystem::path& path) const {
    return WriteFileAtomically(path, bytes_);
}

bool Flash::LoadFrom(const std::filesystem::path& path) {
    constexpr std::size_t kMaxBytes = kMaxSectorCount * kSectorSize;
    const auto data = ReadFileBytes(path, kMaxBytes + 1);
    if (!data || data->empty() || data->size() > kMaxBytes || data->size() % kSectorSize != 0) {
        return false;
    }
    bytes_ = *data;
    faults_.clear();
    eraseCount_ = 0;
    return true;
}

void Flash::Record(FaultKind kind, std::size_t address, std::size_t count) {
    // A long programming session must not grow the list without bound; the first faults tell
    // what went wrong.
    constexpr std::size_t kMaxFaults = 4096;
    if (faults_.size() < kMaxFaults) {
        faults_.push_back({kind, address, count});
    }
}

}  // namespace km::sim

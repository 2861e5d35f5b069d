#pragma once
// Turns a short fuzz input into a file of a useful length: the job formats need thousands of
// bytes before the interesting paths start, so the input is repeated to the length it asks for.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace km::fuzzing {

// The pattern repeated to `size` bytes into `bytes`, whose storage is reused; zeros when the
// pattern is empty.
inline void TileInto(std::span<const std::uint8_t> pattern, std::size_t size,
                     std::vector<std::uint8_t>& bytes) {
    bytes.assign(size, 0);
    for (std::size_t at = 0; !pattern.empty() && at < size; at += pattern.size()) {
        const std::size_t n = std::min(pattern.size(), size - at);
        std::copy_n(pattern.begin(), n, bytes.begin() + static_cast<std::ptrdiff_t>(at));
    }
}

inline std::vector<std::uint8_t> Tiled(std::span<const std::uint8_t> pattern, std::size_t size) {
    std::vector<std::uint8_t> bytes;
    TileInto(pattern, size, bytes);
    return bytes;
}

// The lengths worth trying around a format's required size: exact, one short, a little longer,
// or something tiny.
inline std::size_t LengthNear(std::size_t needed, std::uint8_t choice) {
    switch (choice % 4) {
        case 0:
            return needed;
        case 1:
            return needed - 1;
        case 2:
            return needed + 17;
        default:
            return choice % 130;
    }
}

// Version words of the PMR formats around the supported ones, or any word.
inline std::uint16_t PmrVersion(std::uint8_t choice, std::uint8_t raw) {
    return choice & 0x80 ? static_cast<std::uint16_t>(raw << 8 | choice)
                         : static_cast<std::uint16_t>(198 + choice % 7);
}

inline void PutVersion(std::vector<std::uint8_t>& bytes, std::uint16_t version) {
    if (bytes.size() >= 114) {
        bytes[112] = static_cast<std::uint8_t>(version & 0xFF);
        bytes[113] = static_cast<std::uint8_t>(version >> 8);
    }
}

}  // namespace km::fuzzing

#pragma once
// CRC-16/USB, the check value of every frame on the radio line: polynomial 0x8005 processed
// bit-reflected (0xA001), initial value 0xFFFF, final exclusive-or 0xFFFF. The check over the
// ASCII bytes "123456789" is 0xB4C8.

#include <array>
#include <cstdint>
#include <span>

namespace km {

inline constexpr std::uint16_t kCrcInitial = 0xFFFF;
inline constexpr std::uint16_t kCrcFinalXor = 0xFFFF;

namespace detail {
constexpr std::array<std::uint16_t, 256> MakeCrc16UsbTable() {
    std::array<std::uint16_t, 256> table{};
    for (unsigned n = 0; n < 256; ++n) {
        std::uint16_t value = static_cast<std::uint16_t>(n);
        for (int bit = 0; bit < 8; ++bit) {
            value = (value & 1) ? static_cast<std::uint16_t>((value >> 1) ^ 0xA001)
                                : static_cast<std::uint16_t>(value >> 1);
        }
        table[n] = value;
    }
    return table;
}
inline constexpr std::array<std::uint16_t, 256> kCrc16UsbTable = MakeCrc16UsbTable();
}  // namespace detail

// One table step: feeds `byte` into the running (not yet inverted) register.
constexpr std::uint16_t Crc16UsbUpdate(std::uint16_t crc, std::uint8_t byte) {
    return static_cast<std::uint16_t>((crc >> 8) ^ detail::kCrc16UsbTable[(crc ^ byte) & 0xFF]);
}

// The finished check value of `bytes`.
constexpr std::uint16_t Crc16Usb(std::span<const std::uint8_t> bytes) {
    std::uint16_t crc = kCrcInitial;
    for (std::uint8_t byte : bytes) {
        crc = Crc16UsbUpdate(crc, byte);
    }
    return static_cast<std::uint16_t>(crc ^ kCrcFinalXor);
}

}  // namespace km

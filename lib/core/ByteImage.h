#pragma once
// A fixed-size byte array with typed, bounds-checked access. Every configuration image, the
// scratch buffer and the radio's memory mirror are ByteImages: the images, not the forms, are the
// data model, so all field access goes through these accessors.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

#include "core/Cp1252.h"

namespace km {

template <std::size_t N>
class ByteImage {
  public:
    static constexpr std::size_t kSize = N;

    ByteImage() { bytes_.fill(0); }

    static constexpr std::size_t Size() { return N; }
    std::span<std::uint8_t> Bytes() { return bytes_; }
    std::span<const std::uint8_t> Bytes() const { return bytes_; }
    std::uint8_t* Data() { return bytes_.data(); }
    const std::uint8_t* Data() const { return bytes_.data(); }

    void Fill(std::uint8_t value) { bytes_.fill(value); }

    std::uint8_t U8(std::size_t offset) const { return bytes_.at(offset); }
    void SetU8(std::size_t offset, std::uint8_t value) { bytes_.at(offset) = value; }

    // Images hold their numbers low byte first.
    std::uint16_t U16(std::size_t offset) const {
        Check(offset, 2);
        return static_cast<std::uint16_t>(bytes_[offset] | (bytes_[offset + 1] << 8));
    }
    void SetU16(std::size_t offset, std::uint16_t value) {
        Check(offset, 2);
        bytes_[offset] = static_cast<std::uint8_t>(value & 0xFF);
        bytes_[offset + 1] = static_cast<std::uint8_t>(value >> 8);
    }

    // The radio and its link hold 16-bit values high byte first.
    std::uint16_t U16BE(std::size_t offset) const {
        Check(offset, 2);
        return static_cast<std::uint16_t>((bytes_[offset] << 8) | bytes_[offset + 1]);
    }
    void SetU16BE(std::size_t offset, std::uint16_t value) {
        Check(offset, 2);
        bytes_[offset] = static_cast<std::uint8_t>(value >> 8);
        bytes_[offset + 1] = static_cast<std::uint8_t>(value & 0xFF);
    }

    // Text fields are single-byte Windows-1252 characters, NUL-filled to the field's width, with
    // no terminator when the text fills the width. The accessors speak UTF-8.
    std::string Text(std::size_t offset, std::size_t width) const {
        Check(offset, width);
        std::string raw;
        for (std::size_t i = 0; i < width && bytes_[offset + i] != 0; ++i) {
            raw.push_back(static_cast<char>(bytes_[offset + i]));
        }
        return Cp1252ToUtf8(raw);
    }
    // Writes at most `width` characters; the rest of the field is NUL-filled.
    void SetText(std::size_t offset, std::size_t width, std::string_view utf8) {
        Check(offset, width);
        const std::string raw = Utf8ToCp1252(utf8);
        const std::size_t n = std::min(width, raw.size());
        for (std::size_t i = 0; i < width; ++i) {
            bytes_[offset + i] = i < n ? static_cast<std::uint8_t>(raw[i]) : 0;
        }
    }

    std::span<std::uint8_t> Region(std::size_t offset, std::size_t length) {
        Check(offset, length);
        return std::span<std::uint8_t>(bytes_).subspan(offset, length);
    }
    std::span<const std::uint8_t> Region(std::size_t offset, std::size_t length) const {
        Check(offset, length);
        return std::span<const std::uint8_t>(bytes_).subspan(offset, length);
    }

    // Copies `source` into the image at `offset`; the whole range must lie inside the image.
    void Write(std::size_t offset, std::span<const std::uint8_t> source) {
        Check(offset, source.size());
        std::copy(source.begin(), source.end(),
                  bytes_.begin() + static_cast<std::ptrdiff_t>(offset));
    }
    void FillRegion(std::size_t offset, std::size_t length, std::uint8_t value) {
        Check(offset, length);
        std::fill_n(bytes_.begin() + static_cast<std::ptrdiff_t>(offset), length, value);
    }

    friend bool operator==(const ByteImage&, const ByteImage&) = default;

  private:
    static void Check(std::size_t offset, std::size_t length) {
        if (offset > N || length > N - offset) {
            throw std::out_of_range("image access outside its bounds");
        }
    }

    std::array<std::uint8_t, N> bytes_;
};

}  // namespace km

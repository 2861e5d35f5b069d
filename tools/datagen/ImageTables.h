#pragma once
// The data files are declared as tables of fills, words and texts at image offsets; applying the
// tables to a zero image gives the file.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "core/ByteImage.h"

namespace km::datagen {

// `length` bytes of `value`.
struct ByteFill {
    std::size_t offset;
    std::size_t length;
    std::uint8_t value;
};

// `count` consecutive little-endian words of `value`.
struct WordFill {
    std::size_t offset;
    std::uint16_t value;
    std::size_t count = 1;
};

// Text NUL-filled to `width` (no terminator at full width).
struct TextField {
    std::size_t offset;
    std::size_t width;
    std::string_view text;
};

// `records` records of `pattern`, one after the other from `offset`.
struct RepeatedRecord {
    std::size_t offset;
    std::size_t records;
    std::span<const std::uint8_t> pattern;
};

struct ImageTable {
    std::span<const ByteFill> bytes;
    std::span<const WordFill> words;
    std::span<const TextField> texts;
    std::span<const RepeatedRecord> records = {};
};

template <std::size_t N>
void Apply(ByteImage<N>& image, const ImageTable& table, std::size_t base = 0) {
    for (const RepeatedRecord& r : table.records) {
        for (std::size_t i = 0; i < r.records; ++i) {
            image.Write(base + r.offset + i * r.pattern.size(), r.pattern);
        }
    }
    for (const ByteFill& f : table.bytes) {
        image.FillRegion(base + f.offset, f.length, f.value);
    }
    for (const WordFill& w : table.words) {
        for (std::size_t i = 0; i < w.count; ++i) {
            image.SetU16(base + w.offset + 2 * i, w.value);
        }
    }
    for (const TextField& t : table.texts) {
        image.SetText(base + t.offset, t.width, t.text);
    }
}

// A list of texts written into consecutive fields of `width` bytes from `offset`.
template <std::size_t N>
void ApplyTextList(ByteImage<N>& image, std::size_t offset, std::size_t width,
                   std::span<const std::string_view> texts) {
    for (std::size_t i = 0; i < texts.size(); ++i) {
        image.SetText(offset + i * width, width, texts[i]);
    }
}

// Edit function records of 8 bytes: byte 0 = 101 - 7 x characters, byte 1 the display row,
// bytes 2..7 the text.
template <std::size_t N>
void ApplyEditFunctions(ByteImage<N>& image, std::size_t offset,
                        std::span<const std::string_view> texts,
                        std::span<const std::uint8_t> displayRows) {
    constexpr std::size_t kRecordSize = 8;
    constexpr std::size_t kTextWidth = 6;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const std::size_t at = offset + i * kRecordSize;
        const std::size_t n = std::min(texts[i].size(), kTextWidth);
        image.SetU8(at, static_cast<std::uint8_t>(101 - 7 * n));
        image.SetU8(at + 1, i < displayRows.size() ? displayRows[i] : 0);
        image.SetText(at + 2, kTextWidth, texts[i]);
    }
}

}  // namespace km::datagen

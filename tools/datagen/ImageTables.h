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

}  // namespace km::datagen

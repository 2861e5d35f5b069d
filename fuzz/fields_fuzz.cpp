// Any bytes as a job through the field tables: every field of one table of one kind of image is
// shown, compared with the zero image, parsed back and stored again, which must leave the bytes
// as they were. A record table is walked over a window of its records, so that one input costs a
// few hundred fields whatever the table's capacity; Setup.dat is also dumped and compared whole.
//
// Input: the image kind, the table, the first record (scaled to the table's capacity), the number
// of records, then the image's bytes (repeated to its size).

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <vector>

#include "ImageFuzzInput.h"
#include "fields/FieldOps.h"
#include "tables/JobDump.h"
#include "tables/Tables.h"

namespace {

using km::fields::FieldRow;
using km::fields::FieldTable;
using km::fields::ImageId;
using km::fields::RecordTable;

constexpr std::size_t kHead = 4;
constexpr std::size_t kMostRecords = 16;

struct Window {
    std::uint8_t first;  // 0..255 across the capacity
    std::size_t count;
};

// What the dump, the diff and a load and store of the form do with one field.
void RoundTrip(const FieldRow& row, std::vector<std::uint8_t>& bytes, std::size_t offset,
               const std::vector<std::uint8_t>& zero) {
    const auto value = km::fields::ReadField(row, bytes, offset);
    const std::string shown = km::fields::FormatField(row, value);
    if (km::fields::ReadField(row, zero, offset) != value) {
        (void)km::fields::FormatField(row, km::fields::ReadField(row, zero, offset));
    }
    (void)km::fields::CheckField(row, value);
    (void)km::fields::ParseField(row, shown);
    km::fields::WriteField(row, bytes, offset, value);
}

// The rows of `table` in `image`, in each network slot that carries them, and the window of each
// of its record tables.
void WalkTable(ImageId image, const FieldTable& table, Window window,
               std::vector<std::uint8_t>& bytes, const std::vector<std::uint8_t>& zero) {
    const int slots = km::tables::PerNetwork(table) && image == ImageId::Trunk ? 2 : 1;
    for (int selector = 0; selector < slots; ++selector) {
        for (const FieldRow& row : table.rows) {
            if (const auto at = km::tables::RowOffset(table, row, image, selector)) {
                RoundTrip(row, bytes, *at, zero);
            }
        }
        for (const RecordTable& records : table.records) {
            const std::size_t first = std::size_t{window.first} * records.capacity / 256;
            const std::size_t end = std::min<std::size_t>(records.capacity, first + window.count);
            for (std::size_t r = first; r < end; ++r) {
                for (const FieldRow& column : records.columns) {
                    if (const auto at =
                            km::tables::RecordOffset(table, records, column, r, image, selector)) {
                        RoundTrip(column, bytes, *at, zero);
                    }
                }
            }
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < kHead) {
        return 0;
    }
    const auto image = static_cast<ImageId>(data[0] % km::fields::kImageIdCount);
    const auto tables = km::tables::AllTables();
    const FieldTable& table = *tables[data[1] % tables.size()];
    const Window window{data[2], data[3] % (kMostRecords + 1)};
    const std::size_t length = km::fields::kImageSizes[static_cast<std::size_t>(image)];
    // Kept from one input to the next: fresh pages for every input would cost more than the walk.
    static std::vector<std::uint8_t> bytes;
    static std::vector<std::uint8_t> original;
    static std::vector<std::uint8_t> zero;
    km::fuzzing::TileInto({data + kHead, size - kHead}, length, bytes);
    original = bytes;
    zero.assign(length, 0);

    WalkTable(image, table, window, bytes, zero);
    if (bytes != original) {
        throw std::logic_error("a store of the values read changed the image");
    }
    // Setup.dat is small enough to dump and compare whole.
    if (image == ImageId::Setup) {
        (void)km::tables::DumpImage(image, bytes);
        (void)km::tables::DiffImages(image, bytes, zero);
    }
    return 0;
}

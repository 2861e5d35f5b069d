// Any bytes as a job of each kind (cut or repeated to the image's size) through the field
// tables: the dump, the comparison with the template-free zero image, every shown value parsed
// back, and a store of every value read, which must leave the bytes as they were.

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <vector>

#include "fields/FieldOps.h"
#include "tables/JobDump.h"
#include "tables/Tables.h"

namespace {

using km::fields::ImageId;

std::vector<std::uint8_t> Repeated(const std::uint8_t* data, std::size_t size, std::size_t length) {
    std::vector<std::uint8_t> bytes(length, 0);
    for (std::size_t i = 0; size > 0 && i < length; ++i) {
        bytes[i] = data[i % size];
    }
    return bytes;
}

void StoreEveryValueRead(ImageId image, std::vector<std::uint8_t>& bytes) {
    km::tables::ForEachField(
        image, bytes, km::tables::Records::All, [&](const km::tables::PlacedField& field) {
            const auto value = km::fields::ReadField(*field.row, bytes, field.offset);
            (void)km::fields::ParseField(*field.row, km::fields::FormatField(*field.row, value));
            km::fields::WriteField(*field.row, bytes, field.offset, value);
        });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    for (ImageId image : {ImageId::Trunk, ImageId::Pmr, ImageId::Network, ImageId::Setup}) {
        const std::size_t length = km::fields::kImageSizes[static_cast<std::size_t>(image)];
        std::vector<std::uint8_t> bytes = Repeated(data, size, length);
        const std::vector<std::uint8_t> original = bytes;
        (void)km::tables::DumpImage(image, bytes);
        (void)km::tables::DiffImages(image, bytes, std::vector<std::uint8_t>(length, 0));
        StoreEveryValueRead(image, bytes);
        if (bytes != original) {
            throw std::logic_error("a store of the values read changed the image");
        }
    }
    return 0;
}

// Any bytes as a .pmr file through the format check, and as the radio's PMR memory through the
// unpack after a radio read, with and without the template. The first three bytes choose the
// version, the length and the template; the rest is repeated to the length.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "ImageFuzzInput.h"
#include "image/PmrFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace km::fuzzing;
    if (size < 3) {
        return 0;
    }
    static auto templ = [] {
        auto t = std::make_unique<km::PmrJobImage>();
        for (std::size_t i = 0; i < km::PmrJobImage::kSize; ++i) {
            t->SetU8(i, static_cast<std::uint8_t>(i * 7));
        }
        return t;
    }();
    static auto out = std::make_unique<km::PmrJobImage>();
    static auto scratch = std::make_unique<km::ScratchBuffer>();
    const std::span<const std::uint8_t> pattern(data + 3, size - 3);
    const std::uint16_t version = PmrVersion(data[0], data[1]);
    const km::PmrJobImage* t = (data[2] & 0x80) == 0 ? templ.get() : nullptr;

    std::size_t needed = km::PmrBytesNeeded(version);
    auto file = Tiled(pattern, LengthNear(needed == 0 ? km::PmrJobImage::kSize : needed, data[2]));
    PutVersion(file, version);
    km::ConvertPmrFile(file, t, *out);

    const auto memory = Tiled(pattern, km::ScratchBuffer::kSize);
    scratch->Write(0, memory);
    scratch->SetU16BE(km::pmr::kFormatVersion, version);
    km::UnpackPmrRead(*scratch, t, *out);
    return 0;
}

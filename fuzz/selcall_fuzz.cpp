// Any bytes as a PMR job (cut or repeated to the image's size) through the selcall map units: the
// encodes, decodes, tone tables, phone book and status list load, list and store without leaving
// their areas, and what a store writes loads back as the same entries.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>

#include "ImageFuzzInput.h"
#include "pmr/Scl2Map.h"
#include "pmr/SclMap.h"

namespace {

void Require(bool condition, const char* what) {
    if (!condition) {
        throw std::logic_error(what);
    }
}

bool SameEncodes(const std::vector<km::pmr::EncodeEntry>& a,
                 const std::vector<km::pmr::EncodeEntry>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const auto& x, const auto& y) {
        return x.number == y.number && x.record == y.record;
    });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace km::pmr;
    // Kept from one input to the next: fresh pages for every input would cost more than the work.
    static auto image = std::make_unique<km::PmrJobImage>();
    static auto stored = std::make_unique<km::PmrJobImage>();
    image->Write(0, km::fuzzing::Tiled({data, size}, km::PmrJobImage::kSize));
    const auto encodes = LoadEncodes(*image);
    const auto decodes = LoadDecodes(*image);
    for (const EncodeEntry& entry : encodes) {
        (void)EncodeLine(entry);
        Require(TonesOf(entry.record, SequenceKind::Encode).mask.size() <= kMaxTones,
                "more tones than a record holds");
    }
    for (const DecodeEntry& entry : decodes) {
        (void)DecodeLine(entry);
    }
    (void)LoadSelcallPhonebook(image->Bytes());
    (void)LoadStatusList(image->Bytes());
    (void)SelcallSettingsOf(*image);

    *stored = *image;
    StoreEncodes(encodes, *stored);
    StoreDecodes(decodes, *stored);
    StoreToneTables(*stored, UserTonesOf(*image));
    Require(SameEncodes(LoadEncodes(*stored), encodes), "stored encodes load otherwise");
    const auto decodesAgain = LoadDecodes(*stored);
    for (std::size_t i = 0; i < decodes.size(); ++i) {
        Require(TonesOf(decodesAgain[i].record, SequenceKind::Decode) ==
                    TonesOf(decodes[i].record, SequenceKind::Decode),
                "stored decode tones load otherwise");
    }
    return 0;
}

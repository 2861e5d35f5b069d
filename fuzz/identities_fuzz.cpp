// Jobs come from files and radios. Whatever a network slot holds, loading the Identities and
// Network Options forms from it and storing what they showed as untouched must change nothing;
// storing every field must neither fail nor touch a byte outside the slot's job part, and a second
// load and store must leave the bytes as the first one left them.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>

#include "ImageFuzzInput.h"
#include "config/IdMap.h"
#include "config/NwoMap.h"
#include "config/Phonebook.h"

namespace {

void LoadAndStoreUntouched(km::TrunkJobImage& image, int selector) {
    const auto identities = km::LoadIdentityTexts(image, selector);
    const auto fiveDigit = km::LoadFiveDigit(image, selector);
    const auto statuses = km::LoadStatusList(image, selector);
    const auto options = km::LoadNetworkOptionTexts(image, selector);
    km::StoreIdentityTexts(image, selector, identities, &identities);
    km::StoreFiveDigit(image, selector, fiveDigit, fiveDigit);
    km::StoreStatusList(image, selector, statuses, statuses);
    km::StoreNetworkOptionTexts(image, selector, options, &options);
}

void LoadAndStore(km::TrunkJobImage& image, int selector) {
    const auto identities = km::LoadIdentityTexts(image, selector);
    const auto fiveDigit = km::LoadFiveDigit(image, selector);
    const auto statuses = km::LoadStatusList(image, selector);
    const auto options = km::LoadNetworkOptionTexts(image, selector);
    km::StoreIdentityTexts(image, selector, identities);
    km::StoreFiveDigit(image, selector, fiveDigit);
    km::StoreStatusList(image, selector, statuses);
    km::StoreNetworkOptionTexts(image, selector, options);
    km::StoreDerivedFields(image, selector);
}

}  // namespace

// Input: the network slot, then the job's bytes (repeated to its size).
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) {
        return 0;
    }
    static auto image = std::make_unique<km::TrunkJobImage>();
    image->Write(0, km::fuzzing::Tiled({data + 1, size - 1}, km::TrunkJobImage::kSize));
    const int selector = data[0] & 1;
    const auto before = *image;
    LoadAndStoreUntouched(*image, selector);
    if (!(*image == before)) {
        throw std::logic_error("a store of untouched fields changed the slot");
    }
    LoadAndStore(*image, selector);
    const std::size_t slot = km::trunk::SlotStart(selector);
    for (std::size_t i = 0; i < image->kSize; ++i) {
        if ((i < slot || i >= slot + km::trunk::kJobPartSize) && image->U8(i) != before.U8(i)) {
            throw std::logic_error("a store changed a byte outside the slot's job part");
        }
    }
    const auto once = *image;
    LoadAndStore(*image, selector);
    if (!(*image == once)) {
        throw std::logic_error("a second load and store changed the slot again");
    }
    return 0;
}

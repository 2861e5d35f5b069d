// Any bytes as a list of changes in JSON and as the sheet of a fleet; what is read is applied to a
// zero trunk image, which must never throw or touch memory outside it. Each application walks
// every field of the image, so only the first changes and the first rows are applied: the work per
// input stays bounded.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <variant>
#include <vector>

#include "fields/Field.h"
#include "fleet/Sheet.h"
#include "tables/SetValues.h"

namespace {
constexpr std::size_t kMostChanges = 64;
constexpr std::size_t kMostRows = 2;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<std::uint8_t> image(
        km::fields::kImageSizes[static_cast<std::size_t>(km::fields::ImageId::Trunk)], 0);
    const auto changes = km::tables::ParseChangesJson(text);
    if (const auto* list = std::get_if<std::vector<km::tables::FieldChange>>(&changes)) {
        const std::size_t taken = std::min(list->size(), kMostChanges);
        static_cast<void>(km::tables::ApplyChanges(km::fields::ImageId::Trunk, image,
                                                   std::span(list->data(), taken)));
    }
    const auto sheet = km::fleet::ParseSheet(text);
    if (const auto* parsed = std::get_if<km::fleet::Sheet>(&sheet)) {
        for (std::size_t i = 0; i < parsed->rows.size() && i < kMostRows; ++i) {
            const auto rowChanges = parsed->ChangesOf(parsed->rows[i]);
            const std::size_t taken = std::min(rowChanges.size(), kMostChanges);
            static_cast<void>(km::tables::ApplyChanges(km::fields::ImageId::Trunk, image,
                                                       std::span(rowChanges.data(), taken)));
        }
    }
    return 0;
}

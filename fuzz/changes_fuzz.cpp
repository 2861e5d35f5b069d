// Any bytes as a list of changes in JSON and as the sheet of a fleet; what is read is applied to
// the trunk template's zero image, which must never throw or touch memory outside it.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <variant>
#include <vector>

#include "fields/Field.h"
#include "fleet/Sheet.h"
#include "tables/SetValues.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<std::uint8_t> image(
        km::fields::kImageSizes[static_cast<std::size_t>(km::fields::ImageId::Trunk)], 0);
    const auto changes = km::tables::ParseChangesJson(text);
    if (const auto* list = std::get_if<std::vector<km::tables::FieldChange>>(&changes)) {
        static_cast<void>(km::tables::ApplyChanges(km::fields::ImageId::Trunk, image, *list));
    }
    const auto sheet = km::fleet::ParseSheet(text);
    if (const auto* parsed = std::get_if<km::fleet::Sheet>(&sheet)) {
        for (const auto& row : parsed->rows) {
            static_cast<void>(km::tables::ApplyChanges(km::fields::ImageId::Trunk, image,
                                                       parsed->ChangesOf(row)));
        }
    }
    return 0;
}

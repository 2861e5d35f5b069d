#pragma once
// What both templates share: the default radio texts, those of the HM-F head.

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "config/TxtMap.h"
#include "fields/Field.h"

namespace km::datagen {

// The texts of a new job are the HM-F head's defaults of every text grid, with the display rows
// of the edit functions.
inline constexpr int kTemplateHead = 16;  // HM-F

inline void ApplyHeadTexts(fields::ImageId image, std::span<std::uint8_t> bytes) {
    for (TextGrid grid : kTextGrids) {
        const auto defaults = DefaultTexts(grid, image, kTemplateHead, DefaultsCause::Button);
        StoreTexts(grid, image, bytes, std::vector<std::string>(defaults.begin(), defaults.end()));
    }
    WriteEditDisplayRows(image, bytes);
}

}  // namespace km::datagen

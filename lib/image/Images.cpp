#include "image/Images.h"

namespace km {

bool NetworkPresent(const TrunkJobImage& image, int selector) {
    const std::uint16_t band = image.U16(trunk::NetworkFileStart(selector) + network::kBandCode);
    return band != 0 && band != 0xFFFF;
}

std::string NetworkNameOfSlot(const TrunkJobImage& image, int selector) {
    return image.Text(trunk::NetworkFileStart(selector) + network::kName, network::kNameCharacters);
}

}  // namespace km

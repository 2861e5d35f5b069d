#include "config/NetworkSlots.h"

#include <algorithm>
#include <cctype>

namespace km {
namespace {

// Per-network identity fields cleared on a scheme change, as offsets in a slot's job part.
constexpr std::size_t kIdentityRecords = 16;
constexpr std::size_t kIdentityRecordSize = 8;
constexpr std::size_t kIdentityRecordCount = 11;
constexpr std::uint8_t kDefinedBit = 0x80;
constexpr std::size_t kGroupBytes = 112;
constexpr std::size_t kGroupByteCount = 16;
constexpr std::size_t kDynamicGroupWord = 1488;

std::size_t BandAt(int selector) {
    return trunk::NetworkFileStart(selector) + network::kBandCode;
}

void CopyIntoSlot(TrunkJobImage& image, const NetworkImage& file, int selector) {
    image.Write(trunk::NetworkFileStart(selector), file.Bytes());
}

}  // namespace

std::string NetworkDisplayName(const std::filesystem::path& path) {
    std::string name = path.filename().string();
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) {
        return c < 0x80 ? static_cast<char>(std::toupper(c)) : static_cast<char>(c);
    });
    return name;
}

int NumberingSchemeOfSlot(const TrunkJobImage& image, int selector) {
    return image.U16(trunk::NetworkFileStart(selector) + network::kNumberingScheme);
}

NetworkChange LoadNetwork1(TrunkJobImage& image, const NetworkImage& file, Person& person) {
    NetworkChange change;
    if (!CheckNetworkFile(file, person)) {
        return change;
    }
    const int oldScheme = NumberingSchemeOfSlot(image, 0);
    const int scheme = file.U16(network::kNumberingScheme);
    const std::uint16_t band = file.U16(network::kBandCode);
    bool deleteNetwork2 = false;
    if (NetworkPresent(image, 0) && scheme != oldScheme) {
        if (person.Ask(kSchemeChangeQuestion) != Answer::Yes) {
            return change;
        }
        deleteNetwork2 = true;
    } else if (NetworkPresent(image, 1) && band != image.U16(BandAt(1))) {
        if (person.Ask(kBandChangeQuestion) != Answer::Yes) {
            return change;
        }
        deleteNetwork2 = true;
    }
    if (deleteNetwork2) {
        change.network2Deleted = DeleteNetwork2(image, person, false).done;
    }
    image.SetU16(trunk::kBandCode, band);
    CopyIntoSlot(image, file, 0);
    change.userInterfaceChanged = FixThreeRpWord(image, scheme);
    if (scheme != oldScheme) {
        ClearIdentities(image);
        change.identitiesCleared = true;
    }
    change.done = true;
    return change;
}

NetworkChange LoadNetwork2(TrunkJobImage& image, const NetworkImage& file, Person& person) {
    NetworkChange change;
    if (!CheckNetworkFile(file, person)) {
        return change;
    }
    if (file.U16(network::kBandCode) != image.U16(trunk::kBandCode) || !NetworkPresent(image, 0)) {
        person.Error(kNetwork2BandError);
        return change;
    }
    if (file.U16(network::kNumberingScheme) != NumberingSchemeOfSlot(image, 0)) {
        person.Warn(kNetwork2SchemeWarning);
        return change;
    }
    CopyIntoSlot(image, file, 1);
    change.done = true;
    return change;
}

NetworkChange DeleteNetwork1(TrunkJobImage& image, Person& person) {
    NetworkChange change;
    if (NetworkPresent(image, 1)) {
        person.Error(kDeleteOrderError);
        return change;
    }
    if (NetworkPresent(image, 0) && person.Ask(kDeleteNetwork1Question) != Answer::Yes) {
        return change;
    }
    // Absent at once, so that no Network 2 can be loaded against the old band.
    image.SetU16(BandAt(0), 0);
    image.SetU16(trunk::kBandCode, 0);
    change.done = true;
    return change;
}

NetworkChange DeleteNetwork2(TrunkJobImage& image, Person& person, bool ask) {
    NetworkChange change;
    if (ask && NetworkPresent(image, 1) && person.Ask(kDeleteNetwork2Question) != Answer::Yes) {
        return change;
    }
    image.SetU16(BandAt(1), 0);
    const std::size_t name = trunk::NetworkFileStart(1) + network::kName;
    image.SetText(name, network::kNameWidth, kSlotNameNotDefined);
    change.done = true;
    change.network2Deleted = true;
    return change;
}

void ClearIdentities(TrunkJobImage& image) {
    for (int selector = 0; selector < 2; ++selector) {
        const std::size_t slot = trunk::SlotStart(selector);
        for (std::size_t k = 0; k < kIdentityRecordCount; ++k) {
            const std::size_t at = slot + kIdentityRecords + kIdentityRecordSize * k;
            image.SetU8(at, image.U8(at) & static_cast<std::uint8_t>(~kDefinedBit));
        }
        image.FillRegion(slot + kGroupBytes, kGroupByteCount, 0xFF);
        image.SetU16(slot + kDynamicGroupWord, 0);
    }
}

bool FixThreeRpWord(TrunkJobImage& image, int scheme) {
    const std::uint16_t value = image.U16(kThreeRpSignedWord);
    if (scheme == kScheme3Rp || (value & 0x8000) == 0) {
        return false;
    }
    image.SetU16(kThreeRpSignedWord, static_cast<std::uint16_t>(0x10000 - value));
    return true;
}

}  // namespace km

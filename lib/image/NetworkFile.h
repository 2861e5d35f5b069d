#pragma once
// A network file (.nwk) on its way into a network slot of a trunk job. The Radio Type form's loads
// and File > Open in the Network view read and check it the same way and refuse the same files
// with the same words.

#include <filesystem>
#include <optional>
#include <string_view>

#include "core/Person.h"
#include "image/Images.h"

namespace km {

// Refusals of files that are no network files of this program.
inline constexpr std::string_view kNetworkFileSizeError =
    "Invalid Network File. \nA network file must be 1536 bytes long.";
inline constexpr std::string_view kUnknownSchemeError =
    "Incompatible Network File. \nUnknown numbering scheme.";
inline constexpr std::string_view kNetworkNoBandError =
    "Incompatible Network File. \nThe network file has no frequency band.";

enum NumberingScheme { kSchemeMpt1343 = 0, kSchemeAnn = 1, kScheme3Rp = 2, kSchemeCpsx = 3 };
inline constexpr int kSchemeCount = 4;

// Reads a network file whole. A file that cannot be opened gives nullopt without a message; a
// file that is not exactly one network image long is refused with a message; a file without the
// network marker is taken only when the person chooses to open it anyway.
std::optional<NetworkImage> ReadNetworkFile(const std::filesystem::path& path, Person& person);

// The scheme and band of a file must be usable before it goes into a slot.
bool CheckNetworkFile(const NetworkImage& file, Person& person);

}  // namespace km

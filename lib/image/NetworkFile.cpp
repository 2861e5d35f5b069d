#include "image/NetworkFile.h"

#include "core/Files.h"
#include "image/JobMarks.h"

namespace km {

std::optional<NetworkImage> ReadNetworkFile(const std::filesystem::path& path, Person& person) {
    // One byte more than an image tells a longer file from an exact one.
    const auto bytes = ReadFileBytes(path, NetworkImage::Size() + 1);
    if (!bytes) {
        return std::nullopt;
    }
    if (bytes->size() != NetworkImage::Size()) {
        person.Error(kNetworkFileSizeError);
        return std::nullopt;
    }
    if (!OpenAnyway(JobKind::Network, *bytes, path.filename().string(), person)) {
        return std::nullopt;
    }
    NetworkImage file;
    file.Write(0, *bytes);
    return file;
}

bool CheckNetworkFile(const NetworkImage& file, Person& person) {
    if (file.U16(network::kNumberingScheme) >= kSchemeCount) {
        person.Error(kUnknownSchemeError);
        return false;
    }
    const std::uint16_t band = file.U16(network::kBandCode);
    if (band == 0 || band == 0xFFFF) {
        person.Error(kNetworkNoBandError);
        return false;
    }
    return true;
}

}  // namespace km

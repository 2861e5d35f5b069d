#include "core/Files.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <random>
#include <system_error>

namespace km {
namespace fs = std::filesystem;

std::optional<std::vector<std::uint8_t>> ReadFileBytes(const fs::path& path, std::size_t maxBytes) {
    std::error_code ec;
    if (fs::is_directory(path, ec)) {
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes(maxBytes);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(maxBytes));
    if (in.bad()) {
        return std::nullopt;
    }
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

namespace {

fs::path TemporaryNameBeside(const fs::path& path) {
    static std::mt19937_64 generator{std::random_device{}()};
    fs::path tmp = path;
    tmp += ".tmp" + std::to_string(generator() % 1000000000ULL);
    return tmp;
}

}  // namespace

bool WriteFileAtomically(const fs::path& path, std::span<const std::uint8_t> bytes) {
    const fs::path tmp = TemporaryNameBeside(path);
    {
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        if (!out) {
            return false;
        }
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            out.close();
            std::error_code ignored;
            fs::remove(tmp, ignored);
            return false;
        }
    }
    std::error_code ec;
    fs::rename(tmp, path, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(tmp, ignored);
        return false;
    }
    return true;
}

fs::path FindFileIgnoringCase(const fs::path& folder, const std::string& name) {
    const fs::path exact = folder / name;
    std::error_code ec;
    if (fs::exists(exact, ec)) {
        return exact;
    }
    auto lower = [](std::string s) {
        std::transform(s.begin(), s.end(), s.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        return s;
    };
    const std::string wanted = lower(name);
    const fs::path searchIn = folder.empty() ? fs::path(".") : folder;
    for (fs::directory_iterator it(searchIn, ec), end; !ec && it != end; it.increment(ec)) {
        if (lower(it->path().filename().string()) == wanted) {
            return folder / it->path().filename();
        }
    }
    return exact;
}

}  // namespace km

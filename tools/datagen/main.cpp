// km_datagen <folder>: writes the data files that live beside the program into <folder>.

#include <cstdio>
#include <filesystem>
#include <span>
#include <string>

#include "DataFiles.h"
#include "core/Files.h"

namespace {

bool Write(const std::filesystem::path& file, std::span<const std::uint8_t> bytes) {
    std::error_code ec;
    std::filesystem::create_directories(file.parent_path(), ec);
    if (!km::WriteFileAtomically(file, bytes)) {
        std::fprintf(stderr, "km_datagen: cannot write %s\n", file.string().c_str());
        return false;
    }
    return true;
}

bool WriteText(const std::filesystem::path& file, const std::string& text) {
    return Write(file, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: km_datagen <output folder>\n");
        return 2;
    }
    const std::filesystem::path out = argv[1];
    using namespace km::datagen;
    bool ok = Write(out / "default.tct", TrunkTemplate().Bytes()) &&
              Write(out / "default.cct", PmrTemplate().Bytes()) &&
              WriteText(out / "Contact.txt", ContactText()) &&
              WriteText(out / "Licence.txt", LicenceText());
    for (const SampleNetwork& network : SampleNetworks()) {
        ok = ok && Write(out / "Networks" / network.fileName, network.image.Bytes());
    }
    return ok ? 0 : 1;
}

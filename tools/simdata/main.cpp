// km_simdata <folder>: writes FIT000101.bin and aligncfg.bin as the virtual radio lays out its
// flash, so that the programmer finds the table and startup data of a radio without its own, and
// demo.pmr, the PMR job of the demo radio's profile.

#include <cstdio>
#include <filesystem>
#include <span>

#include "DemoPmrJob.h"
#include "core/Files.h"
#include "sim/RadioMemory.h"

namespace {

bool Write(const std::filesystem::path& file, std::span<const std::uint8_t> bytes) {
    std::error_code ec;
    std::filesystem::create_directories(file.parent_path(), ec);
    if (!km::WriteFileAtomically(file, bytes)) {
        std::fprintf(stderr, "km_simdata: cannot write %s\n", file.string().c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: km_simdata <output folder>\n");
        return 2;
    }
    const std::filesystem::path out = argv[1];
    const auto fit = km::sim::FitFileContents();
    const auto align = km::sim::AlignConfigContents();
    const bool ok = Write(out / "FIT000101.bin", fit) && Write(out / "aligncfg.bin", align) &&
                    Write(out / "demo.pmr", km::simdata::DemoPmrJob().Bytes());
    return ok ? 0 : 1;
}

// km_codefiles <folder>: writes the sample radio code files of the demo working directory, so
// that the software choice and the software upgrade can be tried against the virtual radio:
// trunk, startup and PMR code of a few versions for a Revision 8 mobile (the demo radio), PMR and
// startup code for a Revision 9 mobile (the demo PMR radio), code for a Revision 10 mobile and a
// standard KP8D portable, some trunk code with overlay sections.
// The code bytes are made up; only the layout and the Software Description are the radio's. Every
// description begins with the virtual radio's mark, so the programmer never writes these files
// into a real radio.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "core/Files.h"
#include "radio/CodeFile.h"

namespace {

struct Sample {
    const char* name;
    const char* description;
    const char* softwareCode;  // its first four digits are the part number the radio reports
    const char* version;
    std::uint8_t codeType;
    std::size_t codeLength;  // L + 72
    bool overlay;
};

// The software codes name the builds the virtual radio's profiles run (10810: trunk type 8,
// 10720: PMR type 2), so a Revision 8 HM-F job on MPT1343 is offered V6.30 over the radio's
// V6.20, and the Revision 9 radio's V6.30 PMR code is what the folder holds for it; 7ktmg630.bin
// (type 13) lets a change to the Direct GPS option board be tried.
constexpr Sample kSamples[] = {
    {"7ktm620.bin", "VIRTUAL RADIO MPT1327", "10810", "V6.20", 2, 40000, false},
    {"7ktm630.bin", "VIRTUAL RADIO MPT1327", "10810", "V6.30", 2, 40200, true},
    {"7ktmg630.bin", "VIRTUAL RADIO MPT1327 GPS", "11040", "V6.30", 2, 41000, true},
    {"7ks_620.bin", "VIRTUAL RADIO STARTUP", "10820", "V6.20", 4, 20000, false},
    {"7ks_630.bin", "VIRTUAL RADIO STARTUP", "10820", "V6.30", 4, 20100, false},
    {"7kp_620.bin", "VIRTUAL RADIO PMR", "10720", "V6.20", 3, 30000, false},
    {"7kp_630.bin", "VIRTUAL RADIO PMR", "10720", "V6.30", 3, 30100, false},
    {"79p_630.bin", "VIRTUAL RADIO R9 PMR", "10720", "V6.30", 81, 30100, false},
    {"79s_630.bin", "VIRTUAL RADIO R9 STARTUP", "12910", "V6.30", 80, 24000, false},
    {"7atm640.bin", "VIRTUAL RADIO R10 MPT1327", "14270", "V6.40", 93, 42000, true},
    {"7as_640.bin", "VIRTUAL RADIO R10 STARTUP", "14370", "V6.40", 90, 24000, false},
    {"7ap_640.bin", "VIRTUAL RADIO R10 PMR", "10720", "V6.40", 91, 31000, false},
    {"b1tm_630.bin", "VIRTUAL RADIO KP800 TRUNK", "14670", "V6.30", 61, 40000, false},
    {"b1s__630.bin", "VIRTUAL RADIO KP800 START", "14690", "V6.30", 58, 24000, false},
    {"b1p__630.bin", "VIRTUAL RADIO KP800 PMR", "14680", "V6.30", 59, 30000, false},
};

// A fixed sequence of bytes per file, so that every run writes the same files.
class Bytes {
  public:
    explicit Bytes(const std::string& seed) {
        for (char c : seed) {
            state_ = state_ * 31 + static_cast<unsigned char>(c);
        }
    }
    std::vector<std::uint8_t> Take(std::size_t n) {
        std::vector<std::uint8_t> bytes(n);
        for (auto& b : bytes) {
            state_ = state_ * 1103515245u + 12345u;
            b = static_cast<std::uint8_t>(state_ >> 16);
        }
        return bytes;
    }

  private:
    std::uint32_t state_ = 7;
};

std::vector<std::uint8_t> Build(const Sample& sample) {
    Bytes bytes(sample.name);
    const std::vector<std::uint8_t> code =
        bytes.Take(sample.codeLength - km::kCodeImageExtra + km::kDescriptionInFile);
    km::SoftwareDescription description;
    description.description = sample.description;
    description.softwareCode = sample.softwareCode;
    description.versionText = sample.version;
    description.date = "15/06/2005";
    description.codeType = sample.codeType;
    description.requiredRcpCode = "10000";
    description.requiredRcpVersion = "V5.86";
    std::vector<km::OverlaySection> overlays;
    if (sample.overlay) {
        overlays = {{0, bytes.Take(3 * 600 + 3)}, {2, bytes.Take(3 * 250 + 3)}};
    }
    return km::MakeCodeFile(code, description, overlays);
}

// The programmer must accept every sample as it is written, and know it for the virtual radio's.
bool Accepted(const Sample& sample, const std::vector<std::uint8_t>& file) {
    const auto overlay = km::ParseOverlay(file).outcome;
    const auto check = km::InspectCodeFile(file);
    return check.image && km::VirtualRadioBuild(check.image->description) &&
           overlay == (sample.overlay ? km::OverlayOutcome::Built : km::OverlayOutcome::None);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: km_codefiles <output folder>\n");
        return 2;
    }
    const std::filesystem::path out = argv[1];
    std::error_code ec;
    std::filesystem::create_directories(out, ec);
    for (const Sample& sample : kSamples) {
        const std::vector<std::uint8_t> file = Build(sample);
        if (!Accepted(sample, file)) {
            std::fprintf(stderr, "km_codefiles: %s is not a valid code file\n", sample.name);
            return 1;
        }
        if (!km::WriteFileAtomically(out / sample.name, file)) {
            std::fprintf(stderr, "km_codefiles: cannot write %s\n", (out / sample.name).c_str());
            return 1;
        }
    }
    return 0;
}

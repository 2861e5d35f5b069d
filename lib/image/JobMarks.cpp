#include "image/JobMarks.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <optional>

#include "image/Images.h"
#include "image/PmrFormat.h"

namespace km {
namespace {

constexpr std::string_view kFormatMark = "format mark";
constexpr std::string_view kRadioMode = "radio mode";
constexpr std::string_view kNetworkMarker = "network marker";
constexpr std::string_view kRadioModesWritten = "0, 1 or 2";

// The formats a .pmr file may carry: the current one and the two older ones it converts.
constexpr std::array<std::uint16_t, 3> kPmrFormatsRead = {kPmrFormat200, kPmrFormat201,
                                                          pmr::kCurrentFormat};

std::string_view KindName(JobKind kind) {
    switch (kind) {
        case JobKind::Trunk:
            return "trunk job";
        case JobKind::Pmr:
            return "PMR job";
        case JobKind::Network:
            break;
    }
    return "network file";
}

// A text between quotes, with every byte that is not printable ASCII as \xNN.
std::string Quoted(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string quoted = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F) {
            quoted += c;
        } else {
            quoted += {'\\', 'x', kHex[byte >> 4], kHex[byte & 0xF]};
        }
    }
    return quoted + "\"";
}

// The low-byte-first word at `offset`, or nothing when the bytes end before it.
std::optional<std::uint16_t> WordAt(std::span<const std::uint8_t> bytes, std::size_t offset) {
    if (bytes.size() < offset + 2) {
        return std::nullopt;
    }
    return static_cast<std::uint16_t>(bytes[offset] | bytes[offset + 1] << 8);
}

std::string Shown(std::optional<std::uint16_t> value) {
    return value ? std::to_string(*value) : std::string("none (the file ends before it)");
}

void CheckRadioMode(std::span<const std::uint8_t> bytes, std::size_t offset,
                    std::vector<ForeignMark>& foreign) {
    if (bytes.size() <= offset) {
        foreign.push_back({kRadioMode, Shown(std::nullopt), std::string(kRadioModesWritten)});
    } else if (bytes[offset] >= kRadioModeCount) {
        foreign.push_back(
            {kRadioMode, std::to_string(bytes[offset]), std::string(kRadioModesWritten)});
    }
}

void CheckTrunk(std::span<const std::uint8_t> bytes, std::vector<ForeignMark>& foreign) {
    CheckRadioMode(bytes, trunk::kRadioMode, foreign);
    const auto mark = WordAt(bytes, trunk::kFormatMark);
    if (mark != trunk::kFormatMarkValue) {
        foreign.push_back({kFormatMark, Shown(mark), std::to_string(trunk::kFormatMarkValue)});
    }
}

void CheckPmr(std::span<const std::uint8_t> bytes, std::vector<ForeignMark>& foreign) {
    CheckRadioMode(bytes, pmr::kRadioMode, foreign);
    const auto mark = WordAt(bytes, pmr::kFormatVersion);
    if (!mark ||
        std::find(kPmrFormatsRead.begin(), kPmrFormatsRead.end(), *mark) == kPmrFormatsRead.end()) {
        foreign.push_back({kFormatMark, Shown(mark),
                           std::to_string(pmr::kCurrentFormat) + " (" +
                               std::to_string(kPmrFormat200) + " and " +
                               std::to_string(kPmrFormat201) + " from older programs)"});
    }
}

void CheckNetwork(std::span<const std::uint8_t> bytes, std::vector<ForeignMark>& foreign) {
    const std::string_view marker = network::kMarkerText;
    const std::size_t present = std::min(bytes.size(), network::kMarker + marker.size());
    const std::string found(bytes.begin() + static_cast<std::ptrdiff_t>(network::kMarker),
                            bytes.begin() + static_cast<std::ptrdiff_t>(present));
    if (found != marker) {
        foreign.push_back({kNetworkMarker, Quoted(found), Quoted(marker)});
    }
}

}  // namespace

std::vector<ForeignMark> ForeignJobMarks(JobKind kind, std::span<const std::uint8_t> bytes) {
    std::vector<ForeignMark> foreign;
    switch (kind) {
        case JobKind::Trunk:
            CheckTrunk(bytes, foreign);
            break;
        case JobKind::Pmr:
            CheckPmr(bytes, foreign);
            break;
        case JobKind::Network:
            CheckNetwork(bytes, foreign);
            break;
    }
    return foreign;
}

std::string ForeignMarkText(const ForeignMark& mark) {
    return std::string(mark.mark) + " " + mark.found + " (this program writes " + mark.expected +
           ")";
}

std::string NotOwnJobText(JobKind kind, std::string_view fileName) {
    return std::string(fileName) + " does not look like a " + std::string(KindName(kind)) +
           " made by this program";
}

std::string NotOwnJobQuestion(JobKind kind, std::string_view fileName) {
    return NotOwnJobText(kind, fileName) + ". Open it anyway?";
}

bool OpenAnyway(JobKind kind, std::span<const std::uint8_t> bytes, std::string_view fileName,
                Person& person) {
    return ForeignJobMarks(kind, bytes).empty() ||
           person.Show(BoxKind::Warning, NotOwnJobQuestion(kind, fileName), Buttons::YesNo) ==
               Answer::Yes;
}

}  // namespace km

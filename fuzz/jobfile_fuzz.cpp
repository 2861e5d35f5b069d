// Any bytes as a .tnk, .nwk or .pmr file through Open, then the unsaved-changes test and a
// Save; also as Setup.dat and through the check of every kind of job's marks. The first three bytes
// choose the kind, the length and the PMR version; the rest is repeated to the length. Nothing may
// crash or touch memory outside an image.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>

#include "ImageFuzzInput.h"
#include "core/Files.h"
#include "core/Person.h"
#include "image/JobFiles.h"
#include "image/JobMarks.h"
#include "image/PmrFormat.h"
#include "image/Setup.h"

namespace {

namespace fs = std::filesystem;

class SilentPerson : public km::Person {
  public:
    km::Answer Show(km::BoxKind, std::string_view, km::Buttons) override { return km::Answer::Yes; }
    void Beep() override {}
};

const fs::path& WorkDir() {
    static const fs::path dir = [] {
        // One folder, reused by every run, so that runs leave nothing behind but it.
        const fs::path d = fs::temp_directory_path() / "km_jobfile_fuzz";
        fs::create_directories(d);
        km::TrunkJobImage trunk;
        km::WriteFileAtomically(d / "default.tct", trunk.Bytes());
        auto pmr = std::make_unique<km::PmrJobImage>();
        pmr->SetU16(km::pmr::kFormatVersion, km::pmr::kCurrentFormat);
        km::WriteFileAtomically(d / "default.cct", pmr->Bytes());
        return d;
    }();
    return dir;
}

struct Kind {
    const char* name;
    std::size_t size;
};
constexpr Kind kKinds[] = {
    {"job.tnk", km::TrunkJobImage::kSize},
    {"net.NWK", km::NetworkImage::kSize},
    {"job.pmr", km::PmrJobImage::kSize},
    {"job.Pmr", km::PmrJobImage::kSize},
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace km::fuzzing;
    if (size < 3) {
        return 0;
    }
    const Kind& kind = kKinds[data[0] % std::size(kKinds)];
    const std::span<const std::uint8_t> pattern(data + 3, size - 3);
    const std::uint16_t version = PmrVersion(data[2], data[1]);
    const std::size_t pmrNeeded = km::PmrBytesNeeded(version);
    const std::size_t wanted =
        kind.size == km::PmrJobImage::kSize && pmrNeeded != 0 ? pmrNeeded : kind.size;
    auto bytes = Tiled(pattern, LengthNear(wanted, data[1]));
    if (kind.size == km::PmrJobImage::kSize) {
        PutVersion(bytes, version);
    }
    const fs::path file = WorkDir() / kind.name;
    km::WriteFileAtomically(file, bytes);

    static auto workspace = std::make_unique<km::Workspace>();
    km::MainState state;
    state.UserLevelMask = 8;
    state.TrunkJobLoaded = (data[0] & 0x10) != 0;
    state.NetworkSelector = (data[0] & 0x20) != 0 ? 1 : 0;
    SilentPerson person;
    km::JobFiles files(*workspace, state, person, WorkDir());
    switch (files.Open(file)) {
        case km::JobOpenOutcome::TrunkLoaded:
            files.HasUnsavedChanges(km::JobView::Trunk);
            files.RefreshNetworkNames();
            files.CopyNW1ToNW2();
            break;
        case km::JobOpenOutcome::NetworkLoaded:
            files.Save(km::JobView::Network, WorkDir() / "saved.nwk");
            files.HasUnsavedChanges(km::JobView::Network);
            break;
        case km::JobOpenOutcome::PmrLoaded:
            files.HasUnsavedChanges(km::JobView::Pmr);
            break;
        default:
            break;
    }
    km::ParseSetupRecord(pattern);
    // The marks of every kind of job over the raw bytes, whatever their length, and their texts.
    for (const km::JobKind jobKind : {km::JobKind::Trunk, km::JobKind::Pmr, km::JobKind::Network}) {
        for (const km::ForeignMark& mark : km::ForeignJobMarks(jobKind, pattern)) {
            km::ForeignMarkText(mark);
        }
    }
    return 0;
}

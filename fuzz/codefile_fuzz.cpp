// Any bytes as a radio code file: the checks, the load into the ScratchBuffer and the overlay
// sections; and the first 64 bytes as a code record read from a radio. Nothing may crash, touch
// memory outside a buffer, or give a write region longer than a piece.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "core/Person.h"
#include "radio/CodeFile.h"
#include "radio/SoftwareChoice.h"

namespace {

class SilentPerson : public km::Person {
  public:
    km::Answer Show(km::BoxKind, std::string_view, km::Buttons) override { return km::Answer::No; }
    void Beep() override {}
};

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

km::ScratchBuffer& Scratch() {
    static km::ScratchBuffer scratch;
    return scratch;
}

void CheckCodeFile(std::span<const std::uint8_t> bytes) {
    const km::CodeFileCheck check = km::InspectCodeFile(bytes);
    if (!check.image) {
        Require(!check.refusal.empty());
        return;
    }
    const km::WriteRegions regions = km::LoadCodeImage(*check.image, Scratch());
    std::size_t total = 0;
    for (std::size_t length : regions.WriteRegionLength) {
        Require(length <= km::kCodePieceSize);
        total += length;
    }
    Require(total == check.image->codeLength);
    Require(total < km::kCodeImageLimit + 1);
    SilentPerson person;
    km::CheckOverlay(*check.image, person);
    (void)km::CodeVersionNumber(check.image->description.versionText);
    (void)km::SoftwareCodeClass(km::SoftwareCodeNumber(check.image->description.softwareCode));
}

void CheckOverlaySections(std::span<const std::uint8_t> bytes) {
    const km::OverlayParse parse = km::ParseOverlay(bytes);
    if (parse.outcome != km::OverlayOutcome::Built) {
        return;
    }
    // The byte after the overlay image is never part of a section: it keeps what the loaded code
    // left there (the file's own byte, or the fill of a shorter file).
    const std::uint8_t left =
        bytes.size() > km::kOverlayImageSize ? bytes[km::kOverlayImageSize] : 0xFF;
    Require(parse.image[km::kOverlayImageSize] == left);
}

void CheckRecord(std::span<const std::uint8_t> bytes) {
    km::CodeDescriptor record{};
    std::copy_n(bytes.begin(), std::min(bytes.size(), record.size()), record.begin());
    const int part = km::RecordPartNumber(record);
    Require(part >= 0 && part <= 9999);
    (void)km::TrunkSoftwareType(part);
    (void)km::PmrSoftwareType(part);
    Require(km::RecordVersion(record) >= 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    CheckCodeFile(bytes);
    CheckOverlaySections(bytes);
    CheckRecord(bytes);
    return 0;
}

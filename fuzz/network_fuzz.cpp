// Network files come from anywhere. Whatever their bytes, loading one as Network 1 or Network 2
// of a trunk job, with either answer to its questions, must keep the job consistent: the file is
// taken whole or not at all, and the two networks never differ in band or scheme.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "config/NetworkSlots.h"
#include "config/Numbering.h"

namespace {

class AnsweringPerson : public km::Person {
  public:
    explicit AnsweringPerson(bool yes) : yes_(yes) {}
    km::Answer Show(km::BoxKind, std::string_view, km::Buttons buttons) override {
        if (buttons == km::Buttons::Ok) {
            return km::Answer::Ok;
        }
        return yes_ ? km::Answer::Yes : km::Answer::No;
    }
    void Beep() override {}

  private:
    bool yes_;
};

void Require(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

// The second network agrees with the first whenever both are present.
void CheckSlots(const km::TrunkJobImage& image) {
    if (km::NetworkPresent(image, 1)) {
        Require(km::NetworkPresent(image, 0));
        Require(image.U16(km::trunk::NetworkFileStart(0) + km::network::kBandCode) ==
                image.U16(km::trunk::NetworkFileStart(1) + km::network::kBandCode));
        Require(km::NumberingSchemeOfSlot(image, 0) == km::NumberingSchemeOfSlot(image, 1));
    }
}

}  // namespace

// Input: a control byte (answer, scheme of the job's networks), the band and scheme words of the
// file, then the bytes of the file's ANN prefix table and what follows it. Short inputs reach
// every rule without waiting for the fuzzer to grow a whole image.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    constexpr std::size_t kHead = 5;
    if (size < kHead) {
        return 0;
    }
    const bool yes = (data[0] & 1) != 0;
    km::NetworkImage file;
    file.SetU16(km::network::kBandCode, static_cast<std::uint16_t>(data[1] | data[2] << 8));
    file.SetU16(km::network::kNumberingScheme, static_cast<std::uint16_t>(data[3] | data[4] << 8));
    const std::size_t rest =
        std::min(size - kHead, km::NetworkImage::Size() - km::network::kAnnPrefixTable);
    file.Write(km::network::kAnnPrefixTable, {data + kHead, rest});

    // A job that already holds two networks of one band and scheme.
    // Kept from one input to the next: fresh pages for every input would cost more than the work.
    static auto image = std::make_unique<km::TrunkJobImage>();
    image->Fill(0);
    AnsweringPerson person(yes);
    km::NetworkImage first;
    first.SetU16(km::network::kBandCode, 0x544B);
    first.SetU16(km::network::kNumberingScheme, (data[0] >> 1) & 3);
    Require(km::LoadNetwork1(*image, first, person).done);
    Require(km::LoadNetwork2(*image, first, person).done);

    const km::NetworkChange second = km::LoadNetwork2(*image, file, person);
    CheckSlots(*image);
    const km::NetworkChange change = km::LoadNetwork1(*image, file, person);
    CheckSlots(*image);
    if (change.done || second.done) {
        Require(km::CheckNetworkFile(file, person));
    }

    // The ANN prefix table of any file drives the numbering without harm, and every number it
    // gives reads back as its ident: two prefixes the control byte chooses, over the idents.
    const km::AnnPrefixTable table = km::AnnPrefixTableOf(file);
    for (int prefix = data[0] >> 3; prefix < 128; prefix += 64) {
        for (int ident = 0; ident <= 8200; ident += 37) {
            const int base = (ident - 2) / 800 * 800 + 2;
            if (const auto number = km::AnnIdentToNumber(prefix, base, ident, table)) {
                const auto parsed = km::ParseAnnNumber(std::to_string(*number), table, person);
                Require(parsed && km::AnnNumberToAddress(*parsed).ident == ident);
            }
        }
    }
    return 0;
}

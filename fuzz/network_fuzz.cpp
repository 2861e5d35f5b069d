// Network files come from anywhere. Whatever their bytes, loading one as Network 1 or Network 2
// of a trunk job, with either answer to its questions, must keep the job consistent: the file is
// taken whole or not at all, and the two networks never differ in band or scheme.

#include <cstddef>
#include <cstdint>
#include <memory>

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

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < km::NetworkImage::Size() + 1) {
        return 0;
    }
    const bool yes = (data[0] & 1) != 0;
    km::NetworkImage file;
    file.Write(0, {data + 1, km::NetworkImage::Size()});
    // A job that already holds two networks of the test band and scheme.
    auto image = std::make_unique<km::TrunkJobImage>();
    AnsweringPerson person(yes);
    km::NetworkImage first;
    first.SetU16(km::network::kBandCode, 0x544B);
    first.SetU16(km::network::kNumberingScheme, data[0] >> 6);
    Require(km::LoadNetwork1(*image, first, person).done);
    Require(km::LoadNetwork2(*image, first, person).done);

    const km::NetworkChange second = km::LoadNetwork2(*image, file, person);
    CheckSlots(*image);
    const km::NetworkChange change = km::LoadNetwork1(*image, file, person);
    CheckSlots(*image);
    if (change.done || second.done) {
        Require(km::CheckNetworkFile(file, person));
    }
    // The ANN prefix table of any file drives the numbering without harm.
    const km::AnnPrefixTable table = km::AnnPrefixTableOf(file);
    const std::size_t rest = size - 1 - km::NetworkImage::Size();
    for (int ident = 0; ident < 40; ++ident) {
        const int chosen =
            rest > 0 ? (data[1 + km::NetworkImage::Size()] * 37 + ident * 211) % 8200 : ident;
        if (const auto number = km::AnnIdentToNumber(ident % 128, 2, chosen, table)) {
            const auto parsed = km::ParseAnnNumber(std::to_string(*number), table, person);
            Require(parsed && km::AnnNumberToAddress(*parsed).ident == chosen);
        }
    }
    return 0;
}

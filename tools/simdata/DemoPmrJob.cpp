#include "DemoPmrJob.h"

#include <cstdint>
#include <stdexcept>
#include <string>

#include "DataFiles.h"
#include "config/MobMap.h"
#include "config/RadioTypes.h"
#include "core/Person.h"
#include "fields/FieldOps.h"
#include "pmr/ChannelTable.h"

namespace km::simdata {
namespace {

constexpr int kChannels = 24;
constexpr std::int64_t kFirstChannelHz = 440'000'000;
constexpr std::int64_t kChannelSpacingHz = 25'000;
constexpr std::int64_t kRepeaterShiftHz = 5'000'000;
// The demo radio's band, TK (400-450 MHz), as the band word holds it: first letter high.
constexpr std::uint16_t kBandTk = 'T' << 8 | 'K';

// The store tells of frequencies off the raster and groups beyond the limits; the demo job has
// neither, and a message here would be a fault of this generator.
class RefusingPerson : public Person {
  public:
    Answer Show(BoxKind, std::string_view text, Buttons) override {
        throw std::logic_error("the demo job's channel table was refused: " + std::string(text));
    }
    void Beep() override {}
};

void SetHeader(const fields::FieldRow& row, PmrJobImage& job, const fields::FieldValue& value) {
    fields::WriteField(row, job.Bytes(), static_cast<std::size_t>(row.at.pmr), value);
}

// Channels 1 to 24 every 25 kHz from 440 MHz; every third one a repeater channel, the last one
// receive only.
pmr::ChannelTable DemoChannels() {
    pmr::ChannelTable table;
    for (int n = 1; n <= kChannels; ++n) {
        pmr::ChannelEntry entry = pmr::DefaultEntry(kFirstChannelHz + kChannelSpacingHz * (n - 1));
        entry.SetNumber(n);
        entry.SetName("DEMO CH " + std::to_string(n));
        if (n % 3 == 0) {
            entry.txHz = entry.rxHz + kRepeaterShiftHz;
        }
        if (n == kChannels) {
            entry.txHz = 0;
        }
        table.Add(entry);
    }
    return table;
}

}  // namespace

PmrJobImage DemoPmrJob() {
    PmrJobImage job = datagen::PmrTemplate();
    SetHeader(header_rows::kDescription, job, std::string("Virtual radio demo PMR job"));
    SetHeader(header_rows::kBand, job, std::int64_t{kBandTk});
    RefusingPerson person;
    const int hmF = kRadioTypeRows[kRowHmF].RadioTypeMask;
    pmr::StoreChannelTable(DemoChannels(), pmr::StoreSettingsOf(job, hmF, 0), job, person);
    return job;
}

}  // namespace km::simdata

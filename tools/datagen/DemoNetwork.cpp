// Networks/Demo.nwk: a small MPT1343 network in the TK band (400-450 MHz) so that a new user can
// load Network 1 into a trunk job and program the virtual radio.

#include "DataFiles.h"
#include "ImageTables.h"
#include "TemplateParts.h"
#include "image/JobFiles.h"
#include "tables/Tables.h"

namespace km::datagen {
namespace {

constexpr std::uint16_t kBandTK = 0x544B;  // "TK", first character in the high byte
constexpr std::uint16_t kSchemeMpt1343 = 0;
constexpr std::uint16_t kNationalIdentity1 = 0x4000 + 1 * 4096;

constexpr WordFill kDemoWords[] = {
    {network::kBandCode, kBandTK},
    {network::kNumberingScheme, kSchemeMpt1343},
    {96, kNationalIdentity1},
    {102, 3},    // system indicator sub-field length (National: 3..9)
    {136, 1},    // background hunt enabled
    {148, 200},  // highest maximum channel of all sub-bands
    {150, 1},    // minimum channel of sub-band 1
    {152, 200},  // comprehensive hunt: highest channel
    {154, 1},    // comprehensive hunt: lowest channel
    {156, 1},    // comprehensive hunt enabled
    {224, 4},    // number of normal hunt entries
    {228, 1},    // normal hunt: channels 1..4, continuous
    {230, 2},
    {232, 3},
    {234, 4},
    {738, 1},   // sub-band holding the highest maximum channel
    {1242, 7},  // transmit high power: "M: 10 W   P: 5 W"
};
constexpr ByteFill kDemoBytes[] = {
    {107, 1, 0x80},  // power-on registration
};
constexpr TextField kDemoTexts[] = {
    {network::kDescription, 60, "Demonstration network, channels 1-200"},
};

// Sub-band 1: channels 1..200 from 420.0000 MHz transmit and 430.0000 MHz receive in 6.25 kHz
// steps (12.5 kHz separation, high power, no CTCSS). Counts are stored big-endian, bit 0 apart.
constexpr std::size_t kSubBand1 = 740;
constexpr std::uint8_t kSubBandRecord[10] = {
    0x00, 0x01,  // minimum channel 1
    0x00, 0xC8,  // maximum channel 200
    0x83, 0x40,  // transmit count 67200 >> 1
    0x86, 0x60,  // receive count 68800 >> 1
    0x00,        // step bits: 6.25 kHz, count bits 0 clear
    0x00,        // CTCSS none, high power, 12.5 kHz separation
};

}  // namespace

NetworkImage DemoNetwork() {
    NetworkImage image;
    tables::FillTemplateDefaults(fields::ImageId::Network, image.Bytes());
    ApplyNewNetworkDefaults(image, 0);
    Apply(image, {kDemoBytes, kDemoWords, kDemoTexts});
    image.Write(kSubBand1, kSubBandRecord);
    image.Write(network::kName, NetworkNameField("Demo.nwk"));
    return image;
}

}  // namespace km::datagen

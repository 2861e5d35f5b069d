// The sample network files of Networks/: one per numbering scheme, in a few bands, written with the
// rows and rules of the network forms, as a network provider would make them in the Network view.
// Demo.nwk, a small MPT1343 network in the TK band (400-450 MHz), is the one the virtual radio
// holds, so that a new user can load Network 1 into a trunk job and program it.

#include <span>

#include "DataFiles.h"
#include "fields/FieldOps.h"
#include "image/JobFiles.h"
#include "network/HntMap.h"
#include "network/SysMap.h"
#include "tables/Tables.h"

namespace km::datagen {
namespace {

// A line of the sub-band grid as it is typed: channels, TxMin and RxMin in MHz, power,
// separation, Tx CTCSS.
using SubBandLine = std::array<const char*, 7>;

struct Sample {
    const char* fileName;
    const char* description;
    std::uint16_t band;  // two ASCII characters, first in the high byte
    int scheme;          // 0 MPT1343, 1 ANN, 2 3RP, 3 CPSX
    NetworkIdentity identity;
    int silLength;
    std::span<const SubBandLine> subBands;
    std::span<const int> huntChannels;  // the normal hunt list, continuous
    std::span<const int> roamingOpids;
    int annPartition;  // every ANN prefix: fleet partition and miniaturisation extent
    int annExtent;
};

constexpr SubBandLine kDemoSubBands[] = {
    {"1", "200", "420", "430", "High", "12.5kHz", "Undefined"}};
constexpr int kDemoHunt[] = {1, 2, 3, 4};

constexpr SubBandLine kAnnSubBands[] = {
    {"1", "100", "450.0125", "460.0125", "High", "12.5kHz", "Undefined"},
    {"101", "200", "452.5", "462.5", "Low", "25kHz", "A, 88.5 Hz"}};
constexpr int kAnnHunt[] = {1, 101};
constexpr int kAnnRoaming[] = {5, 6};

constexpr SubBandLine k3RpSubBands[] = {
    {"1", "50", "150.005", "155.005", "High", "10kHz", "Undefined"},
    {"51", "120", "160.005", "164.61", "High", "15kHz", "Undefined"}};
constexpr int k3RpHunt[] = {1, 51};

constexpr SubBandLine kCpsxSubBands[] = {
    {"1", "300", "380.0125", "390.0125", "High", "25kHz", "Undefined"},
    {"301", "400", "385.00625", "395.00625", "High", "6.25kHz", "Undefined"}};
constexpr int kCpsxHunt[] = {1, 301};
constexpr int kCpsxRoaming[] = {12};

const Sample kSamples[] = {
    {"Demo.nwk",
     "Demonstration network, channels 1-200",
     0x544B /* TK */,
     0,
     {true, 1},
     3,
     kDemoSubBands,
     kDemoHunt,
     {},
     0,
     0},
    {"SampleANN.nwk",
     "Sample ANN network, UW band, two sub-bands",
     0x5557 /* UW */,
     1,
     {false, 5},
     3,
     kAnnSubBands,
     kAnnHunt,
     kAnnRoaming,
     2,
     3},
    {"Sample3RP.nwk",
     "Sample 3RP network, AC band, 5 and 7.5 kHz steps",
     0x4143 /* AC */,
     2,
     {true, 2},
     5,
     k3RpSubBands,
     k3RpHunt,
     {},
     0,
     0},
    {"SampleCPSX.nwk",
     "Sample CPSX network, R2 band",
     0x5232 /* R2 */,
     3,
     {false, 12},
     4,
     kCpsxSubBands,
     kCpsxHunt,
     kCpsxRoaming,
     0,
     0},
};

void Set(NetworkImage& image, std::string_view id, const fields::FieldValue& value) {
    const fields::FieldRow& row = system_rows::Row(id);
    fields::WriteField(row, image.Bytes(), static_cast<std::size_t>(row.at.network), value);
}

void Set(NetworkImage& image, const fields::FieldRow& row, std::size_t place,
         const fields::FieldValue& value) {
    fields::WriteField(row, image.Bytes(), place + static_cast<std::size_t>(row.at.network), value);
}

std::size_t Entry(const fields::RecordTable& records, std::size_t index) {
    return static_cast<std::size_t>(records.base.network) + index * records.stride;
}

void WriteSystem(NetworkImage& image, const Sample& sample) {
    WriteNetworkMarker(image.Bytes(), 0);
    Set(image, "network.system.description", std::string(sample.description));
    Set(image, "network.system.band", std::int64_t{sample.band});
    Set(image, "network.system.scheme", std::int64_t{sample.scheme});
    WriteNetworkIdentity(image.Bytes(), 0, sample.identity);
    Set(image, "network.system.sil", std::int64_t{sample.silLength});
    Set(image, "network.system.background_hunt", std::int64_t{1});
    Set(image, "network.system.power_on_registration", std::int64_t{1});
    for (std::size_t prefix = 0; prefix < system_rows::kAnnEntries; ++prefix) {
        const std::size_t entry = Entry(system_rows::kRecords[0], prefix);
        Set(image, system_rows::kAnnPartition, entry, std::int64_t{sample.annPartition});
        Set(image, system_rows::kAnnExtent, entry, std::int64_t{sample.annExtent});
    }
    std::vector<std::string> opids;
    for (int opid : sample.roamingOpids) {
        opids.push_back(std::to_string(opid));
    }
    StoreRoamingTable(image.Bytes(), 0, opids);
}

void WriteHunt(NetworkImage& image, const Sample& sample) {
    km::SubBandTable table;
    table.Load(image.Bytes(), 0);
    for (std::size_t line = 0; line < sample.subBands.size(); ++line) {
        for (std::size_t column = 0; column < sample.subBands[line].size(); ++column) {
            table.SetText(static_cast<int>(line), static_cast<int>(column) + 1,
                          sample.subBands[line][column]);
        }
    }
    table.Store(image.Bytes(), 0);
    for (std::size_t index = 0; index < sample.huntChannels.size(); ++index) {
        Set(image, hunt_rows::kNormalHunt.columns[0], Entry(hunt_rows::kNormalHunt, index),
            std::int64_t{sample.huntChannels[index]});
    }
    const std::int64_t lowest = std::stoi(sample.subBands.front()[0]);
    const std::int64_t highest = std::stoi(sample.subBands.back()[1]);
    Set(image, hunt_rows::kComprehensiveLowest, 0, lowest);
    Set(image, hunt_rows::kComprehensiveHighest, 0, highest);
    Set(image, hunt_rows::kRows[4], 0, std::int64_t{1});   // comprehensive hunt enabled
    Set(image, hunt_rows::kRows[10], 0, std::int64_t{7});  // transmit high power "M: 10 W   P: 5 W"
    StoreHuntSummary(image.Bytes(), 0);
}

NetworkImage Make(const Sample& sample) {
    NetworkImage image;
    tables::FillTemplateDefaults(fields::ImageId::Network, image.Bytes());
    WriteSystem(image, sample);
    WriteHunt(image, sample);
    image.Write(network::kName, NetworkNameField(sample.fileName));
    return image;
}

}  // namespace

NetworkImage DemoNetwork() {
    return Make(kSamples[0]);
}

std::vector<SampleNetwork> SampleNetworks() {
    std::vector<SampleNetwork> networks;
    for (const Sample& sample : kSamples) {
        networks.push_back({sample.fileName, Make(sample)});
    }
    return networks;
}

}  // namespace km::datagen

#pragma once
// Radio Information: reads the connected radio's identity data and software descriptors without
// changing anything, shows them as one report and keeps the same report in RadInfo.txt.

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>

#include "radio/Operation.h"
#include "radio/RadioIdentity.h"

namespace km {

// Bytes 0-3 of the band record: manufacturer code, model in the high nibble of byte 1, and the
// serial number in bits 17..0 of the 24-bit number of bytes 1-3 divided by 4.
struct Esn {
    int manufacturer = 0;
    int model = 0;
    int serial = 0;
};
Esn DecodeEsn(std::span<const std::uint8_t, 4> bytes);
// "10/3/16389", or "Undefined" when the manufacturer byte is 0x00 or 0xFF.
std::string EsnText(std::span<const std::uint8_t> bandRecord);

// The values of the report, each as single-byte text the way the radio holds it.
struct RadioInfoValues {
    std::string radioBand;
    std::string esn;
    std::string serialNumber;
    std::string flashType;
    std::string bootLoaderDate;
    std::string fpgaBackupDate;
    std::string fpgaConfigDate;
    std::string fpgaVersion;
    // Backup, startup, PMR, trunk and option board (DMAP) code, in this order.
    std::array<CodeDescriptor, 5> descriptors;

    RadioInfoValues();
};

// Texts taken from what the radio sent; each reads "Undefined" when its first byte is 0x00 or
// 0xFF or the area is missing.
std::string RadioBandText(std::span<const std::uint8_t> bandRecord);
// The band as the Radio Type form names it ("TK   400-450 MHz", the limits of the country
// `countryCode`), from the band record; the two characters alone when they name no band of the
// table, and "Undefined" as RadioBandText.
std::string RadioBandName(std::span<const std::uint8_t> bandRecord, int countryCode);
std::string SerialNumberText(std::span<const std::uint8_t> bandRecord);
std::string DateText(std::span<const std::uint8_t> read, std::size_t offset);
std::string FpgaVersionText(std::span<const std::uint8_t> firstBlock);
std::string DescriptionText(const CodeDescriptor& descriptor);
std::string CodeLineText(const CodeDescriptor& descriptor);

// The report as shown and written (single-byte text, line feeds).
std::string FormatRadioInfoReport(const RadioInfoValues& values);

inline constexpr const char* kRadInfoFileName = "RadInfo.txt";
// Replaces RadInfo.txt in `folder` with the report, lines ended by CR LF. False when it cannot be
// written; the operation then goes on silently.
bool WriteRadInfo(const std::filesystem::path& folder, const std::string& report);

// The Radio Information step machine.
class RadioInfoMachine : public StepMachine {
  public:
    using StepMachine::StepMachine;

    // What the radio is asked for after its Flash Index Table, in this order.
    enum class Item {
        BootLoaderDate,
        FpgaBackupDate,
        FpgaConfigDate,
        FpgaVersion,
        BackupIndex,
        StartupIndex,
        PmrIndex,
        TrunkIndex,
        DmapIndex,
        BackupInfo,
        StartupInfo,
        PmrInfo,
        TrunkInfo,
        SerialNumber,
        DmapInfo,
        Done,
    };

  private:
    struct Place {
        std::uint16_t block = 0;
        std::uint16_t size = 0;
        std::size_t offset = 0;  // where the value starts inside what is read
    };

    void Begin() override;
    // Queues the read of the next item the radio can answer, or gives the report when none is
    // left. False when the operation has ended.
    bool QueueNextItem(Item item);
    std::optional<Place> Locate(Item item) const;
    void Take(Item item, std::span<const std::uint8_t> read, std::size_t offset);
    void Report();

    RadioInfoValues values_;
    // Where the backup, startup, PMR, trunk and DMAP descriptors lie, once their index is read.
    std::array<std::optional<DescriptorLocation>, 5> descriptorPlaces_;
};

}  // namespace km

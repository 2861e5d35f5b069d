#pragma once
// How a COM number (COM1..COM16, stored as index 0..15) reaches a serial device on Linux:
//  1. a line "COM<n>=<device path>" in the text file comports.cfg in the working directory;
//  2. otherwise the n-th serial port the system lists, USB and ACM adapters first, then by name;
//  3. otherwise /dev/ttyS<n-1>.
// So a user with one USB adapter finds it at COM1, and a test or the virtual radio points a
// COM number at a pseudo-terminal with one line of comports.cfg.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace km {

inline constexpr const char* kComPortsFileName = "comports.cfg";

struct SerialPortCandidate {
    std::string name;         // "ttyUSB0"
    std::string location;     // "/dev/ttyUSB0"
    bool usb = false;         // a USB adapter (has a USB vendor, or a ttyUSB / ttyACM name)
    std::string description;  // the adapter's description and maker, where the system knows it
};

// Where a COM number leads on this machine, as the COM Port dialog shows it.
struct ComPortListing {
    std::string device;       // "/dev/ttyUSB0"
    std::string description;  // the adapter's, where the system knows it
    bool fromConfig = false;  // comports.cfg names the device
    bool present = false;     // the system lists the port, or comports.cfg names a device that is
                              // there (a pseudo-terminal)
};

// The device that comports.cfg gives COM(comIndex + 1), if any.
std::optional<std::string> ComPortOverride(std::string_view configText, int comIndex);
// The ports in COM order: USB and ACM adapters first, then by name.
std::vector<SerialPortCandidate> OrderForComNumbers(std::vector<SerialPortCandidate> ports);
// The whole rule, with the ports the system lists.
std::string DeviceForComIndex(int comIndex, std::string_view configText,
                              const std::vector<SerialPortCandidate>& systemPorts);

// The rule applied to comports.cfg in `folder` and the ports Qt lists now.
std::string DeviceForComIndex(int comIndex, const std::filesystem::path& folder);
std::vector<SerialPortCandidate> SystemSerialPorts();

// COM1..COM`count` with the whole rule; `exists` tells whether a device path is there.
std::vector<ComPortListing> ListComPorts(int count, std::string_view configText,
                                         const std::vector<SerialPortCandidate>& systemPorts,
                                         const std::function<bool(const std::string&)>& exists);
// The same with comports.cfg of `folder`, the ports Qt lists now and the file system.
std::vector<ComPortListing> ListComPorts(int count, const std::filesystem::path& folder);

// Which device the serial port opens for a COM index.
using DeviceResolver = std::function<std::string(int comIndex)>;
// The whole rule, with comports.cfg read from `folder` at every open.
DeviceResolver ComPortsResolver(std::filesystem::path folder);

}  // namespace km

#include "ComPortMap.h"

#include <QSerialPortInfo>
#include <algorithm>
#include <cctype>

#include "core/Files.h"
#include "core/Strings.h"

namespace km {

namespace {

// The blanks around a line of the file and its parts, as isspace knows them.
constexpr std::string_view kSpaces = " \t\n\v\f\r";

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// "COM3" (any letter case) gives 3; anything else gives nullopt.
std::optional<int> ComNumber(std::string_view key) {
    if (key.size() < 4 || key.size() > 5) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < 3; ++i) {
        if (std::toupper(static_cast<unsigned char>(key[i])) != "COM"[i]) {
            return std::nullopt;
        }
    }
    int number = 0;
    for (char c : key.substr(3)) {
        if (!std::isdigit(static_cast<unsigned char>(c))) {
            return std::nullopt;
        }
        number = number * 10 + (c - '0');
    }
    return number;
}
}  // namespace

std::optional<std::string> ComPortOverride(std::string_view configText, int comIndex) {
    std::optional<std::string> device;
    while (!configText.empty()) {
        const std::size_t end = configText.find('\n');
        const std::string_view line = Trim(configText.substr(0, end), kSpaces);
        configText =
            end == std::string_view::npos ? std::string_view{} : configText.substr(end + 1);
        const std::size_t equals = line.find('=');
        if (line.empty() || line.front() == '#' || equals == std::string_view::npos) {
            continue;
        }
        const auto number = ComNumber(Trim(line.substr(0, equals), kSpaces));
        const std::string_view path = Trim(line.substr(equals + 1), kSpaces);
        if (number && *number == comIndex + 1 && !path.empty()) {
            device = std::string(path);  // the last line for a number wins
        }
    }
    return device;
}

std::vector<SerialPortCandidate> OrderForComNumbers(std::vector<SerialPortCandidate> ports) {
    for (auto& port : ports) {
        port.usb = port.usb || StartsWith(port.name, "ttyUSB") || StartsWith(port.name, "ttyACM");
    }
    std::stable_sort(ports.begin(), ports.end(), [](const auto& a, const auto& b) {
        if (a.usb != b.usb) {
            return a.usb;
        }
        return a.name < b.name;
    });
    return ports;
}

std::string DeviceForComIndex(int comIndex, std::string_view configText,
                              const std::vector<SerialPortCandidate>& systemPorts) {
    if (auto device = ComPortOverride(configText, comIndex)) {
        return *device;
    }
    const auto ordered = OrderForComNumbers(systemPorts);
    if (comIndex >= 0 && static_cast<std::size_t>(comIndex) < ordered.size()) {
        return ordered[static_cast<std::size_t>(comIndex)].location;
    }
    return "/dev/ttyS" + std::to_string(comIndex);
}

std::vector<ComPortListing> ListComPorts(int count, std::string_view configText,
                                         const std::vector<SerialPortCandidate>& systemPorts,
                                         const std::function<bool(const std::string&)>& exists) {
    std::vector<ComPortListing> listing;
    for (int comIndex = 0; comIndex < count; ++comIndex) {
        ComPortListing row;
        row.device = DeviceForComIndex(comIndex, configText, systemPorts);
        row.fromConfig = ComPortOverride(configText, comIndex).has_value();
        const auto listed =
            std::find_if(systemPorts.begin(), systemPorts.end(),
                         [&row](const auto& port) { return port.location == row.device; });
        if (listed != systemPorts.end()) {
            row.description = listed->description;
            row.present = true;
        } else {
            // A device node alone (the /dev/ttyS<n> fallback) is no port; a device that
            // comports.cfg names and that is there (a pseudo-terminal) is.
            row.present = row.fromConfig && exists(row.device);
        }
        listing.push_back(std::move(row));
    }
    return listing;
}

std::vector<SerialPortCandidate> SystemSerialPorts() {
    std::vector<SerialPortCandidate> ports;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        std::string description = info.description().toStdString();
        const std::string maker = info.manufacturer().toStdString();
        if (!maker.empty() && description.find(maker) == std::string::npos) {
            description += description.empty() ? maker : " (" + maker + ")";
        }
        ports.push_back({info.portName().toStdString(), info.systemLocation().toStdString(),
                         info.hasVendorIdentifier(), description});
    }
    return ports;
}

namespace {
std::string ComPortsText(const std::filesystem::path& folder) {
    constexpr std::size_t kMaxConfigBytes = 64 * 1024;
    const auto bytes =
        ReadFileBytes(FindFileIgnoringCase(folder, kComPortsFileName), kMaxConfigBytes);
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
}
}  // namespace

std::vector<ComPortListing> ListComPorts(int count, const std::filesystem::path& folder) {
    return ListComPorts(count, ComPortsText(folder), SystemSerialPorts(),
                        [](const std::string& device) {
                            std::error_code error;
                            return std::filesystem::exists(device, error);
                        });
}

std::string DeviceForComIndex(int comIndex, const std::filesystem::path& folder) {
    const std::string text = ComPortsText(folder);
    if (auto device = ComPortOverride(text, comIndex)) {
        return *device;
    }
    return DeviceForComIndex(comIndex, "", SystemSerialPorts());
}

DeviceResolver ComPortsResolver(std::filesystem::path folder) {
    return
        [folder = std::move(folder)](int comIndex) { return DeviceForComIndex(comIndex, folder); };
}

}  // namespace km

#include "sim/Profile.h"

#include <cctype>
#include <charconv>
#include <functional>
#include <map>
#include <sstream>

#include "core/Files.h"
#include "core/Strings.h"

namespace km::sim {

namespace {

// The blanks around a line of a profile and its parts; a line of a file written on Windows ends
// in CR as well.
constexpr std::string_view kBlanksOfALine = " \t\r";

CodeRecord Code(std::string description, std::string softwareCode, std::string version,
                int codeType, std::size_t imageLength) {
    CodeRecord record;
    record.present = true;
    record.description = std::move(description);
    record.softwareCode = std::move(softwareCode);
    record.version = std::move(version);
    record.date = "21/06/2004";
    record.codeType = codeType;
    record.imageLength = imageLength;
    return record;
}

bool IsPortableType(int typeCode) {
    return typeCode == 1 || typeCode == 17;
}

bool CarriesOwnTable(int typeCode) {
    return typeCode == 1 || typeCode == 4 || typeCode == 8 || typeCode == 17 || typeCode == 18 ||
           typeCode == 22;
}

// The code a radio of each family leaves the factory with. Part numbers (the first four digits
// of the software code) are ones the programmer knows, so that its software choice has a radio
// type to work with. The mobiles' PMR code is the build a PMR job for a serial control head
// (HM-A, HM-E, HM-F) without option board needs (10720, type 2), at the version of the sample
// code files of the demo folder, so that the demo PMR job is programmed without a question.
void SetFactoryCode(Profile& profile) {
    const int type = profile.typeCode;
    profile.backupCode = Code("BACKUP CODE", "10700", "V1.00", 4, 9000);
    if (IsPortableType(type)) {
        profile.startupCode = Code("KP800 STARTUP", "14690", "V6.30", 58, 24000);
        profile.pmrCode = Code("KP800 PMR", "14680", "V6.30", 59, 30000);
        profile.trunkCode = Code("KP800 MPT1327", "14670", "V6.30", 61, 40000);
    } else if (type == 4 || type == 18) {
        profile.startupCode = Code("KM700 REV9 STARTUP", "12910", "V6.30", 80, 24000);
        profile.pmrCode = Code("KM700 REV9 PMR", "10720", "V6.30", 81, 30000);
        profile.trunkCode = Code("KM700 REV9 MPT1327", "12920", "V6.30", 83, 40000);
    } else if (type == 8 || type == 22) {
        profile.startupCode = Code("KM700 REV10 STARTUP", "14370", "V6.40", 90, 24000);
        profile.pmrCode = Code("KM700 REV10 PMR", "10720", "V6.40", 91, 30000);
        profile.trunkCode = Code("KM700 REV10 MPT1327", "14380", "V6.40", 93, 40000);
    } else {
        profile.startupCode = Code("KM700 STARTUP", "10820", "V6.20", 4, 20000);
        profile.pmrCode = Code("KM700 PMR", "10720", "V6.20", 3, 30000);
        profile.trunkCode = Code("KM700 MPT1327", "10810", "V6.20", 8, 40000);
    }
    profile.optionBoardCode = Code("DMAP OPTION BOARD", "11900", "V2.10", 132, 8000);
    profile.optionBoardCode.present = profile.optionBoard;
}

std::optional<long> ParseNumber(const std::string& text) {
    long value = 0;
    int base = 10;
    std::string_view digits = text;
    if (digits.starts_with("0x") || digits.starts_with("0X")) {
        base = 16;
        digits.remove_prefix(2);
    }
    const auto [end, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
    if (error != std::errc() || end != digits.data() + digits.size() || digits.empty()) {
        return std::nullopt;
    }
    return value;
}

std::optional<bool> ParseFlag(const std::string& text) {
    if (text == "yes" || text == "true" || text == "1") {
        return true;
    }
    if (text == "no" || text == "false" || text == "0") {
        return false;
    }
    return std::nullopt;
}

// Applies one `key = value` to the profile; returns an error text, empty when accepted.
class ProfileReader {
  public:
    explicit ProfileReader(Profile& profile) : profile_(profile) {}

    std::string Apply(const std::string& key, const std::string& value) {
        if (const auto dot = key.find('.'); dot != std::string::npos) {
            return ApplyCode(key.substr(0, dot), key.substr(dot + 1), value);
        }
        if (key == "type") {
            return "'type' must be the first setting";
        }
        if (key == "name") {
            profile_.name = value;
        } else if (key == "option_board") {
            return Flag(value, profile_.optionBoard,
                        [this](bool fitted) { profile_.optionBoardCode.present = fitted; });
        } else if (key == "table") {
            if (value != "file" && value != "own") {
                return "table must be 'file' or 'own'";
            }
            profile_.table = value == "own" ? TableKind::OwnTable : TableKind::FromFile;
        } else if (key == "flash_type") {
            return Number(value, 0, 255, profile_.flashType);
        } else if (key == "zone_area") {
            return Flag(value, profile_.zoneArea);
        } else if (key == "sectors") {
            int sectors = 0;
            if (auto error = Number(value, static_cast<int>(kMemorySectors), 256, sectors);
                !error.empty()) {
                return error;
            }
            profile_.sectorCount = static_cast<std::size_t>(sectors);
        } else if (key == "esn") {
            return Esn(value);
        } else if (key == "band") {
            if (!value.empty() && value.size() != 2) {
                return "band must be two characters";
            }
            profile_.band = value;
        } else if (key == "serial_number") {
            return Text(value, 16, profile_.serialNumber);
        } else if (key == "hardware_byte26") {
            return Byte(value, profile_.hardwareByte26);
        } else if (key == "hardware_byte27") {
            return Byte(value, profile_.hardwareByte27);
        } else if (key == "bootloader_date") {
            return Text(value, 10, profile_.bootLoaderDate);
        } else if (key == "fpga_backup_date") {
            return Text(value, 10, profile_.fpgaBackupDate);
        } else if (key == "fpga_config_date") {
            return Text(value, 10, profile_.fpgaConfigDate);
        } else if (key == "fpga_version") {
            return FpgaVersion(value);
        } else if (key == "blank") {
            return Flag(value, profile_.blank);
        } else if (key == "trunk_job") {
            return Flag(value, profile_.trunkJob);
        } else if (key == "pmr_channels") {
            return Number(value, 0, 1000, profile_.pmrChannels);
        } else if (key == "pmr_encodes") {
            return Number(value, 0, 250, profile_.pmrEncodes);
        } else if (key == "pmr_group_b") {
            return Number(value, 0, 128, profile_.pmrGroupB);
        } else if (key == "pmr_zones") {
            return Number(value, 0, 20, profile_.pmrZones);
        } else if (key == "trunk_phonebook_edited") {
            return Flag(value, profile_.trunkPhonebookEdited);
        } else if (key == "pmr_phonebook_edited") {
            return Flag(value, profile_.pmrPhonebookEdited);
        } else if (key == "trunk_config_file") {
            profile_.trunkConfigFile = value;
        } else if (key == "trunk_job_file") {
            profile_.trunkJobFile = value;
        } else if (key == "network1_file") {
            profile_.network1File = value;
        } else if (key == "pmr_config_file") {
            profile_.pmrConfigFile = value;
        } else if (key == "pmr_job_file") {
            profile_.pmrJobFile = value;
        } else if (key == "erase_time_ms") {
            return Number(value, 0, 60000, profile_.eraseTimeMs);
        } else if (key == "realistic") {
            bool realistic = false;
            return Flag(value, realistic, [this](bool on) {
                if (on) {
                    profile_.eraseTimeMs = kRealisticEraseTimeMs;
                }
            });
        } else if (key == "link_p1") {
            return Byte(value, profile_.linkP1);
        } else if (key == "link_p2") {
            return Byte(value, profile_.linkP2);
        } else if (key == "info3") {
            return Text(value, 120, profile_.info3);
        } else if (key == "info6") {
            return Text(value, 120, profile_.info6);
        } else {
            return "unknown setting '" + key + "'";
        }
        return "";
    }

  private:
    std::string ApplyCode(const std::string& area, const std::string& field,
                          const std::string& value) {
        static const std::map<std::string, CodeRecord Profile::*> kAreas = {
            {"backup_code", &Profile::backupCode},
            {"startup_code", &Profile::startupCode},
            {"pmr_code", &Profile::pmrCode},
            {"trunk_code", &Profile::trunkCode},
            {"option_board_code", &Profile::optionBoardCode},
        };
        const auto found = kAreas.find(area);
        if (found == kAreas.end()) {
            return "unknown code area '" + area + "'";
        }
        CodeRecord& record = profile_.*(found->second);
        if (field == "present") {
            return Flag(value, record.present);
        }
        if (field == "description") {
            return Text(value, 25, record.description);
        }
        if (field == "software_code") {
            return Text(value, 6, record.softwareCode);
        }
        if (field == "version") {
            return Text(value, 6, record.version);
        }
        if (field == "date") {
            return Text(value, 10, record.date);
        }
        if (field == "code_type") {
            return Number(value, 0, 255, record.codeType);
        }
        if (field == "length") {
            // The record must fit, and the image must fit the four 16383-byte pieces.
            int length = 0;
            if (auto error = Number(value, 80, 65531, length); !error.empty()) {
                return error;
            }
            record.imageLength = static_cast<std::size_t>(length);
            return "";
        }
        return "unknown code setting '" + field + "'";
    }

    static std::string Number(const std::string& value, long low, long high, int& out) {
        const auto number = ParseNumber(value);
        if (!number || *number < low || *number > high) {
            return "'" + value + "' is not a number from " + std::to_string(low) + " to " +
                   std::to_string(high);
        }
        out = static_cast<int>(*number);
        return "";
    }
    static std::string Byte(const std::string& value, std::uint8_t& out) {
        int number = 0;
        if (auto error = Number(value, 0, 255, number); !error.empty()) {
            return error;
        }
        out = static_cast<std::uint8_t>(number);
        return "";
    }
    static std::string Flag(const std::string& value, bool& out,
                            const std::function<void(bool)>& then = {}) {
        const auto flag = ParseFlag(value);
        if (!flag) {
            return "'" + value + "' is not yes or no";
        }
        out = *flag;
        if (then) {
            then(*flag);
        }
        return "";
    }
    static std::string Text(const std::string& value, std::size_t width, std::string& out) {
        if (value.size() > width) {
            return "'" + value + "' is longer than " + std::to_string(width) + " characters";
        }
        out = value;
        return "";
    }
    std::string Esn(const std::string& value) {
        if (value.size() != 8 ||
            value.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
            return "esn must be eight hexadecimal digits";
        }
        for (std::size_t i = 0; i < 4; ++i) {
            profile_.esn[i] =
                static_cast<std::uint8_t>(std::stoul(value.substr(2 * i, 2), nullptr, 16));
        }
        return "";
    }
    std::string FpgaVersion(const std::string& value) {
        const bool valid = value.size() == 4 && value[1] == '.' && std::isdigit(value[0]) &&
                           std::isdigit(value[2]) && std::isdigit(value[3]);
        if (!valid) {
            return "fpga_version must look like 1.23";
        }
        profile_.fpgaVersion = value;
        return "";
    }

    Profile& profile_;
};

}  // namespace

Profile DefaultProfileForType(int typeCode) {
    Profile profile;
    profile.typeCode = typeCode;
    profile.table = CarriesOwnTable(typeCode) ? TableKind::OwnTable : TableKind::FromFile;
    SetFactoryCode(profile);
    return profile;
}

ProfileResult ParseProfile(const std::string& text) {
    Profile profile = DefaultProfileForType(0);
    ProfileReader reader(profile);
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    bool anySetting = false;
    while (std::getline(lines, line)) {
        ++number;
        const auto hash = line.find('#');
        line = Trim(hash == std::string::npos ? line : line.substr(0, hash), kBlanksOfALine);
        if (line.empty()) {
            continue;
        }
        const auto equals = line.find('=');
        if (equals == std::string::npos) {
            return {std::nullopt, "line " + std::to_string(number) + ": expected key = value"};
        }
        const std::string key(Trim(line.substr(0, equals), kBlanksOfALine));
        const std::string value(Trim(line.substr(equals + 1), kBlanksOfALine));
        std::string error;
        if (key == "type" && !anySetting) {
            const auto type = ParseNumber(value);
            if (!type || *type < 0 || *type > 255) {
                error = "type must be a number from 0 to 255";
            } else {
                profile = DefaultProfileForType(static_cast<int>(*type));
            }
        } else {
            error = reader.Apply(key, value);
        }
        if (!error.empty()) {
            return {std::nullopt, "line " + std::to_string(number) + ": " + error};
        }
        anySetting = true;
    }
    return {profile, ""};
}

ProfileResult LoadProfile(const std::filesystem::path& path) {
    constexpr std::size_t kMaxProfileBytes = 64 * 1024;
    const auto bytes = ReadFileBytes(path, kMaxProfileBytes);
    if (!bytes) {
        return {std::nullopt, "cannot read " + path.string()};
    }
    ProfileResult result = ParseProfile(std::string(bytes->begin(), bytes->end()));
    if (!result.profile) {
        result.error = path.string() + ", " + result.error;
        return result;
    }
    // Files named by a profile are found beside it.
    Profile& profile = *result.profile;
    for (std::string* file : {&profile.trunkConfigFile, &profile.trunkJobFile,
                              &profile.network1File, &profile.pmrConfigFile, &profile.pmrJobFile}) {
        if (!file->empty() && std::filesystem::path(*file).is_relative()) {
            *file = (path.parent_path() / *file).string();
        }
    }
    return result;
}

std::string NthSerialNumber(const std::string& first, int index) {
    if (index == 0) {
        return first;
    }
    std::size_t digits = first.size();
    while (digits > 0 && std::isdigit(static_cast<unsigned char>(first[digits - 1]))) {
        --digits;
    }
    if (digits == first.size()) {
        return first + "-" + std::to_string(index);
    }
    const std::string number =
        std::to_string(std::stoull(first.substr(digits)) + static_cast<unsigned long long>(index));
    const std::size_t width = first.size() - digits;
    return first.substr(0, digits) +
           std::string(number.size() < width ? width - number.size() : 0, '0') + number;
}

}  // namespace km::sim

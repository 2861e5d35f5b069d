#include "fleet/Report.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace km::fleet {
namespace {

std::string Seconds(double seconds) {
    std::array<char, 32> text{};
    std::snprintf(text.data(), text.size(), "%.1f", seconds);
    return text.data();
}

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        return text;
    }
    std::string out = "\"";
    for (char c : text) {
        out += c == '"' ? std::string("\"\"") : std::string(1, c);
    }
    return out + "\"";
}

std::string Result(const RadioResult& result) {
    return result.done ? kResultDone : kResultFailed;
}

}  // namespace

std::vector<std::string> ResultLines(const std::vector<RadioResult>& all) {
    std::size_t port = 0;
    std::size_t serial = 0;
    std::size_t radio = 0;
    for (const RadioResult& result : all) {
        port = std::max(port, result.port.size());
        serial = std::max(serial, result.serial.size());
        radio = std::max(radio, result.radio.size());
    }
    const auto padded = [](const std::string& text, std::size_t width) {
        return text + std::string(width - text.size() + 2, ' ');
    };
    std::vector<std::string> lines;
    for (const RadioResult& result : all) {
        std::string line = padded(result.port, port) + padded(result.serial, serial) +
                           padded(result.radio, radio) + padded(Result(result), 6) +
                           Seconds(result.seconds) + " s";
        if (!result.message.empty()) {
            line += "  " + result.message;
        }
        lines.push_back(line);
    }
    return lines;
}

std::string ReportCsv(const std::vector<RadioResult>& all) {
    std::string out = std::string(kReportHeader) + "\r\n";
    for (const RadioResult& result : all) {
        out += CsvField(result.port) + "," + CsvField(result.serial) + "," +
               CsvField(result.radio) + "," + Result(result) + "," + Seconds(result.seconds) + "," +
               CsvField(result.message) + "," + CsvField(result.backup) + "\r\n";
    }
    return out;
}

}  // namespace km::fleet

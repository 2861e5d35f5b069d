#include "radio/CommandStatus.h"

#include <array>
#include <cstdio>

#include "link/Messages.h"

namespace km {

namespace {

struct CommandWords {
    OperationKind operation;
    const char* command;  // as the menu names it
    const char* done;     // what has been done when it went through
};

constexpr std::array<CommandWords, 6> kCommandWords{{
    {OperationKind::ReadTrunk, "Read Radio", "Radio read: trunk configuration"},
    {OperationKind::ReadPmr, "Read Radio", "Radio read: PMR configuration"},
    {OperationKind::ProgramTrunk, "Program Radio", "Radio programmed: trunk configuration"},
    {OperationKind::ProgramPmr, "Program Radio", "Radio programmed: PMR configuration"},
    {OperationKind::RadioInformation, "Radio Information", "Radio Information read"},
    {OperationKind::UpgradeSoftware, "Upgrade Software", "Radio software upgraded"},
}};

const CommandWords& WordsOf(OperationKind operation) {
    static constexpr CommandWords kOther{OperationKind::None, "Radio command",
                                         "Radio command done"};
    for (const CommandWords& words : kCommandWords) {
        if (words.operation == operation) {
            return words;
        }
    }
    return kOther;
}

std::string ComName(int comIndex) {
    return "COM" + std::to_string(comIndex + 1);
}

}  // namespace

std::string ConnectingStatus(int comIndex) {
    return "Connecting to the radio on " + ComName(comIndex) + " ...";
}

std::string ConnectedStatus(int comIndex) {
    return "Radio connected on " + ComName(comIndex);
}

std::string CompletedStatus(OperationKind operation, std::string_view detail,
                            std::int64_t elapsedMs) {
    std::array<char, 32> seconds{};
    std::snprintf(seconds.data(), seconds.size(), "%.1f s",
                  static_cast<double>(elapsedMs < 0 ? 0 : elapsedMs) / 1000.0);
    std::string text = WordsOf(operation).done;
    // The detail may carry the blanks of a fixed-width field (a version text "V6.30 ").
    if (const std::string words = StatusLine(detail); !words.empty()) {
        text += ": " + words;
    }
    return text + ", " + seconds.data();
}

std::string CancelledStatus(OperationKind operation) {
    return std::string(WordsOf(operation).command) + " cancelled";
}

std::string StoppedStatus(OperationKind operation) {
    return std::string(WordsOf(operation).command) + " stopped";
}

std::string PortLostStatus(std::string_view failureLine, PortError error) {
    const char* what = "The serial port went away: the cable or the radio was disconnected.";
    if (error == PortError::ReadFailed) {
        what = "The serial port failed to read.";
    } else if (error == PortError::WriteFailed) {
        what = "The serial port failed to write.";
    }
    return std::string(failureLine) + " " + what;
}

std::string StatusLine(std::string_view boxText) {
    std::string line;
    bool blank = false;
    for (const char c : boxText) {
        if (c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\0') {
            blank = !line.empty();
            continue;
        }
        if (blank) {
            line += ' ';
            blank = false;
        }
        line += c;
    }
    return line;
}

}  // namespace km

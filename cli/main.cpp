#include <QCoreApplication>
#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#include "CliCommand.h"
#include "CsvCommand.h"
#include "FleetCommand.h"
#include "JobCommand.h"
#include "PrintCommand.h"
#include "ProgramCommand.h"
#include "SetCommand.h"

int main(int argc, char** argv) {
    if (argc > 1 && km::cli::IsPrintCommand(argv[1])) {
        return km::cli::PrintMain(argc, argv);  // draws with QtGui: its own application object
    }
    QCoreApplication app(argc, argv);
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty() && km::cli::IsCsvCommand(args[0])) {
        return km::cli::CsvMain(args, std::cout, std::cerr);
    }
    if (!args.empty() && km::cli::IsJobCommand(args[0])) {
        return km::cli::JobMain(args, std::cout, std::cerr);
    }
    if (!args.empty() && (args[0] == "program" || args[0] == "read") &&
        std::find(args.begin(), args.end(), "--help") != args.end()) {
        // The command's help for one radio, then for many.
        std::cout << (args[0] == "program" ? km::cli::kProgrammingUsageText : km::cli::kUsageText)
                  << "\n"
                  << km::cli::kFleetUsageText;
        return km::cli::kExitDone;
    }
    if (km::cli::IsFleetCommand(args)) {
        return km::cli::FleetMain(args);
    }
    if (!args.empty() && km::cli::IsSetCommand(args[0])) {
        return km::cli::SetMain(args, std::cout, std::cerr);
    }
    if (!args.empty() && km::cli::IsProgrammingCommand(args[0])) {
        return km::cli::ProgrammingMain(args);
    }
    const auto parsed = km::cli::ParseArguments(args);
    if (!parsed.arguments) {
        std::cerr << "km700rcp-cli: " << parsed.error << "\n\n" << km::cli::kUsageText;
        return km::cli::kExitUsage;
    }
    if (parsed.arguments->command == km::cli::Command::Help) {
        std::cout << km::cli::kUsageText;
        return km::cli::kExitDone;
    }
    return km::cli::Run(*parsed.arguments);
}

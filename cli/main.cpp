#include <QCoreApplication>
#include <iostream>
#include <string>
#include <vector>

#include "CliCommand.h"
#include "CsvCommand.h"
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

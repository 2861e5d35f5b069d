#pragma once
// km700sim serving a profile on a pseudo-terminal, with COM1 of a scratch working directory
// pointed at it (and FIT000101.bin beside it for the radios that carry no table).

#include <gtest/gtest.h>
#include <unistd.h>

#include <QProcess>
#include <QString>
#include <QStringList>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "core/Files.h"
#include "sim/Profile.h"
#include "sim/RadioMemory.h"

namespace km::testing {

// A scratch folder of the running test: named after the test and this process, so that tests of
// one fixture side by side, and two test runs at once, never share one.
inline std::filesystem::path TestFolder(const std::string& prefix) {
    return std::filesystem::temp_directory_path() /
           (prefix + ::testing::UnitTest::GetInstance()->current_test_info()->name() + "_" +
            std::to_string(::getpid()));
}

// What a run of km700rcp-cli gave: its exit code (-1 when it did not end within `timeoutMs`, -2
// when it crashed) and its standard error.
struct CliOutput {
    int exitCode;
    std::string err;
};

// Runs km700rcp-cli with `args` and the working directory `workdir`.
inline CliOutput RunCli(QStringList args, const std::filesystem::path& workdir,
                        int timeoutMs = 120000) {
    args << "--workdir" << QString::fromStdString(workdir.string());
    QProcess process;
    process.start(QString::fromUtf8(KM_CLI_PROGRAM), args);
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return {-1, "timed out: " + process.readAllStandardError().toStdString()};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2,
            process.readAllStandardError().toStdString()};
}

class SimProcess {
  public:
    explicit SimProcess(std::filesystem::path workdir) : workdir_(std::move(workdir)) {}
    ~SimProcess() {
        if (process_.state() != QProcess::NotRunning) {
            process_.terminate();
            process_.waitForFinished(5000);
        }
    }

    // Starts the radio, with `options` of km700sim besides the files; false (with a test
    // failure) when it does not come up.
    bool Start(const std::string& profileText, const QStringList& options = {}) {
        const auto parsed = sim::ParseProfile(profileText);
        if (!parsed.profile) {
            ADD_FAILURE() << parsed.error;
            return false;
        }
        profile = *parsed.profile;
        const auto profileFile = workdir_ / "radio.profile";
        WriteFileAtomically(profileFile,
                            std::span(reinterpret_cast<const std::uint8_t*>(profileText.data()),
                                      profileText.size()));
        WriteFileAtomically(workdir_ / "FIT000101.bin", sim::FitFileContents());
        const auto ready = workdir_ / "ready";
        std::filesystem::remove(ready);  // left by a radio served here before
        process_.start(
            QString::fromUtf8(KM_SIM_PROGRAM),
            QStringList{"--profile", Path(profileFile), "--workdir", Path(workdir_), "--ready-file",
                        Path(ready), "--log", Path(workdir_ / "sim.log")} +
                options);
        for (int i = 0; i < 500 && !std::filesystem::exists(ready); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        if (!std::filesystem::exists(ready)) {
            ADD_FAILURE() << "km700sim did not come up";
            return false;
        }
        return true;
    }

    // The device of each radio served, as the ready file lists them.
    std::vector<std::string> DevicePaths() const {
        const auto bytes = ReadFileBytes(workdir_ / "ready", 1 << 16);
        std::vector<std::string> paths;
        std::string line;
        for (const std::uint8_t byte : bytes.value_or(std::vector<std::uint8_t>{})) {
            if (byte == '\n') {
                paths.push_back(line);
                line.clear();
            } else {
                line.push_back(static_cast<char>(byte));
            }
        }
        if (!line.empty()) {
            paths.push_back(line);
        }
        return paths;
    }

    // Waits until the radio has stopped by itself (it went away); false if it is still running.
    bool WaitUntilStopped(int timeoutMs = 30000) {
        return process_.state() == QProcess::NotRunning || process_.waitForFinished(timeoutMs);
    }

    sim::Profile profile;

  private:
    static QString Path(const std::filesystem::path& path) {
        return QString::fromStdString(path.string());
    }

    std::filesystem::path workdir_;
    QProcess process_;
};

}  // namespace km::testing

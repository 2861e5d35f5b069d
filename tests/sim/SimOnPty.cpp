// km700sim on a real pseudo-terminal: the programmer's link stack on the Qt serial port finds the
// radio through comports.cfg, identifies it, reads, erases, writes and reads back; the radio's
// memory, saved when it stops, holds what was written.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "QtSerialPort.h"
#include "QtTimers.h"
#include "SimSession.h"
#include "core/Files.h"

namespace km::sim {
namespace {

using testing::Bytes;
using testing::Request;
using testing::SessionHost;

QCoreApplication& App() {
    static int argc = 1;
    static char name[] = "sim_pty_tests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    return app;
}

bool WaitFor(const std::function<bool()>& done, int ms = 30000) {
    QDeadlineTimer deadline(ms);
    while (!done() && !deadline.hasExpired()) {
        App().processEvents(QEventLoop::AllEvents, 10);
    }
    return done();
}

std::string ReadText(const std::filesystem::path& file) {
    const auto bytes = ReadFileBytes(file, 1 << 20);
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
}

class SimOnPtyTest : public ::testing::Test {
  protected:
    SimOnPtyTest() { App(); }

    std::filesystem::path Dir() const { return workdir.path().toStdString(); }

    // Starts km700sim and waits until it serves; false when it does not.
    bool StartSim(const QStringList& extra) {
        QStringList args{"--profile",    KM_SIM_PROFILE_DIR "/rev8_mobile.profile",
                         "--workdir",    workdir.path(),
                         "--com",        "3",
                         "--ready-file", workdir.filePath("ready"),
                         "--log",        workdir.filePath("sim.log"),
                         "--save",       workdir.filePath("radio.mem")};
        sim.start(KM700SIM_PATH, args + extra);
        return sim.waitForStarted() &&
               WaitFor([this] { return QFile::exists(workdir.filePath("ready")); });
    }

    QTemporaryDir workdir;
    QProcess sim;
};

TEST_F(SimOnPtyTest, ProgrammerTalksToTheRadioThroughComportsCfg) {
    ASSERT_TRUE(workdir.isValid());
    // A paced line that loses frames both ways: retransmissions carry the session through.
    ASSERT_TRUE(StartSim({"--pace", "--drop-in", "7", "--drop-out", "9"}))
        << ReadText(Dir() / "sim.log");
    const std::string device = ReadText(Dir() / "ready");
    EXPECT_NE(ReadText(Dir() / "comports.cfg").find("COM3=" + device), std::string::npos);

    constexpr std::uint16_t kContextBlock = 1536;  // trunk context data, sector 12
    Bytes data(512);
    for (std::size_t i = 0; i < data.size(); ++i) {
        data[i] = static_cast<std::uint8_t>(i ^ 0x5A);
    }
    {
        QtSerialPort port(ComPortsResolver(Dir()));
        QtTimerService timers;
        km::testing::ScriptedPerson person;
        DataLink link(port, timers, person);
        ProgrammingMessages messages(link, timers);
        SessionHost host(messages, {{Request::Identify},
                                    {Request::Read, 8, 128},
                                    {Request::Erase, 0, 0, 12},
                                    {Request::Write, kContextBlock, 512, 0, data},
                                    {Request::Read, kContextBlock, 512},
                                    {Request::End}});
        messages.SetHost(&host);
        ASSERT_TRUE(link.OpenRadioPort(2)) << (person.Texts().empty() ? "" : person.Texts()[0]);
        link.LinkReset();
        ASSERT_TRUE(WaitFor([&] { return link.State() == LinkState::Established; }))
            << ReadText(Dir() / "sim.log");
        host.RunStep();
        ASSERT_TRUE(WaitFor([&] { return host.Done() || host.pending == OperationKind::None; }))
            << ReadText(Dir() / "sim.log");
        ASSERT_TRUE(host.Done()) << ReadText(Dir() / "sim.log");
        EXPECT_EQ(host.typeCode, 0);
        ASSERT_EQ(host.reads.size(), 2u);
        EXPECT_EQ(Bytes(host.reads[0].begin() + 8, host.reads[0].begin() + 10), (Bytes{'A', '1'}));
        EXPECT_EQ(host.reads[1], data);
        WaitFor([] { return false; }, 300);  // the closing message leaves
        link.CloseRadioPort();
    }

    sim.terminate();
    ASSERT_TRUE(sim.waitForFinished(10000));
    EXPECT_EQ(sim.exitCode(), 0);
    const std::string log = ReadText(Dir() / "sim.log");
    EXPECT_NE(log.find("EraseRequest sector 12"), std::string::npos) << log;
    EXPECT_NE(log.find("EndProgramming"), std::string::npos) << log;
    EXPECT_NE(log.find("fault: frame from the programmer dropped"), std::string::npos) << log;
    EXPECT_NE(log.find("fault: frame to the programmer dropped"), std::string::npos) << log;
    EXPECT_EQ(log.find("FAULT"), std::string::npos) << log;
    EXPECT_EQ(log.find("flash fault"), std::string::npos) << log;
    EXPECT_EQ(ReadText(Dir() / "comports.cfg").find("COM3="), std::string::npos);

    Flash saved;
    ASSERT_TRUE(saved.LoadFrom(Dir() / "radio.mem"));
    EXPECT_EQ(saved.Read(kContextBlock * kBlockSize, data.size()), data);
}

TEST_F(SimOnPtyTest, RefusesBadCommandLines) {
    const struct {
        QStringList args;
        int exitCode;
        const char* says;
    } cases[] = {
        {{"--help"}, 0, "Usage: km700sim"},
        {{}, 2, "--profile is required"},
        {{"--profile", "x", "--com", "17"}, 2, "--com takes a number from 1 to 16"},
        {{"--profile", "x", "--corrupt", "2"}, 2, "--corrupt takes a probability"},
        {{"--profile", "x", "--bogus"}, 2, "unknown option --bogus"},
        {{"--profile", "/nonexistent.profile"}, 2, "cannot read"},
    };
    for (const auto& c : cases) {
        QProcess process;
        process.start(KM700SIM_PATH, c.args);
        ASSERT_TRUE(process.waitForFinished(10000));
        EXPECT_EQ(process.exitCode(), c.exitCode) << c.says;
        const QString output = process.readAllStandardOutput() + process.readAllStandardError();
        EXPECT_TRUE(output.contains(c.says)) << output.toStdString();
    }
}

}  // namespace
}  // namespace km::sim

#include <fcntl.h>
#include <pty.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QSocketNotifier>
#include <QTemporaryDir>
#include <fstream>

#include "ComPortMap.h"
#include "LinkHarness.h"
#include "QtSerialPort.h"
#include "QtTimers.h"

namespace km {
namespace {

using testing::Bytes;
using testing::Concat;
using testing::EncodeFrame;

QCoreApplication& App() {
    static int argc = 1;
    static char name[] = "adapter_tests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    return app;
}

// Runs the event loop until `done` holds; false if it never does (the test then fails).
bool WaitFor(const std::function<bool()>& done) {
    QDeadlineTimer deadline(20000);
    while (!done() && !deadline.hasExpired()) {
        App().processEvents(QEventLoop::AllEvents, 10);
    }
    return done();
}

// The radio on the master side of a pseudo-terminal: answers link requests, acknowledges
// transfers and answers an IdentifyRequest.
class PtyRadio {
  public:
    PtyRadio() {
        char name[256] = {};
        if (::openpty(&master_, &slave_, name, nullptr, nullptr) != 0) {
            return;
        }
        slaveName = name;
        termios raw{};
        ::tcgetattr(slave_, &raw);
        ::cfmakeraw(&raw);
        ::tcsetattr(slave_, TCSANOW, &raw);
        notifier_ = std::make_unique<QSocketNotifier>(master_, QSocketNotifier::Read);
        QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { OnReadable(); });
    }
    ~PtyRadio() { Hangup(); }
    bool Ok() const { return !slaveName.empty(); }
    // The far end goes away, as when a USB adapter is pulled out.
    void Hangup() {
        notifier_.reset();
        ::close(master_);
        ::close(slave_);
        master_ = slave_ = -1;
    }

    std::string slaveName;
    std::vector<Bytes> received;

  private:
    void Send(const Bytes& message) {
        const Bytes wire = EncodeFrame(message);
        ASSERT_EQ(::write(master_, wire.data(), wire.size()), static_cast<ssize_t>(wire.size()));
    }
    void OnReadable() {
        std::array<std::uint8_t, 512> buffer{};
        const ssize_t n = ::read(master_, buffer.data(), buffer.size());
        if (n <= 0) {
            return;
        }
        decoder_.Push(std::span<const std::uint8_t>(buffer.data(), static_cast<std::size_t>(n)));
        LinkMessageBuffer frame;
        while (decoder_.PopFrame(frame)) {
            const Bytes message(frame.Data().begin(), frame.Data().end());
            received.push_back(message);
            Answer(message);
        }
    }
    void Answer(const Bytes& message) {
        if (message.size() < 4) {
            return;
        }
        if (message[0] == kLinkRequest && !linked_) {
            linked_ = true;
            Send({kLinkRequest, 0x0E, 0x01, 0x01});
            Send({kLinkAcknowledge, 0x01, 0x01, 0x00});
        } else if (message[0] == kLinkTransfer) {
            Send({kLinkAcknowledge, static_cast<std::uint8_t>(message[1] + 1), 0x01, 0x00});
            if (Bytes(message.begin() + 4, message.end()) == IdentifyRequestMessage()) {
                Send({kLinkTransfer, sendSeq_++, 0x01, 0x00, 0x00, kIdentifyReply, 0x00, 0x04, 0x00,
                      0x01});
            }
        }
    }

    int master_ = -1;
    int slave_ = -1;
    std::unique_ptr<QSocketNotifier> notifier_;
    FrameDecoder decoder_;
    bool linked_ = false;
    std::uint8_t sendSeq_ = 1;
};

class PtyFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(radio.Ok());
        ASSERT_TRUE(folder.isValid());
        WriteConfig("COM3=" + radio.slaveName + "\nCOM5=" + Missing() + "\n");
    }
    void WriteConfig(const std::string& text) { std::ofstream(Path(kComPortsFileName)) << text; }
    std::filesystem::path Path(const std::string& name) const {
        return std::filesystem::path(folder.path().toStdString()) / name;
    }
    std::string Missing() const { return Path("no-such-device").string(); }

    QCoreApplication& app = App();  // before the radio's socket notifier
    PtyRadio radio;
    QTemporaryDir folder;
};

TEST_F(PtyFixture, LinkComesUpAndExchangesMessagesOverThePseudoTerminal) {
    QtSerialPort port(ComPortsResolver(Path("")));
    QtTimerService timers;
    testing::ScriptedPerson person;
    DataLink link(port, timers, person);
    ProgrammingMessages messages(link, timers);
    testing::FakeHost host;
    messages.SetHost(&host);
    int step = 1;
    int radioType = -1;
    host.step = [&] {
        if (step == 1 && messages.BeginSend() && messages.Identify()) {
            step = 2;
        } else if (step == 2 && messages.ReplyIs(kIdentifyReplyPrefix)) {
            radioType = messages.LastMessage()[3];
            messages.EndProgramming(true);
            step = 3;
        }
    };

    ASSERT_TRUE(link.OpenRadioPort(2));
    link.LinkReset();
    ASSERT_TRUE(WaitFor([&] { return link.State() == LinkState::Established; }));
    EXPECT_EQ(radio.received.front(), (Bytes{kLinkRequest, 0x0E, 0x01, 0x01}));
    host.RunStep();
    ASSERT_TRUE(WaitFor([&] { return !link.PortOpen(); }));
    EXPECT_EQ(radioType, 4);
    EXPECT_EQ(step, 3);
    EXPECT_TRUE(person.shown.empty());
    ASSERT_GE(radio.received.size(), 4u);
    EXPECT_EQ(Bytes(radio.received.back().begin() + 4, radio.received.back().end()),
              EndProgrammingMessage());
}

TEST_F(PtyFixture, OpenOutcomes) {
    QtSerialPort first(ComPortsResolver(Path("")));
    ASSERT_EQ(first.Open(2).outcome, OpenOutcome::Ok);
    QtSerialPort second(ComPortsResolver(Path("")));
    const OpenResult busy = second.Open(2);
    EXPECT_EQ(busy.outcome, OpenOutcome::InUse);
    EXPECT_EQ(busy.device, radio.slaveName);
    const OpenResult missing = second.Open(4);
    EXPECT_EQ(missing.outcome, OpenOutcome::DoesNotExist);
    EXPECT_EQ(missing.device, Missing());
    first.Close();
    EXPECT_EQ(second.Open(2).outcome, OpenOutcome::Ok);
}

TEST_F(PtyFixture, TheResolverNamesTheDeviceOfEveryOpen) {
    std::vector<int> asked;
    QtSerialPort port([&](int comIndex) {
        asked.push_back(comIndex);
        return radio.slaveName;
    });
    const OpenResult result = port.Open(9);
    EXPECT_EQ(result.outcome, OpenOutcome::Ok);
    EXPECT_EQ(result.device, radio.slaveName);
    EXPECT_EQ(asked, std::vector<int>{9});
}

TEST_F(PtyFixture, VanishedDeviceIsClosedAndReportedSoTheNextCommandOpensItAfresh) {
    QtSerialPort port(ComPortsResolver(Path("")));
    std::vector<PortError> errors;
    port.SetErrorOccurred([&](PortError error) { errors.push_back(error); });
    ASSERT_EQ(port.Open(2).outcome, OpenOutcome::Ok);
    radio.Hangup();
    EXPECT_TRUE(WaitFor([&] { return !port.IsOpen() && !errors.empty(); }));
    EXPECT_EQ(errors, std::vector<PortError>{PortError::DeviceGone});
    // A write to the closed port is not taken for sent bytes.
    port.Write(Bytes{1, 2, 3});
    EXPECT_EQ(errors, (std::vector<PortError>{PortError::DeviceGone, PortError::WriteFailed}));
}

TEST_F(PtyFixture, DeviceThisUserMayNotOpenIsReportedAsSuch) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root may open any device";
    }
    const auto locked = Path("locked-device");
    std::ofstream(locked) << "";
    ::chmod(locked.c_str(), 0);
    WriteConfig("COM7=" + locked.string() + "\n");
    QtSerialPort port(ComPortsResolver(Path("")));
    const OpenResult result = port.Open(6);
    EXPECT_EQ(result.outcome, OpenOutcome::NoPermission);
    EXPECT_EQ(result.device, locked.string());
}

}  // namespace
}  // namespace km

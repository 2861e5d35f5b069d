// COM Port OK in the main window against two pseudo-terminals: the radio port really moves to the
// chosen line (the link requests arrive there and stop on the old one), and a port that cannot be
// opened is reported with the old one closed.

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <QComboBox>
#include <QElapsedTimer>
#include <QPushButton>
#include <QtTest>
#include <fstream>
#include <memory>

#include "MainForm.h"
#include "OptionDialogs.h"
#include "QtSerialPort.h"
#include "ShellFixtures.h"
#include "link/DataLink.h"
#include "radio/RadioCommands.h"

using namespace km;
using namespace km::testing;

namespace {

constexpr std::uint8_t kSyn = 0x16;  // every frame the link sends starts with SYN

// The far end of a serial line: counts the frame starts that arrive.
class PtyLine {
  public:
    PtyLine() {
        std::array<char, 256> name{};
        if (::openpty(&master_, &slave_, name.data(), nullptr, nullptr) != 0) {
            return;
        }
        termios raw{};
        ::tcgetattr(slave_, &raw);
        ::cfmakeraw(&raw);
        ::tcsetattr(slave_, TCSANOW, &raw);
        ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
        device = name.data();
    }
    ~PtyLine() {
        ::close(master_);
        ::close(slave_);
    }
    // Frame starts received since the last call.
    int TakeFrames() {
        std::array<std::uint8_t, 512> buffer{};
        int frames = 0;
        ssize_t n = 0;
        while ((n = ::read(master_, buffer.data(), buffer.size())) > 0) {
            frames += static_cast<int>(std::count(buffer.begin(), buffer.begin() + n, kSyn));
        }
        return frames;
    }

    std::string device;

  private:
    int master_ = -1;
    int slave_ = -1;
};

// Runs the event loop for `ms` milliseconds.
void RunFor(int ms) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
}

}  // namespace

class ComPortTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<WorkDir> dir_;
    std::unique_ptr<Workspace> ws_;
    MainState state_;
    ShellPerson person_;
    ScriptedDialogs dialogs_;
    std::unique_ptr<PtyLine> first_;
    std::unique_ptr<PtyLine> second_;
    std::unique_ptr<TForm_MF_MainForm> window_;

    // COM1 and COM2 are the two lines, COM3 a device that does not exist.
    void Start() {
        std::ofstream(dir_->Path() / "comports.cfg")
            << "COM1=" << first_->device << "\nCOM2=" << second_->device
            << "\nCOM3=" << (dir_->Path() / "no-such-device").string() << "\n";
        window_ =
            std::make_unique<TForm_MF_MainForm>(*ws_, state_, person_, dialogs_, dir_->Path());
    }
    void ChoosePort(int row) {
        dialogs_.modal = {[row](QDialog& dialog) {
            dialog.findChild<QComboBox*>("ComboBox_COM_ComPort")->setCurrentIndex(row);
            dialog.findChild<QPushButton*>("BitBtn2")->click();
            return dialog.result();
        }};
        window_->Menu_Options_ComPortClick();
    }

  private slots:
    void init() {
        dir_ = std::make_unique<WorkDir>();
        ws_ = std::make_unique<Workspace>();
        state_ = MainState{};
        person_ = ShellPerson{};
        dialogs_ = ScriptedDialogs{};
        first_ = std::make_unique<PtyLine>();
        second_ = std::make_unique<PtyLine>();
        QVERIFY(!first_->device.empty() && !second_->device.empty());
    }

    void cleanup() {
        QCOMPARE(person_.unexpectedQuestions, 0);
        QCOMPARE(dialogs_.unexpectedDialogs, 0);
        window_.reset();
        first_.reset();
        second_.reset();
    }

    void okMovesTheRadioPortToTheChosenLine() {
        Start();
        QVERIFY(!window_->Radio().PortOpen());

        ChoosePort(1);
        QVERIFY(person_.shown.empty());
        QCOMPARE(window_->Setup().comPortIndex, 1);
        QVERIFY(window_->Radio().PortOpen());
        RunFor(1200);  // link requests every 500 ms
        QVERIFY(second_->TakeFrames() >= 2);
        QCOMPARE(first_->TakeFrames(), 0);

        ChoosePort(0);
        QVERIFY(window_->Radio().PortOpen());
        second_->TakeFrames();  // what left before the port closed
        RunFor(1200);
        QVERIFY(first_->TakeFrames() >= 2);
        QCOMPARE(second_->TakeFrames(), 0);

        QVERIFY(window_->close());
        QCOMPARE(ReadSetup(dir_->Path()).comPortIndex, 0);
    }

    void aPortThatCannotBeOpenedIsReportedAndTheOldOneClosed_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("message");
        QTest::newRow("does not exist") << 2 << QString(kPortDoesNotExistText);
        QTest::newRow("in use") << 1 << QString(kPortInUseText);
    }
    void aPortThatCannotBeOpenedIsReportedAndTheOldOneClosed() {
        QFETCH(int, row);
        QFETCH(QString, message);
        Start();
        ChoosePort(0);
        QVERIFY(window_->Radio().PortOpen());
        QtSerialPort otherProgram(ComPortsResolver(dir_->Path()));
        QCOMPARE(otherProgram.Open(1).outcome, OpenOutcome::Ok);

        ChoosePort(row);
        QCOMPARE(person_.Texts(), std::vector<std::string>{message.toStdString()});
        QCOMPARE(person_.shown.front().kind, BoxKind::Error);
        QCOMPARE(window_->Setup().comPortIndex, row);
        QVERIFY(!window_->Radio().PortOpen());
        first_->TakeFrames();
        RunFor(700);
        QCOMPARE(first_->TakeFrames(), 0);
    }
};

QTEST_MAIN(ComPortTest)
#include "ComPortTest.moc"

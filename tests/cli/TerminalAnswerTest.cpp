// The answer to a question of a radio operation typed at the terminal: read a line at a time while
// the program's events (the serial port, the link's timers) keep running.

#include "TerminalAnswer.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QTimer>
#include <string>
#include <string_view>

namespace km::cli {
namespace {

class TerminalAnswerTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_EQ(::pipe(fds_), 0); }
    void TearDown() override {
        CloseWriteEnd();
        ::close(fds_[0]);
    }
    void Type(std::string_view text) {
        ASSERT_EQ(::write(fds_[1], text.data(), text.size()), static_cast<ssize_t>(text.size()));
    }
    void CloseWriteEnd() {
        if (fds_[1] >= 0) {
            ::close(fds_[1]);
            fds_[1] = -1;
        }
    }
    int ReadEnd() const { return fds_[0]; }

  private:
    int argc_ = 1;
    char name_[8] = "test";
    char* argv_[2] = {name_, nullptr};
    QCoreApplication app_{argc_, argv_};
    int fds_[2] = {-1, -1};
};

TEST_F(TerminalAnswerTest, TimersKeepRunningUntilTheAnswerIsTyped) {
    int ticks = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] { ++ticks; });
    tick.start(5);
    QTimer::singleShot(100, [&] { Type("yes\r\nno\n"); });

    EXPECT_EQ(ReadAnswerLine(ReadEnd()), "yes");
    EXPECT_GT(ticks, 0);
    // A later question gets the next line, not what the first read might have buffered.
    EXPECT_EQ(ReadAnswerLine(ReadEnd()), "no");
}

TEST_F(TerminalAnswerTest, TheEndOfTheInputIsNoAnswerAndALastLineCountsWithoutItsLineEnd) {
    Type("maybe");
    CloseWriteEnd();
    EXPECT_EQ(ReadAnswerLine(ReadEnd()), "maybe");
    EXPECT_EQ(ReadAnswerLine(ReadEnd()), std::nullopt);
}

TEST_F(TerminalAnswerTest, AnOverlongLineIsCutAndTheNextLineStillReadWhole) {
    Type(std::string(1000, 'y') + "\nn\n");
    EXPECT_EQ(ReadAnswerLine(ReadEnd()), std::string(256, 'y'));
    EXPECT_EQ(ReadAnswerLine(ReadEnd()), "n");
}

}  // namespace
}  // namespace km::cli

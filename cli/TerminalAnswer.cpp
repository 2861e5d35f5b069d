#include "TerminalAnswer.h"

#include <unistd.h>

#include <QEventLoop>
#include <QSocketNotifier>
#include <cerrno>
#include <cstddef>

namespace km::cli {

namespace {
constexpr std::size_t kLongestLine = 256;
}  // namespace

std::optional<std::string> ReadAnswerLine(int fd) {
    QEventLoop loop;
    QSocketNotifier readable(fd, QSocketNotifier::Read);
    std::string line;
    bool ended = false;
    QObject::connect(&readable, &QSocketNotifier::activated, &loop, [&] {
        char c = 0;
        const ssize_t got = ::read(fd, &c, 1);
        if (got < 0 && (errno == EINTR || errno == EAGAIN)) {
            return;
        }
        if (got <= 0) {
            ended = true;
            loop.quit();
        } else if (c == '\n') {
            loop.quit();
        } else if (line.size() < kLongestLine) {
            line += c;
        }
    });
    loop.exec();
    readable.setEnabled(false);
    if (ended && line.empty()) {
        return std::nullopt;
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return line;
}

}  // namespace km::cli

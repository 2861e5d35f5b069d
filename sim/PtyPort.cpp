#include "sim/PtyPort.h"

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <climits>
#include <stdexcept>

namespace km::sim {

PtyPort::PtyPort() {
    std::array<char, PATH_MAX> name{};
    termios raw{};
    cfmakeraw(&raw);
    cfsetispeed(&raw, B19200);
    cfsetospeed(&raw, B19200);
    if (openpty(&master_, &slave_, name.data(), &raw, nullptr) != 0) {
        throw std::runtime_error("cannot open a pseudo-terminal");
    }
    path_ = name.data();
    fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
}

PtyPort::~PtyPort() {
    Hangup();
}

void PtyPort::Hangup() {
    if (master_ >= 0) {
        close(master_);
        close(slave_);
    }
    master_ = slave_ = -1;
    unsent_.clear();
}

OpenResult PtyPort::Open(int) {
    return {OpenOutcome::Ok, path_};
}

void PtyPort::Write(std::span<const std::uint8_t> bytes) {
    if (master_ < 0) {
        ReportError(PortError::WriteFailed);
        return;
    }
    unsent_.insert(unsent_.end(), bytes.begin(), bytes.end());
    WritePending();
}

void PtyPort::ReadAvailable() {
    std::array<std::uint8_t, 4096> buffer{};
    for (;;) {
        const ssize_t got = read(master_, buffer.data(), buffer.size());
        if (got <= 0) {
            return;  // nothing more for now (EAGAIN), or the other end is closed
        }
        Deliver(std::span<const std::uint8_t>(buffer).first(static_cast<std::size_t>(got)));
    }
}

void PtyPort::WritePending() {
    while (!unsent_.empty()) {
        const ssize_t put = write(master_, unsent_.data(), unsent_.size());
        if (put <= 0) {
            return;  // the terminal is full; the poll loop calls again when it has room
        }
        unsent_.erase(unsent_.begin(), unsent_.begin() + put);
    }
}

}  // namespace km::sim

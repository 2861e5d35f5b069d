#include "QtSerialPort.h"

#include <linux/serial.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <vector>

namespace km {

namespace {
// Tells a device this user may not open from one that is missing, before QSerialPort reports
// both kinds of refusal alike.
std::optional<OpenOutcome> CheckDeviceAccess(const std::string& device) {
    std::error_code ec;
    if (!std::filesystem::exists(device, ec)) {
        return OpenOutcome::DoesNotExist;
    }
    if (::access(device.c_str(), R_OK | W_OK) != 0 && (errno == EACCES || errno == EPERM)) {
        return OpenOutcome::NoPermission;
    }
    return std::nullopt;
}

// USB serial adapters hold received bytes back for a latency timer (often 16 ms) before they hand
// them on; on a link that waits for every acknowledgement that is paid on every frame. The
// driver is asked to hand them on at once. A driver that refuses, or a device that is no such
// serial port (a pseudo-terminal), is used as it is.
void AskForLowLatency(int fd) {
    serial_struct serial{};
    if (::ioctl(fd, TIOCGSERIAL, &serial) != 0) {
        return;
    }
    if ((serial.flags & ASYNC_LOW_LATENCY) == 0) {
        serial.flags |= ASYNC_LOW_LATENCY;
        static_cast<void>(::ioctl(fd, TIOCSSERIAL, &serial));
    }
}

OpenOutcome OutcomeOf(QSerialPort::SerialPortError error) {
    switch (error) {
        case QSerialPort::PermissionError:
            // Access was checked first, so this is another program's lock or exclusive use.
            return OpenOutcome::InUse;
        case QSerialPort::DeviceNotFoundError:
            return OpenOutcome::DoesNotExist;
        default:
            return OpenOutcome::OtherFailure;
    }
}
}  // namespace

QtSerialPort::QtSerialPort(DeviceResolver resolver, QObject* parent)
    : QObject(parent), resolver_(std::move(resolver)) {
    port_.setReadBufferSize(0);
    connect(&port_, &QSerialPort::readyRead, this, &QtSerialPort::OnReadyRead);
    connect(&port_, &QSerialPort::errorOccurred, this, &QtSerialPort::OnError);
}

QtSerialPort::~QtSerialPort() {
    Close();
}

OpenResult QtSerialPort::Open(int comIndex) {
    const std::string device = resolver_(comIndex);
    if (port_.isOpen()) {
        port_.close();
    }
    ++session_;
    if (const auto refused = CheckDeviceAccess(device)) {
        return {*refused, device};
    }
    device_ = device;
    port_.setPortName(QString::fromStdString(device));
    if (!port_.open(QIODevice::ReadWrite)) {
        return {OutcomeOf(port_.error()), device};
    }
    const bool configured =
        port_.setBaudRate(QSerialPort::Baud19200) && port_.setDataBits(QSerialPort::Data8) &&
        port_.setParity(QSerialPort::NoParity) && port_.setStopBits(QSerialPort::OneStop) &&
        port_.setFlowControl(QSerialPort::NoFlowControl);
    if (!configured) {
        port_.close();
        return {OpenOutcome::OtherFailure, device};
    }
    AskForLowLatency(static_cast<int>(port_.handle()));
    port_.clear();
    return {OpenOutcome::Ok, device};
}

void QtSerialPort::Close() {
    ++session_;
    if (port_.isOpen()) {
        port_.close();
    }
}

void QtSerialPort::Write(std::span<const std::uint8_t> bytes) {
    if (bytes.empty()) {
        return;
    }
    const qint64 size = static_cast<qint64>(bytes.size());
    if (!port_.isOpen() || port_.write(reinterpret_cast<const char*>(bytes.data()), size) != size) {
        ReportError(PortError::WriteFailed);
    }
}

std::size_t QtSerialPort::BytesToWrite() const {
    return port_.isOpen() ? static_cast<std::size_t>(port_.bytesToWrite()) : 0;
}

// A device that goes away (a USB adapter pulled out, the far end of a pseudo-terminal closed) or
// refuses a read or a write is closed at once, so that the error is not raised again and again
// and the next radio command opens the device afresh. The link hears of it from a queued call,
// after the bytes read before it, never from inside QSerialPort's own signal.
void QtSerialPort::OnError(QSerialPort::SerialPortError error) {
    PortError failure = PortError::DeviceGone;
    if (error == QSerialPort::ReadError) {
        failure = PortError::ReadFailed;
    } else if (error == QSerialPort::WriteError) {
        failure = PortError::WriteFailed;
    } else if (error != QSerialPort::ResourceError) {
        return;
    }
    if (!port_.isOpen()) {
        return;
    }
    // A read refused because the device has gone (the far end of a terminal closed, a USB
    // adapter unplugged) is a device gone.
    std::error_code ec;
    if (failure == PortError::ReadFailed && !std::filesystem::exists(device_, ec)) {
        failure = PortError::DeviceGone;
    }
    port_.close();
    QMetaObject::invokeMethod(
        this,
        [this, failure, session = session_] {
            if (session == session_) {
                ++session_;
                ReportError(failure);
            }
        },
        Qt::QueuedConnection);
}

void QtSerialPort::OnReadyRead() {
    QByteArray bytes = port_.readAll();
    if (bytes.isEmpty()) {
        return;
    }
    QMetaObject::invokeMethod(
        this,
        [this, bytes = std::move(bytes), session = session_] {
            if (session != session_) {
                return;
            }
            Deliver(std::span<const std::uint8_t>(
                reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                static_cast<std::size_t>(bytes.size())));
        },
        Qt::QueuedConnection);
}

}  // namespace km

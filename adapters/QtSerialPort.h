#pragma once
// The radio's serial port on QSerialPort: 19200 baud, 8 data bits, no parity, 1 stop bit, no
// flow control. Bytes arrive on the Qt event loop (readyRead) and are handed to the link from a
// queued call of their own, never from inside readyRead: what the link runs with them may open a
// modal box, and QSerialPort emits no readyRead while one of its own is still running, so the
// radio would go unheard (its answers to the keep-alives included) for as long as the box is up.

#include <QObject>
#include <QSerialPort>
#include <memory>

#include "ComPortMap.h"
#include "link/SerialPort.h"

namespace km {

class QtSerialPort : public QObject, public SerialPort {
    Q_OBJECT
  public:
    // `resolver` names the device of a COM index at every open: ComPortsResolver for the
    // COM numbers of the settings, or one device path handed straight through.
    explicit QtSerialPort(DeviceResolver resolver, QObject* parent = nullptr);
    ~QtSerialPort() override;

    OpenResult Open(int comIndex) override;
    void Close() override;
    bool IsOpen() const override { return port_.isOpen(); }
    void Write(std::span<const std::uint8_t> bytes) override;
    std::size_t BytesToWrite() const override;

  private:
    void OnReadyRead();
    void OnError(QSerialPort::SerialPortError error);

    DeviceResolver resolver_;
    QSerialPort port_;
    std::string device_;  // the device of the last open
    // Counts opens and closes: bytes read before one are not handed on after it.
    unsigned session_ = 0;
};

}  // namespace km

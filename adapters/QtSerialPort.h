#pragma once
// The radio's serial port on QSerialPort: 19200 baud, 8 data bits, no parity, 1 stop bit, no
// flow control. Bytes arrive on the Qt event loop (readyRead) and are handed to the link there.

#include <QObject>
#include <QSerialPort>
#include <filesystem>
#include <memory>

#include "link/SerialPort.h"

namespace km {

class QtSerialPort : public QObject, public SerialPort {
    Q_OBJECT
  public:
    // COM numbers are mapped to devices with comports.cfg in `configFolder` (ComPortMap.h).
    explicit QtSerialPort(std::filesystem::path configFolder = std::filesystem::current_path(),
                          QObject* parent = nullptr);
    ~QtSerialPort() override;

    OpenResult Open(int comIndex) override;
    void Close() override;
    bool IsOpen() const override { return port_.isOpen(); }
    void Write(std::span<const std::uint8_t> bytes) override;
    std::size_t BytesToWrite() const override;

  private:
    void OnReadyRead();

    std::filesystem::path configFolder_;
    QSerialPort port_;
};

}  // namespace km

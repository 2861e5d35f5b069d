#pragma once
// The virtual radio's end of a pseudo-terminal. The programmer opens the other end (the device
// path) as its serial port; the radio keeps that end open too, so the terminal lives on while
// the programmer closes and reopens its port between operations.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "link/SerialPort.h"

namespace km::sim {

class PtyPort : public SerialPort {
  public:
    PtyPort();  // throws std::runtime_error when no pseudo-terminal can be had
    ~PtyPort() override;
    PtyPort(const PtyPort&) = delete;
    PtyPort& operator=(const PtyPort&) = delete;

    const std::string& DevicePath() const { return path_; }
    int Fd() const { return master_; }

    OpenResult Open(int comIndex) override;
    void Close() override {}
    bool IsOpen() const override { return master_ >= 0; }
    void Write(std::span<const std::uint8_t> bytes) override;
    std::size_t BytesToWrite() const override { return unsent_.size(); }

    // The radio goes away: the terminal closes, as when a radio is switched off or its USB
    // adapter is pulled out; nothing more is read or written.
    void Hangup();

    // Called by the poll loop when the terminal has bytes or room for more.
    void ReadAvailable();
    void WritePending();

  private:
    int master_ = -1;
    int slave_ = -1;
    std::string path_;
    std::vector<std::uint8_t> unsent_;
};

}  // namespace km::sim

#pragma once
// The serial port as the radio link sees it: open a numbered port (COM1..COM16 as index 0..15)
// at 19200 baud 8N1 without flow control, close it, write bytes, and be told when bytes arrive.
// The desktop and command-line programs implement it on QSerialPort; tests use an in-memory
// wire (WirePair) or a pseudo-terminal. Data is always delivered on the program's one thread.
// A port that fails (its device gone, a read or a write refused) closes itself and says so: the
// link hears it as an event, never as a port that has just fallen silent.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace km {

enum class OpenOutcome {
    Ok,
    InUse,         // another program holds the port
    DoesNotExist,  // no such device
    NoPermission,  // the device exists but this user may not open it
    OtherFailure,
};

// Why an open port stopped working.
enum class PortError {
    DeviceGone,  // the device went away: a USB adapter pulled out, the far end of a terminal closed
    ReadFailed,  // the system refused a read
    WriteFailed,  // the system refused a write, or bytes were written to a closed port
};

struct OpenResult {
    OpenOutcome outcome = OpenOutcome::OtherFailure;
    std::string device;  // the device the COM number stands for, for messages
};

class SerialPort {
  public:
    using DataAvailable = std::function<void(std::span<const std::uint8_t>)>;
    using ErrorOccurred = std::function<void(PortError)>;

    virtual ~SerialPort() = default;

    // Opens COM(comIndex + 1).
    virtual OpenResult Open(int comIndex) = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
    // Bytes written to a closed port are not sent: the port reports WriteFailed.
    virtual void Write(std::span<const std::uint8_t> bytes) = 0;
    // Bytes handed to Write that have not yet left for the line.
    virtual std::size_t BytesToWrite() const { return 0; }

    // Called with every chunk of bytes that arrives while the port is open.
    void SetDataAvailable(DataAvailable callback) { dataAvailable_ = std::move(callback); }
    // Called once the port has failed and closed itself; after every byte that came before.
    void SetErrorOccurred(ErrorOccurred callback) { errorOccurred_ = std::move(callback); }

  protected:
    void Deliver(std::span<const std::uint8_t> bytes) {
        if (dataAvailable_ && !bytes.empty()) {
            dataAvailable_(bytes);
        }
    }

    void ReportError(PortError error) {
        if (errorOccurred_) {
            errorOccurred_(error);
        }
    }

  private:
    DataAvailable dataAvailable_;
    ErrorOccurred errorOccurred_;
};

}  // namespace km

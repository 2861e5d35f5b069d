#pragma once
// The programming messages carried inside link transfers, and the three transactions built from
// them: reading a stretch of radio memory, writing one, and erasing a flash sector.
//
// Every message starts with 0x00 and an operation code; numbers are high byte first. Radio
// operations are numbered-step machines: the OperationHost runs the step function of whichever
// operation is pending whenever a reply arrives or the link grants credit. The step discipline
// every operation follows:
//
//   a step that must send:    if (!messages.BeginSend()) return;  // no credit: Ready is set and
//                             if (!messages.Identify()) return;  //   the step runs again later;
//                             step = 2;                          //   a refusal has been reported
//   a step that waits:        if (!messages.ReplyIs(kIdentifyReplyPrefix)) return;
//
// Replies and credit never re-enter a running step: what arrives while a step is running (say,
// with a question box open) waits until that step has returned. A watchdog reports a radio that
// keeps the link up but does not answer a request (10 s, 30 s for an erase) through CommsFailed.
//
// A read collects its data pieces with AcceptReadData; a write fills WriteBuffer, calls
// StartWrite and then SendWindowOpen, and is called again when the radio has taken it all.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "link/DataLink.h"
#include "link/OperationKind.h"
#include "link/Timers.h"

namespace km {

// Operation codes.
inline constexpr std::uint8_t kIdentifyRequest = 0x67;
inline constexpr std::uint8_t kReadRequest = 0x6E;
inline constexpr std::uint8_t kWriteBlock = 0x70;
inline constexpr std::uint8_t kEraseRequest = 0x74;
inline constexpr std::uint8_t kInfoRequest = 0x6B;
inline constexpr std::uint8_t kEndProgramming = 0x38;
inline constexpr std::uint8_t kIdentifyReply = 0x7A;
inline constexpr std::uint8_t kReadData = 0x81;
inline constexpr std::uint8_t kEraseDone = 0x87;
inline constexpr std::uint8_t kInfoReply = 0x7E;

// The first bytes a step compares with the reply it waits for.
inline constexpr std::array<std::uint8_t, 2> kIdentifyReplyPrefix{0x00, kIdentifyReply};
inline constexpr std::array<std::uint8_t, 2> kReadDataPrefix{0x00, kReadData};
inline constexpr std::array<std::uint8_t, 2> kInfoReplyPrefix{0x00, kInfoReply};
inline constexpr std::array<std::uint8_t, 6> kEraseDoneReply{0x00, kEraseDone, 0x00,
                                                             0x00, 0x00,       0x01};
// Replies carry two 16-bit fields after the code; their payload starts at byte 6.
inline constexpr std::size_t kReplyHeader = 6;

inline constexpr std::size_t kWriteBufferSize = 16384;
inline constexpr std::size_t kWriteDataBlock = 128;

// Operations that a link request from the radio abandons with the serial communications error.
bool AbandonedByRadioLinkRequest(OperationKind operation);

// How long the radio may stay silent while a step waits for its reply.
inline constexpr TimerSetting kReplyWatchdog{"ReplyWatchdog", 10000};
inline constexpr int kEraseReplyWaitMs = 30000;

using Message = std::vector<std::uint8_t>;
Message IdentifyRequestMessage();
Message ReadRequestMessage(std::uint16_t block, std::uint16_t size);
Message EraseRequestMessage(std::uint8_t sector);
Message InfoRequestMessage(std::uint8_t item);
Message EndProgrammingMessage();
Message WriteHeaderMessage(std::uint16_t dataBlocks, std::uint16_t startBlock);
Message WriteDataMessage(std::uint16_t sequence,
                         std::span<const std::uint8_t, kWriteDataBlock> data);
Message WriteEndMessage();

// ReadData messages expected for a read of `size` bytes: the header, the data pieces of 128
// bytes and the end message.
int ExpectedReadMessages(std::uint16_t size);

// What the message layer needs from the radio operations.
class OperationHost {
  public:
    virtual ~OperationHost() = default;
    virtual OperationKind PendingOperation() const = 0;
    // Runs the step function of the pending operation.
    virtual void RunStep() = 0;
    // The link was reset: every operation's step returns to 0.
    virtual void ResetSteps() = 0;
    // A data block of a write went out (the operation's progress bar advances).
    virtual void AdvanceProgress() {}
    // The radio asked for a new link during a read, programming or software upgrade: close the
    // progress window, let the pending operation go, reset the link, beep, and show
    // kSerialCommsErrorText.
    virtual void RadioRequestedLink() = 0;
    // The radio kept the link up but did not answer in time, or a request could not be queued:
    // end the operation through AbortOperation with kSerialCommsErrorText.
    virtual void CommsFailed() = 0;
    // The serial port failed under a running operation (its device gone, a read or a write
    // refused) and has been closed: the operation ends as after CommsFailed.
    virtual void PortFailed(PortError) { CommsFailed(); }
    // The person has asked to cancel an operation that stops only between write blocks: the
    // next block is not sent, and StopForCancel ends the operation instead.
    virtual bool CancelPending() const { return false; }
    // The link has been established: an operation waiting for it may start now.
    virtual void LinkEstablished() {}
    virtual void StopForCancel() {}
};

enum class ReadProgress {
    NotReadData,  // the message is not a ReadData (the step keeps waiting)
    Counted,      // one more piece taken
    Complete,     // the last piece has arrived; Ready is set
    Overflow,     // the radio sent more than was asked for; end the operation
};

class ProgrammingMessages : public LinkClient {
  public:
    ProgrammingMessages(DataLink& link, TimerService& timers);
    ProgrammingMessages(const ProgrammingMessages&) = delete;
    ProgrammingMessages& operator=(const ProgrammingMessages&) = delete;
    ~ProgrammingMessages() override;

    void SetHost(OperationHost* host) { host_ = host; }
    // Runs a step from outside the link (the link poll starting an operation) under the same
    // rule as replies: nothing the radio sends re-enters the step while it runs.
    void RunStepFromOutside(const std::function<void()>& step) { link_.RunAsUpwardCall(step); }

    // Step discipline: true (Ready cleared) when the radio grants credit for a request now;
    // false (Ready set) when the step must wait for SendWindowOpen to run it again.
    bool BeginSend();
    bool Ready() const { return ready_; }

    // Requests. Each hands the message to the link and runs a link step so that it goes out at
    // once when credit allows. False when the transmit queue refused it; the host has then been
    // told (CommsFailed) and the step just returns.
    [[nodiscard]] bool QueueRequest(std::span<const std::uint8_t> message);
    [[nodiscard]] bool Identify();
    // Reads `size` bytes from `block` into `destination`, which must hold at least `size`
    // bytes; nothing past `size` is ever written there. The radio may send up to `size` rounded
    // up to 128 (a padded last piece): the bytes past `size` are dropped.
    [[nodiscard]] bool StartRead(std::uint16_t block, std::uint16_t size,
                                 std::span<std::uint8_t> destination);
    [[nodiscard]] bool EraseSector(std::uint8_t sector);
    [[nodiscard]] bool RequestInfo(std::uint8_t item);
    // The last message of an operation; with closePort the port closes once it has gone.
    void EndProgramming(bool closePort);

    // Writing: fill WriteBuffer (all of it is sent as it stands, in 128-byte blocks), call
    // StartWrite, then SendWindowOpen to send the header.
    std::span<std::uint8_t, kWriteBufferSize> WriteBuffer() { return writeBuffer_; }
    void StartWrite(std::uint16_t block, std::uint16_t size);
    bool WriteInProgress() const { return writing_; }

    // The last message received (from its leading 0x00), and helpers for the steps.
    std::span<const std::uint8_t> LastMessage() const { return lastMessage_; }
    bool ReplyIs(std::span<const std::uint8_t> prefix) const;
    // The bytes after the two 16-bit fields; empty for a message of 6 bytes or fewer.
    std::span<const std::uint8_t> Payload() const;
    // Called by a read step for the last message: counts a ReadData and stores its payload.
    ReadProgress AcceptReadData();
    int ReadMessagesExpected() const { return readExpected_; }
    std::size_t ReadBytesStored() const { return readStored_; }

    // From the data link.
    void MessageReceived(std::span<const std::uint8_t> transfer) override;
    void SendWindowOpen() override;
    void LinkWasReset() override;
    void RadioRequestedLink() override;
    void PortFailed(PortError error) override;
    void LinkEstablished() override;

  private:
    void SendNextWriteBlock();
    void ArmWatchdog(int ms);
    void DisarmWatchdog();
    void OnWatchdog();
    void Fail();

    DataLink& link_;
    OperationHost* host_ = nullptr;
    std::unique_ptr<Timer> watchdog_;
    int watchdogMs_ = 0;
    bool ready_ = false;

    std::vector<std::uint8_t> lastMessage_;

    std::span<std::uint8_t> readDestination_;
    std::size_t readCapacity_ = 0;  // the size asked for, rounded up to 128
    int readExpected_ = 0;
    int readReceived_ = 0;
    std::size_t readArrived_ = 0;  // data bytes the radio has sent
    std::size_t readStored_ = 0;   // of them, the bytes kept (at most the size asked for)
    std::size_t readSize_ = 0;

    std::array<std::uint8_t, kWriteBufferSize> writeBuffer_{};
    bool writing_ = false;
    int writeBlocks_ = 0;
    int writeIndex_ = 0;
    std::uint16_t writeStart_ = 0;
    std::uint16_t writeSequence_ = 0;
};

}  // namespace km

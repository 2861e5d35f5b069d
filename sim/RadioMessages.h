#pragma once
// The radio's side of the programming messages. Every message starts with 0x00 and an operation
// code; 16-bit numbers are high byte first. The handler answers one request at a time with the
// replies the radio sends back, in order:
//   IdentifyRequest  -> IdentifyReply 00 7A 00 <type code> 00 <option board flag>
//   ReadRequest      -> ReadData: a header (sequence 0, echoing block and size), the data in
//                       pieces of 128 bytes (sequences 1..n, the last piece shorter when the
//                       size is not a multiple of 128, unless the radio pads it), and an end
//                       message 00 81 00 00 00 00
//   WriteBlock       -> nothing: the header opens a write, data blocks are programmed into flash
//                       as they arrive, the end block closes the write
//   EraseRequest     -> EraseDone 00 87 00 00 00 01 <sector>, after the erase time
//   InfoRequest      -> InfoReply 00 7E 00 <item> <length> <text>
//   EndProgramming   -> nothing
// Malformed requests are answered with nothing and recorded as protocol faults.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "sim/Flash.h"

namespace km::sim {

namespace op {
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
}  // namespace op

inline constexpr std::size_t kPieceSize = 128;
inline constexpr std::size_t kMaxPieceSize = 238;  // the most a link transfer of one frame holds
inline constexpr std::size_t kMessageHeader = 6;

struct Reply {
    std::vector<std::uint8_t> message;
    int delayMs = 0;  // time the radio is busy before it sends this reply
};

// What the radio tells about itself.
struct RadioAnswers {
    std::uint8_t typeCode = 0;
    bool optionBoard = false;
    int eraseTimeMs = 50;
    std::string info3;
    std::string info6;
    // Data bytes per ReadData piece: 128 as the programmer expects, or another size to see how
    // it copes with a radio that cuts its data differently (at most 238, a full frame).
    std::size_t readPieceSize = kPieceSize;
    // A radio may send the last piece of a read whole: up to the next 128-byte boundary, with
    // whatever its memory holds past the size asked for.
    bool padReads = false;
};

class MessageHandler {
  public:
    using Log = std::function<void(const std::string&)>;

    MessageHandler(Flash& flash, RadioAnswers answers, Log log);

    std::vector<Reply> Handle(std::span<const std::uint8_t> message);

    // Protocol faults: malformed requests, data blocks outside a write, incomplete writes.
    const std::vector<std::string>& ProtocolFaults() const { return protocolFaults_; }
    bool WriteOpen() const { return write_.open; }
    int EndProgrammingCount() const { return endProgrammingCount_; }

  private:
    struct WriteTransaction {
        bool open = false;
        std::size_t blockCount = 0;
        std::size_t startBlock = 0;
        std::vector<bool> received;
    };

    std::vector<Reply> Identify();
    std::vector<Reply> Read(std::span<const std::uint8_t> message);
    void Write(std::span<const std::uint8_t> message);
    void WriteHeader(std::size_t blockCount, std::size_t startBlock);
    void WriteData(std::size_t sequence, std::span<const std::uint8_t> data);
    void WriteEnd();
    std::vector<Reply> Erase(std::span<const std::uint8_t> message);
    std::vector<Reply> Info(std::span<const std::uint8_t> message);
    void Fault(const std::string& text);

    Flash& flash_;
    RadioAnswers answers_;
    Log log_;
    WriteTransaction write_;
    std::vector<std::string> protocolFaults_;
    int endProgrammingCount_ = 0;
};

// Reads a big-endian 16-bit number at `offset` of a message; the caller checks the length.
std::uint16_t MessageU16(std::span<const std::uint8_t> message, std::size_t offset);
// A short name of a request for the log ("ReadRequest block 7 size 512").
std::string DescribeMessage(std::span<const std::uint8_t> message);

}  // namespace km::sim

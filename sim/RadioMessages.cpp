#include "sim/RadioMessages.h"

#include <algorithm>
#include <sstream>

#include "sim/Flash.h"

namespace km::sim {

namespace {

constexpr std::size_t kReadRequestSize = 10;
constexpr std::size_t kEraseRequestSize = 7;
constexpr std::size_t kInfoRequestSize = 3;
constexpr std::size_t kWriteHeaderSize = 10;
constexpr std::uint8_t kInfoItemVersion = 3;
constexpr std::uint8_t kInfoItemIdentity = 6;
constexpr std::size_t kMaxInfoText = 120;

void PutU16(std::vector<std::uint8_t>& bytes, std::uint16_t value) {
    bytes.push_back(static_cast<std::uint8_t>(value >> 8));
    bytes.push_back(static_cast<std::uint8_t>(value & 0xFF));
}

std::vector<std::uint8_t> ReplyHead(std::uint8_t code, std::uint16_t first, std::uint16_t second) {
    std::vector<std::uint8_t> message{0x00, code};
    PutU16(message, first);
    PutU16(message, second);
    return message;
}

}  // namespace

std::uint16_t MessageU16(std::span<const std::uint8_t> message, std::size_t offset) {
    return static_cast<std::uint16_t>(message[offset] << 8 | message[offset + 1]);
}

std::string DescribeMessage(std::span<const std::uint8_t> message) {
    if (message.size() < 2) {
        return "short message";
    }
    std::ostringstream text;
    switch (message[1]) {
        case op::kIdentifyRequest:
            return "IdentifyRequest";
        case op::kReadRequest:
            if (message.size() >= kReadRequestSize) {
                text << "ReadRequest block " << MessageU16(message, 6) << " size "
                     << MessageU16(message, 8);
                return text.str();
            }
            return "ReadRequest (short)";
        case op::kWriteBlock:
            if (message.size() >= kMessageHeader) {
                text << "WriteBlock sequence " << MessageU16(message, 2) << " length "
                     << MessageU16(message, 4);
                return text.str();
            }
            return "WriteBlock (short)";
        case op::kEraseRequest:
            if (message.size() >= kEraseRequestSize) {
                return "EraseRequest sector " + std::to_string(message[6]);
            }
            return "EraseRequest (short)";
        case op::kInfoRequest:
            if (message.size() >= kInfoRequestSize) {
                return "InfoRequest item " + std::to_string(message[2]);
            }
            return "InfoRequest (short)";
        case op::kEndProgramming:
            return "EndProgramming";
        default:
            text << "unknown message 0x" << std::hex << static_cast<int>(message[1]);
            return text.str();
    }
}

MessageHandler::MessageHandler(Flash& flash, RadioAnswers answers, Log log)
    : flash_(flash), answers_(std::move(answers)), log_(std::move(log)) {}

std::vector<Reply> MessageHandler::Handle(std::span<const std::uint8_t> message) {
    if (message.size() < 2 || message[0] != 0x00) {
        Fault("message without the leading 00 and an operation code");
        return {};
    }
    log_(DescribeMessage(message));
    switch (message[1]) {
        case op::kIdentifyRequest:
            return Identify();
        case op::kReadRequest:
            return Read(message);
        case op::kWriteBlock:
            Write(message);
            return {};
        case op::kEraseRequest:
            return Erase(message);
        case op::kInfoRequest:
            return Info(message);
        case op::kEndProgramming:
            ++endProgrammingCount_;
            if (write_.open) {
                Fault("programming ended inside an open write");
                write_.open = false;
            }
            return {};
        default:
            Fault("unknown request " + DescribeMessage(message));
            return {};
    }
}

std::vector<Reply> MessageHandler::Identify() {
    std::vector<std::uint8_t> reply{0x00, op::kIdentifyReply,
                                    0x00, answers_.typeCode,
                                    0x00, static_cast<std::uint8_t>(answers_.optionBoard ? 1 : 0)};
    return {{reply, 0}};
}

std::vector<Reply> MessageHandler::Read(std::span<const std::uint8_t> message) {
    if (message.size() < kReadRequestSize) {
        Fault("ReadRequest shorter than 10 bytes");
        return {};
    }
    const std::size_t block = MessageU16(message, 6);
    const std::size_t size = MessageU16(message, 8);
    std::vector<Reply> replies;
    std::vector<std::uint8_t> header = ReplyHead(op::kReadData, 0, 4);
    PutU16(header, static_cast<std::uint16_t>(block));
    PutU16(header, static_cast<std::uint16_t>(size));
    replies.push_back({header, 0});
    const std::size_t sent =
        answers_.padReads ? (size + kPieceSize - 1) / kPieceSize * kPieceSize : size;
    const std::vector<std::uint8_t> data = flash_.Read(Flash::BlockAddress(block), sent);
    const std::size_t pieceSize = std::clamp<std::size_t>(answers_.readPieceSize, 1, kMaxPieceSize);
    for (std::size_t from = 0, sequence = 1; from < sent; from += pieceSize, ++sequence) {
        const std::size_t length = std::min(pieceSize, sent - from);
        std::vector<std::uint8_t> piece =
            ReplyHead(op::kReadData, static_cast<std::uint16_t>(sequence),
                      static_cast<std::uint16_t>(length));
        piece.insert(piece.end(), data.begin() + static_cast<std::ptrdiff_t>(from),
                     data.begin() + static_cast<std::ptrdiff_t>(from + length));
        replies.push_back({std::move(piece), 0});
    }
    replies.push_back({ReplyHead(op::kReadData, 0, 0), 0});
    return replies;
}

void MessageHandler::Write(std::span<const std::uint8_t> message) {
    if (message.size() < kMessageHeader) {
        Fault("WriteBlock shorter than 6 bytes");
        return;
    }
    const std::size_t sequence = MessageU16(message, 2);
    const std::size_t length = MessageU16(message, 4);
    if (sequence == 0 && length == 0) {
        WriteEnd();
    } else if (sequence == 0) {
        if (length != 4 || message.size() < kWriteHeaderSize) {
            Fault("write header without block count and start block");
            return;
        }
        WriteHeader(MessageU16(message, 6), MessageU16(message, 8));
    } else {
        const auto data = message.subspan(kMessageHeader);
        if (data.size() != length) {
            Fault("data block " + std::to_string(sequence) + " announces " +
                  std::to_string(length) + " bytes and carries " + std::to_string(data.size()));
        }
        WriteData(sequence, data.first(std::min(length, data.size())));
    }
}

void MessageHandler::WriteHeader(std::size_t blockCount, std::size_t startBlock) {
    if (write_.open) {
        Fault("a new write began before the previous one ended");
    }
    write_ = {true, blockCount, startBlock, std::vector<bool>(blockCount, false)};
    log_("write of " + std::to_string(blockCount) + " data blocks to block " +
         std::to_string(startBlock));
}

void MessageHandler::WriteData(std::size_t sequence, std::span<const std::uint8_t> data) {
    if (!write_.open) {
        Fault("data block " + std::to_string(sequence) + " outside a write");
        return;
    }
    if (sequence > write_.blockCount || data.size() > kPieceSize) {
        Fault("data block " + std::to_string(sequence) + " outside the announced " +
              std::to_string(write_.blockCount) + " blocks");
        return;
    }
    if (write_.received[sequence - 1]) {
        Fault("data block " + std::to_string(sequence) + " written twice");
    }
    write_.received[sequence - 1] = true;
    const std::size_t faultsBefore = flash_.Faults().size();
    flash_.Program(Flash::BlockAddress(write_.startBlock) + (sequence - 1) * kPieceSize, data);
    for (std::size_t i = faultsBefore; i < flash_.Faults().size(); ++i) {
        log_("FAULT " + Describe(flash_.Faults()[i]));
    }
}

void MessageHandler::WriteEnd() {
    if (!write_.open) {
        Fault("write end without a write");
        return;
    }
    const auto received = std::count(write_.received.begin(), write_.received.end(), true);
    if (static_cast<std::size_t>(received) != write_.blockCount) {
        Fault("write to block " + std::to_string(write_.startBlock) + " ended after " +
              std::to_string(received) + " of " + std::to_string(write_.blockCount) +
              " data blocks");
    }
    write_.open = false;
}

std::vector<Reply> MessageHandler::Erase(std::span<const std::uint8_t> message) {
    if (message.size() < kEraseRequestSize) {
        Fault("EraseRequest shorter than 7 bytes");
        return {};
    }
    const std::uint8_t sector = message[6];
    const std::size_t faultsBefore = flash_.Faults().size();
    flash_.EraseSector(sector);
    for (std::size_t i = faultsBefore; i < flash_.Faults().size(); ++i) {
        log_("FAULT " + Describe(flash_.Faults()[i]));
    }
    std::vector<std::uint8_t> done = ReplyHead(op::kEraseDone, 0, 1);
    done.push_back(sector);
    return {{done, answers_.eraseTimeMs}};
}

std::vector<Reply> MessageHandler::Info(std::span<const std::uint8_t> message) {
    if (message.size() < kInfoRequestSize) {
        Fault("InfoRequest without an item");
        return {};
    }
    const std::uint8_t item = message[2];
    std::string text;
    if (item == kInfoItemVersion) {
        text = answers_.info3;
    } else if (item == kInfoItemIdentity) {
        text = answers_.info6;
    }
    text.resize(std::min(text.size(), kMaxInfoText));
    std::vector<std::uint8_t> reply =
        ReplyHead(op::kInfoReply, item, static_cast<std::uint16_t>(text.size()));
    reply.insert(reply.end(), text.begin(), text.end());
    return {{reply, 0}};
}

void MessageHandler::Fault(const std::string& text) {
    protocolFaults_.push_back(text);
    log_("FAULT " + text);
}

}  // namespace km::sim

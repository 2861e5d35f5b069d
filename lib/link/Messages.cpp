#include "link/Messages.h"

#include <algorithm>
#include <stdexcept>

namespace km {

namespace {
void AppendU16(Message& message, std::uint16_t value) {
    message.push_back(static_cast<std::uint8_t>(value >> 8));
    message.push_back(static_cast<std::uint8_t>(value & 0xFF));
}

int DataBlocksFor(std::uint16_t size) {
    // A write of size 0 still carries one data block.
    return size == 0
               ? 1
               : (size + static_cast<int>(kWriteDataBlock) - 1) / static_cast<int>(kWriteDataBlock);
}

bool IsReplyCode(std::uint8_t code) {
    return code == kIdentifyReply || code == kInfoReply || code == kReadData || code == kEraseDone;
}
}  // namespace

bool AbandonedByRadioLinkRequest(OperationKind operation) {
    return operation == OperationKind::UpgradeSoftware ||
           operation == OperationKind::ProgramTrunk || operation == OperationKind::ReadTrunk ||
           operation == OperationKind::ProgramPmr || operation == OperationKind::ReadPmr;
}

Message IdentifyRequestMessage() {
    return {0x00, kIdentifyRequest, 0x01, 0x01, 0x00, 0x00};
}

Message ReadRequestMessage(std::uint16_t block, std::uint16_t size) {
    Message message{0x00, kReadRequest, 0x00, 0x00, 0x00, 0x04};
    AppendU16(message, block);
    AppendU16(message, size);
    return message;
}

Message EraseRequestMessage(std::uint8_t sector) {
    return {0x00, kEraseRequest, 0x00, 0x00, 0x00, 0x01, sector};
}

Message InfoRequestMessage(std::uint8_t item) {
    return {0x00, kInfoRequest, item};
}

Message EndProgrammingMessage() {
    return {0x00, kEndProgramming, 0x00, 0x00, 0x00, 0x00};
}

Message WriteHeaderMessage(std::uint16_t dataBlocks, std::uint16_t startBlock) {
    Message message{0x00, kWriteBlock, 0x00, 0x00, 0x00, 0x04};
    AppendU16(message, dataBlocks);
    AppendU16(message, startBlock);
    return message;
}

Message WriteDataMessage(std::uint16_t sequence,
                         std::span<const std::uint8_t, kWriteDataBlock> data) {
    Message message{0x00, kWriteBlock};
    AppendU16(message, sequence);
    AppendU16(message, static_cast<std::uint16_t>(kWriteDataBlock));
    message.insert(message.end(), data.begin(), data.end());
    return message;
}

Message WriteEndMessage() {
    return {0x00, kWriteBlock, 0x00, 0x00, 0x00, 0x00};
}

int ExpectedReadMessages(std::uint16_t size) {
    return (size + static_cast<int>(kWriteDataBlock) - 1) / static_cast<int>(kWriteDataBlock) + 2;
}

ProgrammingMessages::ProgrammingMessages(DataLink& link, TimerService& timers) : link_(link) {
    watchdog_ = timers.CreateTimer(kReplyWatchdog.name, [this] { OnWatchdog(); });
    link_.SetClient(this);
}

ProgrammingMessages::~ProgrammingMessages() {
    link_.SetClient(nullptr);
}

bool ProgrammingMessages::BeginSend() {
    ready_ = !link_.WindowOpen();
    return !ready_;
}

bool ProgrammingMessages::QueueRequest(std::span<const std::uint8_t> message) {
    if (!link_.QueueMessage(message)) {
        Fail();
        return false;
    }
    link_.LinkStep();
    return true;
}

bool ProgrammingMessages::Identify() {
    ArmWatchdog(kReplyWatchdog.intervalMs);
    return QueueRequest(IdentifyRequestMessage());
}

bool ProgrammingMessages::StartRead(std::uint16_t block, std::uint16_t size,
                                    std::span<std::uint8_t> destination) {
    if (destination.size() < size) {
        throw std::invalid_argument("read destination smaller than the read");
    }
    readDestination_ = destination.first(size);
    readCapacity_ = static_cast<std::size_t>(DataBlocksFor(size)) * kWriteDataBlock;
    readExpected_ = ExpectedReadMessages(size);
    readReceived_ = 0;
    readArrived_ = 0;
    readStored_ = 0;
    readSize_ = size;
    ArmWatchdog(kReplyWatchdog.intervalMs);
    return QueueRequest(ReadRequestMessage(block, size));
}

bool ProgrammingMessages::EraseSector(std::uint8_t sector) {
    ArmWatchdog(kEraseReplyWaitMs);
    return QueueRequest(EraseRequestMessage(sector));
}

bool ProgrammingMessages::RequestInfo(std::uint8_t item) {
    ArmWatchdog(kReplyWatchdog.intervalMs);
    return QueueRequest(InfoRequestMessage(item));
}

void ProgrammingMessages::EndProgramming(bool closePort) {
    DisarmWatchdog();
    static_cast<void>(QueueRequest(EndProgrammingMessage()));
    if (closePort) {
        link_.ClosePortWhenSent();
    }
}

void ProgrammingMessages::StartWrite(std::uint16_t block, std::uint16_t size) {
    if (size > kWriteBufferSize) {
        throw std::invalid_argument("write larger than the write buffer");
    }
    DisarmWatchdog();  // each block is acknowledged by the link itself
    writeBlocks_ = DataBlocksFor(size);
    writeIndex_ = 1;
    writeStart_ = block;
    writing_ = true;
}

bool ProgrammingMessages::ReplyIs(std::span<const std::uint8_t> prefix) const {
    return lastMessage_.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), lastMessage_.begin());
}

std::span<const std::uint8_t> ProgrammingMessages::Payload() const {
    if (lastMessage_.size() <= kReplyHeader) {
        return {};
    }
    return std::span<const std::uint8_t>(lastMessage_).subspan(kReplyHeader);
}

ReadProgress ProgrammingMessages::AcceptReadData() {
    if (!ReplyIs(kReadDataPrefix) || lastMessage_.size() < kReplyHeader || readExpected_ == 0) {
        return ReadProgress::NotReadData;
    }
    ++readReceived_;
    const auto payload = Payload();
    // The first message is the header; its payload is not data.
    if (readReceived_ > 1) {
        // A radio may pad its last piece to the whole 128-byte block: what lies past the size
        // asked for is dropped. More than the padded size is a radio gone wrong.
        if (payload.size() > readCapacity_ - readArrived_) {
            readExpected_ = 0;
            return ReadProgress::Overflow;
        }
        const std::size_t kept = std::min(payload.size(), readDestination_.size() - readStored_);
        std::copy_n(payload.begin(), kept,
                    readDestination_.begin() + static_cast<std::ptrdiff_t>(readStored_));
        readStored_ += kept;
        readArrived_ += payload.size();
    }
    // The end message (no payload after the header) also ends the read, so a radio that cuts
    // its data into other pieces does not leave the operation waiting.
    // The message count alone is not enough: a radio that cuts its data into smaller pieces
    // reaches it before all the data has arrived.
    const bool endMessage = readReceived_ > 1 && payload.empty();
    const bool countReached = readReceived_ >= readExpected_ && readArrived_ >= readSize_;
    if (countReached || endMessage) {
        readExpected_ = 0;
        ready_ = true;
        return ReadProgress::Complete;
    }
    return ReadProgress::Counted;
}

void ProgrammingMessages::MessageReceived(std::span<const std::uint8_t> transfer) {
    if (transfer.size() < kTransferHeader + 2) {
        return;  // too short to carry a message
    }
    const auto message = transfer.subspan(kTransferHeader);
    if (!IsReplyCode(message[1]) || !host_ || host_->PendingOperation() == OperationKind::None) {
        return;
    }
    lastMessage_.assign(message.begin(), message.end());
    if (watchdog_->IsActive()) {
        ArmWatchdog(watchdogMs_);
    }
    host_->RunStep();
}

void ProgrammingMessages::SendWindowOpen() {
    if (ready_) {
        if (host_ && host_->PendingOperation() != OperationKind::None) {
            host_->RunStep();
            return;
        }
        ready_ = false;  // left over from an operation that has ended
    }
    if (!writing_) {
        link_.LinkStep();
        return;
    }
    // The window may have closed again while this call waited behind another.
    if (!link_.WindowOpen()) {
        return;
    }
    SendNextWriteBlock();
}

void ProgrammingMessages::SendNextWriteBlock() {
    if (host_ && host_->CancelPending()) {
        // The radio has taken every block sent so far: the write stops here, as a lost radio's.
        writing_ = false;
        host_->StopForCancel();
        return;
    }
    Message block;
    if (writeIndex_ == 1) {
        writeSequence_ = 0;
        block = WriteHeaderMessage(static_cast<std::uint16_t>(writeBlocks_), writeStart_);
    } else if (writeIndex_ <= writeBlocks_ + 1) {
        ++writeSequence_;
        const std::size_t offset = (writeSequence_ - 1u) * kWriteDataBlock;
        block =
            WriteDataMessage(writeSequence_, std::span<const std::uint8_t, kWriteDataBlock>(
                                                 writeBuffer_.data() + offset, kWriteDataBlock));
        if (host_) {
            host_->AdvanceProgress();
        }
    } else if (writeIndex_ == writeBlocks_ + 2) {
        block = WriteEndMessage();
    } else {
        // The radio has acknowledged the end block: the operation goes on with its next step.
        writing_ = false;
        if (host_) {
            host_->RunStep();
        }
        return;
    }
    ++writeIndex_;
    static_cast<void>(QueueRequest(block));
}

void ProgrammingMessages::LinkWasReset() {
    // A reset abandons every transaction: no stale write block may go out on the next link.
    DisarmWatchdog();
    ready_ = false;
    writing_ = false;
    readExpected_ = 0;
    if (host_) {
        host_->ResetSteps();
    }
}

void ProgrammingMessages::PortFailed(PortError error) {
    // Nothing of the running transaction can arrive or go out any more.
    DisarmWatchdog();
    ready_ = false;
    writing_ = false;
    readExpected_ = 0;
    if (host_ && host_->PendingOperation() != OperationKind::None) {
        host_->PortFailed(error);
    }
}

void ProgrammingMessages::LinkEstablished() {
    if (host_) {
        host_->LinkEstablished();
    }
}

void ProgrammingMessages::RadioRequestedLink() {
    if (host_ && AbandonedByRadioLinkRequest(host_->PendingOperation())) {
        host_->RadioRequestedLink();
    }
}

void ProgrammingMessages::ArmWatchdog(int ms) {
    watchdogMs_ = ms;
    watchdog_->Start(ms);
}

void ProgrammingMessages::DisarmWatchdog() {
    watchdog_->Stop();
}

void ProgrammingMessages::OnWatchdog() {
    if (link_.InUpwardCall()) {
        // A step is still running (asking the person something): it is not waiting for the radio.
        return;
    }
    DisarmWatchdog();
    Fail();
}

void ProgrammingMessages::Fail() {
    if (host_ && host_->PendingOperation() != OperationKind::None) {
        host_->CommsFailed();
    }
}

}  // namespace km

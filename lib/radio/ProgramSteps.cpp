#include "radio/ProgramSteps.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "config/MobMap.h"
#include "config/RadioTypes.h"
#include "radio/VirtualRadioMark.h"

namespace km {

namespace {

constexpr int kBandRecordEntry = 3;
constexpr const char* kCheckingBandText = "Checking Band. ";
constexpr const char* kCheckingRadioTypeText = "Checking current radio type. ";
constexpr int kRadioTypeProgressTotal = 25;
constexpr std::uint16_t kAreaHeadSize = 128;

JobRadioType RadioTypeOfRow(int row) {
    if (row < 0 || row >= kRadioTypeRowCount) {
        return {};
    }
    const RadioTypeRow& entry = kRadioTypeRows[static_cast<std::size_t>(row)];
    return {entry.RadioTypeMask, entry.PortableGeneration};
}

}  // namespace

JobRadioType JobRadioTypeOf(const TrunkJobImage& job) {
    return RadioTypeOfRow(LoadTrunkHeader(job).radioTypeRow);
}

JobRadioType JobRadioTypeOf(const PmrJobImage& job) {
    return RadioTypeOfRow(LoadPmrHeader(job).radioTypeRow);
}

int ChosenVersionNumber(const std::string& versionText) {
    int number = 0;
    for (const char c : versionText) {
        if (std::isdigit(static_cast<unsigned char>(c))) {
            number = number * 10 + (c - '0');
        }
    }
    return number;
}

std::optional<CodeImage> ReadCodeFileFor(const std::filesystem::path& path, int entry,
                                         Person& person) {
    auto image = ReadCodeFile(path, person);
    if (!image) {
        return std::nullopt;
    }
    // A file named for one area but holding another kind of code must not reach that area.
    const auto type = CodeTypeOf(image->description.codeType);
    if (!type || type->fitEntry != entry) {
        person.Error(kUnknownCodeFileText);
        return std::nullopt;
    }
    return image;
}

// ---- Queueing ----

void ProgrammingMachine::Queue(Action action) {
    actions_.push_back(std::move(action));
}

void ProgrammingMachine::ThenIdentify(int step, const char* secureText) {
    Action action;
    action.kind = Kind::Identify;
    action.step = step;
    action.secureText = secureText;
    Queue(std::move(action));
}

void ProgrammingMachine::ThenRead(int step, std::uint16_t block, std::uint16_t size,
                                  std::span<std::uint8_t> destination, std::string status) {
    Action action;
    action.kind = Kind::Read;
    action.step = step;
    action.block = block;
    action.size = size;
    action.destination = destination;
    action.status = std::move(status);
    Queue(std::move(action));
}

void ProgrammingMachine::ThenErase(int step, std::uint8_t sector, std::string status) {
    Action action;
    action.kind = Kind::Erase;
    action.step = step;
    action.sector = sector;
    action.status = std::move(status);
    Queue(std::move(action));
}

void ProgrammingMachine::ThenInfo(int step, std::uint8_t item, std::string status) {
    Action action;
    action.kind = Kind::Info;
    action.step = step;
    action.sector = item;
    action.status = std::move(status);
    Queue(std::move(action));
}

void ProgrammingMachine::ThenWrite(int step, std::uint16_t block, std::size_t size,
                                   std::function<std::span<const std::uint8_t>()> source,
                                   std::string status) {
    Action action;
    action.kind = Kind::Write;
    action.step = step;
    action.block = block;
    action.size = std::min(size, kWriteBufferSize);
    action.source = std::move(source);
    action.status = std::move(status);
    Queue(std::move(action));
}

void ProgrammingMachine::ThenWriteScratch(int step, std::uint16_t block, std::size_t size,
                                          std::size_t offset, std::string status) {
    ThenWrite(
        step, block, size,
        [this, offset]() -> std::span<const std::uint8_t> {
            const ScratchBuffer& scratch = Scratch();
            return scratch.Region(offset,
                                  std::min(kWriteBufferSize, ScratchBuffer::kSize - offset));
        },
        std::move(status));
}

void ProgrammingMachine::ThenDo(int step, Work work) {
    Action action;
    action.kind = Kind::Work;
    action.step = step;
    action.work = std::move(work);
    Queue(std::move(action));
}

void ProgrammingMachine::ThenWriteCodePieces(int step, std::uint16_t block,
                                             const WriteRegions& regions, std::size_t pieces,
                                             const std::string& status) {
    for (std::size_t piece = 0; piece < pieces; ++piece) {
        ThenWriteScratch(step + static_cast<int>(piece),
                         static_cast<std::uint16_t>(block + piece * kCodeSlotBlocks),
                         regions.WriteRegionLength[piece], piece * kCodePieceSize, status);
    }
}

// ---- Running ----

void ProgrammingMachine::Run(std::span<const std::uint8_t> message) {
    if (message.empty()) {
        // Started by the link poll.
        actions_.clear();
        phase_ = Phase::Idle;
        completed_ = false;
        fit_.fill(FitEntry{});
        virtualRadioFiles_.clear();
        Begin();
        Advance();
        return;
    }
    if (phase_ == Phase::Sending) {
        SendAction();  // the radio has granted credit
        return;
    }
    if (phase_ == Phase::Waiting && ActionDone(message)) {
        Advance();
    }
}

void ProgrammingMachine::Complete() {
    completed_ = true;
    host_.FinishOperation();
}

void ProgrammingMachine::Advance() {
    while (step_ != 0) {
        if (actions_.empty()) {
            phase_ = Phase::Idle;
            return;
        }
        current_ = std::move(actions_.front());
        actions_.pop_front();
        step_ = current_.step;
        if (!current_.status.empty()) {
            GetProgress().SetProgressText(current_.status);
        }
        if (current_.kind != Kind::Work) {
            StartAction();
            return;
        }
        // What the work queues runs next, before the actions queued earlier.
        std::deque<Action> rest = std::move(actions_);
        actions_.clear();
        const Work work = current_.work;
        if (!work() || step_ == 0) {
            return;
        }
        std::move(rest.begin(), rest.end(), std::back_inserter(actions_));
    }
}

void ProgrammingMachine::StartAction() {
    phase_ = Phase::Waiting;
    switch (current_.kind) {
        case Kind::Identify:
            RequestIdentify(current_.step);
            return;
        case Kind::Read:
            StartRead(current_.block, static_cast<std::uint16_t>(current_.size),
                      current_.destination, current_.step);
            return;
        case Kind::Erase:
        case Kind::Info:
        case Kind::Write:
            phase_ = Phase::Sending;
            SendAction();
            return;
        case Kind::Work:
            return;
    }
}

void ProgrammingMachine::SendAction() {
    ProgrammingMessages& messages = host_.Messages();
    if (!messages.BeginSend()) {
        return;  // run again when the radio grants credit
    }
    phase_ = Phase::Waiting;
    switch (current_.kind) {
        case Kind::Erase:
            static_cast<void>(messages.EraseSector(current_.sector));
            return;
        case Kind::Info:
            static_cast<void>(messages.RequestInfo(current_.sector));
            return;
        case Kind::Write: {
            const auto source = current_.source();
            const auto buffer = messages.WriteBuffer();
            const std::size_t n = std::min(source.size(), buffer.size());
            std::copy_n(source.begin(), n, buffer.begin());
            std::fill(buffer.begin() + static_cast<std::ptrdiff_t>(n), buffer.end(), 0xFF);
            messages.StartWrite(current_.block, static_cast<std::uint16_t>(current_.size));
            messages.SendWindowOpen();
            return;
        }
        case Kind::Identify:
        case Kind::Read:
        case Kind::Work:
            return;
    }
}

bool ProgrammingMachine::ActionDone(std::span<const std::uint8_t> message) {
    ProgrammingMessages& messages = host_.Messages();
    switch (current_.kind) {
        case Kind::Identify:
            if (!messages.ReplyIs(kIdentifyReplyPrefix) ||
                !HandleIdentify(message, current_.secureText)) {
                return false;
            }
            GetProgress().ProgressStep();
            return true;
        case Kind::Read:
            return CollectRead() == ReadProgress::Complete;
        case Kind::Erase:
            return messages.ReplyIs(kEraseDoneReply);
        case Kind::Info:
            return messages.ReplyIs(kInfoReplyPrefix);
        case Kind::Write:
            return !messages.WriteInProgress();
        case Kind::Work:
            return false;
    }
    return false;
}

// ---- The opening of trunk and PMR programming ----

FitEntry ProgrammingMachine::Entry(int index) const {
    return fit_[static_cast<std::size_t>(index)];
}

bool ProgrammingMachine::TakeErasableArea(int index, std::uint32_t extraBlocks) {
    const FitEntry entry = Entry(index);
    if (CodeAreaUsable(entry) && BlockUsable(entry.block, extraBlocks)) {
        return true;
    }
    host_.GetPerson().Error(kFitErrorText);
    host_.AbortOperation(AbortReason::Quiet);
    return false;
}

bool ProgrammingMachine::TakeArea(int index) {
    if (BlockUsable(Entry(index).block)) {
        return true;
    }
    host_.GetPerson().Error(kFitErrorText);
    host_.AbortOperation(AbortReason::Quiet);
    return false;
}

void ProgrammingMachine::NoteVirtualRadioFile(const std::string& name) {
    if (std::find(virtualRadioFiles_.begin(), virtualRadioFiles_.end(), name) ==
        virtualRadioFiles_.end()) {
        virtualRadioFiles_.push_back(name);
    }
}

std::optional<CodeImage> ProgrammingMachine::ReadCode(const std::filesystem::path& path,
                                                      int entry) {
    auto code = ReadCodeFileFor(path, entry, host_.GetPerson());
    if (code && VirtualRadioBuild(code->description)) {
        NoteVirtualRadioFile(path.filename().string());
    }
    return code;
}

bool ProgrammingMachine::VirtualRadioFilesAllowed() {
    if (virtualRadioFiles_.empty() || host_.Identity().VirtualRadio) {
        return true;
    }
    std::string names;
    for (const std::string& name : virtualRadioFiles_) {
        names += (names.empty() ? "" : ", ") + name;
    }
    std::array<char, 512> text{};
    std::snprintf(text.data(), text.size(), kVirtualRadioFileFormat, names.c_str());
    host_.GetPerson().Error(text.data());
    host_.AbortOperation(AbortReason::Quiet);
    return false;
}

void ProgrammingMachine::ThenIdentifyRadio(const char* secureText, std::uint16_t jobBand,
                                           int codeEntry, Work afterBand, Work chooseSoftware) {
    IdentificationBuffer& id = host_.IdBuffer();
    ThenIdentify(2, secureText);
    ThenRead(3, kFitBlock, kFitSize, id.Region(0, kFitSize), "Identifying Radio. ");
    ThenDo(3, [this, &id, jobBand, codeEntry, afterBand, chooseSoftware] {
        if (!FitValid()) {
            return false;
        }
        if (FitFromVirtualRadioFile(id, host_.Identity())) {
            NoteVirtualRadioFile(kFitFileName);
        }
        // Later reads reuse the identification buffer: the table is kept aside.
        for (int i = 1; i <= kFitEntries; ++i) {
            fit_[static_cast<std::size_t>(i)] = FitEntryAt(id, i);
        }
        std::uint16_t block = 0;
        if (!TakeFitBlock(kBandRecordEntry, 0, block) ||
            !TakeFitBlock(kStartupCodeEntry, 0, block) || !TakeFitBlock(codeEntry, 0, block)) {
            return false;
        }
        ThenRead(4, Entry(kBandRecordEntry).block, kBandRecordSize, id.Region(0, kBandRecordSize),
                 kCheckingBandText);
        ThenDo(4, [this, &id, jobBand, codeEntry, afterBand, chooseSoftware] {
            if (!BandAccepted(jobBand) || !VirtualRadioFilesAllowed() || !afterBand()) {
                return false;
            }
            ThenDo(5, [this] {
                GetProgress().SetProgressTotal(kRadioTypeProgressTotal);
                return true;
            });
            ThenRead(6, Entry(kStartupCodeEntry).block, kAreaHeadSize, id.Region(0, kAreaHeadSize),
                     kCheckingRadioTypeText);
            ThenDo(6, [this, &id] {
                startupPlace_ =
                    LocateDescriptor(id.Region(0, ReadBytes()), Entry(kStartupCodeEntry).block);
                return true;
            });
            ThenRead(7, Entry(codeEntry).block, kAreaHeadSize, id.Region(0, kAreaHeadSize));
            ThenDo(7, [this, &id, codeEntry, chooseSoftware] {
                codePlace_ = LocateDescriptor(id.Region(0, ReadBytes()), Entry(codeEntry).block);
                QueueDescriptorRead(8, startupPlace_, startupDescriptor_);
                QueueDescriptorRead(9, codePlace_, codeDescriptor_);
                ThenDo(9, chooseSoftware);
                return true;
            });
            return true;
        });
        return true;
    });
}

// A descriptor the radio does not have reads as "Undefined"; one it has is read (768 bytes, so
// that the 64 bytes are whole wherever in the block they start) and kept.
void ProgrammingMachine::QueueDescriptorRead(int step,
                                             const std::optional<DescriptorLocation>& place,
                                             CodeDescriptor& descriptor) {
    descriptor = UndefinedDescriptor();
    if (!place) {
        return;
    }
    IdentificationBuffer& id = host_.IdBuffer();
    ThenRead(step, place->block, kDescriptorReadSize, id.Region(0, kDescriptorReadSize));
    ThenDo(step, [this, &id, &descriptor, offset = place->offset] {
        descriptor = TakeDescriptor(id.Region(0, ReadBytes()), offset);
        return true;
    });
}

}  // namespace km

#include "radio/Operation.h"

#include <algorithm>
#include <chrono>

#include "link/DataLink.h"
#include "radio/CommandStatus.h"
#include "radio/ProgramPmr.h"
#include "radio/ProgramTrunk.h"
#include "radio/RadioInfo.h"
#include "radio/ReadRadio.h"
#include "radio/Upgrade.h"

namespace km {

namespace {

constexpr int kPollTicksBeforeGivingUp = 10;
// The ending of a command is over once the event loop has run again.
constexpr TimerSetting kCommandEndingTimer{"CommandEndingTimer", 1};

}  // namespace

std::int64_t SteadyNowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

Answer ReportingPerson::Show(BoxKind kind, std::string_view text, Buttons buttons) {
    if ((kind == BoxKind::Error || kind == BoxKind::Warning) && noted_) {
        noted_(text);
    }
    return person_.Show(kind, text, buttons);
}

// ---- StepMachine: queueing ----

void StepMachine::Queue(Action action) {
    actions_.push_back(std::move(action));
}

void StepMachine::ThenIdentify(const char* secureText) {
    ThenIdentify([this, secureText](std::span<const std::uint8_t> message) {
        return HandleIdentify(message, secureText);
    });
}

void StepMachine::ThenIdentify(ReplyCheck accepts) {
    Action action;
    action.kind = Kind::Identify;
    action.accepts = std::move(accepts);
    Queue(std::move(action));
}

void StepMachine::ThenRead(std::uint16_t block, std::uint16_t size,
                           std::span<std::uint8_t> destination, std::string status,
                           PieceWatch watch) {
    Action action;
    action.kind = Kind::Read;
    action.block = block;
    action.size = size;
    action.destination = destination;
    action.status = std::move(status);
    action.watch = std::move(watch);
    Queue(std::move(action));
}

void StepMachine::ThenErase(std::uint8_t sector, std::string status) {
    Action action;
    action.kind = Kind::Erase;
    action.sector = sector;
    action.status = std::move(status);
    Queue(std::move(action));
}

void StepMachine::ThenInfo(std::uint8_t item, std::string status) {
    Action action;
    action.kind = Kind::Info;
    action.sector = item;
    action.status = std::move(status);
    Queue(std::move(action));
}

void StepMachine::ThenWrite(std::uint16_t block, std::size_t size,
                            std::function<std::span<const std::uint8_t>()> source,
                            std::string status) {
    Action action;
    action.kind = Kind::Write;
    action.block = block;
    action.size = std::min(size, kWriteBufferSize);
    action.source = std::move(source);
    action.status = std::move(status);
    Queue(std::move(action));
}

void StepMachine::ThenWriteScratch(std::uint16_t block, std::size_t size, std::size_t offset,
                                   std::string status) {
    ThenWrite(
        block, size,
        [this, offset]() -> std::span<const std::uint8_t> {
            return Scratch().Region(offset,
                                    std::min(kWriteBufferSize, ScratchBuffer::kSize - offset));
        },
        std::move(status));
}

void StepMachine::ThenDo(Work work) {
    Action action;
    action.kind = Kind::Work;
    action.work = std::move(work);
    Queue(std::move(action));
}

void StepMachine::ThenReadFit(Work afterFit, PieceWatch watch) {
    ThenRead(kFitBlock, kFitSize, IdBuffer().Region(0, kFitSize), "Identifying Radio. ",
             std::move(watch));
    ThenDo([this, afterFit = std::move(afterFit)] {
        if (!FitValid()) {
            return false;
        }
        for (int i = 1; i <= kFitEntries; ++i) {
            fit_[static_cast<std::size_t>(i)] = FitEntryAt(IdBuffer(), i);
        }
        return afterFit();
    });
}

// ---- StepMachine: running ----

void StepMachine::Start() {
    running_ = true;
    actions_.clear();
    phase_ = Phase::Idle;
    completed_ = false;
    fit_.fill(FitEntry{});
    Begin();
    Advance();
}

void StepMachine::Stop() {
    running_ = false;
    actions_.clear();
    phase_ = Phase::Idle;
}

void StepMachine::RunStep() {
    if (!running_) {
        return;
    }
    if (phase_ == Phase::Sending) {
        SendAction();  // the radio has granted credit
        return;
    }
    if (phase_ == Phase::Waiting && ActionDone(host_.Messages().LastMessage())) {
        Advance();
    }
}

void StepMachine::Advance() {
    while (running_) {
        if (actions_.empty()) {
            phase_ = Phase::Idle;
            return;
        }
        current_ = std::move(actions_.front());
        actions_.pop_front();
        if (!current_.status.empty()) {
            GetProgress().SetProgressText(current_.status);
        }
        if (current_.kind != Kind::Work) {
            phase_ = Phase::Sending;
            SendAction();
            return;
        }
        // What the work queues runs next, before the actions queued earlier.
        std::deque<Action> rest = std::move(actions_);
        actions_.clear();
        const Work work = current_.work;
        if (!work() || !running_) {
            return;
        }
        std::move(rest.begin(), rest.end(), std::back_inserter(actions_));
    }
}

void StepMachine::SendAction() {
    if (host_.CancelPending()) {
        host_.StopForCancel();  // the last action is done: nothing more goes to the radio
        return;
    }
    ProgrammingMessages& messages = host_.Messages();
    if (!messages.BeginSend()) {
        return;  // run again when the radio grants credit
    }
    phase_ = Phase::Waiting;
    // A request the link refuses has ended the operation already (CommsFailed).
    switch (current_.kind) {
        case Kind::Identify:
            static_cast<void>(messages.Identify());
            return;
        case Kind::Read:
            static_cast<void>(messages.StartRead(
                current_.block, static_cast<std::uint16_t>(current_.size), current_.destination));
            return;
        case Kind::Erase:
            static_cast<void>(messages.EraseSector(current_.sector));
            return;
        case Kind::Info:
            static_cast<void>(messages.RequestInfo(current_.sector));
            return;
        case Kind::Write: {
            if (current_.source) {
                const auto source = current_.source();
                const auto buffer = messages.WriteBuffer();
                const std::size_t n = std::min(source.size(), buffer.size());
                std::copy_n(source.begin(), n, buffer.begin());
                std::fill(buffer.begin() + static_cast<std::ptrdiff_t>(n), buffer.end(), 0xFF);
            }
            messages.StartWrite(current_.block, static_cast<std::uint16_t>(current_.size));
            messages.SendWindowOpen();
            return;
        }
        case Kind::Work:
            return;
    }
}

bool StepMachine::ActionDone(std::span<const std::uint8_t> message) {
    ProgrammingMessages& messages = host_.Messages();
    switch (current_.kind) {
        case Kind::Identify:
            return messages.ReplyIs(kIdentifyReplyPrefix) && current_.accepts(message);
        case Kind::Read:
            return ReadPieceTaken();
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

// Feeds the reply to the running read. A radio that sends more than was asked for ends the
// operation with the serial communications error (the excess never reaches the destination).
bool StepMachine::ReadPieceTaken() {
    const ReadProgress progress = host_.Messages().AcceptReadData();
    if (progress == ReadProgress::NotReadData) {
        return false;
    }
    if (progress == ReadProgress::Overflow) {
        host_.AbortOperation(AbortReason::CommsError);
        return false;
    }
    GetProgress().ProgressStep();
    if (current_.watch && !current_.watch(progress)) {
        return false;
    }
    return progress == ReadProgress::Complete;
}

void StepMachine::Complete(const std::function<void()>& beforeClose) {
    completed_ = true;
    GetProgress().ProgressDone();
    host_.FinishOperation(beforeClose);
}

// ---- StepMachine: what every operation shares ----

std::size_t StepMachine::ReadBytes() const {
    return host_.Messages().ReadBytesStored();
}

void StepMachine::StartCounting(int total) {
    GetProgress().SetProgressTotal(total);
    GetProgress().SetProgressCounter(0);
}

Progress& StepMachine::GetProgress() {
    return host_.GetProgress();
}

ScratchBuffer& StepMachine::Scratch() {
    return host_.GetWorkspace().scratch;
}

IdentificationBuffer& StepMachine::IdBuffer() {
    return host_.IdBuffer();
}

bool StepMachine::HandleIdentify(std::span<const std::uint8_t> message, const char* secureText) {
    switch (DecodeIdentifyReply(message, host_.Identity())) {
        case IdentifyOutcome::NotAnIdentifyReply:
            return false;
        case IdentifyOutcome::UnknownType:
            host_.GetPerson().Error(kUnknownRadioTypeText);
            host_.AbortOperation(AbortReason::Quiet);
            return false;
        case IdentifyOutcome::Identified:
            break;
    }
    if (host_.Identity().Secure && secureText != nullptr) {
        host_.GetPerson().Error(secureText);
        host_.AbortOperation();
        return false;
    }
    return true;
}

bool StepMachine::FitValid() {
    if (ValidateFit(IdBuffer(), host_.Identity(), host_.Context().dataFolders)) {
        return true;
    }
    // Nothing read so far may reach a job.
    Scratch().FillRegion(0, 65536, 0);
    host_.FailWithMessage(kMissingFitText);
    return false;
}

FitEntry StepMachine::Entry(int index) const {
    return fit_[static_cast<std::size_t>(index)];
}

bool StepMachine::TakeArea(int index, std::uint32_t extraBlocks) {
    if (BlockUsable(Entry(index).block, extraBlocks)) {
        return true;
    }
    host_.GetPerson().Error(kFitErrorText);
    host_.AbortOperation(AbortReason::Quiet);
    return false;
}

// ---- RadioOperations ----

namespace {

template <typename Machine>
Machine* Add(RadioOperations& operations, OperationKind operation) {
    auto machine = std::make_unique<Machine>(operations);
    Machine* added = machine.get();
    operations.Register(operation, std::move(machine));
    return added;
}

}  // namespace

RadioOperations::RadioOperations(RadioContext context, DataLink& link,
                                 ProgrammingMessages& messages, TimerService& timers)
    : env_(std::move(context)),
      person_(env_.person, [this](std::string_view text) { BoxShown(text); }),
      link_(link),
      messages_(messages) {
    pollTimer_ = timers.CreateTimer(kLinkPollTimer.name, [this] { LinkPollTick(); });
    endingTimer_ = timers.CreateTimer(kCommandEndingTimer.name, [this] {
        endingTimer_->Stop();
        command_.reported = OperationKind::None;
    });
    env_.progress.SetCloseHandler([this] { ProgressClosed(); });
    env_.progress.SetCancelHandler([this] { CancelRequested(); });
    messages_.SetHost(this);
    Add<TrunkRead>(*this, OperationKind::ReadTrunk);
    Add<PmrRead>(*this, OperationKind::ReadPmr);
    Add<RadioInfoMachine>(*this, OperationKind::RadioInformation);
    trunkProgramming_ = Add<ProgramTrunk>(*this, OperationKind::ProgramTrunk);
    pmrProgramming_ = Add<ProgramPmr>(*this, OperationKind::ProgramPmr);
    upgrade_ = Add<Upgrade>(*this, OperationKind::UpgradeSoftware);
}

RadioOperations::~RadioOperations() {
    messages_.SetHost(nullptr);
    env_.progress.SetCloseHandler(nullptr);
    env_.progress.SetCancelHandler(nullptr);
}

void RadioOperations::Register(OperationKind operation, std::unique_ptr<StepMachine> machine) {
    machines_[operation] = std::move(machine);
}

StepMachine* RadioOperations::Machine(OperationKind operation) {
    const auto it = machines_.find(operation);
    return it == machines_.end() ? nullptr : it->second.get();
}

bool RadioOperations::PollActive() const {
    return pollTimer_->IsActive();
}

void RadioOperations::ReadRadio(int view) {
    MainState& state = env_.state;
    if (state.CommsBusy) {
        return;
    }
    if (view == kImageNetwork) {
        person_.Error(kReadInNetworkViewText);
        return;
    }
    const bool pmr = view == kImagePmr;
    const bool loaded = pmr ? state.PmrJobLoaded : state.TrunkJobLoaded;
    if (loaded && state.BandSelected != 0 &&
        person_.Ask(kDestroyConfigurationText) != Answer::Yes) {
        return;
    }
    if (BeginCommand(pmr ? OperationKind::ReadPmr : OperationKind::ReadTrunk, "Read Radio",
                     "Reading Radio")) {
        state.CurrentJobFileName.clear();
    }
}

void RadioOperations::ProgramRadio() {
    MainState& state = env_.state;
    if (state.CommsBusy) {
        return;
    }
    if (state.ImageKind == kImageNetwork) {
        person_.Error(state.TrunkJobLoaded ? kProgramInNetworkViewText : kNoJobLoadedText);
        return;
    }
    const bool pmr = state.ImageKind == kImagePmr;
    if (!pmr && state.ImageKind != kImageTrunk) {
        return;
    }
    const bool loaded = pmr ? state.PmrJobLoaded : state.TrunkJobLoaded;
    if (!loaded) {
        person_.Error(kNoJobLoadedText);
        return;
    }
    BeginCommand(pmr ? OperationKind::ProgramPmr : OperationKind::ProgramTrunk, "Program Radio",
                 "Connecting to Radio");
}

void RadioOperations::RadioInformation() {
    BeginCommand(OperationKind::RadioInformation, "Identifying Radio", "Connecting to Radio");
}

bool RadioOperations::BeginCommand(OperationKind operation, std::string_view caption,
                                   std::string_view text) {
    if (env_.state.CommsBusy) {
        return false;
    }
    if (!link_.OpenRadioPort(env_.comIndex())) {
        endingTimer_->Stop();
        command_.reported = OperationKind::None;
        Announce(StatusLine(link_.OpenRefusal()));
        return false;
    }
    StartCommandStatus(operation);
    StopSteps();
    cancelPending_ = false;
    link_.LinkReset();
    env_.state.CommsBusy = true;
    env_.progress.ShowProgress(caption, text);
    pollCount_ = 0;
    pollTimer_->Start(kLinkPollTimer);
    command_.pending = operation;
    return true;
}

void RadioOperations::LinkPollTick() {
    if (link_.State() == LinkState::Established) {
        pollCount_ = 0;
        pollTimer_->Stop();
        Announce(ConnectedStatus(env_.comIndex()));
        const OperationKind operation = command_.pending;
        if (operation == OperationKind::ProgramPmr &&
            env_.workspace.pmr.U16(pmr::kChannelCount) == 0) {
            person_.Error(kNoChannelsDefinedText);
            command_.pending = OperationKind::None;
            env_.progress.CloseProgress();
            link_.CloseRadioPort();
            return;
        }
        if (StepMachine* machine = Machine(operation)) {
            machine->Start();
        } else {
            command_.pending = OperationKind::None;
        }
        return;
    }
    if (pollCount_ < kPollTicksBeforeGivingUp) {
        ++pollCount_;
        return;
    }
    command_.pending = OperationKind::None;
    pollCount_ = 0;
    pollTimer_->Stop();
    person_.Beep();
    person_.Error(kCannotDetectRadioText);
    env_.progress.CloseProgress();
    // A radio that never answered leaves no open port behind.
    link_.CloseRadioPort();
}

// The operation waiting for the link starts the moment it is up, not at the next poll.
void RadioOperations::LinkEstablished() {
    if (pollTimer_->IsActive() && command_.pending != OperationKind::None) {
        LinkPollTick();
    }
}

void RadioOperations::RunStep() {
    if (StepMachine* machine = Machine(command_.pending)) {
        machine->RunStep();
    }
}

bool RadioOperations::StartOnOpenLink(OperationKind operation) {
    StepMachine* machine = Machine(operation);
    if (env_.state.CommsBusy || command_.pending != OperationKind::None || machine == nullptr) {
        return false;
    }
    command_.pending = operation;
    machine->Start();
    return true;
}

void RadioOperations::EndOnOpenLink() {
    StopSteps();
    command_.pending = OperationKind::None;
}

void RadioOperations::StopSteps() {
    for (auto& [operation, machine] : machines_) {
        machine->Stop();
    }
}

void RadioOperations::ResetSteps() {
    bool running = false;
    for (auto& [operation, machine] : machines_) {
        running = running || machine->Running();
        machine->Stop();
    }
    // The link gave up under a running operation (retries or keep-alives spent): the operation
    // cannot go on, so it ends instead of waiting for the person to close the progress dialog.
    if (running && command_.pending != OperationKind::None) {
        AbortOperation(AbortReason::CommsError);
    }
}

void RadioOperations::RadioRequestedLink() {
    StopSteps();
    env_.progress.CloseProgress();
    command_.pending = OperationKind::None;
    link_.LinkReset();
    EndRadioSession();
    person_.Beep();
    person_.Error(kSerialCommsErrorText);
}

void RadioOperations::CommsFailed() {
    AbortOperation(AbortReason::CommsError);
}

void RadioOperations::PortFailed(PortError error) {
    // The status bar says what became of the port beside the message.
    portFailure_ = error;
    AbortOperation(AbortReason::CommsError);
    portFailure_.reset();
}

void RadioOperations::AbortOperation(AbortReason reason) {
    StopSteps();
    link_.LinkReset();
    if (reason == AbortReason::Failure) {
        if (command_.pending == OperationKind::ReadTrunk) {
            person_.Warn(kNothingToReadTrunkText);
        } else if (command_.pending == OperationKind::ReadPmr) {
            person_.Warn(kNothingToReadPmrText);
        }
    }
    command_.pending = OperationKind::None;
    env_.progress.CloseProgress();
    EndRadioSession();
    if (reason == AbortReason::CommsError) {
        person_.Error(kSerialCommsErrorText);
    }
}

void RadioOperations::FinishOperation(const std::function<void()>& beforeClose) {
    EndWithClosingMessage(beforeClose, nullptr);
}

void RadioOperations::FailWithMessage(const char* text) {
    EndWithClosingMessage({}, text);
}

void RadioOperations::EndWithClosingMessage(const std::function<void()>& beforeClose,
                                            const char* text) {
    StopSteps();
    pollTimer_->Stop();
    // The port closes once the closing message has gone out; the link keeps it until then.
    messages_.EndProgramming(true);
    command_.pending = OperationKind::None;
    if (beforeClose) {
        beforeClose();
    }
    env_.progress.CloseProgress();
    if (text != nullptr) {
        person_.Error(text);
    }
}

namespace {
// Operations that write into the radio: a cancel waits until the radio has taken the block on
// the line (or the erase it runs has finished), so that no transaction is left half sent.
bool StopsBetweenBlocks(OperationKind operation) {
    return operation == OperationKind::ProgramTrunk || operation == OperationKind::ProgramPmr ||
           operation == OperationKind::UpgradeSoftware ||
           operation == OperationKind::MonitorWrite || operation == OperationKind::MonitorErase;
}
}  // namespace

void RadioOperations::CancelRequested() {
    const StepMachine* machine = Machine(command_.pending);
    if (machine != nullptr && machine->Running() && StopsBetweenBlocks(command_.pending)) {
        cancelPending_ = true;
        return;
    }
    StopForCancel();
}

void RadioOperations::StopForCancel() {
    cancelPending_ = false;
    env_.progress.CloseProgress();
}

void RadioOperations::ProgressClosed() {
    cancelPending_ = false;
    StopSteps();
    link_.LinkReset();
    env_.state.CommsBusy = false;
    pollTimer_->Stop();
    const bool cancelled = command_.pending != OperationKind::None;
    command_.pending = OperationKind::None;
    if (cancelled) {
        // The person cancelled: the operation ends here and leaves no open port behind.
        link_.CloseRadioPort();
    }
    EndCommandStatus(cancelled);
    person_.Beep();
}

void RadioOperations::StartCommandStatus(OperationKind operation) {
    endingTimer_->Stop();
    command_.reported = operation;
    command_.startMs = env_.nowMs();
    command_.ended = false;
    command_.completed = false;
    command_.failure.clear();
    Announce(ConnectingStatus(env_.comIndex()));
}

void RadioOperations::EndCommandStatus(bool cancelled) {
    if (command_.reported == OperationKind::None || command_.ended) {
        return;
    }
    command_.ended = true;
    const StepMachine* machine = Machine(command_.reported);
    command_.completed = !cancelled && machine != nullptr && machine->Completed();
    if (command_.completed) {
        Announce(CompletedStatus(command_.reported, machine->CompletedDetail(),
                                 env_.nowMs() - command_.startMs));
    } else if (cancelled) {
        Announce(CancelledStatus(command_.reported));
    } else if (!command_.failure.empty()) {
        Announce(command_.failure);
    } else {
        Announce(StoppedStatus(command_.reported));
    }
    endingTimer_->Start(kCommandEndingTimer);
}

void RadioOperations::BoxShown(std::string_view text) {
    if (command_.reported == OperationKind::None) {
        return;
    }
    command_.failure = StatusLine(text);
    if (portFailure_ && text == kSerialCommsErrorText) {
        command_.failure = PortLostStatus(command_.failure, *portFailure_);
    }
    // A failure told after the progress dialog has gone is what became of the command.
    if (command_.ended && !command_.completed) {
        Announce(command_.failure);
    }
}

void RadioOperations::Announce(std::string text) {
    statusMessage_ = std::move(text);
    if (onStatusMessage) {
        onStatusMessage(statusMessage_);
    }
}

void RadioOperations::EndRadioSession() {
    pollTimer_->Stop();
    link_.CloseRadioPort();
}

}  // namespace km

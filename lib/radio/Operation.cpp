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
constexpr TimerSpec kCommandEndingTimer{"CommandEndingTimer", 1};

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

void StepMachine::ThenIdentify(int step, const char* secureText) {
    ThenIdentify(step, [this, secureText](std::span<const std::uint8_t> message) {
        return HandleIdentify(message, secureText);
    });
}

void StepMachine::ThenIdentify(int step, ReplyCheck accepts) {
    Action action;
    action.kind = Kind::Identify;
    action.step = step;
    action.accepts = std::move(accepts);
    Queue(std::move(action));
}

void StepMachine::ThenRead(int step, std::uint16_t block, std::uint16_t size,
                           std::span<std::uint8_t> destination, std::string status,
                           PieceWatch watch) {
    Action action;
    action.kind = Kind::Read;
    action.step = step;
    action.block = block;
    action.size = size;
    action.destination = destination;
    action.status = std::move(status);
    action.watch = std::move(watch);
    Queue(std::move(action));
}

void StepMachine::ThenErase(int step, std::uint8_t sector, std::string status) {
    Action action;
    action.kind = Kind::Erase;
    action.step = step;
    action.sector = sector;
    action.status = std::move(status);
    Queue(std::move(action));
}

void StepMachine::ThenInfo(int step, std::uint8_t item, std::string status) {
    Action action;
    action.kind = Kind::Info;
    action.step = step;
    action.sector = item;
    action.status = std::move(status);
    Queue(std::move(action));
}

void StepMachine::ThenWrite(int step, std::uint16_t block, std::size_t size,
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

void StepMachine::ThenWriteScratch(int step, std::uint16_t block, std::size_t size,
                                   std::size_t offset, std::string status) {
    ThenWrite(
        step, block, size,
        [this, offset]() -> std::span<const std::uint8_t> {
            return Scratch().Region(offset,
                                    std::min(kWriteBufferSize, ScratchBuffer::kSize - offset));
        },
        std::move(status));
}

void StepMachine::ThenDo(int step, Work work) {
    Action action;
    action.kind = Kind::Work;
    action.step = step;
    action.work = std::move(work);
    Queue(std::move(action));
}

void StepMachine::ThenReadFit(int step, Work afterFit, PieceWatch watch) {
    ThenRead(step, kFitBlock, kFitSize, IdBuffer().Region(0, kFitSize), "Identifying Radio. ",
             std::move(watch));
    ThenDo(step, [this, afterFit = std::move(afterFit)] {
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
    step_ = 1;
    actions_.clear();
    phase_ = Phase::Idle;
    completed_ = false;
    fit_.fill(FitEntry{});
    Begin();
    Advance();
}

void StepMachine::Stop() {
    step_ = 0;
    actions_.clear();
    phase_ = Phase::Idle;
}

void StepMachine::RunStep() {
    if (step_ == 0) {
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
            phase_ = Phase::Sending;
            SendAction();
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
Machine* Add(RadioOperations& operations, int operation) {
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
        statusCommand_ = kOperationNone;
    });
    env_.progress.SetCloseHandler([this] { ProgressClosed(); });
    env_.progress.SetCancelHandler([this] { CancelRequested(); });
    messages_.SetHost(this);
    Add<TrunkRead>(*this, kReadTrunk);
    Add<PmrRead>(*this, kReadPmr);
    Add<RadioInfoMachine>(*this, kRadioInformation);
    trunkProgramming_ = Add<ProgramTrunk>(*this, kProgramTrunk);
    pmrProgramming_ = Add<ProgramPmr>(*this, kProgramPmr);
    upgrade_ = Add<Upgrade>(*this, kUpgradeSoftware);
}

RadioOperations::~RadioOperations() {
    messages_.SetHost(nullptr);
    env_.progress.SetCloseHandler(nullptr);
    env_.progress.SetCancelHandler(nullptr);
}

void RadioOperations::Register(int operation, std::unique_ptr<StepMachine> machine) {
    machines_[operation] = std::move(machine);
}

StepMachine* RadioOperations::Machine(int operation) {
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
    if (BeginCommand(pmr ? kReadPmr : kReadTrunk, "Read Radio", "Reading Radio")) {
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
    BeginCommand(pmr ? kProgramPmr : kProgramTrunk, "Program Radio", "Connecting to Radio");
}

void RadioOperations::RadioInformation() {
    BeginCommand(kRadioInformation, "Identifying Radio", "Connecting to Radio");
}

bool RadioOperations::BeginCommand(int operation, std::string_view caption, std::string_view text) {
    if (env_.state.CommsBusy) {
        return false;
    }
    if (!link_.OpenRadioPort(env_.comIndex())) {
        endingTimer_->Stop();
        statusCommand_ = kOperationNone;
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
    env_.state.PendingOperation = operation;
    return true;
}

void RadioOperations::LinkPollTick() {
    if (link_.LinkState() == kLinkEstablished) {
        pollCount_ = 0;
        pollTimer_->Stop();
        Announce(ConnectedStatus(env_.comIndex()));
        const int operation = env_.state.PendingOperation;
        if (operation == kProgramPmr && env_.workspace.pmr.U16(pmr::kChannelCount) == 0) {
            person_.Error(kNoChannelsDefinedText);
            env_.state.PendingOperation = kOperationNone;
            env_.progress.CloseProgress();
            link_.CloseRadioPort();
            return;
        }
        if (StepMachine* machine = Machine(operation)) {
            machine->Start();
        } else {
            env_.state.PendingOperation = kOperationNone;
        }
        return;
    }
    if (pollCount_ < kPollTicksBeforeGivingUp) {
        ++pollCount_;
        return;
    }
    env_.state.PendingOperation = kOperationNone;
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
    if (pollTimer_->IsActive() && env_.state.PendingOperation != kOperationNone) {
        LinkPollTick();
    }
}

void RadioOperations::RunStep() {
    if (StepMachine* machine = Machine(env_.state.PendingOperation)) {
        machine->RunStep();
    }
}

void RadioOperations::StopSteps() {
    for (auto& [operation, machine] : machines_) {
        machine->Stop();
    }
}

void RadioOperations::ResetSteps() {
    bool running = false;
    for (auto& [operation, machine] : machines_) {
        running = running || machine->Step() != 0;
        machine->Stop();
    }
    // The link gave up under a running operation (retries or keep-alives spent): the operation
    // cannot go on, so it ends instead of waiting for the person to close the progress dialog.
    if (running && env_.state.PendingOperation != kOperationNone) {
        AbortOperation(AbortReason::CommsError);
    }
}

void RadioOperations::RadioRequestedLink() {
    StopSteps();
    env_.progress.CloseProgress();
    env_.state.PendingOperation = kOperationNone;
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
        if (env_.state.PendingOperation == kReadTrunk) {
            person_.Warn(kNothingToReadTrunkText);
        } else if (env_.state.PendingOperation == kReadPmr) {
            person_.Warn(kNothingToReadPmrText);
        }
    }
    env_.state.PendingOperation = kOperationNone;
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
    env_.state.PendingOperation = kOperationNone;
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
bool StopsBetweenBlocks(int operation) {
    return operation == kProgramTrunk || operation == kProgramPmr ||
           operation == kUpgradeSoftware || operation == kMonitorWrite ||
           operation == kMonitorErase;
}
}  // namespace

void RadioOperations::CancelRequested() {
    const StepMachine* machine = Machine(env_.state.PendingOperation);
    if (machine != nullptr && machine->Step() != 0 &&
        StopsBetweenBlocks(env_.state.PendingOperation)) {
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
    const bool cancelled = env_.state.PendingOperation != kOperationNone;
    env_.state.PendingOperation = kOperationNone;
    if (cancelled) {
        // The person cancelled: the operation ends here and leaves no open port behind.
        link_.CloseRadioPort();
    }
    EndCommandStatus(cancelled);
    person_.Beep();
}

void RadioOperations::StartCommandStatus(int operation) {
    endingTimer_->Stop();
    statusCommand_ = operation;
    commandStartMs_ = env_.nowMs();
    commandEnded_ = false;
    commandCompleted_ = false;
    commandFailure_.clear();
    Announce(ConnectingStatus(env_.comIndex()));
}

void RadioOperations::EndCommandStatus(bool cancelled) {
    if (statusCommand_ == kOperationNone || commandEnded_) {
        return;
    }
    commandEnded_ = true;
    const StepMachine* machine = Machine(statusCommand_);
    commandCompleted_ = !cancelled && machine != nullptr && machine->Completed();
    if (commandCompleted_) {
        Announce(CompletedStatus(statusCommand_, machine->CompletedDetail(),
                                 env_.nowMs() - commandStartMs_));
    } else if (cancelled) {
        Announce(CancelledStatus(statusCommand_));
    } else if (!commandFailure_.empty()) {
        Announce(commandFailure_);
    } else {
        Announce(StoppedStatus(statusCommand_));
    }
    endingTimer_->Start(kCommandEndingTimer);
}

void RadioOperations::BoxShown(std::string_view text) {
    if (statusCommand_ == kOperationNone) {
        return;
    }
    commandFailure_ = StatusLine(text);
    if (portFailure_ && text == kSerialCommsErrorText) {
        commandFailure_ = PortLostStatus(commandFailure_, *portFailure_);
    }
    // A failure told after the progress dialog has gone is what became of the command.
    if (commandEnded_ && !commandCompleted_) {
        Announce(commandFailure_);
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

#include "radio/Operation.h"

#include <algorithm>

#include "link/DataLink.h"
#include "radio/ProgramPmr.h"
#include "radio/ProgramTrunk.h"
#include "radio/RadioInfo.h"
#include "radio/ReadRadio.h"
#include "radio/Upgrade.h"

namespace km {

namespace {

constexpr int kPollTicksBeforeGivingUp = 10;

}  // namespace

// ---- StepMachine ----

void StepMachine::Start() {
    step_ = 1;
    pending_.reset();
    Run({});
}

void StepMachine::Stop() {
    step_ = 0;
    pending_.reset();
}

void StepMachine::RunStep() {
    if (step_ == 0) {
        return;
    }
    if (pending_) {
        TrySend();
        return;
    }
    const auto message = host_.Messages().LastMessage();
    if (!message.empty()) {
        Run(message);
    }
}

void StepMachine::Request(PendingRequest request) {
    pending_ = request;
    TrySend();
}

void StepMachine::TrySend() {
    ProgrammingMessages& messages = host_.Messages();
    if (!pending_ || !messages.BeginSend()) {
        return;  // sent again when the radio grants credit
    }
    const PendingRequest request = *pending_;
    pending_.reset();
    step_ = request.nextStep;
    // A refused request has ended the operation already (CommsFailed).
    if (request.identify) {
        static_cast<void>(messages.Identify());
    } else {
        static_cast<void>(messages.StartRead(request.block, request.size, request.destination));
    }
}

void StepMachine::RequestIdentify(int nextStep) {
    Request(PendingRequest{true, 0, 0, {}, nextStep});
}

void StepMachine::StartRead(std::uint16_t block, std::uint16_t size,
                            std::span<std::uint8_t> destination, int nextStep) {
    // The message layer writes nothing past `size` into it.
    Request(PendingRequest{false, block, size, destination, nextStep});
}

ReadProgress StepMachine::CollectRead() {
    const ReadProgress progress = host_.Messages().AcceptReadData();
    if (progress == ReadProgress::Overflow) {
        host_.AbortOperation(AbortReason::CommsError);
    } else if (progress != ReadProgress::NotReadData) {
        host_.GetProgress().ProgressStep();
    }
    return progress;
}

std::size_t StepMachine::ReadBytes() const {
    return host_.Messages().ReadBytesStored();
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

void StepMachine::ReadFit(int nextStep) {
    host_.GetProgress().SetProgressText("Identifying Radio. ");
    StartRead(kFitBlock, kFitSize, host_.IdBuffer().Region(0, kFitSize), nextStep);
}

bool StepMachine::FitValid() {
    if (ValidateFit(host_.IdBuffer(), host_.Identity(), host_.Context().dataFolders)) {
        return true;
    }
    // Nothing read so far may reach a job.
    host_.GetWorkspace().scratch.FillRegion(0, 65536, 0);
    host_.FailWithMessage(kMissingFitText);
    return false;
}

bool StepMachine::TakeFitBlock(int index, std::uint32_t extraBlocks, std::uint16_t& block) {
    const FitEntry entry = FitEntryAt(host_.IdBuffer(), index);
    if (!BlockUsable(entry.block, extraBlocks)) {
        host_.GetPerson().Error(kFitErrorText);
        host_.AbortOperation(AbortReason::Quiet);
        return false;
    }
    block = entry.block;
    return true;
}

void StepMachine::ReadBandRecord(int nextStep) {
    constexpr int kBandRecordEntry = 3;
    std::uint16_t block = 0;
    if (!TakeFitBlock(kBandRecordEntry, 0, block)) {
        return;
    }
    host_.GetProgress().SetProgressText("Checking Band. ");
    StartRead(block, kBandRecordSize, host_.IdBuffer().Region(0, kBandRecordSize), nextStep);
}

bool StepMachine::BandAccepted(std::uint16_t jobBand) {
    const auto mismatch =
        CheckBand(host_.IdBuffer().Region(0, kBandRecordSize), jobBand, host_.Identity());
    if (!mismatch) {
        return true;
    }
    host_.AbortOperation(AbortReason::Quiet);
    host_.GetPerson().Error(*mismatch);
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
    : env_(std::move(context)), link_(link), messages_(messages) {
    pollTimer_ = timers.CreateTimer(kTimer1SecDelay.name, [this] { LinkPollTick(); });
    env_.progress.SetCloseHandler([this] { ProgressClosed(); });
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
        env_.person.Error(kReadInNetworkViewText);
        return;
    }
    const bool pmr = view == kImagePmr;
    const bool loaded = pmr ? state.PmrJobLoaded : state.TrunkJobLoaded;
    if (loaded && state.BandSelected != 0 &&
        env_.person.Ask(kDestroyConfigurationText) != Answer::Yes) {
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
        env_.person.Error(state.TrunkJobLoaded ? kProgramInNetworkViewText : kNoJobLoadedText);
        return;
    }
    const bool pmr = state.ImageKind == kImagePmr;
    if (!pmr && state.ImageKind != kImageTrunk) {
        return;
    }
    const bool loaded = pmr ? state.PmrJobLoaded : state.TrunkJobLoaded;
    if (!loaded) {
        env_.person.Error(kNoJobLoadedText);
        return;
    }
    BeginCommand(pmr ? kProgramPmr : kProgramTrunk, "Program Radio", "Connecting to Radio");
}

void RadioOperations::RadioInformation() {
    BeginCommand(kRadioInformation, "Identifying Radio", "Connecting to Radio");
}

bool RadioOperations::BeginCommand(int operation, std::string_view caption, std::string_view text) {
    if (env_.state.CommsBusy || !link_.OpenRadioPort(env_.comIndex())) {
        return false;
    }
    StopSteps();
    link_.LinkReset();
    env_.state.CommsBusy = true;
    env_.progress.ShowProgress(caption, text);
    pollCount_ = 0;
    pollTimer_->Start(kTimer1SecDelay);
    env_.state.PendingOperation = operation;
    return true;
}

void RadioOperations::LinkPollTick() {
    if (link_.LinkState() == kLinkEstablished) {
        pollCount_ = 0;
        pollTimer_->Stop();
        const int operation = env_.state.PendingOperation;
        if (operation == kProgramPmr && env_.workspace.pmr.U16(pmr::kChannelCount) == 0) {
            env_.person.Error(kNoChannelsDefinedText);
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
    env_.person.Beep();
    env_.person.Error(kCannotDetectRadioText);
    env_.progress.CloseProgress();
    // A radio that never answered leaves no open port behind.
    link_.CloseRadioPort();
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
    env_.person.Beep();
    env_.person.Error(kSerialCommsErrorText);
}

void RadioOperations::CommsFailed() {
    AbortOperation(AbortReason::CommsError);
}

void RadioOperations::AbortOperation(AbortReason reason) {
    StopSteps();
    link_.LinkReset();
    if (reason == AbortReason::Failure) {
        if (env_.state.PendingOperation == kReadTrunk) {
            env_.person.Warn(kNothingToReadTrunkText);
        } else if (env_.state.PendingOperation == kReadPmr) {
            env_.person.Warn(kNothingToReadPmrText);
        }
    }
    env_.state.PendingOperation = kOperationNone;
    env_.progress.CloseProgress();
    EndRadioSession();
    if (reason == AbortReason::CommsError) {
        env_.person.Error(kSerialCommsErrorText);
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
        env_.person.Error(text);
    }
}

void RadioOperations::ProgressClosed() {
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
    env_.person.Beep();
}

void RadioOperations::EndRadioSession() {
    pollTimer_->Stop();
    link_.CloseRadioPort();
}

}  // namespace km

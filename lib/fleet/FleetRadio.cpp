#include "fleet/FleetRadio.h"

#include <cctype>

#include "core/Files.h"
#include "radio/CommandStatus.h"
#include "radio/Operation.h"
#include "radio/RadioInfo.h"
#include "radio/RadioSession.h"
#include "tables/SetValues.h"

namespace km::fleet {
namespace {

// How often a fleet radio looks whether its operation has ended, in milliseconds.
constexpr TimerSetting kEndCheck{.name = "FleetEndCheck", .intervalMs = 20};

// Identifies the radio and reads its band record: its serial number and type, nothing changed.
class IdentifyMachine : public StepMachine {
  public:
    using StepMachine::StepMachine;

    const std::string& SerialNumber() const { return serial_; }

  private:
    void Begin() override {
        serial_.clear();
        GetProgress().SetProgressTotal(kSteps);
        GetProgress().ShowProgress("Identifying Radio", "Reading Radio");
        ThenIdentify(kInvalidRadioText);
        ThenReadFit([this] {
            if (!TakeArea(kBandRecordEntry)) {
                return false;
            }
            ThenRead(Entry(kBandRecordEntry).block, kBandRecordSize,
                     IdBuffer().Region(0, kBandRecordSize), "Reading Serial Number. ");
            ThenDo([this] {
                serial_ = SerialNumberText(IdBuffer().Region(0, kBandRecordSize));
                Complete();
                return false;
            });
            return true;
        });
    }

    static constexpr int kBandRecordEntry = 3;
    static constexpr int kSteps = 8;
    std::string serial_;
};

// A serial number or port as a part of a file name: letters, digits, '-', '_' and '.' kept,
// anything else '_'.
std::string FileNamePart(const std::string& text) {
    std::string out;
    for (const char c : text) {
        const bool kept = std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' ||
                          (c == '.' && !out.empty());
        out.push_back(kept ? c : '_');
    }
    return out;
}

bool IsUndefined(const std::string& serial) {
    return serial.empty() || serial == "Undefined";
}

}  // namespace

// Boxes become the radio's last message; questions take the fleet's answer.
class FleetRadio::FleetPerson : public Person {
  public:
    explicit FleetPerson(std::optional<Answer> answer) : answer_(answer) {}

    Answer Show(BoxKind kind, std::string_view text, Buttons buttons) override {
        if (buttons == Buttons::Ok) {
            if (kind != BoxKind::Information && kind != BoxKind::Plain) {
                last_ = StatusLine(text);
            }
            return Answer::Ok;
        }
        if (buttons == Buttons::Cancel) {
            last_ = StatusLine(text);
            return Answer::Cancel;
        }
        const bool yes = answer_ == Answer::Yes;
        if (!yes) {
            last_ = StatusLine(text);  // declined: what was asked is why the radio failed
        }
        if (buttons == Buttons::OkCancel) {
            return yes ? Answer::Ok : Answer::Cancel;
        }
        return yes ? Answer::Yes : Answer::No;
    }
    void Beep() override {}

    const std::string& Last() const { return last_; }
    void Clear() { last_.clear(); }

  private:
    std::optional<Answer> answer_;
    std::string last_;
};

class FleetRadio::FleetProgress : public Progress {
  public:
    explicit FleetProgress(const FleetRadio& radio) : radio_(radio) {}

  protected:
    void Shown() override { radio_.Changed(); }
    void Changed() override {
        if (Gauge() != gauge_ || Text() != text_) {
            gauge_ = Gauge();
            text_ = Text();
            radio_.Changed();
        }
    }

  private:
    const FleetRadio& radio_;
    int gauge_ = -1;
    std::string text_;
};

std::string RadioTypeText(bool portable, int mobileRevision) {
    if (portable) {
        return "KP800 portable";
    }
    return "KM700 mobile Rev " + std::to_string(8 + mobileRevision / 4);
}

FleetRadio::FleetRadio(std::string port, int comIndex, SerialPort& serialPort, TimerService& timers,
                       const FleetJob& job)
    : job_(job),
      comIndex_(comIndex),
      workspace_(std::make_unique<Workspace>()),
      person_(std::make_unique<FleetPerson>(job.answer)),
      progress_(std::make_unique<FleetProgress>(*this)) {
    result_.port = std::move(port);
    session_ = std::make_unique<RadioSession>(
        serialPort, timers,
        RadioContext{*workspace_, state_, *person_, *progress_, job.workFolder, job.dataFolders,
                     [this] { return comIndex_; }});
    session_->Operations().Register(OperationKind::FleetIdentify,
                                    std::make_unique<IdentifyMachine>(session_->Operations()));
    endPoll_ = timers.CreateTimer(kEndCheck.name, [this] { PollEnd(); });
}

FleetRadio::~FleetRadio() = default;

void FleetRadio::Start() {
    startMs_ = SteadyNowMs();
    Begin(Stage::Identify, [this] {
        session_->Operations().BeginCommand(OperationKind::FleetIdentify, "Identifying Radio",
                                            "Connecting to Radio");
    });
}

void FleetRadio::Cancel() {
    if (stage_ == Stage::Ended || cancelled_) {
        return;
    }
    cancelled_ = true;
    if (progress_->Visible()) {
        progress_->UserClosed();
    }
    if (!state_.CommsBusy && !session_->Link().PortOpen()) {
        Fail(kFleetCancelledText);
    }
}

int FleetRadio::Gauge() const {
    if (stage_ == Stage::Ended) {
        return result_.done ? 100 : progress_->Gauge();
    }
    return progress_->Gauge();
}

std::string FleetRadio::StepText() const {
    if (stage_ == Stage::Ended) {
        return result_.done ? kResultDone : kResultFailed;
    }
    const char* stage = stage_ == Stage::Identify ? "Identifying"
                        : stage_ == Stage::Backup ? "Backup"
                        : stage_ == Stage::Read   ? "Reading"
                                                  : "Programming";
    return std::string(stage) + ": " + StatusLine(progress_->Text());
}

void FleetRadio::Changed() const {
    if (onChanged) {
        onChanged();
    }
}

bool FleetRadio::Begin(Stage stage, const std::function<void()>& command) {
    stage_ = stage;
    person_->Clear();
    command();
    if (!state_.CommsBusy) {
        // The port could not be opened, or the command refused at once: the reason was shown.
        Fail(person_->Last().empty() ? StatusLine(session_->Operations().StatusMessage())
                                     : person_->Last());
        return false;
    }
    endPoll_->Start(kEndCheck);
    Changed();
    return true;
}

void FleetRadio::PollEnd() {
    if (state_.CommsBusy || session_->Link().PortOpen()) {
        return;
    }
    endPoll_->Stop();
    OperationEnded();
}

bool FleetRadio::OperationCompleted(OperationKind operation) {
    const StepMachine* machine = session_->Operations().Machine(operation);
    return machine != nullptr && machine->Completed();
}

void FleetRadio::OperationEnded() {
    if (cancelled_) {
        Fail(kFleetCancelledText);
        return;
    }
    switch (stage_) {
        case Stage::Identify:
            AfterIdentify();
            return;
        case Stage::Backup:
            AfterBackup();
            return;
        case Stage::Program:
            if (OperationCompleted(job_.view == kImagePmr ? OperationKind::ProgramPmr
                                                          : OperationKind::ProgramTrunk)) {
                Succeed();
            } else {
                Fail(person_->Last());
            }
            return;
        case Stage::Read:
            AfterRead();
            return;
        case Stage::Idle:
        case Stage::Ended:
            return;
    }
}

void FleetRadio::AfterIdentify() {
    auto* identify =
        static_cast<IdentifyMachine*>(session_->Operations().Machine(OperationKind::FleetIdentify));
    if (!identify->Completed()) {
        Fail(person_->Last());
        return;
    }
    result_.serial = identify->SerialNumber();
    const RadioIdentity& identity = session_->Operations().Identity();
    result_.radio = RadioTypeText(identity.Portable, identity.MobileRevision);
    Changed();
    if (job_.task == FleetTask::Read) {
        Begin(Stage::Read, [this] { session_->Operations().ReadRadio(job_.view); });
        return;
    }
    if (!PrepareOwnJob()) {
        return;
    }
    if (!job_.backupFolder.empty()) {
        Begin(Stage::Backup, [this] { session_->Operations().ReadRadio(job_.view); });
        return;
    }
    StartProgramming();
}

std::string FleetRadio::FileStem() const {
    return IsUndefined(result_.serial) ? "port-" + FileNamePart(result_.port)
                                       : FileNamePart(result_.serial);
}

namespace {

std::span<const std::uint8_t> JobImage(const Workspace& workspace, int view) {
    return view == kImagePmr ? workspace.pmr.Bytes() : workspace.trunk.Bytes();
}

const char* JobExtension(int view) {
    return view == kImagePmr ? ".pmr" : ".tnk";
}

}  // namespace

void FleetRadio::AfterBackup() {
    if (!OperationCompleted(job_.view == kImagePmr ? OperationKind::ReadPmr
                                                   : OperationKind::ReadTrunk)) {
        Fail(person_->Last());
        return;
    }
    const std::string stamp = job_.timeStamp ? "-" + job_.timeStamp() : std::string();
    const auto file = job_.backupFolder / (FileStem() + stamp + JobExtension(job_.view));
    if (!WriteFileAtomically(file, JobImage(*workspace_, job_.view))) {
        Fail(kBackupNotWrittenText + file.string());
        return;
    }
    result_.backup = file.string();
    StartProgramming();
}

void FleetRadio::AfterRead() {
    if (!OperationCompleted(job_.view == kImagePmr ? OperationKind::ReadPmr
                                                   : OperationKind::ReadTrunk)) {
        Fail(person_->Last());
        return;
    }
    const auto file = job_.readFolder / (FileStem() + JobExtension(job_.view));
    if (!WriteFileAtomically(file, JobImage(*workspace_, job_.view))) {
        Fail(kReadNotWrittenText + file.string());
        return;
    }
    result_.backup = file.string();
    Succeed();
}

bool FleetRadio::PrepareOwnJob() {
    const bool pmr = job_.view == kImagePmr;
    const auto jobBytes = JobImage(*job_.job, job_.view);
    ownJob_.assign(jobBytes.begin(), jobBytes.end());
    if (job_.sheet == nullptr) {
        return true;
    }
    const Sheet::Row* row = nullptr;
    if (job_.sheet->key == SheetKey::Port) {
        row = job_.sheet->Find(result_.port);
    } else if (!IsUndefined(result_.serial)) {
        row = job_.sheet->Find(result_.serial);
    }
    if (row == nullptr) {
        if (job_.sheetOptional) {
            return true;
        }
        Fail(job_.sheet->key == SheetKey::Serial && IsUndefined(result_.serial) ? kUnknownSerialText
                                                                                : kNoSheetRowText);
        return false;
    }
    const auto image = pmr ? fields::ImageId::Pmr : fields::ImageId::Trunk;
    if (const auto refusal = tables::ApplyChanges(image, ownJob_, job_.sheet->ChangesOf(*row))) {
        Fail("sheet line " + std::to_string(row->line) + ": " + refusal->id + ": " +
             refusal->message);
        return false;
    }
    return true;
}

void FleetRadio::StartProgramming() {
    // The job as it was opened, with the radio's own image in place of the job's.
    *workspace_ = *job_.job;
    auto image = job_.view == kImagePmr ? workspace_->pmr.Bytes() : workspace_->trunk.Bytes();
    std::copy(ownJob_.begin(), ownJob_.end(), image.begin());
    state_ = *job_.jobState;
    state_.CommsBusy = false;
    state_.ImageKind = job_.view;
    Begin(Stage::Program, [this] { session_->Operations().ProgramRadio(); });
}

void FleetRadio::Fail(std::string message) {
    endPoll_->Stop();
    stage_ = Stage::Ended;
    result_.done = false;
    result_.message = message.empty() ? kRadioEndedWithoutWordText : std::move(message);
    result_.seconds = static_cast<double>(SteadyNowMs() - startMs_) / 1000.0;
    Changed();
}

void FleetRadio::Succeed() {
    endPoll_->Stop();
    stage_ = Stage::Ended;
    result_.done = true;
    result_.message.clear();
    result_.seconds = static_cast<double>(SteadyNowMs() - startMs_) / 1000.0;
    Changed();
}

}  // namespace km::fleet

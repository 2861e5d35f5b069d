#pragma once
// How every radio operation runs: the main window's command opens the port, resets the link,
// shows the progress dialog and records the pending operation; the operation's step machine
// starts the moment the link is up (a 500 ms poll gives up on a radio that never answers); from
// then on each reply of the radio advances the machine by one step, until FinishOperation or
// AbortOperation ends it. A watchdog ends an operation whose radio keeps the link alive but stops
// answering.

#include <array>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/Person.h"
#include "image/State.h"
#include "link/DataLink.h"
#include "link/Messages.h"
#include "link/Timers.h"
#include "radio/Progress.h"
#include "radio/RadioIdentity.h"

namespace km {

inline constexpr const char* kCannotDetectRadioText =
    "Cannot Detect Radio.               \n    Check serial cable connected between Radio and "
    "Computer.               \n    Check Radio is switched on.               \n    Check Correct "
    "COM port specified.";
inline constexpr const char* kNothingToReadTrunkText =
    "Nothing to Read. \nRadio does not contain a Trunk configuration.";
inline constexpr const char* kNothingToReadPmrText =
    "Nothing to Read. \nRadio does not contain a PMR configuration.";
inline constexpr const char* kReadInNetworkViewText =
    "Cannot read radio while in Network File Mode.                   \nSelect menu option "
    "VIEW\\Trunk or VIEW\\PMR                   \nThen Select FILE\\Read Radio";
inline constexpr const char* kDestroyConfigurationText =
    "Do you want to destroy the current configuration?";
inline constexpr const char* kNoChannelsDefinedText = "No channels defined.";
inline constexpr const char* kNoJobLoadedText = "Cannot program radio.\nNo job file loaded. ";
inline constexpr const char* kProgramInNetworkViewText =
    "Cannot program radio while in Network File Mode.                    \nSelect menu option "
    "VIEW\\Trunk or VIEW\\PMR                    \nThen Select FILE\\Program Radio";

class RadioOperations;

// One operation's steps, run as a queue of radio actions (identify, read, erase, write, ask for
// information) and pieces of work between them. The machine is idle until the link is up; then
// Start runs Begin, which queues the first actions. An action that sends waits for the radio's
// credit first and goes out as soon as it is granted; the next action starts only when the radio
// has finished the one before (its reply has come, the read has arrived in full, EraseDone has come
// back, the radio has acknowledged the last block of a write), and every other message is ignored
// meanwhile. What a piece of work queues runs next, before the actions queued earlier.
class StepMachine {
  public:
    explicit StepMachine(RadioOperations& host) : host_(host) {}
    virtual ~StepMachine() = default;

    // From Start until Stop (or the end of the last action).
    bool Running() const { return running_; }
    // True once the last run went through to its normal end.
    bool Completed() const { return completed_; }
    // What the status line adds to the words of a completed operation (empty: nothing).
    virtual std::string CompletedDetail() const { return {}; }
    void Start();
    void Stop();
    // The message layer runs the machine: for a new reply, or because credit has arrived.
    void RunStep();

  protected:
    // The checks that need nothing from the radio, then the first actions.
    virtual void Begin() = 0;

    // A piece of work between radio actions; false when it has ended the operation.
    using Work = std::function<bool()>;
    // Takes the reply to an IdentifyRequest: true to go on; false to keep waiting, or when it has
    // ended the operation.
    using ReplyCheck = std::function<bool(std::span<const std::uint8_t>)>;
    // Looks at a read after each of its data pieces; false when it has ended the operation.
    using PieceWatch = std::function<bool(ReadProgress)>;

    // IdentifyRequest; the reply is decoded, and a radio of unknown type ends the operation, as
    // does a secure one with `secureText` shown (unless that is null).
    void ThenIdentify(const char* secureText);
    void ThenIdentify(ReplyCheck accepts);
    // A ReadRequest whose data go to `destination` (at least `size` bytes); each piece advances
    // the progress bar.
    void ThenRead(std::uint16_t block, std::uint16_t size, std::span<std::uint8_t> destination,
                  std::string status = {}, PieceWatch watch = {});
    void ThenErase(std::uint8_t sector, std::string status = {});
    void ThenInfo(std::uint8_t item, std::string status = {});
    // Writes `size` bytes (at most 16384) of `source`; the whole 16384-byte write buffer is filled
    // from it (0xFF past its end) so that every byte sent is known. Without a source the write
    // buffer goes out as it stands.
    void ThenWrite(std::uint16_t block, std::size_t size,
                   std::function<std::span<const std::uint8_t>()> source, std::string status = {});
    // Writes `size` bytes of the ScratchBuffer from `offset`.
    void ThenWriteScratch(std::uint16_t block, std::size_t size, std::size_t offset,
                          std::string status);
    void ThenDo(Work work);

    // The Flash Index Table, read into the identification buffer and checked (ValidateFit with
    // its failure path); its entries are kept aside, so that later reads may reuse the buffer.
    // Then `afterFit`.
    void ThenReadFit(Work afterFit, PieceWatch watch = {});
    // The entry `index` of the table (once it has been read).
    FitEntry Entry(int index) const;
    // An area the operation reads or writes: its block, and `extraBlocks` after it, must lie in
    // the block range. Shows "Error in Flash Index Table." and ends the operation otherwise.
    bool TakeArea(int index, std::uint32_t extraBlocks = 0);

    // The normal end: the gauge full, then FinishOperation (with `beforeClose`), noted as
    // completed.
    void Complete(const std::function<void()>& beforeClose = {});
    // The bytes the last read has stored.
    std::size_t ReadBytes() const;
    // Sets the progress total and puts the counter back to 0.
    void StartCounting(int total);

    Progress& GetProgress();
    ScratchBuffer& Scratch();
    IdentificationBuffer& IdBuffer();

    RadioOperations& host_;

  private:
    enum class Kind { Identify, Read, Erase, Info, Write, Work };
    struct Action {
        Kind kind = Kind::Work;
        std::string status;
        ReplyCheck accepts;
        std::uint16_t block = 0;
        std::size_t size = 0;
        std::uint8_t sector = 0;  // or the information item
        std::span<std::uint8_t> destination;
        PieceWatch watch;
        std::function<std::span<const std::uint8_t>()> source;
        Work work;
    };
    enum class Phase { Idle, Sending, Waiting };

    void Queue(Action action);
    void Advance();
    void SendAction();
    bool ActionDone(std::span<const std::uint8_t> message);
    bool ReadPieceTaken();
    bool HandleIdentify(std::span<const std::uint8_t> message, const char* secureText);
    bool FitValid();

    std::deque<Action> actions_;
    Action current_;
    Phase phase_ = Phase::Idle;
    bool running_ = false;
    bool completed_ = false;
    std::array<FitEntry, kFitEntries + 1> fit_{};
};

// How an operation ends after a failure.
enum class AbortReason {
    Failure,     // with the read's "Nothing to Read" warning
    CommsError,  // followed by the serial communications error
    Quiet,       // the reason has been shown already
};

std::int64_t SteadyNowMs();

// The person as the radio operations meet them: every box goes on to `person`, and the text of
// each error and warning is handed to `noted` as well, so that the end of a command can name
// what went wrong.
class ReportingPerson : public Person {
  public:
    ReportingPerson(Person& person, std::function<void(std::string_view)> noted)
        : person_(person), noted_(std::move(noted)) {}
    Answer Show(BoxKind kind, std::string_view text, Buttons buttons) override;
    void Beep() override { person_.Beep(); }

  private:
    Person& person_;
    std::function<void(std::string_view)> noted_;
};

// What the radio operations work on and with, besides the link: the job images and the main
// window's state, the person, the progress dialog, and where files are found.
struct RadioContext {
    Workspace& workspace;
    MainState& state;
    Person& person;
    Progress& progress;
    // The working folder: templates, Radio_SW, RadInfo.txt.
    std::filesystem::path workFolder;
    // Where FIT000101.bin and aligncfg.bin are looked for, in order.
    std::vector<std::filesystem::path> dataFolders;
    // The COM port index of the settings (0 for COM1).
    std::function<int()> comIndex = [] { return 0; };
    // Milliseconds on a steady clock, for the time a command took.
    std::function<std::int64_t()> nowMs = SteadyNowMs;
};

class ProgramTrunk;
class ProgramPmr;
class Upgrade;

// The command under way. `pending` is the operation whose step machine runs or waits for the
// link, until the radio work ends. The rest is what the status line speaks of: the command, when
// it began, whether it has ended, whether it completed, and the last error or warning it showed.
// Boxes shown while its ending runs (some come after the progress dialog has closed) still belong
// to it; the operations' ending timer lets it go once the ending has returned to the event loop.
struct RunningCommand {
    OperationKind pending = OperationKind::None;
    OperationKind reported = OperationKind::None;
    std::int64_t startMs = 0;
    bool ended = false;
    bool completed = false;
    std::string failure;
};

// Everything the radio commands share: the context, the link and its message layer, the link
// poll, and the step machines of every operation.
class RadioOperations : public OperationHost {
  public:
    RadioOperations(RadioContext context, DataLink& link, ProgrammingMessages& messages,
                    TimerService& timers);
    ~RadioOperations() override;
    RadioOperations(const RadioOperations&) = delete;
    RadioOperations& operator=(const RadioOperations&) = delete;

    // The main window's commands. Each returns at once while CommsBusy is set. Read Radio reads
    // the job of the checked view (kImageTrunk, kImagePmr; kImageNetwork is refused).
    void ReadRadio(int view);
    // Program Radio in the view of ImageKind (the view's store passes have run): refuses the
    // Network view and a view without a job, then starts trunk (9) or PMR (11) programming.
    void ProgramRadio();
    void RadioInformation();
    // Opens the port, resets the link, shows the progress dialog and waits for the link.
    bool BeginCommand(OperationKind operation, std::string_view caption, std::string_view text);

    // Runs `operation` at once on a link that is up already (the serial monitor's tests), without
    // the progress dialog; false while another operation is under way.
    bool StartOnOpenLink(OperationKind operation);
    // The end of an operation started on an open link: its machine stops and nothing is pending.
    void EndOnOpenLink();

    // The link poll, on every tick of the half-second poll timer.
    void LinkPollTick();

    // Every failure after the link is up: steps to idle, link reset, the reason's message,
    // progress closed, port closed.
    void AbortOperation(AbortReason reason = AbortReason::Failure);
    // The normal end: EndProgramming (the port closes once it has gone out), then `beforeClose`
    // (a last box, shown while the progress dialog is still up), then the progress dialog closes.
    void FinishOperation(const std::function<void()>& beforeClose = {});
    // Ends like FinishOperation, then shows `text` as an error once the progress dialog has gone
    // (an unusable Flash Index Table).
    void FailWithMessage(const char* text);

    // The step machine that runs `operation` once the link is up. Every radio operation's is
    // there from the start; the serial monitor registers its tests.
    void Register(OperationKind operation, std::unique_ptr<StepMachine> machine);

    // Called when a read has replaced a job, so the view can be rebuilt from the image.
    std::function<void(int imageKind)> onJobReplaced;
    // Called with a line for the main window's status bar: the connection being made, then
    // what became of the command ("Radio read: trunk configuration, 12.1 s", "Radio
    // programmed: ...", or the failure's own message), which stands until the next command.
    std::function<void(const std::string&)> onStatusMessage;
    const std::string& StatusMessage() const { return statusMessage_; }

    // OperationHost: the message layer's calls.
    OperationKind PendingOperation() const override { return command_.pending; }
    void RunStep() override;
    void ResetSteps() override;
    void AdvanceProgress() override { env_.progress.ProgressStep(); }
    void RadioRequestedLink() override;
    void CommsFailed() override;
    void PortFailed(PortError error) override;
    bool CancelPending() const override { return cancelPending_; }
    void LinkEstablished() override;
    void StopForCancel() override;

    Workspace& GetWorkspace() { return env_.workspace; }
    MainState& State() { return env_.state; }
    Person& GetPerson() { return person_; }
    Progress& GetProgress() { return env_.progress; }
    ProgrammingMessages& Messages() { return messages_; }
    DataLink& Link() { return link_; }
    const RadioContext& Context() const { return env_; }
    ProgramTrunk& TrunkProgramming() { return *trunkProgramming_; }
    ProgramPmr& PmrProgramming() { return *pmrProgramming_; }
    Upgrade& SoftwareUpgrade() { return *upgrade_; }
    RadioIdentity& Identity() { return identity_; }
    IdentificationBuffer& IdBuffer() { return idBuffer_; }
    const std::string& LastReport() const { return lastReport_; }
    void SetLastReport(std::string report) { lastReport_ = std::move(report); }
    int PollCount() const { return pollCount_; }
    bool PollActive() const;

    // The step machine registered for `operation`, or null.
    StepMachine* Machine(OperationKind operation);

  private:
    void StopSteps();
    void ProgressClosed();
    // The person asked to cancel: a read stops at once, programming between its blocks.
    void CancelRequested();
    // The status line of the command that runs or has just ended.
    void StartCommandStatus(OperationKind operation);
    void EndCommandStatus(bool cancelled);
    void BoxShown(std::string_view text);
    void Announce(std::string text);
    void EndRadioSession();
    void EndWithClosingMessage(const std::function<void()>& beforeClose, const char* text);

    RadioContext env_;
    ReportingPerson person_;
    DataLink& link_;
    ProgrammingMessages& messages_;
    RadioIdentity identity_;
    IdentificationBuffer idBuffer_;
    std::string lastReport_;
    int pollCount_ = 0;
    std::unique_ptr<Timer> pollTimer_;

    RunningCommand command_;
    // Set while an operation ends because its serial port failed.
    std::optional<PortError> portFailure_;
    bool cancelPending_ = false;
    std::string statusMessage_;
    std::unique_ptr<Timer> endingTimer_;
    std::map<OperationKind, std::unique_ptr<StepMachine>> machines_;
    ProgramTrunk* trunkProgramming_ = nullptr;
    ProgramPmr* pmrProgramming_ = nullptr;
    Upgrade* upgrade_ = nullptr;
};

}  // namespace km

#pragma once
// How every radio operation runs: the main window's command opens the port, resets the link,
// shows the progress dialog and records the pending operation; a 500 ms poll starts the
// operation's step machine once the link is up; from then on each reply of the radio advances the
// machine by one step, until FinishOperation or AbortOperation ends it. A watchdog ends an
// operation whose radio keeps the link alive but stops answering.

#include <cstdint>
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

// One operation's numbered steps. Step 0 is idle; the link poll starts it at step 1. A step
// that sends a request waits for the radio's credit first (the request is kept and sent when
// the message layer calls again); a step that waits for a reply ignores every other message.
class StepMachine {
  public:
    explicit StepMachine(RadioOperations& host) : host_(host) {}
    virtual ~StepMachine() = default;

    int Step() const { return step_; }
    void Start();
    void Stop();
    // The message layer runs the step: for a new reply, or because credit has arrived.
    void RunStep();

  protected:
    // Runs the current step for the reply `message`; an empty message starts the machine.
    virtual void Run(std::span<const std::uint8_t> message) = 0;

    // Sends IdentifyRequest, or a ReadRequest whose data go to `destination`, and moves to
    // `nextStep`, where the reply is awaited.
    void RequestIdentify(int nextStep);
    void StartRead(std::uint16_t block, std::uint16_t size, std::span<std::uint8_t> destination,
                   int nextStep);
    // Feeds the reply to the running read; each ReadData advances the progress bar. A radio
    // that sends more than was asked for ends the operation with the serial communications
    // error (the excess never reaches the destination).
    ReadProgress CollectRead();
    std::size_t ReadBytes() const;

    // The opening every operation shares. HandleIdentify decodes the reply; it returns true when
    // the operation may go on, false when the message was not the reply or the operation has
    // ended (unknown type; a secure radio refused with `secureText`, unless that is null).
    bool HandleIdentify(std::span<const std::uint8_t> message, const char* secureText);
    void ReadFit(int nextStep);
    // ValidateFit with its failure path; false when the operation has ended.
    bool FitValid();
    // Block of FIT entry `index`; shows "Error in Flash Index Table." and ends the operation when
    // it (or `extraBlocks` after it) is unusable.
    bool TakeFitBlock(int index, std::uint32_t extraBlocks, std::uint16_t& block);
    // The band check of programming: ReadBandRecord reads the band record (FIT entry 3) into
    // the identification buffer; once it is complete, BandAccepted sets RadioBand and the
    // hardware option flags and compares the band with the job's band word (two characters, the
    // first in the high byte). A mismatch ends the operation and shows the band message.
    void ReadBandRecord(int nextStep);
    bool BandAccepted(std::uint16_t jobBand);

    RadioOperations& host_;
    int step_ = 0;

  private:
    struct PendingRequest {
        bool identify = false;
        std::uint16_t block = 0;
        std::uint16_t size = 0;
        std::span<std::uint8_t> destination;
        int nextStep = 0;
    };
    void Request(PendingRequest request);
    void TrySend();

    std::optional<PendingRequest> pending_;
};

// How an operation ends after a failure.
enum class AbortReason {
    Failure,     // with the read's "Nothing to Read" warning
    CommsError,  // followed by the serial communications error
    Quiet,       // the reason has been shown already
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
};

class ProgramTrunk;
class ProgramPmr;
class Upgrade;

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
    bool BeginCommand(int operation, std::string_view caption, std::string_view text);

    // The link poll, on every Timer_1SecDelay tick.
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
    void Register(int operation, std::unique_ptr<StepMachine> machine);

    // Called when a read has replaced a job, so the view can be rebuilt from the image.
    std::function<void(int imageKind)> onJobReplaced;

    // OperationHost: the message layer's calls.
    int PendingOperation() const override { return env_.state.PendingOperation; }
    void RunStep() override;
    void ResetSteps() override;
    void AdvanceProgress() override { env_.progress.ProgressStep(); }
    void RadioRequestedLink() override;
    void CommsFailed() override;

    Workspace& GetWorkspace() { return env_.workspace; }
    MainState& State() { return env_.state; }
    Person& GetPerson() { return env_.person; }
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
    StepMachine* Machine(int operation);

  private:
    void StopSteps();
    void ProgressClosed();
    void EndRadioSession();
    void EndWithClosingMessage(const std::function<void()>& beforeClose, const char* text);

    RadioContext env_;
    DataLink& link_;
    ProgrammingMessages& messages_;
    RadioIdentity identity_;
    IdentificationBuffer idBuffer_;
    std::string lastReport_;
    int pollCount_ = 0;
    std::unique_ptr<Timer> pollTimer_;
    std::map<int, std::unique_ptr<StepMachine>> machines_;
    ProgramTrunk* trunkProgramming_ = nullptr;
    ProgramPmr* pmrProgramming_ = nullptr;
    Upgrade* upgrade_ = nullptr;
};

}  // namespace km

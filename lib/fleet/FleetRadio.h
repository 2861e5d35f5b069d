#pragma once
// One radio of a fleet on a session of its own: it is identified (its serial number and type),
// then, as the job asks, its configuration is backed up, the job is copied with the radio's own
// values from the sheet and programmed, or its configuration is read into a job file. Nothing
// blocks: every step runs from the radio's replies and the timers, so one event loop serves every
// radio of the fleet at once, and one radio failing never touches another.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/Person.h"
#include "fleet/Report.h"
#include "fleet/Sheet.h"
#include "image/State.h"
#include "link/OperationKind.h"
#include "link/SerialPort.h"
#include "link/Timers.h"

namespace km {
class RadioSession;
}

namespace km::fleet {

inline constexpr const char* kNoSheetRowText = "The sheet has no row for this radio";
inline constexpr const char* kUnknownSerialText =
    "The radio's serial number could not be read, so the sheet has no row for it";
inline constexpr const char* kBackupNotWrittenText = "The backup could not be written: ";
inline constexpr const char* kReadNotWrittenText = "The job read could not be written: ";
inline constexpr const char* kFleetCancelledText = "Cancelled";
inline constexpr const char* kRadioEndedWithoutWordText = "The radio operation did not complete";

enum class FleetTask { Program, Read };

// What every radio of a fleet is to do; shared, unchanged, by all of them.
struct FleetJob {
    FleetTask task = FleetTask::Program;
    // kImageTrunk or kImagePmr: the kind of job programmed or read.
    int view = kImageTrunk;
    // The job as it was opened (Program): copied for each radio before its own values go in.
    const Workspace* job = nullptr;
    const MainState* jobState = nullptr;
    const Sheet* sheet = nullptr;
    // A radio the sheet has no row for is programmed with the job as it is.
    bool sheetOptional = false;
    // Each radio's configuration is read and saved here before it is programmed.
    std::filesystem::path backupFolder;
    // Read: where each radio's job goes, named after its serial number.
    std::filesystem::path readFolder;
    // The answer to every question an operation asks; No when none is given.
    std::optional<Answer> answer;
    std::filesystem::path workFolder;
    std::vector<std::filesystem::path> dataFolders;
    // "20261211-031500": the date and time in a backup's name.
    std::function<std::string()> timeStamp;
};

class FleetRadio {
  public:
    // `port` names the radio in the report; `serialPort` and `timers` are its own and must
    // outlive it; `comIndex` is what the port is opened with.
    FleetRadio(std::string port, int comIndex, SerialPort& serialPort, TimerService& timers,
               const FleetJob& job);
    ~FleetRadio();
    FleetRadio(const FleetRadio&) = delete;
    FleetRadio& operator=(const FleetRadio&) = delete;

    void Start();
    // Stops the radio's operation as the progress dialog's Cancel does; nothing further is
    // started.
    void Cancel();
    bool Ended() const { return stage_ == Stage::Ended; }
    const RadioResult& Result() const { return result_; }
    // The gauge (0..100) and the status text of the operation that runs now.
    int Gauge() const;
    std::string StepText() const;

    // Called after each change of the step text, the gauge, the serial number or the result.
    std::function<void()> onChanged;

  private:
    enum class Stage { Idle, Identify, Backup, Program, Read, Ended };
    class FleetPerson;
    class FleetProgress;

    void OperationEnded();
    void AfterIdentify();
    void AfterBackup();
    void AfterRead();
    // The job with the radio's own values from the sheet, into ownJob_; false (after Fail) when
    // the sheet has no row for the radio or refuses one of its values.
    bool PrepareOwnJob();
    void StartProgramming();
    // Begins `operation`; false (after Fail) when it could not start.
    bool Begin(Stage stage, const std::function<void()>& command);
    void Fail(std::string message);
    void Succeed();
    void Changed() const;
    std::string FileStem() const;
    bool OperationCompleted(OperationKind operation);
    void PollEnd();

    const FleetJob& job_;
    int comIndex_;
    std::unique_ptr<Workspace> workspace_;
    MainState state_;
    std::unique_ptr<FleetPerson> person_;
    std::unique_ptr<FleetProgress> progress_;
    std::unique_ptr<RadioSession> session_;
    std::unique_ptr<Timer> endPoll_;
    Stage stage_ = Stage::Idle;
    bool cancelled_ = false;
    std::int64_t startMs_ = 0;
    RadioResult result_;
    std::vector<std::uint8_t> ownJob_;
};

// "KM700 mobile Rev 9", "KP800 portable": the radio as identification found it.
std::string RadioTypeText(bool portable, int mobileRevision);

}  // namespace km::fleet

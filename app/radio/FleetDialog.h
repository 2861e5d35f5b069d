#pragma once
// File > Program Several Radios...: the ports to program at once, the job (the open one or a
// file), an optional sheet of each radio's own values and a backup folder; a table with a row per
// radio (serial number once known, live progress and step, result and time); Cancel stops every
// radio; the report can be saved as CSV.

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "ComPortMap.h"
#include "fleet/FleetRadio.h"
#include "image/State.h"

namespace km {

class Dialogs;
class Person;

inline constexpr const char* kFleetDialogCaption = "Program Several Radios";
inline constexpr const char* kFleetNoPortText = "Choose at least one port.";
inline constexpr const char* kFleetNoJobText = "Choose a job file.";
inline constexpr const char* kFleetSheetErrorText = "The sheet cannot be used:\n%1";
inline constexpr const char* kFleetBackupFolderText = "The backup folder cannot be made:\n%1";
inline constexpr const char* kFleetReportNotWrittenText = "Cannot write file %1.";

struct FleetDialogContext {
    std::filesystem::path workFolder;
    std::vector<std::filesystem::path> dataFolders;
    Dialogs& dialogs;
    Person& person;
    // The open job (null when none can be programmed, in the Network view say) and its kind.
    const Workspace* openJob = nullptr;
    const MainState* openJobState = nullptr;
    int openJobView = kImageTrunk;
    // Runs the store passes and the job's checks of the open job before it is used; false stops.
    std::function<bool()> prepareOpenJob;
    // The ports listed (COM1 .. COM16 with their devices); ListComPorts of the working folder
    // when empty.
    std::function<std::vector<ComPortListing>()> listPorts;
};

class FleetDialog : public QDialog {
    Q_OBJECT

  public:
    explicit FleetDialog(FleetDialogContext context, QWidget* parent = nullptr);
    ~FleetDialog() override;

    bool Running() const;
    // Every radio of the last start has ended.
    bool Finished() const;
    const std::vector<fleet::RadioResult>& Results() const { return results_; }

    // The controls, named for the tests.
    QListWidget ports;
    QRadioButton openJobButton{"The open job"};
    QRadioButton fileJobButton{"Job file:"};
    QLineEdit jobFile;
    QPushButton jobBrowse{"Browse..."};
    QLineEdit sheetFile;
    QPushButton sheetBrowse{"Browse..."};
    QCheckBox sheetOptional{"Program a radio the sheet has no row for with the job as it is"};
    QLineEdit backupFolder;
    QPushButton backupBrowse{"Browse..."};
    QCheckBox answerYes{"Answer Yes to the radios' questions"};
    QTableWidget table;
    QPushButton startButton{"Start"};
    QPushButton cancelButton{"Cancel"};
    QPushButton saveReportButton{"Save Report..."};
    QPushButton closeButton{"Close"};

  public slots:
    void StartClick();
    void CancelClick();
    void SaveReportClick();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

  private:
    struct Station;

    void Layout();
    bool PrepareJob();
    void ShowRow(std::size_t row);
    void StationChanged(std::size_t row);
    void EnableControls();

    FleetDialogContext context_;
    std::unique_ptr<Workspace> fileJob_;
    MainState fileJobState_;
    std::optional<fleet::Sheet> sheet_;
    fleet::FleetJob job_;
    std::vector<std::unique_ptr<Station>> stations_;
    std::vector<fleet::RadioResult> results_;
};

// The rows of the table: port, serial number, radio, progress, step, result, time.
inline constexpr int kFleetColumns = 7;

}  // namespace km

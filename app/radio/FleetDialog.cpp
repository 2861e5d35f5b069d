#include "radio/FleetDialog.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QProgressBar>
#include <QScrollBar>
#include <QVBoxLayout>
#include <array>

#include "Dialogs.h"
#include "OptionDialogs.h"
#include "QtSerialPort.h"
#include "QtTimers.h"
#include "core/Files.h"
#include "core/Person.h"
#include "image/JobFiles.h"

namespace km {

namespace fs = std::filesystem;

namespace {

constexpr std::array<const char*, kFleetColumns> kColumnTitles = {
    "Port", "Serial No.", "Radio", "Progress", "Step", "Result", "Time"};
enum Column { kPort, kSerial, kRadio, kProgress, kStep, kResult, kTime };
constexpr const char* kJobFilters =
    "Trunk Config Files (*.tnk)|*.tnk|PMR Config Files (*.pmr)|*.pmr||*.TNK|*.PMR";
constexpr const char* kSheetFilters = "Sheets (*.csv)|*.csv||*.CSV";
constexpr const char* kReportFilters = "Reports (*.csv)|*.csv||*.CSV";
constexpr std::size_t kMaxSheetBytes = 16 << 20;
constexpr int kComPorts = 16;

QString Text(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

bool WriteText(const fs::path& file, const std::string& text) {
    return WriteFileAtomically(
        file, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

}  // namespace

struct FleetDialog::Station {
    QtSerialPort port;
    QtTimerService timers;
    std::unique_ptr<fleet::FleetRadio> radio;

    explicit Station(const fs::path& workFolder) : port(ComPortsResolver(workFolder)) {}
};

FleetDialog::FleetDialog(FleetDialogContext context, QWidget* parent)
    : QDialog(parent), context_(std::move(context)) {
    setObjectName("FleetDialog");
    setWindowTitle(kFleetDialogCaption);
    ports.setObjectName("FleetPorts");
    openJobButton.setObjectName("FleetOpenJob");
    fileJobButton.setObjectName("FleetFileJob");
    jobFile.setObjectName("FleetJobFile");
    sheetFile.setObjectName("FleetSheetFile");
    sheetOptional.setObjectName("FleetSheetOptional");
    backupFolder.setObjectName("FleetBackupFolder");
    answerYes.setObjectName("FleetAnswerYes");
    table.setObjectName("FleetTable");
    startButton.setObjectName("FleetStart");
    cancelButton.setObjectName("FleetCancel");
    saveReportButton.setObjectName("FleetSaveReport");
    closeButton.setObjectName("FleetClose");

    // Each COM number with the device it leads to, as the COM Port dialog shows them.
    const auto listing =
        context_.listPorts ? context_.listPorts() : ListComPorts(kComPorts, context_.workFolder);
    for (const QString& row : ComPortRows(listing)) {
        auto item = std::make_unique<QListWidgetItem>(row);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
        ports.addItem(item.release());
    }
    ports.setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    // As wide as its rows, so that each device and its description can be read.
    ports.setMinimumWidth(ports.sizeHintForColumn(0) + 2 * ports.frameWidth() +
                          ports.verticalScrollBar()->sizeHint().width());

    openJobButton.setEnabled(context_.openJob != nullptr);
    (context_.openJob != nullptr ? openJobButton : fileJobButton).setChecked(true);

    table.setColumnCount(kFleetColumns);
    QStringList titles;
    for (const char* title : kColumnTitles) {
        titles << title;
    }
    table.setHorizontalHeaderLabels(titles);
    table.verticalHeader()->hide();
    table.setEditTriggers(QAbstractItemView::NoEditTriggers);
    table.horizontalHeader()->setSectionResizeMode(kStep, QHeaderView::Stretch);

    connect(&startButton, &QPushButton::clicked, this, &FleetDialog::StartClick);
    connect(&cancelButton, &QPushButton::clicked, this, &FleetDialog::CancelClick);
    connect(&saveReportButton, &QPushButton::clicked, this, &FleetDialog::SaveReportClick);
    connect(&closeButton, &QPushButton::clicked, this, &FleetDialog::reject);
    connect(&jobBrowse, &QPushButton::clicked, this, [this] {
        FileDialogRequest request{FileDialogId::OpenJob, "Job to program", QtFilters(kJobFilters)};
        if (const auto file = context_.dialogs.OpenFile(request)) {
            jobFile.setText(*file);
            fileJobButton.setChecked(true);
        }
    });
    connect(&sheetBrowse, &QPushButton::clicked, this, [this] {
        FileDialogRequest request{FileDialogId::OpenJob, "Sheet of the radios' own values",
                                  QtFilters(kSheetFilters)};
        if (const auto file = context_.dialogs.OpenFile(request)) {
            sheetFile.setText(*file);
        }
    });
    connect(&backupBrowse, &QPushButton::clicked, this, [this] {
        const QString folder = QFileDialog::getExistingDirectory(this, "Backup folder");
        if (!folder.isEmpty()) {
            backupFolder.setText(folder);
        }
    });
    Layout();
    EnableControls();
}

FleetDialog::~FleetDialog() = default;

void FleetDialog::Layout() {
    auto portsBox = std::make_unique<QGroupBox>("Ports");
    auto portsLayout = std::make_unique<QVBoxLayout>();
    portsLayout->addWidget(&ports);
    portsBox->setLayout(portsLayout.release());

    auto jobRow = std::make_unique<QHBoxLayout>();
    jobRow->addWidget(&fileJobButton);
    jobRow->addWidget(&jobFile, 1);
    jobRow->addWidget(&jobBrowse);
    auto sheetRow = std::make_unique<QHBoxLayout>();
    sheetRow->addWidget(&sheetFile, 1);
    sheetRow->addWidget(&sheetBrowse);
    auto backupRow = std::make_unique<QHBoxLayout>();
    backupRow->addWidget(&backupFolder, 1);
    backupRow->addWidget(&backupBrowse);

    auto form = std::make_unique<QFormLayout>();
    form->addRow("Job:", &openJobButton);
    form->addRow("", jobRow.release());
    form->addRow("Sheet (optional):", sheetRow.release());
    form->addRow("", &sheetOptional);
    form->addRow("Backup folder (optional):", backupRow.release());
    form->addRow("", &answerYes);

    auto top = std::make_unique<QHBoxLayout>();
    top->addWidget(portsBox.release());
    top->addLayout(form.release(), 1);

    auto buttons = std::make_unique<QHBoxLayout>();
    buttons->addWidget(&startButton);
    buttons->addWidget(&cancelButton);
    buttons->addStretch();
    buttons->addWidget(&saveReportButton);
    buttons->addWidget(&closeButton);

    auto layout = std::make_unique<QVBoxLayout>();
    layout->addLayout(top.release());
    layout->addWidget(&table, 1);
    layout->addLayout(buttons.release());
    setLayout(layout.release());
    resize(1040, 600);
}

bool FleetDialog::Running() const {
    return !stations_.empty() && !Finished();
}

bool FleetDialog::Finished() const {
    if (stations_.empty()) {
        return false;
    }
    for (const auto& station : stations_) {
        if (!station->radio->Ended()) {
            return false;
        }
    }
    return true;
}

void FleetDialog::EnableControls() {
    const bool running = Running();
    for (QWidget* control : std::initializer_list<QWidget*>{
             &ports, &fileJobButton, &jobFile, &jobBrowse, &sheetFile, &sheetBrowse, &sheetOptional,
             &backupFolder, &backupBrowse, &answerYes, &startButton, &closeButton}) {
        control->setEnabled(!running);
    }
    openJobButton.setEnabled(!running && context_.openJob != nullptr);
    cancelButton.setEnabled(running);
    saveReportButton.setEnabled(!running && !results_.empty());
}

bool FleetDialog::PrepareJob() {
    if (openJobButton.isChecked()) {
        if (context_.prepareOpenJob && !context_.prepareOpenJob()) {
            return false;
        }
        job_.job = context_.openJob;
        job_.jobState = context_.openJobState;
        job_.view = context_.openJobView;
        return true;
    }
    if (jobFile.text().trimmed().isEmpty()) {
        context_.person.Error(kFleetNoJobText);
        return false;
    }
    fileJob_ = std::make_unique<Workspace>();
    fileJobState_ = MainState();
    JobFiles files(*fileJob_, fileJobState_, context_.person, context_.workFolder);
    static_cast<void>(files.Open(fs::absolute(jobFile.text().trimmed().toStdString())));
    if (!fileJobState_.TrunkJobLoaded && !fileJobState_.PmrJobLoaded) {
        return false;  // the reason has been shown
    }
    job_.job = fileJob_.get();
    job_.jobState = &fileJobState_;
    job_.view = fileJobState_.TrunkJobLoaded ? kImageTrunk : kImagePmr;
    return true;
}

void FleetDialog::StartClick() {
    if (Running()) {
        return;
    }
    std::vector<int> chosen;
    for (int i = 0; i < ports.count(); ++i) {
        if (ports.item(i)->checkState() == Qt::Checked) {
            chosen.push_back(i);
        }
    }
    if (chosen.empty()) {
        context_.person.Error(kFleetNoPortText);
        return;
    }
    if (!PrepareJob()) {
        return;
    }
    sheet_.reset();
    if (const QString sheet = sheetFile.text().trimmed(); !sheet.isEmpty()) {
        const auto bytes = ReadFileBytes(sheet.toStdString(), kMaxSheetBytes + 1);
        auto parsed =
            bytes && bytes->size() <= kMaxSheetBytes
                ? fleet::ParseSheet(
                      std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()))
                : std::variant<fleet::Sheet, std::string>(sheet.toStdString() + ": cannot be read");
        if (auto* error = std::get_if<std::string>(&parsed)) {
            context_.person.Error(QString(kFleetSheetErrorText).arg(Text(*error)).toStdString());
            return;
        }
        sheet_ = std::get<fleet::Sheet>(std::move(parsed));
    }
    const QString backup = backupFolder.text().trimmed();
    if (!backup.isEmpty()) {
        std::error_code ec;
        fs::create_directories(backup.toStdString(), ec);
        if (!fs::is_directory(backup.toStdString())) {
            context_.person.Error(QString(kFleetBackupFolderText).arg(backup).toStdString());
            return;
        }
    }
    job_.task = fleet::FleetTask::Program;
    job_.sheet = sheet_ ? &*sheet_ : nullptr;
    job_.sheetOptional = sheetOptional.isChecked();
    job_.backupFolder = backup.isEmpty() ? fs::path() : fs::absolute(backup.toStdString());
    job_.answer = answerYes.isChecked() ? std::optional(Answer::Yes) : std::nullopt;
    job_.workFolder = context_.workFolder;
    job_.dataFolders = context_.dataFolders;
    job_.timeStamp = [] {
        return QDateTime::currentDateTime().toString("yyyyMMdd-HHmmss").toStdString();
    };

    stations_.clear();
    results_.clear();
    table.setRowCount(static_cast<int>(chosen.size()));
    for (std::size_t row = 0; row < chosen.size(); ++row) {
        auto station = std::make_unique<Station>(context_.workFolder);
        const int comIndex = chosen[row];
        station->radio = std::make_unique<fleet::FleetRadio>(
            "COM" + std::to_string(comIndex + 1), comIndex, station->port, station->timers, job_);
        station->radio->onChanged = [this, row] { StationChanged(row); };
        stations_.push_back(std::move(station));
        for (int column = 0; column < kFleetColumns; ++column) {
            table.setItem(static_cast<int>(row), column,
                          std::make_unique<QTableWidgetItem>().release());
        }
        auto bar = std::make_unique<QProgressBar>();
        bar->setRange(0, 100);
        table.setCellWidget(static_cast<int>(row), kProgress, bar.release());
        ShowRow(row);
    }
    EnableControls();
    for (auto& station : stations_) {
        station->radio->Start();
    }
}

void FleetDialog::ShowRow(std::size_t row) {
    const fleet::FleetRadio& radio = *stations_[row]->radio;
    const fleet::RadioResult& result = radio.Result();
    const int r = static_cast<int>(row);
    table.item(r, kPort)->setText(Text(result.port));
    table.item(r, kSerial)->setText(Text(result.serial));
    table.item(r, kRadio)->setText(Text(result.radio));
    if (auto* bar = qobject_cast<QProgressBar*>(table.cellWidget(r, kProgress))) {
        bar->setValue(radio.Gauge());
    }
    table.item(r, kStep)->setText(radio.Ended() ? Text(result.message) : Text(radio.StepText()));
    table.item(r, kResult)
        ->setText(radio.Ended() ? (result.done ? fleet::kResultDone : fleet::kResultFailed) : "");
    table.item(r, kTime)->setText(radio.Ended() ? QString::number(result.seconds, 'f', 1) + " s"
                                                : "");
}

void FleetDialog::StationChanged(std::size_t row) {
    ShowRow(row);
    if (Finished() && results_.empty()) {
        for (const auto& station : stations_) {
            results_.push_back(station->radio->Result());
        }
        for (int column = 0; column < kFleetColumns; ++column) {
            if (column != kStep) {
                table.resizeColumnToContents(column);
            }
        }
        EnableControls();
    }
}

void FleetDialog::CancelClick() {
    for (auto& station : stations_) {
        station->radio->Cancel();
    }
}

void FleetDialog::SaveReportClick() {
    if (results_.empty()) {
        return;
    }
    FileDialogRequest request{FileDialogId::SaveAs, "Save Report", QtFilters(kReportFilters), 1,
                              "csv"};
    const auto file = context_.dialogs.SaveFile(request);
    if (!file) {
        return;
    }
    if (!WriteText(file->toStdString(), fleet::ReportCsv(results_))) {
        context_.person.Error(QString(kFleetReportNotWrittenText).arg(*file).toStdString());
    }
}

void FleetDialog::closeEvent(QCloseEvent* event) {
    // The radios are stopped first; the dialog closes once they have all ended.
    if (Running()) {
        CancelClick();
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void FleetDialog::reject() {
    if (Running()) {
        CancelClick();
        return;
    }
    QDialog::reject();
}

}  // namespace km

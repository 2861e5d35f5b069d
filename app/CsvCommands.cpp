#include "CsvCommands.h"

#include <QFileInfo>

#include "config/Phonebook.h"
#include "core/Files.h"
#include "forms/FieldBinder.h"
#include "forms/Undo.h"
#include "forms/pmr/ChnForm.h"
#include "forms/pmr/SclForm.h"
#include "forms/pmr/ZoneEditor.h"
#include "image/JobFiles.h"
#include "pmr/PmrCsv.h"
#include "pmr/SclMap.h"

namespace km {
namespace {

constexpr std::string_view kNotTrunkText = "This option does not apply to trunk configurations.";
constexpr std::string_view kNoJobText = "Please load a valid job configuration first.";
constexpr std::string_view kSaveChannelsFirstText =
    "RCP Job configuration file must be saved,                  \n"
    "before saving Channel Table to a CSV file.";
constexpr std::string_view kSaveZonesFirstText =
    "RCP Job configuration file must be saved,                  \n"
    "before saving Zone Table to a CSV file.";
constexpr std::string_view kSavePhonebookFirstText =
    "RCP Job configuration file must be saved,                  \n"
    "before saving phonebook to a CSV file.";
constexpr std::string_view kSaveStatusFirstText =
    "RCP Job configuration file must be saved,                  \n"
    "before saving Status Message List to a CSV file.";
constexpr std::string_view kNotTrunkStatusText =
    "This option does not apply to the trunk status table.";
constexpr const char* kSaveTitle = "Save As - CSV File";
constexpr const char* kOpenChannelsTitle = "Open - PMR Channel or Phonebook CSV File";
constexpr const char* kOpenZonesTitle = "Open Zone Table CSV File";
constexpr const char* kOpenPhonebookTitle = "Open - Phonebook CSV File";
constexpr const char* kOpenStatusTitle = "Open - Status List CSV File";
constexpr int kSaveFilterIndex = 4;
constexpr int kOpenFilterIndex = 5;
constexpr const char* kJobsFolder = "Jobs";
// A CSV file of any table the program writes is far smaller.
constexpr std::size_t kLargestCsvFile = 16 * 1024 * 1024;

std::string_view AsText(const std::vector<std::uint8_t>& bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// Rows of a file beyond a phone book's 250 or the status list's 100 entries.
std::string RowsBeyondTheListText(std::size_t skipped, std::size_t entries) {
    return std::to_string(skipped) + " rows of the file were not imported:\nthe list holds " +
           std::to_string(entries) + " entries.";
}

// The rows of an imported file shown by `show`; nullopt after the warning when the file is no
// such table.
template <class Entry, class Show>
std::optional<csv::ImportSummary> ShowImported(
    const std::variant<pmr::GridImport<Entry>, std::string>& imported, Person& person, Show show) {
    if (const auto* error = std::get_if<std::string>(&imported)) {
        person.Warn(*error);
        return std::nullopt;
    }
    const auto& result = std::get<pmr::GridImport<Entry>>(imported);
    show(result.entries);
    return result.summary;
}

}  // namespace

CsvCommands::CsvCommands(Workspace& workspace, MainState& state, Person& person, Dialogs& dialogs,
                         std::filesystem::path workDir, std::function<ConfigForm*(FormId)> form)
    : workspace_(workspace),
      state_(state),
      person_(person),
      dialogs_(dialogs),
      workDir_(std::move(workDir)),
      form_(std::move(form)) {}

void CsvCommands::Connect(QMenu& imports, QMenu& exports) {
    const std::pair<const char*, void (CsvCommands::*)()> handlers[] = {
        {"CSVImportPhonebook", &CsvCommands::CSVImportPhonebookClick},
        {"CSVExportPhonebook", &CsvCommands::CSVExportPhonebookClick},
        {"CSVImportPMRChannels", &CsvCommands::CSVImportPMRChannelsClick},
        {"CSVExportPMRChannels", &CsvCommands::CSVExportPMRChannelsClick},
        {"CsvImportZoneTable", &CsvCommands::CsvImportZoneTableClick},
        {"CsvExportZoneTable", &CsvCommands::CsvExportZoneTableClick},
        {"CSVImportStatus", &CsvCommands::CSVImportStatusClick},
        {"CsvExportStatus", &CsvCommands::CsvExportStatusClick},
    };
    for (const auto& entry : handlers) {
        const auto handler = entry.second;
        for (QMenu* menu : {&imports, &exports}) {
            if (auto* item = menu->findChild<QAction*>(entry.first)) {
                QObject::connect(item, &QAction::triggered, item,
                                 [this, handler] { (this->*handler)(); });
            }
        }
    }
}

void CsvCommands::SetCaptionChanged(std::function<void()> changed) {
    captionChanged_ = std::move(changed);
}

void CsvCommands::SetStoreView(std::function<bool()> store) {
    storeView_ = std::move(store);
}

bool CsvCommands::StoreIdentities() {
    ConfigForm* identities = form_(FormId::Identities);
    if (identities == nullptr) {
        return true;
    }
    if (!identities->CheckFocusedField()) {
        return false;
    }
    identities->StorePass();
    return true;
}

// The PMR phone book is the Selcall form's; in the PMR view these items are its.
void CsvCommands::CSVExportPhonebookClick() {
    if (state_.CommsBusy) {
        return;
    }
    if (!(state_.ImageKind == kImageTrunk && state_.TrunkJobLoaded) &&
        !(state_.ImageKind == kImagePmr && state_.PmrJobLoaded)) {
        person_.Warn(kNoJobText);
        return;
    }
    if (state_.ImageKind != kImageTrunk) {
        ExportSelcallList(SelcallList::Phonebook);
        return;
    }
    person_.Warn(kSavePhonebookFirstText);
    const std::optional<QString> path = SavePath();
    if (!path || !StoreIdentities()) {
        return;
    }
    if (WriteCsv(*path, ExportPhonebookCsvOfImage(workspace_.trunk.Bytes()))) {
        Remember(*path);
    }
}

void CsvCommands::CSVImportPhonebookClick() {
    if (state_.CommsBusy) {
        return;
    }
    if (!(state_.ImageKind == kImageTrunk && state_.TrunkJobLoaded) &&
        !(state_.ImageKind == kImagePmr && state_.PmrJobLoaded)) {
        person_.Warn(kNoJobText);
        return;
    }
    if (state_.ImageKind != kImageTrunk) {
        ImportSelcallList(SelcallList::Phonebook);
        return;
    }
    const std::optional<QString> path = OpenPath(kOpenPhonebookTitle);
    if (!path) {
        return;
    }
    const auto bytes = ReadFileBytes(path->toStdString(), kLargestCsvFile);
    if (!bytes) {
        return;
    }
    // The whole file is checked before anything changes.
    const auto imported = ImportPhonebookCsv(AsText(*bytes));
    if (const auto* error = std::get_if<std::string>(&imported)) {
        person_.Warn(*error);
        return;
    }
    if (!StoreIdentities()) {
        return;
    }
    const auto& result = std::get<PhonebookImport>(imported);
    StorePhonebook(workspace_.trunk.Bytes(), result.entries);
    if (ConfigForm* identities = form_(FormId::Identities)) {
        identities->LoadPass();
    }
    // The file went into the job itself: earlier edits of the form cannot come back.
    undo::StartAfresh();
    ForgetJobFileName();
    Remember(*path);
    if (result.summary.skipped > 0) {
        person_.Warn(RowsBeyondTheListText(result.summary.skipped, result.entries.size()));
    }
}

void CsvCommands::CSVImportStatusClick() {
    if (!state_.CommsBusy && state_.ImageKind == kImageTrunk) {
        person_.Warn(kNotTrunkStatusText);
        return;
    }
    if (PmrJobShown()) {
        ImportSelcallList(SelcallList::Status);
    }
}

void CsvCommands::CsvExportStatusClick() {
    if (PmrJobShown()) {
        ExportSelcallList(SelcallList::Status);
    }
}

void CsvCommands::CSVImportPMRChannelsClick() {
    Import(Table::Channels);
}
void CsvCommands::CSVExportPMRChannelsClick() {
    Export(Table::Channels);
}
void CsvCommands::CsvImportZoneTableClick() {
    Import(Table::Zones);
}
void CsvCommands::CsvExportZoneTableClick() {
    Export(Table::Zones);
}

bool CsvCommands::PmrJobShown() {
    if (state_.CommsBusy) {
        return false;
    }
    if (state_.ImageKind == kImageTrunk) {
        person_.Warn(kNotTrunkText);
        return false;
    }
    if (state_.ImageKind != kImagePmr || !state_.PmrJobLoaded) {
        person_.Warn(kNoJobText);
        return false;
    }
    return true;
}

void CsvCommands::ForgetJobFileName() {
    state_.CurrentJobFileName.clear();
    if (captionChanged_) {
        captionChanged_();
    }
}

void CsvCommands::Remember(const QString& path) {
    lastCsvFileName_ = path;
    state_.CsvFolder = QFileInfo(path).absolutePath().toStdString();
}

void CsvCommands::Export(Table table) {
    if (!PmrJobShown()) {
        return;
    }
    person_.Warn(table == Table::Channels ? kSaveChannelsFirstText : kSaveZonesFirstText);
    const std::optional<QString> path = SavePath();
    // The tables as the forms show them: added, renamed and deleted entries included.
    if (!path || (storeView_ && !storeView_())) {
        return;
    }
    const std::string file =
        table == Table::Channels ? pmr::ChannelsCsv(workspace_.pmr) : pmr::ZonesCsv(workspace_.pmr);
    if (WriteCsv(*path, file)) {
        Remember(*path);
    }
}

void CsvCommands::Import(Table table) {
    if (!PmrJobShown()) {
        return;
    }
    auto* channels = qobject_cast<TCHN_Form_Channels*>(form_(FormId::Channels));
    if (channels == nullptr) {
        return;
    }
    const std::optional<QString> path =
        OpenPath(table == Table::Channels ? kOpenChannelsTitle : kOpenZonesTitle);
    if (!path) {
        return;
    }
    const auto bytes = ReadFileBytes(path->toStdString(), kLargestCsvFile);
    if (!bytes) {
        return;
    }
    if (table == Table::Channels) {
        pmr::ChannelsImport import = pmr::ReadChannelsCsv(AsText(*bytes), state_.RadioTypeMask);
        if (!import.valid) {
            person_.Warn(pmr::kNotAChannelTableText);
            return;
        }
        channels->ReplaceTable(std::move(import.table));
        if (import.skipped > 0) {
            person_.Warn(pmr::SkippedRowsText(import.skipped));
        }
    } else {
        const pmr::ZonesImport import = pmr::ReadZonesCsv(AsText(*bytes));
        if (!import.valid) {
            person_.Warn(pmr::kNotAZoneTableText);
            return;
        }
        channels->Tab_CHN_Zones->Import(import);
    }
    Remember(*path);
}

std::optional<QString> CsvCommands::SavePath() {
    FileDialogRequest request;
    request.dialog = FileDialogId::SaveAs;
    request.title = kSaveTitle;
    request.filters = QtFilters(kSaveDialogFilter);
    request.filterIndex = kSaveFilterIndex;
    request.defaultSuffix = "csv";
    request.folder = QString::fromStdString((workDir_ / kJobsFolder).string());
    request.proposedName = lastCsvFileName_;
    return dialogs_.SaveFile(request);
}

std::optional<QString> CsvCommands::OpenPath(const char* title) {
    FileDialogRequest request;
    request.dialog = FileDialogId::OpenJob;
    request.title = title;
    request.filters = QtFilters(kOpenDialogFilter);
    request.filterIndex = kOpenFilterIndex;
    request.defaultSuffix = "csv";
    request.folder = QString::fromStdString((workDir_ / state_.CsvFolder).string());
    const std::optional<QString> path = dialogs_.OpenFile(request);
    if (!path || !ExtensionIs(path->toStdString(), ".csv")) {
        return std::nullopt;
    }
    return path;
}

bool CsvCommands::WriteCsv(const QString& path, std::string_view file) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(file.data());
    if (!WriteFileAtomically(path.toStdString(), {bytes, file.size()})) {
        person_.Error(CannotWriteFileText(QFileInfo(path).fileName().toStdString()));
        return false;
    }
    return true;
}

void CsvCommands::ExportSelcallList(SelcallList list) {
    auto* selcall = qobject_cast<TSCL_Form_Selcall*>(form_(FormId::Selcall));
    if (selcall == nullptr) {
        return;
    }
    const bool phonebook = list == SelcallList::Phonebook;
    person_.Warn(phonebook ? kSavePhonebookFirstText : kSaveStatusFirstText);
    const std::optional<QString> path = SavePath();
    if (!path) {
        return;
    }
    const std::string file = phonebook ? pmr::ExportSelcallPhonebookCsv(selcall->PhoneBookRows())
                                       : pmr::ExportStatusListCsv(selcall->StatusRows());
    if (WriteCsv(*path, file)) {
        Remember(*path);
    }
}

void CsvCommands::ImportSelcallList(SelcallList list) {
    auto* selcall = qobject_cast<TSCL_Form_Selcall*>(form_(FormId::Selcall));
    if (selcall == nullptr) {
        return;
    }
    const bool phonebook = list == SelcallList::Phonebook;
    const std::optional<QString> path =
        OpenPath(phonebook ? kOpenPhonebookTitle : kOpenStatusTitle);
    if (!path) {
        return;
    }
    const auto bytes = ReadFileBytes(path->toStdString(), kLargestCsvFile);
    if (!bytes) {
        return;
    }
    // The whole file is checked before the grid is emptied and filled.
    const auto summary =
        phonebook ? ShowImported(pmr::ImportSelcallPhonebookCsv(AsText(*bytes)), person_,
                                 [selcall](const auto& rows) { selcall->ShowPhoneBookRows(rows); })
                  : ShowImported(pmr::ImportStatusListCsv(AsText(*bytes)), person_,
                                 [selcall](const auto& rows) { selcall->ShowStatusRows(rows); });
    if (!summary) {
        return;
    }
    if (phonebook) {
        state_.CurrentJobFileName.clear();
        if (captionChanged_) {
            captionChanged_();
        }
    }
    Remember(*path);
    if (summary->skipped > 0) {
        person_.Warn(RowsBeyondTheListText(
            summary->skipped, phonebook ? pmr::kPhoneBookEntries : pmr::kStatusEntries));
    }
}

}  // namespace km

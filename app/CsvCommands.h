#pragma once
// The items of the File menu's CSV Import and CSV Export: the trunk phone book, the PMR channel
// table and the PMR zone table, the PMR phone book and the status list to and from CSV files. An
// export writes what the forms show: the channel and zone tables and the trunk phone book from
// the image after the forms were stored into it (the job file itself is not written), the PMR
// phone book and status list from the Selcall form's grids; an import reads the whole file and
// checks it before the form's table is replaced, so a wrong file changes nothing.

#include <QMenu>
#include <QString>
#include <filesystem>
#include <functional>
#include <optional>
#include <string_view>

#include "Dialogs.h"
#include "forms/ConfigForm.h"

namespace km {

class CsvCommands {
  public:
    // `form` gives the open form of an id (null when it is not open).
    CsvCommands(Workspace& workspace, MainState& state, Person& person, Dialogs& dialogs,
                std::filesystem::path workDir, std::function<ConfigForm*(FormId)> form);

    // Connects the items of the two menus that name the handlers below (by object name).
    void Connect(QMenu& imports, QMenu& exports);

    // Called when an import has emptied CurrentJobFileName, for the window caption.
    void SetCaptionChanged(std::function<void()> changed);
    // The store pass set of the view on screen; false when the field being edited failed its
    // check. The channel and zone exports run it, so that the file holds what the forms show.
    void SetStoreView(std::function<bool()> store);

    // Handlers of the menu items, named as the domain names them.
    void CSVImportPhonebookClick();
    void CSVExportPhonebookClick();
    void CSVImportPMRChannelsClick();
    void CSVExportPMRChannelsClick();
    void CsvImportZoneTableClick();
    void CsvExportZoneTableClick();
    void CSVImportStatusClick();
    void CsvExportStatusClick();

  private:
    enum class Table { Channels, Zones };
    // The preconditions of a PMR table command; false after the refusal was shown.
    bool PmrJobShown();
    // The Identities form stored, so that the image holds its phone book; false when the field
    // being edited failed its check.
    bool StoreIdentities();
    void Export(Table table);
    void Import(Table table);
    // The PMR phone book and the status list: the Selcall form's grids.
    enum class SelcallList { Phonebook, Status };
    void ExportSelcallList(SelcallList list);
    void ImportSelcallList(SelcallList list);
    // The save and open dialogs of a CSV file; nullopt when cancelled (or not a .csv file).
    std::optional<QString> SavePath();
    std::optional<QString> OpenPath(const char* title);
    // Writes a file whole; false after telling the user it could not be written.
    bool WriteCsv(const QString& path, std::string_view file);
    // A phone book import empties CurrentJobFileName.
    void ForgetJobFileName();
    // Remembers a file as the last CSV file and its folder as the CSV folder.
    void Remember(const QString& path);

    Workspace& workspace_;
    MainState& state_;
    Person& person_;
    Dialogs& dialogs_;
    std::filesystem::path workDir_;
    std::function<ConfigForm*(FormId)> form_;
    std::function<void()> captionChanged_;
    std::function<bool()> storeView_;
    QString lastCsvFileName_;
};

}  // namespace km

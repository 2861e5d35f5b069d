#pragma once
// The file dialogs and modal dialogs of the program, behind one seam so that tests can script
// them: the program shows real dialogs, a test answers them from a script.

#include <QString>
#include <QStringList>
#include <optional>
#include <string_view>

class QDialog;
class QFileDialog;
class QWidget;

namespace km {

// The program's three file dialogs; each remembers the file last chosen in it.
enum class FileDialogId { OpenJob, SaveAs, NetworkFile, PrintPdf, Count };

struct FileDialogRequest {
    FileDialogId dialog = FileDialogId::OpenJob;
    QString title;
    QStringList filters;  // in Qt's form, e.g. "Trunk Config Files (*.tnk *.TNK)"
    int filterIndex = 1;  // 1-based, the filter selected when the dialog opens
    QString defaultSuffix;
    QString folder;
    QString proposedName;  // empty: no name proposed
};

class Dialogs {
  public:
    virtual ~Dialogs() = default;
    // The chosen path, or nullopt when the dialog was cancelled. An open dialog only returns a
    // file that exists; a save dialog has asked before overwriting a file.
    virtual std::optional<QString> OpenFile(const FileDialogRequest& request) = 0;
    virtual std::optional<QString> SaveFile(const FileDialogRequest& request) = 0;
    // Shows a modal dialog and returns its result code.
    virtual int Exec(QDialog& dialog) = 0;

    // The file name last chosen in a dialog (empty when none, or after ForgetFileName).
    QString LastFileName(FileDialogId dialog) const;
    void ForgetFileName(FileDialogId dialog);

  protected:
    void Remember(FileDialogId dialog, const QString& path);

  private:
    QString last_[static_cast<int>(FileDialogId::Count)];
};

// Turns a filter list written as "Name (*.a)|*.a|Other (*.b)|*.b||*.A" into Qt's filters: every
// pair becomes one filter, and a pattern without a name joins the filter whose pattern it matches
// ignoring case (so both "*.tnk" and "*.TNK" files are listed).
QStringList QtFilters(std::string_view pipeSeparated);

// The filters of the Open and Compare dialogs: the Open dialog's filter list without the kinds
// Open refuses (program code, CSV), so that only job and network files are offered.
QStringList JobFileFilters();

// Sets a file dialog up for a request: title, filters, folder, proposed name, and a size that
// shows the Size and Date Modified columns of its detail view.
void PrepareFileDialog(QFileDialog& dialog, const FileDialogRequest& request);

// The program's dialogs on screen.
class QtDialogs : public Dialogs {
  public:
    explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void SetParent(QWidget* parent) { parent_ = parent; }

    std::optional<QString> OpenFile(const FileDialogRequest& request) override;
    std::optional<QString> SaveFile(const FileDialogRequest& request) override;
    int Exec(QDialog& dialog) override;

  private:
    QWidget* parent_;
};

}  // namespace km

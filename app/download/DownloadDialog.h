#pragma once
// The download dialog of Upgrade Software (`TForm_DLD_Download`, "Download Radio Software"): the
// person picks one radio code file, sees its Software Description and downloads it into the
// connected radio. It is not modal and lives for the whole run. While a radio operation runs its
// buttons do nothing and it cannot be closed, so no file is read into the buffers the operation
// writes from and the port is never closed under a flash write.

#include <QDialog>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <filesystem>

#include "core/Person.h"
#include "image/State.h"
#include "radio/Upgrade.h"

namespace km {

class Dialogs;

inline constexpr const char* kDownloadCaption = "Download Radio Software";
inline constexpr const char* kOpenCodeFileTitle = "Open - Radio Program File";
// Beside the Software Description: which file is chosen and what it is for.
inline constexpr const char* kNoCodeFileChosenText =
    "No file chosen. Press Get File to choose the radio code file (.bin) to download.";
inline constexpr const char* kUnknownCodeKindText = "code of a kind this program does not know";
// Download pressed with no file chosen.
inline constexpr const char* kDownloadNeedsFileText =
    "No radio code file has been chosen.\nPress Get File to choose the file to download, "
    "then Download.";

class TForm_DLD_Download : public QDialog {
    Q_OBJECT
  public:
    // `workDir` is the working directory the radio software folder is taken from.
    TForm_DLD_Download(RadioOperations& operations, Dialogs& dialogs, std::filesystem::path workDir,
                       QWidget* parent = nullptr);

    void DLD_BitBtn_GetCodeClick();
    void DLD_BitBtn_OKClick();
    void DLD_BitBtn_CancelClick();

    bool FileChosen() const { return fileChosen_; }
    const std::filesystem::path& ChosenFile() const { return chosenFile_; }

    QPushButton DLD_BitBtn_GetCode{"Get File"};
    QPushButton DLD_BitBtn_OK{"Download"};
    QPushButton DLD_BitBtn_Cancel{"Cancel"};
    QLabel DLD_Lbl_Description;
    QLabel DLD_Lbl_SoftwareCode;
    QLabel DLD_Lbl_Version;
    QLabel DLD_Lbl_Date;
    QLabel DLD_Lbl_ReqdRCPcode;
    QLabel DLD_Lbl_ReqdRCPversion;
    // The chosen file's name and what it is for, in words.
    QLabel DLD_Lbl_ChosenFile;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

  private:
    bool Busy() const;
    void ShowLabels(const DownloadLabels& labels);
    // The chosen file line: the file and its kind, or that none is chosen.
    void ShowChosenFile(const std::filesystem::path& file, std::uint8_t codeType);
    void ShowNoFileChosen();
    // Closing in any way: empty labels, no file chosen, the port closed.
    void ResetAndClosePort();

    RadioOperations& operations_;
    Dialogs& dialogs_;
    std::filesystem::path workDir_;
    QGridLayout layout_{this};
    std::filesystem::path chosenFile_;
    bool fileChosen_ = false;
};

}  // namespace km

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

  protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

  private:
    bool Busy() const;
    void ShowLabels(const DownloadLabels& labels);
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

#include "download/DownloadDialog.h"

#include <QCloseEvent>

#include "Dialogs.h"
#include "core/Files.h"
#include "image/JobFiles.h"
#include "link/DataLink.h"
#include "radio/CodeFile.h"

namespace km {

namespace {

constexpr int kCodeFilterIndex = 4;  // "Program Code (*.bin)" of the open dialog

QString FromPath(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

QString FromText(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

TForm_DLD_Download::TForm_DLD_Download(RadioOperations& operations, Dialogs& dialogs,
                                       std::filesystem::path workDir, QWidget* parent)
    : QDialog(parent), operations_(operations), dialogs_(dialogs), workDir_(std::move(workDir)) {
    setObjectName("TForm_DLD_Download");
    setWindowTitle(kDownloadCaption);
    setModal(false);
    DLD_BitBtn_GetCode.setObjectName("DLD_BitBtn_GetCode");
    DLD_BitBtn_GetCode.setToolTip("Select Radio's Program File");
    DLD_BitBtn_OK.setObjectName("DLD_BitBtn_OK");
    DLD_BitBtn_OK.setToolTip("Update the Radio's Program Code.");
    DLD_BitBtn_Cancel.setObjectName("DLD_BitBtn_Cancel");

    const std::pair<const char*, QLabel*> rows[] = {
        {"Description :", &DLD_Lbl_Description},
        {"Software Code :", &DLD_Lbl_SoftwareCode},
        {"Version :", &DLD_Lbl_Version},
        {"Date :", &DLD_Lbl_Date},
        {"RCP Software required :", &DLD_Lbl_ReqdRCPcode},
        {"Minimum RCP Version required :", &DLD_Lbl_ReqdRCPversion},
    };
    DLD_Lbl_ChosenFile.setObjectName("DLD_Lbl_ChosenFile");
    DLD_Lbl_ChosenFile.setWordWrap(true);
    layout_.addWidget(&DLD_Lbl_ChosenFile, 0, 0, 1, 3);
    int row = 1;
    for (const auto& [heading, value] : rows) {
        layout_.addWidget(new QLabel(heading, this), row, 0);
        layout_.addWidget(value, row, 1);
        ++row;
    }
    DLD_Lbl_Description.setObjectName("DLD_Lbl_Description");
    DLD_Lbl_SoftwareCode.setObjectName("DLD_Lbl_SoftwareCode");
    DLD_Lbl_Version.setObjectName("DLD_Lbl_Version");
    DLD_Lbl_Date.setObjectName("DLD_Lbl_Date");
    DLD_Lbl_ReqdRCPcode.setObjectName("DLD_Lbl_ReqdRCPcode");
    DLD_Lbl_ReqdRCPversion.setObjectName("DLD_Lbl_ReqdRCPversion");
    layout_.addWidget(&DLD_BitBtn_GetCode, row, 0);
    layout_.addWidget(&DLD_BitBtn_OK, row, 1);
    layout_.addWidget(&DLD_BitBtn_Cancel, row, 2);
    ShowLabels(EmptyDownloadLabels());
    ShowNoFileChosen();

    connect(&DLD_BitBtn_GetCode, &QPushButton::clicked, this,
            &TForm_DLD_Download::DLD_BitBtn_GetCodeClick);
    connect(&DLD_BitBtn_OK, &QPushButton::clicked, this, &TForm_DLD_Download::DLD_BitBtn_OKClick);
    connect(&DLD_BitBtn_Cancel, &QPushButton::clicked, this,
            &TForm_DLD_Download::DLD_BitBtn_CancelClick);
    operations_.SoftwareUpgrade().onEnded = [this](bool closeDialog) {
        if (closeDialog) {
            close();
        }
    };
}

bool TForm_DLD_Download::Busy() const {
    return operations_.State().CommsBusy;
}

void TForm_DLD_Download::ShowLabels(const DownloadLabels& labels) {
    DLD_Lbl_Description.setText(FromText(labels.description));
    DLD_Lbl_SoftwareCode.setText(FromText(labels.softwareCode));
    DLD_Lbl_Version.setText(FromText(labels.version));
    DLD_Lbl_Date.setText(FromText(labels.date));
    DLD_Lbl_ReqdRCPcode.setText(FromText(labels.requiredRcpCode));
    DLD_Lbl_ReqdRCPversion.setText(FromText(labels.requiredRcpVersion));
}

void TForm_DLD_Download::ShowChosenFile(const std::filesystem::path& file, std::uint8_t codeType) {
    const auto type = CodeTypeOf(codeType);
    const std::string kind = type ? CodeKindInWords(*type) : kUnknownCodeKindText;
    DLD_Lbl_ChosenFile.setText(QString::fromStdString(file.filename().string()) + ": " +
                               QString::fromStdString(kind));
}

void TForm_DLD_Download::ShowNoFileChosen() {
    DLD_Lbl_ChosenFile.setText(kNoCodeFileChosenText);
}

void TForm_DLD_Download::DLD_BitBtn_GetCodeClick() {
    if (Busy()) {
        return;
    }
    MainState& state = operations_.State();
    Person& person = operations_.GetPerson();
    FileDialogRequest request;
    request.dialog = FileDialogId::OpenJob;
    request.title = kOpenCodeFileTitle;
    request.filters = QtFilters(kOpenDialogFilter);
    request.filterIndex = kCodeFilterIndex;
    request.defaultSuffix = "bin";
    request.folder = FromPath(workDir_ / state.RadioSoftwareFolder);
    request.proposedName = " ";
    const auto chosen = dialogs_.OpenFile(request);
    if (!chosen) {
        return;
    }
    const std::filesystem::path path = chosen->toStdString();
    if (!CodeFileExtensionAccepted(path)) {
        person.Show(BoxKind::Error, kInvalidCodeExtensionText, Buttons::Cancel);
        return;
    }
    const auto bytes = ReadFileBytes(path, kOverlayFileLimit + 1);
    if (!bytes) {
        operations_.Link().CloseRadioPort();
        return;
    }
    state.RadioSoftwareFolder = path.parent_path().string();
    const CodeFileCheck check = InspectCodeFile(*bytes);
    if (!check.image) {
        person.Error(check.refusal);
        ShowLabels(EmptyDownloadLabels());
        ShowNoFileChosen();
        fileChosen_ = false;
        return;
    }
    chosenFile_ = path;
    fileChosen_ = true;
    ShowLabels(LabelsOf(check.image->description));
    ShowChosenFile(path, check.image->description.codeType);
    if (!CodeTypeOf(check.image->description.codeType)) {
        person.Error(kUnknownCodeFileText);
    }
}

void TForm_DLD_Download::DLD_BitBtn_OKClick() {
    if (Busy()) {
        return;
    }
    if (!fileChosen_) {
        operations_.Link().CloseRadioPort();
        operations_.GetPerson().Inform(kDownloadNeedsFileText);
        return;
    }
    StartDownload(operations_, chosenFile_);
}

void TForm_DLD_Download::DLD_BitBtn_CancelClick() {
    if (Busy()) {
        return;
    }
    close();
}

void TForm_DLD_Download::ResetAndClosePort() {
    ShowLabels(EmptyDownloadLabels());
    ShowNoFileChosen();
    fileChosen_ = false;
    operations_.Link().CloseRadioPort();
}

void TForm_DLD_Download::closeEvent(QCloseEvent* event) {
    if (Busy()) {
        event->ignore();  // the running operation is cancelled from its progress dialog
        return;
    }
    QDialog::closeEvent(event);  // goes through reject()
}

void TForm_DLD_Download::reject() {
    if (Busy()) {
        return;
    }
    ResetAndClosePort();
    QDialog::reject();
}

}  // namespace km

#pragma once
// Fakes for the desktop shell's tests: a person and dialogs answered from a script, forms that
// record their passes, and a working directory with templates.

#include <QDialog>
#include <QDir>
#include <QTemporaryDir>
#include <QWidget>
#include <deque>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "Dialogs.h"
#include "ScriptedPerson.h"
#include "core/Files.h"
#include "forms/ConfigForm.h"
#include "image/Images.h"

namespace km::testing {

// Saves a picture of a widget as <name>.png when KM_SCREENSHOTS names a folder, for looking at
// the layout.
inline void KeepPicture(QWidget& widget, const QString& name) {
    const QString folder = qEnvironmentVariable("KM_SCREENSHOTS");
    if (!folder.isEmpty()) {
        widget.grab().save(QDir(folder).filePath(name + ".png"));
    }
}

// A scripted person that never fails through GoogleTest: a question with nothing left in the
// script is counted, and the test checks the count.
class ShellPerson : public ScriptedPerson {
  public:
    Answer Show(BoxKind kind, std::string_view text, Buttons buttons) override {
        if (buttons != Buttons::Ok && buttons != Buttons::Cancel && answers.empty()) {
            shown.push_back({kind, std::string(text), buttons});
            ++unexpectedQuestions;
            return Answer::Cancel;
        }
        return ScriptedPerson::Show(kind, text, buttons);
    }
    bool Showed(std::string_view text) const {
        for (const auto& box : shown) {
            if (box.text == text) {
                return true;
            }
        }
        return false;
    }
    int unexpectedQuestions = 0;
};

class ScriptedDialogs : public Dialogs {
  public:
    std::optional<QString> OpenFile(const FileDialogRequest& request) override {
        requests.push_back(request);
        return Answer(openAnswers, request);
    }
    std::optional<QString> SaveFile(const FileDialogRequest& request) override {
        requests.push_back(request);
        return Answer(saveAnswers, request);
    }
    int Exec(QDialog& dialog) override {
        if (modal.empty()) {
            ++unexpectedDialogs;
            return QDialog::Rejected;
        }
        auto handler = std::move(modal.front());
        modal.pop_front();
        return handler(dialog);
    }

    std::deque<std::optional<QString>> openAnswers;
    std::deque<std::optional<QString>> saveAnswers;
    std::deque<std::function<int(QDialog&)>> modal;
    std::vector<FileDialogRequest> requests;
    int unexpectedDialogs = 0;

  private:
    std::optional<QString> Answer(std::deque<std::optional<QString>>& answers,
                                  const FileDialogRequest& request) {
        if (answers.empty()) {
            ++unexpectedDialogs;
            return std::nullopt;
        }
        auto answer = answers.front();
        answers.pop_front();
        if (answer) {
            Remember(request.dialog, *answer);
        }
        return answer;
    }
};

// Every pass of every probe form, in order ("L:<title>" for LoadPass, "S:<title>" for StorePass).
inline std::vector<std::string>& PassLog() {
    static std::vector<std::string> log;
    return log;
}
// What the next CheckFocusedField of a probe form answers.
inline bool& FocusedFieldValid() {
    static bool valid = true;
    return valid;
}

// Stands in for a real form: records its passes, and writes a marker byte into the trunk image
// on store so that a test can see a store pass reach the image.
template <FormId kId>
class ProbeForm : public ConfigForm {
  public:
    explicit ProbeForm(const FormContext& context) : ConfigForm(context) {
        setWindowTitle(QString::number(static_cast<int>(kId)));
    }
    void LoadPass() override { PassLog().push_back("L:" + Name()); }
    void StorePass() override { PassLog().push_back("S:" + Name()); }
    bool CheckFocusedField() override { return FocusedFieldValid(); }

  private:
    std::string Name() const { return windowTitle().toStdString(); }
};

template <FormId kId>
std::unique_ptr<ConfigForm> MakeProbe(const FormContext& context) {
    return std::make_unique<ProbeForm<kId>>(context);
}

// Registers probes for every form (at run time, so that they replace any real form).
inline void RegisterProbeForms() {
    RegisterForm(FormId::RadioType, &MakeProbe<FormId::RadioType>);
    RegisterForm(FormId::UserInterface, &MakeProbe<FormId::UserInterface>);
    RegisterForm(FormId::Identities, &MakeProbe<FormId::Identities>);
    RegisterForm(FormId::NetworkOptions, &MakeProbe<FormId::NetworkOptions>);
    RegisterForm(FormId::TextStrings, &MakeProbe<FormId::TextStrings>);
    RegisterForm(FormId::Channels, &MakeProbe<FormId::Channels>);
    RegisterForm(FormId::Selcall, &MakeProbe<FormId::Selcall>);
    RegisterForm(FormId::EncodeDecode, &MakeProbe<FormId::EncodeDecode>);
    RegisterForm(FormId::NetworkSystem, &MakeProbe<FormId::NetworkSystem>);
    RegisterForm(FormId::ThresholdsTimers, &MakeProbe<FormId::ThresholdsTimers>);
    RegisterForm(FormId::HuntChannels, &MakeProbe<FormId::HuntChannels>);
}

inline std::string ProbeName(FormId id) {
    return std::to_string(static_cast<int>(id));
}

// A working directory with the two templates (zero images with their version and format words).
class WorkDir {
  public:
    WorkDir() {
        QDir(dir_.path()).mkpath("Jobs");
        QDir(dir_.path()).mkpath("Networks");
        TrunkJobImage trunkTemplate;
        trunkTemplate.SetU16(kVersionWordOffset, kProgramVersionNumber);
        trunkTemplate.SetU16(trunk::kFormatMark, trunk::kFormatMarkValue);
        WriteFileAtomically(Path() / "default.tct", trunkTemplate.Bytes());
        PmrJobImage pmrTemplate;
        pmrTemplate.SetU16(kVersionWordOffset, kProgramVersionNumber);
        pmrTemplate.SetU16(pmr::kFormatVersion, pmr::kCurrentFormat);
        WriteFileAtomically(Path() / "default.cct", pmrTemplate.Bytes());
    }
    std::filesystem::path Path() const { return dir_.path().toStdString(); }
    QString File(const QString& name) const { return QDir(dir_.path()).filePath(name); }

  private:
    QTemporaryDir dir_;
};

}  // namespace km::testing

#pragma once
// What the field tables tell about a whole job, shown as a list: the findings of the checks
// before Program Radio (a finding takes the user to its field), and the fields in which the open
// job differs from a file (File > Compare with...).

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>
#include <vector>

#include "tables/JobCompare.h"
#include "tables/Verify.h"

namespace km {

inline constexpr const char* kVerifyCaption = "Check Job";
inline constexpr const char* kVerifyErrorsText =
    "The job cannot be programmed: these fields hold values the radio does not accept.\n"
    "Choose a field and Go to Field to correct it.";
inline constexpr const char* kVerifyWarningsText =
    "These fields hold values their forms would not accept as typed.\n"
    "Program the radio with them anyway?";
inline constexpr const char* kCompareCaption = "Compare with %1";
inline constexpr const char* kCompareTitle = "Compare with - Job File";
inline constexpr const char* kCompareOtherKind =
    "The file holds another kind of job than the one shown; only jobs of one kind can be "
    "compared.";
inline constexpr const char* kCompareSameText = "The job and the file hold the same values.";
inline constexpr const char* kCompareDiffersText = "Fields in which the job and the file differ:";
inline constexpr const char* kCompareAllForms = "All forms";
inline constexpr const char* kCompareFormFilter = "&Form:";
inline constexpr const char* kCompareShowDerived =
    "&Show values the program computes (links between entries, clock shift, counts)";

// The list of findings. Its result is Rejected (Cancel / Close), Accepted (program anyway; only
// offered when every finding is a warning) or kGoToField with CurrentRow() the finding chosen.
class TForm_CHK_Findings : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kGoToField = 2;

    explicit TForm_CHK_Findings(const std::vector<tables::Finding>& findings,
                                QWidget* parent = nullptr);
    int CurrentRow() const { return List_CHK_Findings.currentRow(); }

    QLabel Lbl_CHK_Text;
    QListWidget List_CHK_Findings;
    QPushButton Btn_CHK_GoToField;
    QPushButton Btn_CHK_Program;
    QPushButton Btn_CHK_Cancel;
};

// The fields in which two images differ, by form, entry and field, then the bytes no field
// names. A list chooses the form whose fields are shown; the values the program computes on every
// store are shown only when asked for. The dialog opens as wide as its columns.
class TForm_CMP_Compare : public QDialog {
    Q_OBJECT
  public:
    TForm_CMP_Compare(const QString& fileName, const tables::JobComparison& comparison,
                      QWidget* parent = nullptr);

    // The rows shown, each as "form | entry | field | job | file".
    QStringList ShownRows() const;

    QLabel Lbl_CMP_Text;
    QLabel Lbl_CMP_Form;
    QComboBox Combo_CMP_Form;
    QCheckBox CBox_CMP_Derived;
    QTreeWidget Tree_CMP_Fields;  // form, entry, field, the job's value, the file's value
    QPushButton Btn_CMP_Close;

  private:
    void ApplyFilter();
    int FitColumns();
    void FitToContents();
};

}  // namespace km

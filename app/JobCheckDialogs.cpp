#include "JobCheckDialogs.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace km {
namespace {

// Label, list and a row of buttons on the right.
void LayOut(QDialog& dialog, QLabel& text, QAbstractItemView& list,
            std::initializer_list<QPushButton*> buttons) {
    auto* layout = new QVBoxLayout(&dialog);
    text.setWordWrap(true);
    layout->addWidget(&text);
    layout->addWidget(&list, 1);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    for (QPushButton* button : buttons) {
        row->addWidget(button);
    }
    layout->addLayout(row);
    list.setMinimumSize(640, 240);
}

QString Line(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

}  // namespace

TForm_CHK_Findings::TForm_CHK_Findings(const std::vector<tables::Finding>& findings,
                                       QWidget* parent)
    : QDialog(parent) {
    setObjectName("TForm_CHK_Findings");
    setWindowTitle(kVerifyCaption);
    List_CHK_Findings.setObjectName("List_CHK_Findings");
    Btn_CHK_GoToField.setObjectName("Btn_CHK_GoToField");
    Btn_CHK_Program.setObjectName("Btn_CHK_Program");
    Btn_CHK_Cancel.setObjectName("Btn_CHK_Cancel");
    const bool errors = tables::HasErrors(findings);
    Lbl_CHK_Text.setText(errors ? kVerifyErrorsText : kVerifyWarningsText);
    for (const tables::Finding& finding : findings) {
        List_CHK_Findings.addItem(Line(tables::FindingLine(finding)));
    }
    List_CHK_Findings.setCurrentRow(0);
    Btn_CHK_GoToField.setText("&Go to Field");
    Btn_CHK_Program.setText("&Program Anyway");
    Btn_CHK_Program.setVisible(!errors);
    Btn_CHK_Cancel.setText(errors ? "Close" : "Cancel");
    LayOut(*this, Lbl_CHK_Text, List_CHK_Findings,
           {&Btn_CHK_GoToField, &Btn_CHK_Program, &Btn_CHK_Cancel});
    connect(&Btn_CHK_GoToField, &QPushButton::clicked, this, [this] { done(kGoToField); });
    connect(&List_CHK_Findings, &QListWidget::itemDoubleClicked, this,
            [this] { done(kGoToField); });
    connect(&Btn_CHK_Program, &QPushButton::clicked, this, &QDialog::accept);
    connect(&Btn_CHK_Cancel, &QPushButton::clicked, this, &QDialog::reject);
}

TForm_CMP_Compare::TForm_CMP_Compare(const QString& fileName,
                                     const tables::ImageDifference& difference, QWidget* parent)
    : QDialog(parent) {
    setObjectName("TForm_CMP_Compare");
    setWindowTitle(QString::fromUtf8(kCompareCaption).arg(fileName));
    Tree_CMP_Fields.setObjectName("Tree_CMP_Fields");
    Btn_CMP_Close.setObjectName("Btn_CMP_Close");
    Lbl_CMP_Text.setText(difference.Empty() ? kCompareSameText : kCompareDiffersText);
    Tree_CMP_Fields.setRootIsDecorated(false);
    Tree_CMP_Fields.setHeaderLabels({"Form", "Field", "Job", fileName});
    for (const tables::FieldDifference& field : difference.fields) {
        auto* item = new QTreeWidgetItem(
            {Line(field.form), Line(field.caption), Line(field.before), Line(field.after)});
        item->setToolTip(1, Line(field.id));
        Tree_CMP_Fields.addTopLevelItem(item);
    }
    for (const tables::ByteRange& range : difference.unnamedBytes) {
        Tree_CMP_Fields.addTopLevelItem(new QTreeWidgetItem(
            {"", QString("Bytes %1..%2 (no field names them)").arg(range.begin).arg(range.end - 1),
             "", ""}));
    }
    for (int column = 0; column < 3; ++column) {
        Tree_CMP_Fields.resizeColumnToContents(column);
    }
    Btn_CMP_Close.setText("Close");
    LayOut(*this, Lbl_CMP_Text, Tree_CMP_Fields, {&Btn_CMP_Close});
    connect(&Btn_CMP_Close, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace km

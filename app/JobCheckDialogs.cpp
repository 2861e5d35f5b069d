#include "JobCheckDialogs.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QScreen>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>

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
                                     const tables::JobComparison& comparison, QWidget* parent)
    : QDialog(parent) {
    setObjectName("TForm_CMP_Compare");
    setWindowTitle(QString::fromUtf8(kCompareCaption).arg(fileName));
    Tree_CMP_Fields.setObjectName("Tree_CMP_Fields");
    Combo_CMP_Form.setObjectName("Combo_CMP_Form");
    CBox_CMP_Derived.setObjectName("CBox_CMP_Derived");
    Btn_CMP_Close.setObjectName("Btn_CMP_Close");
    Lbl_CMP_Text.setText(comparison.Empty() ? kCompareSameText : kCompareDiffersText);
    Tree_CMP_Fields.setRootIsDecorated(false);
    Tree_CMP_Fields.setAlternatingRowColors(true);
    Tree_CMP_Fields.setHeaderLabels({"Form", "Entry", "Field", "Job", fileName});
    QStringList forms;
    for (const tables::ComparedField& field : comparison.fields) {
        auto* item = new QTreeWidgetItem({Line(field.form), Line(field.entry), Line(field.caption),
                                          Line(field.before), Line(field.after)});
        item->setToolTip(2, Line(field.id));
        item->setData(0, Qt::UserRole, field.derived);
        Tree_CMP_Fields.addTopLevelItem(item);
        if (!forms.contains(item->text(0))) {
            forms << item->text(0);
        }
    }
    for (const tables::ByteRange& range : comparison.unnamedBytes) {
        Tree_CMP_Fields.addTopLevelItem(new QTreeWidgetItem(
            {"", "",
             QString("Bytes %1..%2 (no field names them)").arg(range.begin).arg(range.end - 1), "",
             ""}));
    }
    Lbl_CMP_Form.setText(kCompareFormFilter);
    Lbl_CMP_Form.setBuddy(&Combo_CMP_Form);
    Combo_CMP_Form.addItem(kCompareAllForms);
    Combo_CMP_Form.addItems(forms);
    CBox_CMP_Derived.setText(kCompareShowDerived);
    Btn_CMP_Close.setText("Close");

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(&Lbl_CMP_Text);
    auto* filters = new QHBoxLayout;
    filters->addWidget(&Lbl_CMP_Form);
    filters->addWidget(&Combo_CMP_Form);
    filters->addSpacing(16);
    filters->addWidget(&CBox_CMP_Derived);
    filters->addStretch(1);
    layout->addLayout(filters);
    layout->addWidget(&Tree_CMP_Fields, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(&Btn_CMP_Close);
    layout->addLayout(buttons);

    connect(&Combo_CMP_Form, &QComboBox::currentIndexChanged, this, [this] { ApplyFilter(); });
    connect(&CBox_CMP_Derived, &QCheckBox::toggled, this, [this] { ApplyFilter(); });
    connect(&Btn_CMP_Close, &QPushButton::clicked, this, &QDialog::accept);
    ApplyFilter();
    FitToContents();
}

void TForm_CMP_Compare::ApplyFilter() {
    const bool allForms = Combo_CMP_Form.currentIndex() <= 0;
    const QString form = Combo_CMP_Form.currentText();
    const bool derivedShown = CBox_CMP_Derived.isChecked();
    for (int i = 0; i < Tree_CMP_Fields.topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = Tree_CMP_Fields.topLevelItem(i);
        const bool derived = item->data(0, Qt::UserRole).toBool();
        // The bytes no field names belong to no form: shown with all forms.
        const bool formShown = allForms || item->text(0) == form;
        item->setHidden(!formShown || (derived && !derivedShown));
    }
    FitColumns();
}

// The columns fit the rows now shown (hidden rows are not measured), with a gap after each
// column's widest text so that neighbouring values never touch. Returns their total width.
int TForm_CMP_Compare::FitColumns() {
    const int gap = 2 * fontMetrics().averageCharWidth();
    int width = 0;
    for (int column = 0; column < Tree_CMP_Fields.columnCount(); ++column) {
        Tree_CMP_Fields.resizeColumnToContents(column);
        Tree_CMP_Fields.setColumnWidth(column, Tree_CMP_Fields.columnWidth(column) + gap);
        width += Tree_CMP_Fields.columnWidth(column);
    }
    return width;
}

QStringList TForm_CMP_Compare::ShownRows() const {
    QStringList rows;
    for (int i = 0; i < Tree_CMP_Fields.topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = Tree_CMP_Fields.topLevelItem(i);
        if (item->isHidden()) {
            continue;
        }
        QStringList cells;
        for (int c = 0; c < Tree_CMP_Fields.columnCount(); ++c) {
            cells << item->text(c);
        }
        rows << cells.join(" | ");
    }
    return rows;
}

// Every column as wide as its widest text, and the dialog as wide as the columns, up to most of
// the screen; as tall as the rows, up to the same.
void TForm_CMP_Compare::FitToContents() {
    const int width = FitColumns();
    const int frame =
        2 * Tree_CMP_Fields.frameWidth() + Tree_CMP_Fields.verticalScrollBar()->sizeHint().width();
    const int rowHeight = std::max(Tree_CMP_Fields.sizeHintForRow(0), fontMetrics().height());
    const int rows = std::clamp(Tree_CMP_Fields.topLevelItemCount(), 4, 30);
    const int height = Tree_CMP_Fields.header()->sizeHint().height() + rows * rowHeight + frame;
    Tree_CMP_Fields.setMinimumSize(480, 200);
    const QMargins margins = layout()->contentsMargins();
    QSize wanted = sizeHint().expandedTo(
        QSize(width + frame + margins.left() + margins.right(),
              height + sizeHint().height() - Tree_CMP_Fields.sizeHint().height()));
    if (const QScreen* shown = screen()) {
        wanted = wanted.boundedTo(shown->availableGeometry().size() * 9 / 10);
    }
    resize(wanted);
}

}  // namespace km

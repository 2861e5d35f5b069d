#include "forms/BulkEditDialog.h"

#include <QFormLayout>
#include <QVBoxLayout>

namespace km {
namespace {

constexpr const char* kCaption = "Bulk Edit";
constexpr const char* kRowsText = "Set one column of the %1 selected rows:";
constexpr const char* kRowText = "Set one column of the selected row:";

}  // namespace

BulkEditDialog::BulkEditDialog(std::vector<BulkColumnChoice> columns, int rows, QWidget* parent)
    : QDialog(parent),
      BulkEdit_Buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel),
      columns_(std::move(columns)) {
    setObjectName("BulkEditDialog");
    setWindowTitle(kCaption);
    BulkEdit_Lbl_Rows.setObjectName("BulkEdit_Lbl_Rows");
    BulkEdit_Combo_Column.setObjectName("BulkEdit_Combo_Column");
    BulkEdit_Combo_Value.setObjectName("BulkEdit_Combo_Value");
    BulkEdit_Buttons.setObjectName("BulkEdit_Buttons");
    BulkEdit_Lbl_Rows.setText(rows == 1 ? QString(kRowText) : QString(kRowsText).arg(rows));
    for (const BulkColumnChoice& column : columns_) {
        BulkEdit_Combo_Column.addItem(column.title);
    }
    // A list of tones is long: it shows a screenful at a time.
    BulkEdit_Combo_Value.setMaxVisibleItems(20);
    BulkEdit_Combo_Value.setMinimumContentsLength(12);

    auto* form = new QFormLayout;
    form->addRow("Column", &BulkEdit_Combo_Column);
    form->addRow("Value", &BulkEdit_Combo_Value);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(&BulkEdit_Lbl_Rows);
    layout->addLayout(form);
    layout->addWidget(&BulkEdit_Buttons);

    connect(&BulkEdit_Combo_Column, &QComboBox::currentIndexChanged, this,
            [this](int column) { ShowValues(column); });
    connect(&BulkEdit_Buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(&BulkEdit_Buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    ShowValues(0);
}

void BulkEditDialog::ShowValues(int column) {
    BulkEdit_Combo_Value.clear();
    if (column >= 0 && column < static_cast<int>(columns_.size())) {
        BulkEdit_Combo_Value.addItems(columns_[static_cast<std::size_t>(column)].values);
    }
}

}  // namespace km

#pragma once
// The Bulk Edit dialog: one column of a grid and the value every selected row gets. It only
// chooses; the grid that opened it makes the change (one undo step).

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QStringList>
#include <vector>

namespace km {

struct BulkColumnChoice {
    QString title;
    QStringList values;
};

class BulkEditDialog : public QDialog {
    Q_OBJECT
  public:
    // `rows` is how many rows the edit will change, shown to the user.
    BulkEditDialog(std::vector<BulkColumnChoice> columns, int rows, QWidget* parent = nullptr);

    int Column() const { return BulkEdit_Combo_Column.currentIndex(); }
    int Value() const { return BulkEdit_Combo_Value.currentIndex(); }

    QLabel BulkEdit_Lbl_Rows;
    QComboBox BulkEdit_Combo_Column;
    QComboBox BulkEdit_Combo_Value;
    QDialogButtonBox BulkEdit_Buttons;

  private:
    void ShowValues(int column);

    std::vector<BulkColumnChoice> columns_;
};

}  // namespace km

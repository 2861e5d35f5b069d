#pragma once
// A string grid of a form: lines of cells edited in place. A cell is checked when Enter is pressed
// in it, when another cell is chosen and when the focus leaves the grid, and a cell that fails its
// check cannot be left. A cell may be bound to a field row, which loads, stores and checks it.
//
// Only cells whose text differs from what was loaded are checked and stored: what the file holds
// and the user did not touch is kept as it is.
//
// Edits are recorded for undo: a cell edited, or every cell a command of the form rewrote in one
// go (Insert Row, Fill To End, an import), is one step. Lines travel over the clipboard as the
// CSV rows of their table ("index,cell,cell"); a paste fills the lines from the current one down
// and is one step, or is refused whole when a cell cannot hold its text.

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTableWidget>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/Person.h"
#include "fields/FieldOps.h"
#include "forms/TableUndo.h"
#include "forms/Undo.h"

namespace km {

class Person;

class FieldGrid : public QObject, public undo::RowClipboard {
    Q_OBJECT
  public:
    enum class Moment { Enter, Move };

    struct Column {
        QString title;
        int width;
    };

    // How a cell is edited: not at all, digits (at most maxChars), megahertz (digits and one "."
    // or ","), a dial string (digits, "#" and "*", at most maxChars), a text (printable
    // characters, at most maxChars), characters of a set (`characters`, a character class such as
    // "0-9A-Fa-f"; at most maxChars), or a drop-down list placed over the cell that writes the
    // chosen text.
    struct Editor {
        enum class Kind { None, Digits, Megahertz, Dial, Text, Pattern, List };
        Kind kind = Kind::None;
        int maxChars = 0;
        QStringList items;
        QString characters;
    };

    FieldGrid(QTableWidget& table, Person& person);

    // `lines` lines under the given column titles and widths (widened where a title needs it).
    // Column 0 is fixed: it numbers the lines from `firstNumber`, unless SetName gives a line a
    // name. The grid is as wide as its columns; a grid of up to 20 lines shows them all.
    void SetUp(int lines, std::span<const Column> columns, int firstNumber = 1);
    void SetName(int line, const QString& name);
    void SetEditor(int column, const Editor& editor);
    void SetCellEditor(int line, int column, const Editor& editor);
    // Cell (line, column) shows `row`, which lies `offset` bytes into the table's area.
    void Bind(int line, int column, const fields::FieldRow& row, std::size_t offset);
    // Cell (line, column) shows column `row` of record `entry` of `records`: where it lies follows
    // the image the grid loads and stores (an image without the table leaves the cell alone).
    void BindRecord(int line, int column, const fields::RecordTable& records, int entry,
                    const fields::FieldRow& row);

    // Bound cells from the image, and the edited ones back. `area` is where the table's area
    // starts in `bytes`.
    void Load(fields::ImageId image, std::span<const std::uint8_t> bytes, std::size_t area);
    void Store(fields::ImageId image, std::span<std::uint8_t> bytes, std::size_t area) const;

    int Lines() const;
    QString Text(int line, int column) const;
    // Shows a text as loaded: the cell is not edited.
    void ShowLoaded(int line, int column, const QString& text);
    // Puts a text into a cell as the user would (a Defaults or Fill button).
    void SetText(int line, int column, const QString& text);
    bool Edited(int line, int column) const;

    // A check beyond the bound row's range (cross-cell rules, cells without a row); nullopt
    // passes. Runs only for edited cells.
    std::function<std::optional<std::string>(int line, int column, Moment moment)> extraCheck;

    // A check of a whole line, run when the current cell moves to another line and when the grid
    // is left (rules between the cells of a line); nullopt passes.
    std::function<std::optional<std::string>(int line)> lineCheck;

    // The box a failed check of a cell is shown in; an error box when not set.
    std::function<BoxKind(int line, int column, Moment moment)> messageKind;

    // The check of the current cell (and, when it is being left, of its line); shows the message
    // and returns false when it fails.
    bool CheckCurrentCell(Moment moment);
    // True while the grid or one of its cell editors has the focus.
    bool HasFocus() const;

    // The check of a cell as CheckCurrentCell runs it, without a message.
    std::optional<std::string> CellMessage(int line, int column, Moment moment) const;

    // For the cell editors: the focus leaves the grid.
    void LeavingGrid(QWidget* next);

    // undo::RowClipboard: the selected lines (or the current one), and a paste from the current
    // line down.
    std::unique_ptr<QMimeData> CopyRows() const override;
    void PasteRows(const QMimeData& data) override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct Binding {
        int line;
        int column;
        const fields::FieldRow* row;
        std::size_t offset;
        const fields::RecordTable* records = nullptr;
        int entry = 0;
    };
    // The offset of a binding's cell in `image`, or nothing when the image does not carry it.
    static std::optional<std::size_t> PlaceOf(const Binding& binding, fields::ImageId image);
    QTableWidgetItem& Item(int line, int column) const;
    void FitToColumns(int lines);
    const Binding* BindingOf(int line, int column) const;
    void CurrentCellChanged(int line, int column, int previousLine, int previousColumn);
    void StayIn(int line, int column);
    void Show(const std::string& message, int line, int column, Moment moment);

    // Why `text` cannot go into the cell, or nullopt.
    std::optional<std::string> PasteRefusal(int line, int column, const QString& text) const;

    QTableWidget& table_;
    Person& person_;
    std::vector<Binding> bindings_;
    std::vector<std::vector<QString>> loaded_;
    std::vector<std::vector<Editor>> editors_;
    bool staying_ = false;
    bool checking_ = false;
    int firstNumber_ = 1;
    undo::TableCells cells_;  // the edits for undo

    friend class FieldGridDelegate;
};

}  // namespace km

#pragma once
// Undo and redo of the edits made on the forms, and the rows of a grid on the clipboard.
//
// One history (a QUndoStack the main window owns) takes the edits of every form. They come from
// the shared layer, not from the forms: a FieldBinder records the bound controls, a FieldGrid its
// cells, a RecordTableModel its records. A step is what the user did in one go: a field left
// with a new value (with whatever the form changed along with it), a grid cell edited, the lines
// a grid command or a paste rewrote, the entries a delete, a paste or a bulk edit changed.
//
// Controls of a modal dialog are not recorded: the dialog's OK or Cancel decides about them, and
// what OK changes reaches the history through the form that ran the dialog.

#include <QMimeData>
#include <QPointer>
#include <QString>
#include <QUndoCommand>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QUndoStack;
class QWidget;

namespace km::undo {

// The history edits go to; without one (tests of a single form, start-up) nothing is recorded.
void SetStack(QUndoStack* stack);
QUndoStack* Stack();

// A step that is already done when it is pushed: its first redo does nothing.
class DoneStep : public QUndoCommand {
  public:
    explicit DoneStep(const QString& text) : QUndoCommand(text) {}
    void redo() final;
    void undo() final { Undo(); }
    // Done and not yet pushed (a step that joins a group).
    void MarkDone() { done_ = false; }

  protected:
    virtual void Redo() = 0;
    virtual void Undo() = 0;

  private:
    bool done_ = true;
};

// Puts a step done already onto the history (dropped when there is none).
void Push(std::unique_ptr<DoneStep> step);

// What a form keeps itself between its passes (a list of entries) before and after a change.
template <class T>
class ValueStep : public DoneStep {
  public:
    ValueStep(QObject& owner, const QString& text, T& value, T before, std::function<void()> shown)
        : DoneStep(text),
          owner_(&owner),
          value_(&value),
          before_(std::move(before)),
          after_(value),
          shown_(std::move(shown)) {}
    void Redo() override { Put(after_); }
    void Undo() override { Put(before_); }

  private:
    void Put(const T& value) {
        if (owner_ != nullptr) {  // the value lives as long as its form
            *value_ = value;
            shown_();
        }
    }
    QPointer<QObject> owner_;
    T* value_;
    T before_;
    T after_;
    std::function<void()> shown_;
};

// Runs `edit`, which changes `value` (kept by the form `owner`) and returns true when it did;
// that change is one step, after whose undo or redo `shown` shows the value again.
template <class T>
void Change(QObject& owner, const QString& text, T& value, const std::function<bool()>& edit,
            std::function<void()> shown) {
    T before = value;
    if (edit()) {
        Push(std::make_unique<ValueStep<T>>(owner, text, value, std::move(before),
                                            std::move(shown)));
    }
}

// What watches a group of controls and turns their edits into steps. Recorders register
// themselves for as long as they live.
class Recorder {
  public:
    Recorder();
    virtual ~Recorder();
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    // Records the edits made since the last step as one step.
    virtual void Commit() = 0;
    // What the controls show now is where the next step starts from (after a load).
    virtual void Rebase() = 0;
    // False while an edit is still under way (a cell being typed in): a commit waits for it.
    virtual bool Settled() const { return true; }
};

// Asks for `recorder`'s commit once the event that made an edit is handled. Every recorder
// asked during that event commits then, and what they record together is one step: a rule of
// the form that changes a grid along with a field, or a Defaults button that fills fields and
// a grid, is undone at once.
void CommitSoon(Recorder& recorder);

// True when the edits of `control` belong on the history (not in a modal dialog).
bool Recorded(const QWidget& control);

// Commits what every recorder has not yet recorded (before an undo, a redo or a store).
void CommitAll();
// The forms show another job or network: the history is cleared and what every form shows is
// the new starting point.
void StartAfresh();

// Copy, paste and bulk edit of the rows of a grid, for the Edit menu. A grid registers itself
// for the view that shows it as long as it lives.
class RowClipboard {
  public:
    explicit RowClipboard(QWidget& view);
    virtual ~RowClipboard();
    RowClipboard(const RowClipboard&) = delete;
    RowClipboard& operator=(const RowClipboard&) = delete;

    // The selected rows as the CSV lines of their table (and what else lets them be pasted
    // exactly); null when nothing is selected.
    virtual std::unique_ptr<QMimeData> CopyRows() const = 0;
    // Puts the rows of the clipboard into the grid as one step; tells the user when they do not
    // fit and then changes nothing.
    virtual void PasteRows(const QMimeData& data) = 0;
    // A column set to one value over the selected rows, as one step.
    virtual bool CanBulkEdit() const { return false; }
    virtual void BulkEdit() {}

    const QWidget* View() const { return view_; }

  private:
    QWidget* view_;
};

// The rows of the grid `focus` sits in, or null.
RowClipboard* RowClipboardAt(const QWidget* focus);

// What a paste that changes nothing tells the user.
inline constexpr std::string_view kPasteNoRowsText =
    "The clipboard holds no rows to paste.\n"
    "Copy rows of a table, or cells of a spreadsheet, first.";
inline constexpr std::string_view kPasteSameRowsText =
    "The rows on the clipboard are the rows already there:\nthe paste changes nothing.";
inline constexpr std::string_view kPasteNoTableText =
    "Rows are pasted into a table.\nChoose the row of a table to paste from, then Paste.";

// Rows put on the clipboard: their CSV lines as "text/csv", and as plain text with the cells
// separated by tabs, which a spreadsheet pastes into its columns; lines end with CR LF as in the
// files.
void PutRowLines(QMimeData& data, const std::vector<std::string>& csvLines);
// The lines of a clipboard text, empty ones dropped; a line of cells separated by tabs (from a
// spreadsheet) is read as a CSV line.
std::vector<std::string> LinesOfText(const QString& text);

}  // namespace km::undo

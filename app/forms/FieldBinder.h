#pragma once
// Connects the controls of a form to the rows of its field table by object name, so that a form's
// load and store passes for its plain fields come from the table.
//
// Bound controls: QComboBox (filled with the row's choices; a stored code no entry has shows as
// "? 37" and is written back unchanged), QCheckBox (0 / 1), QSpinBox (the row's range), QLineEdit
// and QPlainTextEdit (the value as the row shows it, parsed back when stored), QLabel (shown
// only), and a radio group: a QGroupBox whose radio buttons stand for the row's choices in order
// (the binder adds them, captioned with the choices, when the box has none; a stored code no
// button has checks none and is written back unchanged). A row whose control the form does not
// have is skipped: the form edits it in its own code, or not at all.
//
// The binder records the user's edits of its controls for undo: when a control is left with
// another value (a list chosen, a box clicked), every bound control that shows something else
// than before (the form's own rules may change others along with it) becomes one step. Undo
// shows the earlier values again as a load does, without running the form's handlers.

#include <QComboBox>
#include <QString>
#include <QWidget>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "fields/FieldOps.h"

namespace km {

class Person;

class FieldBinder {
  public:
    // Binds every row of `rows` whose control is a descendant of `form`. Call after the form has
    // named its controls. The rows must outlive the binder (tables are static).
    FieldBinder(QWidget& form, std::span<const fields::FieldRow> rows);
    ~FieldBinder();
    FieldBinder(FieldBinder&&) noexcept;
    FieldBinder& operator=(FieldBinder&&) noexcept;

    // Image to controls (no edit for undo): `areaOffset` is where the table's area starts in
    // `bytes` (0, or the start of the chosen network slot or network file), `image` says which
    // offsets to use.
    void Load(fields::ImageId image, std::span<const std::uint8_t> bytes, std::size_t areaOffset);
    // Controls to image. A value that did not change leaves its bytes as they were; text that does
    // not parse (never accepted by an exit check) leaves them too.
    void Store(fields::ImageId image, std::span<std::uint8_t> bytes, std::size_t areaOffset) const;

    // The row bound to `control`, or null.
    const fields::FieldRow* RowOf(const QWidget* control) const;
    // The value a control holds now, or nullopt when its text is no value of its row.
    std::optional<fields::FieldValue> Value(const QWidget* control) const;
    // Shows `value` in the control bound to `row` (a Defaults button, a cross-field rule); an
    // edit for undo, joined to the step of what the user did.
    void Show(const fields::FieldRow& row, const fields::FieldValue& value);

    // The exit check of a bound control: its row's check with the form's message. Returns true
    // when the value passes; otherwise shows the message (error, OK) and returns false, and the
    // caller puts the focus back.
    bool CheckControl(const QWidget* control, Person& person) const;

    // The controls bound, in row order.
    std::vector<QWidget*> Controls() const;

    struct Binding {
        const fields::FieldRow* row;
        QWidget* control;
    };

  private:
    class Recording;
    const Binding* Find(const QWidget* control) const;
    const Binding* Find(const fields::FieldRow& row) const;
    const std::vector<Binding>& Bindings() const;

    // The bindings and their undo recording, where a move of the binder does not reach them.
    std::unique_ptr<Recording> recording_;
};

// A Qt string of UTF-8 text.
QString ToQString(std::string_view utf8);

// Selects the item of a list whose data is `code`. A code no item has is added as an item of its
// own, shown as `missing` ("? 37", or the name the row gives it), so that it is stored back
// unchanged.
void SelectCode(QComboBox& combo, std::int64_t code, const QString& missing);

}  // namespace km

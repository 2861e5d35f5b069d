#include "forms/FieldBinder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

#include "core/Person.h"
#include "forms/Undo.h"

namespace km {
namespace {

using fields::FieldRow;
using fields::FieldValue;

// Items past the row's choices show stored codes no entry has; they carry this role.
constexpr int kCodeRole = Qt::UserRole;

void FillChoices(QComboBox& combo, const FieldRow& row) {
    const QSignalBlocker blocker(combo);
    combo.clear();
    for (const fields::Choice& choice : row.choices) {
        combo.addItem(ToQString(choice.text), QVariant::fromValue<qlonglong>(choice.code));
    }
}

void ShowInCombo(QComboBox& combo, const FieldRow& row, std::int64_t code) {
    const QSignalBlocker blocker(combo);
    // Drop the item of an earlier stored code that no entry has.
    while (combo.count() > static_cast<int>(row.choices.size())) {
        combo.removeItem(combo.count() - 1);
    }
    SelectCode(combo, code, ToQString(fields::FormatField(row, code)));
}

// A radio group: its buttons carry their choice's code; the box carries a stored code no button
// has, so that it is written back.
constexpr const char* kCodeProperty = "fieldCode";

QList<QRadioButton*> RadioButtons(const QWidget& group) {
    return group.findChildren<QRadioButton*>(QString(), Qt::FindDirectChildrenOnly);
}

bool IsRadioGroup(const QWidget* control, const FieldRow& row) {
    return qobject_cast<const QGroupBox*>(control) != nullptr && !row.choices.empty();
}

void FillRadioGroup(QGroupBox& group, const FieldRow& row) {
    QList<QRadioButton*> buttons = RadioButtons(group);
    if (buttons.isEmpty()) {
        auto* layout = group.layout() ? group.layout() : new QVBoxLayout(&group);
        for (const fields::Choice& choice : row.choices) {
            auto* button = new QRadioButton(ToQString(choice.text), &group);
            layout->addWidget(button);
            buttons.append(button);
        }
    }
    for (qsizetype i = 0; i < buttons.size() && i < static_cast<qsizetype>(row.choices.size());
         ++i) {
        buttons[i]->setProperty(kCodeProperty, QVariant::fromValue<qlonglong>(
                                                   row.choices[static_cast<std::size_t>(i)].code));
    }
}

void ShowInRadioGroup(QGroupBox& group, std::int64_t code) {
    group.setProperty(kCodeProperty, QVariant::fromValue<qlonglong>(code));
    for (QRadioButton* button : RadioButtons(group)) {
        const QSignalBlocker blocker(button);
        // An exclusive button cannot be unchecked while it is the checked one.
        button->setAutoExclusive(false);
        button->setChecked(button->property(kCodeProperty).toLongLong() == code);
        button->setAutoExclusive(true);
    }
}

std::int64_t CodeOfRadioGroup(const QGroupBox& group) {
    for (const QRadioButton* button : RadioButtons(group)) {
        if (button->isChecked()) {
            return button->property(kCodeProperty).toLongLong();
        }
    }
    return group.property(kCodeProperty).toLongLong();
}

std::int64_t NumberOf(const FieldValue& value) {
    const auto* number = std::get_if<std::int64_t>(&value);
    return number ? *number : 0;
}

void ShowValue(QWidget* control, const FieldRow& row, const FieldValue& value) {
    const QString shown = ToQString(fields::FormatField(row, value));
    if (IsRadioGroup(control, row)) {
        ShowInRadioGroup(*qobject_cast<QGroupBox*>(control), NumberOf(value));
    } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
        ShowInCombo(*combo, row, NumberOf(value));
    } else if (auto* check = qobject_cast<QCheckBox*>(control)) {
        const QSignalBlocker blocker(check);
        check->setChecked(NumberOf(value) != 0);
    } else if (auto* spin = qobject_cast<QSpinBox*>(control)) {
        const QSignalBlocker blocker(spin);
        spin->setValue(static_cast<int>(NumberOf(value)));
    } else if (auto* line = qobject_cast<QLineEdit*>(control)) {
        const QSignalBlocker blocker(line);
        line->setText(shown);
    } else if (auto* memo = qobject_cast<QPlainTextEdit*>(control)) {
        const QSignalBlocker blocker(memo);
        memo->setPlainText(shown);
    } else if (auto* label = qobject_cast<QLabel*>(control)) {
        label->setText(shown);
    }
}

void Prepare(QWidget* control, const FieldRow& row) {
    if (IsRadioGroup(control, row)) {
        FillRadioGroup(*qobject_cast<QGroupBox*>(control), row);
    } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
        FillChoices(*combo, row);
    } else if (auto* spin = qobject_cast<QSpinBox*>(control)) {
        const bool ranged = row.min != 0 || row.max != 0;
        spin->setRange(ranged ? static_cast<int>(row.min) : 0,
                       ranged ? static_cast<int>(row.max) : 0xFFFF);
    } else if (auto* line = qobject_cast<QLineEdit*>(control)) {
        if (row.encoding == fields::Encoding::PackedDial) {
            line->setMaxLength(static_cast<int>(fields::DialCapacity(row)));
        } else if (fields::IsTextEncoding(row.encoding)) {
            line->setMaxLength(row.max > 0 ? static_cast<int>(row.max) : row.width);
        }
    }
}

// What a control shows, as undo keeps it: the code of a list, a box or a group, the text of a
// field; nothing for a label, which the user does not edit.
QVariant StateOf(const QWidget* control, const FieldRow& row) {
    if (IsRadioGroup(control, row)) {
        return QVariant::fromValue<qlonglong>(
            CodeOfRadioGroup(*qobject_cast<const QGroupBox*>(control)));
    }
    if (const auto* combo = qobject_cast<const QComboBox*>(control)) {
        return combo->currentIndex() < 0 ? QVariant() : combo->currentData(kCodeRole);
    }
    if (const auto* check = qobject_cast<const QCheckBox*>(control)) {
        return QVariant::fromValue<qlonglong>(check->isChecked() ? 1 : 0);
    }
    if (const auto* spin = qobject_cast<const QSpinBox*>(control)) {
        return QVariant::fromValue<qlonglong>(spin->value());
    }
    if (const auto* line = qobject_cast<const QLineEdit*>(control)) {
        return line->text();
    }
    if (const auto* memo = qobject_cast<const QPlainTextEdit*>(control)) {
        return memo->toPlainText();
    }
    return {};
}

void ShowState(QWidget* control, const FieldRow& row, const QVariant& state) {
    if (!state.isValid()) {
        return;
    }
    if (state.typeId() != QMetaType::QString) {
        ShowValue(control, row, FieldValue(std::int64_t{state.toLongLong()}));
    } else if (auto* line = qobject_cast<QLineEdit*>(control)) {
        const QSignalBlocker blocker(line);
        line->setText(state.toString());
    } else if (auto* memo = qobject_cast<QPlainTextEdit*>(control)) {
        const QSignalBlocker blocker(memo);
        memo->setPlainText(state.toString());
    }
}

}  // namespace

// The bindings, and what they showed after the last step or load.
class FieldBinder::Recording : public QObject, public undo::Recorder {
  public:
    struct Change {
        std::size_t binding;
        QVariant before;
        QVariant after;
    };

    explicit Recording(QWidget& form) : form_(&form) {}

    void Add(const Binding& binding) {
        bindings.push_back(binding);
        shown_.push_back(StateOf(binding.control, *binding.row));
        Watch(*binding.control, *binding.row);
    }

    void Commit() override {
        std::vector<Change> changes;
        for (std::size_t b = 0; b < bindings.size(); ++b) {
            QVariant now = StateOf(bindings[b].control, *bindings[b].row);
            if (now != shown_[b]) {
                changes.push_back({b, shown_[b], now});
                shown_[b] = std::move(now);
            }
        }
        if (!changes.empty() && undo::Recorded(*form_)) {
            undo::Push(std::make_unique<Step>(*this, std::move(changes)));
        }
    }

    void Rebase() override {
        for (std::size_t b = 0; b < bindings.size(); ++b) {
            shown_[b] = StateOf(bindings[b].control, *bindings[b].row);
        }
    }

    std::vector<Binding> bindings;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusOut) {
            CommitSoon();
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    class Step : public undo::DoneStep {
      public:
        Step(Recording& recording, std::vector<Change> changes)
            : DoneStep(QStringLiteral("Edit %1").arg(
                  ToQString(recording.bindings[changes.front().binding].row->caption))),
              recording_(&recording),
              changes_(std::move(changes)) {}
        void Redo() override { Show(true); }
        void Undo() override { Show(false); }

      private:
        void Show(bool after) {
            if (recording_ != nullptr) {
                recording_->Show(changes_, after);
            }
        }
        QPointer<Recording> recording_;  // gone with its form
        std::vector<Change> changes_;
    };

    void Show(const std::vector<Change>& changes, bool after) {
        for (const Change& change : changes) {
            const Binding& binding = bindings[change.binding];
            const QVariant& state = after ? change.after : change.before;
            ShowState(binding.control, *binding.row, state);
            shown_[change.binding] = StateOf(binding.control, *binding.row);
        }
    }

    void CommitSoon() { undo::CommitSoon(*this); }

    // The signals by which the user leaves a control with a value.
    void Watch(QWidget& control, const FieldRow& row) {
        const auto soon = [this] { CommitSoon(); };
        if (IsRadioGroup(&control, row)) {
            for (QRadioButton* button : RadioButtons(control)) {
                connect(button, &QRadioButton::clicked, this, soon);
            }
        } else if (auto* combo = qobject_cast<QComboBox*>(&control)) {
            connect(combo, &QComboBox::activated, this, soon);
        } else if (auto* check = qobject_cast<QCheckBox*>(&control)) {
            connect(check, &QCheckBox::clicked, this, soon);
        } else if (auto* spin = qobject_cast<QSpinBox*>(&control)) {
            connect(spin, &QSpinBox::editingFinished, this, soon);
        } else if (auto* line = qobject_cast<QLineEdit*>(&control)) {
            connect(line, &QLineEdit::editingFinished, this, soon);
        } else if (auto* memo = qobject_cast<QPlainTextEdit*>(&control)) {
            memo->installEventFilter(this);
        }
    }

    QWidget* form_;
    std::vector<QVariant> shown_;
};

void SelectCode(QComboBox& combo, std::int64_t code, const QString& missing) {
    const QSignalBlocker blocker(combo);
    int index = combo.findData(QVariant::fromValue<qlonglong>(code), kCodeRole);
    if (index < 0) {
        combo.addItem(missing, QVariant::fromValue<qlonglong>(code));
        index = combo.count() - 1;
    }
    combo.setCurrentIndex(index);
}

QString ToQString(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

FieldBinder::FieldBinder(QWidget& form, std::span<const FieldRow> rows)
    : recording_(std::make_unique<Recording>(form)) {
    for (const FieldRow& row : rows) {
        if (row.control.empty()) {
            continue;
        }
        auto* control = form.findChild<QWidget*>(ToQString(row.control));
        if (control == nullptr) {
            continue;
        }
        Prepare(control, row);
        recording_->Add({&row, control});
    }
}

FieldBinder::~FieldBinder() = default;
FieldBinder::FieldBinder(FieldBinder&&) noexcept = default;
FieldBinder& FieldBinder::operator=(FieldBinder&&) noexcept = default;

const std::vector<FieldBinder::Binding>& FieldBinder::Bindings() const {
    return recording_->bindings;
}

void FieldBinder::Load(fields::ImageId image, std::span<const std::uint8_t> bytes,
                       std::size_t areaOffset) {
    for (const Binding& binding : Bindings()) {
        const std::int32_t at = binding.row->at.Of(image);
        if (at == fields::kAbsent) {
            continue;
        }
        ShowValue(
            binding.control, *binding.row,
            fields::ReadField(*binding.row, bytes, areaOffset + static_cast<std::size_t>(at)));
    }
    recording_->Rebase();
}

void FieldBinder::Store(fields::ImageId image, std::span<std::uint8_t> bytes,
                        std::size_t areaOffset) const {
    for (const Binding& binding : Bindings()) {
        const std::int32_t at = binding.row->at.Of(image);
        if (at == fields::kAbsent || binding.row->derived ||
            qobject_cast<QLabel*>(binding.control) != nullptr) {
            continue;
        }
        if (const auto value = Value(binding.control)) {
            fields::WriteField(*binding.row, bytes, areaOffset + static_cast<std::size_t>(at),
                               *value);
        }
    }
}

const FieldBinder::Binding* FieldBinder::Find(const QWidget* control) const {
    for (const Binding& binding : Bindings()) {
        if (binding.control == control) {
            return &binding;
        }
    }
    return nullptr;
}

const FieldBinder::Binding* FieldBinder::Find(const FieldRow& row) const {
    for (const Binding& binding : Bindings()) {
        if (binding.row == &row) {
            return &binding;
        }
    }
    return nullptr;
}

const FieldRow* FieldBinder::RowOf(const QWidget* control) const {
    const Binding* binding = Find(control);
    return binding ? binding->row : nullptr;
}

std::optional<FieldValue> FieldBinder::Value(const QWidget* control) const {
    const Binding* binding = Find(control);
    if (binding == nullptr) {
        return std::nullopt;
    }
    const FieldRow& row = *binding->row;
    if (IsRadioGroup(control, row)) {
        return FieldValue(CodeOfRadioGroup(*qobject_cast<const QGroupBox*>(control)));
    }
    if (const auto* combo = qobject_cast<const QComboBox*>(control)) {
        if (combo->currentIndex() < 0) {
            return std::nullopt;
        }
        return FieldValue(std::int64_t{combo->currentData(kCodeRole).toLongLong()});
    }
    if (const auto* check = qobject_cast<const QCheckBox*>(control)) {
        return FieldValue(std::int64_t{check->isChecked() ? 1 : 0});
    }
    if (const auto* spin = qobject_cast<const QSpinBox*>(control)) {
        return FieldValue(std::int64_t{spin->value()});
    }
    if (const auto* line = qobject_cast<const QLineEdit*>(control)) {
        return fields::ParseField(row, line->text().toStdString());
    }
    if (const auto* memo = qobject_cast<const QPlainTextEdit*>(control)) {
        return fields::ParseField(row, memo->toPlainText().toStdString());
    }
    return std::nullopt;
}

void FieldBinder::Show(const FieldRow& row, const FieldValue& value) {
    if (const Binding* binding = Find(row)) {
        ShowValue(binding->control, row, value);
        // A value the form shows (a Defaults button, a rule) is part of what the user did; one
        // a load shows is not, since the loads start the history afresh.
        undo::CommitSoon(*recording_);
    }
}

bool FieldBinder::CheckControl(const QWidget* control, Person& person) const {
    const Binding* binding = Find(control);
    if (binding == nullptr) {
        return true;
    }
    if (const auto* line = qobject_cast<const QLineEdit*>(control);
        line && line->text().isEmpty()) {
        return true;  // an empty field passes; the store leaves its bytes as they are
    }
    const auto value = Value(control);
    // Text that is no number is checked as the range check sees it: out of any range.
    const auto message = value ? fields::CheckField(*binding->row, *value)
                               : fields::CheckField(*binding->row, std::int64_t{-1} << 62);
    if (message) {
        person.Error(*message);
        return false;
    }
    return true;
}

std::vector<QWidget*> FieldBinder::Controls() const {
    std::vector<QWidget*> controls;
    for (const Binding& binding : Bindings()) {
        controls.push_back(binding.control);
    }
    return controls;
}

}  // namespace km

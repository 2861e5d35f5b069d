#include "forms/PageBuilder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>
#include <algorithm>
#include <stdexcept>

#include "forms/FieldBinder.h"

namespace km {
namespace {

using fields::FieldRow;

// The characters a number of the row takes at most.
int DigitsOf(const FieldRow& row) {
    return static_cast<int>(std::to_string(std::max(row.max, std::int64_t{9})).size());
}

QLineEdit& MakeEdit(const EditShape& shape, QWidget& parent) {
    auto* edit = new QLineEdit(&parent);
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression(shape.keys), edit));
    edit->setMaxLength(shape.length);
    // Room for one character more than the longest value, and the frame.
    edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QString(shape.length + 1, '0')) + 12);
    return *edit;
}

}  // namespace

PageBuilder::PageBuilder(std::span<const FieldRow> rows, ShapeOf shape)
    : rows_(rows), shape_(std::move(shape)) {}

const FieldRow& PageBuilder::RowOfControl(std::string_view control) const {
    const auto row = std::find_if(rows_.begin(), rows_.end(),
                                  [&](const FieldRow& r) { return r.control == control; });
    if (row == rows_.end()) {
        throw std::logic_error("no row for the control " + std::string(control));
    }
    return *row;
}

QWidget& PageBuilder::MakeControl(const FieldRow& row, QWidget& parent) {
    const QString caption = ToQString(row.caption);
    QWidget* control = nullptr;
    switch (row.controlKind) {
        case fields::ControlKind::CheckBox:
            control = new QCheckBox(caption, &parent);
            break;
        case fields::ControlKind::List:
            control = new QComboBox(&parent);
            break;
        case fields::ControlKind::RadioButtons:
            control = new QGroupBox(caption, &parent);
            break;
        case fields::ControlKind::Edit: {
            const std::optional<EditShape> shape = shape_ ? shape_(row) : std::nullopt;
            control = &MakeEdit(shape.value_or(EditShape{"[0-9]*", DigitsOf(row)}), parent);
            break;
        }
    }
    control->setObjectName(ToQString(row.control));
    controls_.emplace(std::string(row.control), control);
    return *control;
}

QWidget& PageBuilder::Build(const PageLayout& layout, QWidget& owner) {
    auto* page = new QWidget(&owner);
    page->setObjectName(layout.object);
    auto* columns = new QHBoxLayout(page);
    for (const auto* side : {&layout.left, &layout.right}) {
        auto* column = new QVBoxLayout;
        for (const PageGroup& described : *side) {
            auto* group = new QGroupBox(described.title, page);
            group->setObjectName(described.object);
            controls_.emplace(described.object, group);
            auto* form = new QFormLayout(group);
            form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
            for (std::string_view name : described.controls) {
                const FieldRow& row = RowOfControl(name);
                QWidget& control = MakeControl(row, *group);
                if (qobject_cast<QLineEdit*>(&control) || qobject_cast<QComboBox*>(&control)) {
                    auto* label = new QLabel(ToQString(row.caption), group);
                    labels_[&control] = label;
                    form->addRow(label, &control);
                } else {
                    form->addRow(&control);
                }
            }
            column->addWidget(group);
        }
        column->addStretch(1);
        columns->addLayout(column, 1);
    }
    return *page;
}

QWidget* PageBuilder::Control(std::string_view name) const {
    const auto found = controls_.find(name);
    return found == controls_.end() ? nullptr : found->second;
}

QLabel* PageBuilder::LabelOf(const QWidget& control) const {
    const auto found = labels_.find(&control);
    return found == labels_.end() ? nullptr : found->second;
}

void SetShownWithLabel(const PageBuilder& pages, QWidget& control, bool shown) {
    control.setVisible(shown);
    if (QLabel* label = pages.LabelOf(control)) {
        label->setVisible(shown);
    }
}

}  // namespace km

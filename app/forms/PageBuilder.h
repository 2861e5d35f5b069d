#pragma once
// Plain pages drawn from their rows. A page is described as two columns of group boxes, each a
// list of the controls of rows (by the control name the row gives); the builder makes each row's
// control, names it as the row names it, captions it (the check box or radio group its text, an
// edit or a list a label beside it), sizes an edit for the row's longest value and lets it take
// only the keys the row takes. A FieldBinder over the same rows then loads, stores and checks
// them; the form keeps only what goes beyond its rows.

#include <QLabel>
#include <QString>
#include <QWidget>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "fields/Field.h"

namespace km {

struct PageGroup {
    const char* title;
    const char* object;
    std::vector<std::string_view> controls;  // row control names, top to bottom
};

struct PageLayout {
    std::string_view caption;
    const char* object;
    std::vector<PageGroup> left;
    std::vector<PageGroup> right;
};

// What an edit takes when its row alone does not say: the keys (a regular expression of the
// whole text) and the characters at most.
struct EditShape {
    QString keys;
    int length;
};

class PageBuilder {
  public:
    // Edits take digits, as many as the row's largest value has, unless `shape` answers for the
    // row.
    using ShapeOf = std::function<std::optional<EditShape>(const fields::FieldRow&)>;

    explicit PageBuilder(std::span<const fields::FieldRow> rows, ShapeOf shape = {});

    // Makes the page of `layout` with its groups and controls (children of `owner`).
    QWidget& Build(const PageLayout& layout, QWidget& owner);

    // A control or group box the builder made, by object name; null for another name.
    QWidget* Control(std::string_view name) const;
    // The label beside a control, or null when the control carries its caption itself.
    QLabel* LabelOf(const QWidget& control) const;
    // Every control and group box made, by object name.
    const std::map<std::string, QWidget*, std::less<>>& Controls() const { return controls_; }

  private:
    const fields::FieldRow& RowOfControl(std::string_view control) const;
    QWidget& MakeControl(const fields::FieldRow& row, QWidget& parent);

    std::span<const fields::FieldRow> rows_;
    ShapeOf shape_;
    std::map<std::string, QWidget*, std::less<>> controls_;
    std::map<const QWidget*, QLabel*> labels_;
};

// Shows or hides a control together with its label.
void SetShownWithLabel(const PageBuilder& pages, QWidget& control, bool shown);

}  // namespace km

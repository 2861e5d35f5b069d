#include "forms/FieldGrid.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QHeaderView>
#include <QJsonArray>
#include <QJsonDocument>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTimer>
#include <algorithm>
#include <limits>

#include "core/Csv.h"
#include "core/Person.h"
#include "forms/FieldBinder.h"

namespace km {

namespace {

constexpr int kTitlePadding = 12;
constexpr int kLinePadding = 6;
constexpr int kLinesShownWhole = 20;
// A paste is refused whole when a cell cannot take its text.
// The cells exactly as the grid shows them, beside the CSV text (which has no room for a comma),
// so that lines pasted into another job are the lines copied.
constexpr const char* kCellsMimeType = "application/x-km700rcp-grid-cells";
constexpr const char* kPasteRefusedText =
    "The rows on the clipboard do not fit this grid:\nline %1, column \"%2\" cannot hold \"%3\".";

bool IsEnter(const QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return false;
    }
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// Focus that goes to a popup or another window comes back: the grid is not left.
bool FocusLeavesForGood(const QEvent* event) {
    const Qt::FocusReason reason = static_cast<const QFocusEvent*>(event)->reason();
    return reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason;
}

QRegularExpression PatternOf(const FieldGrid::Editor& editor) {
    const int chars = editor.maxChars > 0 ? editor.maxChars : 9;
    switch (editor.kind) {
        case FieldGrid::Editor::Kind::Megahertz:
            return QRegularExpression(QStringLiteral("[0-9]{0,4}([.,][0-9]*)?"));
        case FieldGrid::Editor::Kind::Dial:
            return QRegularExpression(QStringLiteral("[0-9#*]{0,%1}").arg(chars));
        case FieldGrid::Editor::Kind::Text:
            return QRegularExpression(QStringLiteral("[^\\x{0}-\\x{1F}\\x{7F}]{0,%1}").arg(chars));
        case FieldGrid::Editor::Kind::Pattern:
            return QRegularExpression(
                QStringLiteral("[%1]{0,%2}").arg(editor.characters).arg(chars));
        default:
            return QRegularExpression(QStringLiteral("[0-9]{0,%1}").arg(chars));
    }
}

}  // namespace

// The editors placed over a cell: a line edit that refuses what its cell cannot hold (with a
// beep) and hands every keystroke to the cell at once, or a drop-down list that writes the text
// chosen.
class FieldGridDelegate : public QStyledItemDelegate {
  public:
    FieldGridDelegate(FieldGrid& grid, Person& person)
        : QStyledItemDelegate(&grid), grid_(grid), person_(person) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex& index) const override {
        const FieldGrid::Editor& editor = grid_.editors_.at(static_cast<std::size_t>(index.row()))
                                              .at(static_cast<std::size_t>(index.column()));
        if (editor.kind == FieldGrid::Editor::Kind::List) {
            auto* combo = new QComboBox(parent);
            combo->addItems(editor.items);
            connect(combo, &QComboBox::activated, this, [this, combo] {
                emit const_cast<FieldGridDelegate*>(this)->commitData(combo);
                emit const_cast<FieldGridDelegate*>(this)->closeEditor(combo);
            });
            return combo;
        }
        auto* line = new QLineEdit(parent);
        line->setValidator(new QRegularExpressionValidator(PatternOf(editor), line));
        connect(line, &QLineEdit::textEdited, this,
                [this, line] { emit const_cast<FieldGridDelegate*>(this)->commitData(line); });
        return line;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        if (auto* combo = qobject_cast<QComboBox*>(editor)) {
            combo->setCurrentIndex(combo->findText(index.data().toString()));
            return;
        }
        QStyledItemDelegate::setEditorData(editor, index);
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override {
        if (auto* combo = qobject_cast<QComboBox*>(editor)) {
            if (combo->currentIndex() >= 0) {
                model->setData(index, combo->currentText());
            }
            return;
        }
        QStyledItemDelegate::setModelData(editor, model, index);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* line = qobject_cast<QLineEdit*>(watched);
        if (line != nullptr && event->type() == QEvent::KeyPress && Refused(*line, event)) {
            person_.Beep();
            return true;
        }
        if (IsEnter(event) && !grid_.CheckCurrentCell(FieldGrid::Moment::Enter)) {
            return true;  // the cell keeps its editor and its text
        }
        if (event->type() == QEvent::FocusOut && FocusLeavesForGood(event)) {
            grid_.LeavingGrid(QApplication::focusWidget());
        }
        return QStyledItemDelegate::eventFilter(watched, event);
    }

  private:
    // A typed character the cell's pattern does not allow.
    static bool Refused(const QLineEdit& line, QEvent* event) {
        const QString typed = static_cast<QKeyEvent*>(event)->text();
        if (typed.isEmpty() || typed.at(0).unicode() < 32 || typed.at(0).unicode() == 127) {
            return false;  // editing keys
        }
        QString text = line.text();
        int position = line.cursorPosition();
        if (line.hasSelectedText()) {
            position = line.selectionStart();
            text.remove(position, line.selectedText().size());
        }
        text.insert(position, typed);
        return line.validator()->validate(text, position) == QValidator::Invalid;
    }

    FieldGrid& grid_;
    Person& person_;
};

// The grid lives beside its table in the form (destroyed first); the table holds its delegate
// through a guarded pointer.
FieldGrid::FieldGrid(QTableWidget& table, Person& person)
    : undo::RowClipboard(table), table_(table), person_(person), cells_(table) {
    auto* delegate = new FieldGridDelegate(*this, person_);
    table_.setItemDelegate(delegate);
    table_.setEditTriggers(QAbstractItemView::AllEditTriggers);
    // Lines in a row may be chosen together, to copy them.
    table_.setSelectionMode(QAbstractItemView::ContiguousSelection);
    table_.verticalHeader()->hide();
    table_.horizontalHeader()->setHighlightSections(false);
    table_.installEventFilter(this);
    connect(&table_, &QTableWidget::currentCellChanged, this, &FieldGrid::CurrentCellChanged);
}

void FieldGrid::SetUp(int lines, std::span<const Column> columns, int firstNumber) {
    firstNumber_ = firstNumber;
    table_.setRowCount(lines);
    table_.setColumnCount(static_cast<int>(columns.size()));
    QStringList titles;
    const QFontMetrics metrics = table_.horizontalHeader()->fontMetrics();
    for (std::size_t c = 0; c < columns.size(); ++c) {
        titles << columns[c].title;
        // A title never cut off, whatever the font.
        table_.setColumnWidth(
            static_cast<int>(c),
            std::max(columns[c].width,
                     metrics.horizontalAdvance(columns[c].title) + kTitlePadding));
    }
    table_.setHorizontalHeaderLabels(titles);
    FitToColumns(lines);
    loaded_.assign(static_cast<std::size_t>(lines),
                   std::vector<QString>(columns.size(), QString()));
    editors_.assign(static_cast<std::size_t>(lines), std::vector<Editor>(columns.size()));
    const QBrush fixed = table_.palette().button();
    for (int line = 0; line < lines; ++line) {
        for (int column = 0; column < static_cast<int>(columns.size()); ++column) {
            auto* item = new QTableWidgetItem;
            item->setFlags(Qt::ItemIsEnabled);
            if (column == 0) {
                item->setText(QString::number(firstNumber + line));
                item->setBackground(fixed);
                loaded_[static_cast<std::size_t>(line)][0] = item->text();
            }
            table_.setItem(line, column, item);
        }
    }
    cells_.Rebase();
}

void FieldGrid::FitToColumns(int lines) {
    table_.verticalHeader()->setDefaultSectionSize(table_.fontMetrics().height() + kLinePadding);
    int width = 2 * table_.frameWidth();
    for (int c = 0; c < table_.columnCount(); ++c) {
        width += table_.columnWidth(c);
    }
    const int frame = 2 * table_.frameWidth() + table_.horizontalHeader()->sizeHint().height();
    const int lineHeight = table_.verticalHeader()->defaultSectionSize();
    if (lines <= kLinesShownWhole) {
        // A short grid shows all its lines.
        table_.setFixedHeight(frame + lines * lineHeight);
        table_.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    } else {
        // A long grid takes the height of its page, and shows a good part of its lines at least.
        width += table_.verticalScrollBar()->sizeHint().width();
        table_.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        table_.setMinimumHeight(frame + kLinesShownWhole / 2 * lineHeight);
        table_.setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    }
    table_.setFixedWidth(width);
    table_.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

void FieldGrid::SetName(int line, const QString& name) {
    Item(line, 0).setText(name);
    loaded_.at(static_cast<std::size_t>(line)).at(0) = name;
    cells_.Loaded(line, 0, name);
    // Names are never cut off either.
    const int needed = table_.fontMetrics().horizontalAdvance(name) + kTitlePadding;
    if (needed > table_.columnWidth(0)) {
        table_.setColumnWidth(0, needed);
        FitToColumns(Lines());
    }
}

void FieldGrid::SetEditor(int column, const Editor& editor) {
    for (int line = 0; line < Lines(); ++line) {
        SetCellEditor(line, column, editor);
    }
}

void FieldGrid::SetCellEditor(int line, int column, const Editor& editor) {
    editors_.at(static_cast<std::size_t>(line)).at(static_cast<std::size_t>(column)) = editor;
    Item(line, column)
        .setFlags(editor.kind == Editor::Kind::None
                      ? Qt::ItemIsEnabled
                      : Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
}

void FieldGrid::Bind(int line, int column, const fields::FieldRow& row, std::size_t offset) {
    bindings_.push_back({line, column, &row, offset});
}

void FieldGrid::BindRecord(int line, int column, const fields::RecordTable& records, int entry,
                           const fields::FieldRow& row) {
    bindings_.push_back({line, column, &row, 0, &records, entry});
}

std::optional<std::size_t> FieldGrid::PlaceOf(const Binding& binding, fields::ImageId image) {
    if (binding.records == nullptr) {
        return binding.offset;
    }
    const std::int32_t base = binding.records->base.Of(image);
    const std::int32_t column = binding.row->at.Of(image);
    if (base == fields::kAbsent || column == fields::kAbsent) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(base) +
           static_cast<std::size_t>(binding.entry) * binding.records->stride +
           static_cast<std::size_t>(column);
}

void FieldGrid::Load(fields::ImageId image, std::span<const std::uint8_t> bytes, std::size_t area) {
    for (const Binding& binding : bindings_) {
        const std::optional<std::size_t> place = PlaceOf(binding, image);
        if (!place) {
            continue;
        }
        const auto value = fields::ReadField(*binding.row, bytes, area + *place);
        ShowLoaded(binding.line, binding.column,
                   ToQString(fields::FormatField(*binding.row, value)));
    }
}

void FieldGrid::Store(fields::ImageId image, std::span<std::uint8_t> bytes,
                      std::size_t area) const {
    for (const Binding& binding : bindings_) {
        const std::optional<std::size_t> place = PlaceOf(binding, image);
        if (!place || !Edited(binding.line, binding.column)) {
            continue;
        }
        const auto value =
            fields::ParseField(*binding.row, Text(binding.line, binding.column).toStdString());
        if (value) {
            fields::WriteField(*binding.row, bytes, area + *place, *value);
        }
    }
}

int FieldGrid::Lines() const {
    return table_.rowCount();
}

QTableWidgetItem& FieldGrid::Item(int line, int column) const {
    QTableWidgetItem* item = table_.item(line, column);
    if (item == nullptr) {
        throw std::out_of_range("grid cell outside the grid");
    }
    return *item;
}

QString FieldGrid::Text(int line, int column) const {
    return Item(line, column).text();
}

void FieldGrid::ShowLoaded(int line, int column, const QString& text) {
    loaded_.at(static_cast<std::size_t>(line)).at(static_cast<std::size_t>(column)) = text;
    Item(line, column).setText(text);
    cells_.Loaded(line, column, text);
}

void FieldGrid::SetText(int line, int column, const QString& text) {
    Item(line, column).setText(text);
}

bool FieldGrid::Edited(int line, int column) const {
    return Text(line, column) !=
           loaded_.at(static_cast<std::size_t>(line)).at(static_cast<std::size_t>(column));
}

const FieldGrid::Binding* FieldGrid::BindingOf(int line, int column) const {
    for (const Binding& binding : bindings_) {
        if (binding.line == line && binding.column == column) {
            return &binding;
        }
    }
    return nullptr;
}

std::optional<std::string> FieldGrid::CellMessage(int line, int column, Moment moment) const {
    // A cell the user cannot edit (the fixed column of line numbers and names) is never checked:
    // the first click into a grid makes it current, and leaving it must say nothing.
    if (line < 0 || column < 0 || line >= Lines() || column >= table_.columnCount() ||
        !Edited(line, column) ||
        editors_.at(static_cast<std::size_t>(line)).at(static_cast<std::size_t>(column)).kind ==
            Editor::Kind::None) {
        return std::nullopt;
    }
    if (const Binding* binding = BindingOf(line, column)) {
        const std::string text = Text(line, column).toStdString();
        const auto value = fields::ParseField(*binding->row, text);
        // Text that is no number is checked as out of any range; an empty cell keeps its bytes.
        if (!text.empty()) {
            auto message = value ? fields::CheckField(*binding->row, *value)
                                 : fields::CheckField(*binding->row,
                                                      std::numeric_limits<std::int64_t>::min() / 2);
            if (message) {
                return message;
            }
        }
    }
    return extraCheck ? extraCheck(line, column, moment) : std::nullopt;
}

bool FieldGrid::CheckCurrentCell(Moment moment) {
    if (checking_) {
        return true;
    }
    checking_ = true;
    auto message = CellMessage(table_.currentRow(), table_.currentColumn(), moment);
    if (!message && moment == Moment::Move && lineCheck && table_.currentRow() >= 0) {
        message = lineCheck(table_.currentRow());
    }
    if (message) {
        Show(*message, table_.currentRow(), table_.currentColumn(), moment);
    }
    checking_ = false;
    return !message;
}

bool FieldGrid::HasFocus() const {
    const QWidget* focus = QApplication::focusWidget();
    return focus != nullptr && (focus == &table_ || table_.isAncestorOf(focus));
}

void FieldGrid::CurrentCellChanged(int line, int, int previousLine, int previousColumn) {
    if (staying_ || checking_ || previousLine < 0 || previousColumn < 0) {
        return;
    }
    checking_ = true;
    auto message = CellMessage(previousLine, previousColumn, Moment::Move);
    if (!message && line != previousLine && lineCheck) {
        message = lineCheck(previousLine);
    }
    if (message) {
        Show(*message, previousLine, previousColumn, Moment::Move);
        StayIn(previousLine, previousColumn);
    }
    checking_ = false;
}

void FieldGrid::Show(const std::string& message, int line, int column, Moment moment) {
    const BoxKind kind = messageKind ? messageKind(line, column, moment) : BoxKind::Error;
    person_.Show(kind, message, Buttons::Ok);
}

void FieldGrid::StayIn(int line, int column) {
    staying_ = true;
    table_.setCurrentCell(line, column);
    staying_ = false;
}

void FieldGrid::LeavingGrid(QWidget* next) {
    if (next != nullptr && (next == &table_ || table_.isAncestorOf(next))) {
        return;
    }
    if (!CheckCurrentCell(Moment::Move)) {
        QTimer::singleShot(0, &table_, [this] { table_.setFocus(Qt::OtherFocusReason); });
    }
}

// ---- Rows on the clipboard -------------------------------------------------------------------

std::unique_ptr<QMimeData> FieldGrid::CopyRows() const {
    std::vector<int> lines;
    for (const QTableWidgetSelectionRange& range : table_.selectedRanges()) {
        for (int line = range.topRow(); line <= range.bottomRow(); ++line) {
            lines.push_back(line);
        }
    }
    if (lines.empty() && table_.currentRow() >= 0) {
        lines.push_back(table_.currentRow());
    }
    if (lines.empty()) {
        return nullptr;
    }
    std::sort(lines.begin(), lines.end());
    lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
    std::vector<std::string> rows;
    QJsonArray exact;
    for (int line : lines) {
        std::vector<std::string> cells;
        QJsonArray exactCells;
        for (int column = 1; column < table_.columnCount(); ++column) {
            cells.push_back(Text(line, column).toStdString());
            exactCells.append(Text(line, column));
        }
        rows.push_back(csv::IndexedRow(static_cast<std::size_t>(firstNumber_ + line), cells));
        exact.append(exactCells);
    }
    auto data = std::make_unique<QMimeData>();
    undo::PutRowLines(*data, rows);
    data->setData(kCellsMimeType, QJsonDocument(exact).toJson(QJsonDocument::Compact));
    return data;
}

std::optional<std::string> FieldGrid::PasteRefusal(int line, int column,
                                                   const QString& text) const {
    const Editor& editor =
        editors_.at(static_cast<std::size_t>(line)).at(static_cast<std::size_t>(column));
    bool fits = false;
    switch (editor.kind) {
        case Editor::Kind::None:
            fits = text == Text(line, column);  // a cell the user cannot edit stays as it is
            break;
        case Editor::Kind::List:
            fits = editor.items.contains(text);
            break;
        default:
            fits =
                QRegularExpression(QRegularExpression::anchoredPattern(PatternOf(editor).pattern()))
                    .match(text)
                    .hasMatch();
    }
    if (fits) {
        return std::nullopt;
    }
    const QTableWidgetItem* title = table_.horizontalHeaderItem(column);
    return QString::fromUtf8(kPasteRefusedText)
        .arg(Item(line, 0).text(), title ? title->text() : QString(), text)
        .toStdString();
}

namespace {

// The cells of each line on the clipboard: copied from a grid exactly, otherwise CSV rows.
std::vector<QStringList> PastedLines(const QMimeData& data, int cellsPerLine) {
    std::vector<QStringList> lines;
    if (data.hasFormat(kCellsMimeType)) {
        for (const QJsonValue line : QJsonDocument::fromJson(data.data(kCellsMimeType)).array()) {
            QStringList cells;
            for (const QJsonValue cell : line.toArray()) {
                cells << cell.toString();
            }
            lines.push_back(cells);
        }
    } else {
        for (const std::string& row : undo::LinesOfText(data.text())) {
            QStringList cells;
            for (const std::string& cell :
                 csv::CellsOfIndexedRow(row, static_cast<std::size_t>(cellsPerLine))) {
                cells << ToQString(cell);
            }
            lines.push_back(cells);
        }
    }
    for (QStringList& cells : lines) {
        while (cells.size() < cellsPerLine) {
            cells << QString();
        }
    }
    return lines;
}

}  // namespace

void FieldGrid::PasteRows(const QMimeData& data) {
    const int first = std::max(table_.currentRow(), 0);
    const int columns = table_.columnCount();
    const std::vector<QStringList> rows = PastedLines(data, columns - 1);
    if (rows.empty()) {
        person_.Warn(undo::kPasteNoRowsText);
        return;
    }
    // Every cell is checked before one is changed.
    std::vector<undo::TableCells::Change> changes;
    for (std::size_t r = 0; r < rows.size() && first + static_cast<int>(r) < Lines(); ++r) {
        const int line = first + static_cast<int>(r);
        for (int column = 1; column < columns; ++column) {
            const QString& text = rows[r].at(column - 1);
            if (text == Text(line, column)) {
                continue;
            }
            if (const auto refusal = PasteRefusal(line, column, text)) {
                person_.Error(*refusal);
                return;
            }
            changes.push_back({line, column, Text(line, column), text});
        }
    }
    if (changes.empty()) {
        person_.Inform(undo::kPasteSameRowsText);
        return;
    }
    cells_.Show(changes, true);
    // The checks of the cells and lines as they now stand (widths, rules between cells).
    for (const undo::TableCells::Change& change : changes) {
        auto message = CellMessage(change.line, change.column, Moment::Move);
        if (!message && lineCheck) {
            message = lineCheck(change.line);
        }
        if (message) {
            cells_.Show(changes, false);
            Show(*message, change.line, change.column, Moment::Move);
            return;
        }
    }
    cells_.Record(QStringLiteral("Paste"), std::move(changes));
}

bool FieldGrid::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &table_) {
        if (IsEnter(event)) {  // an open cell editor takes its own Enter
            CheckCurrentCell(Moment::Enter);
            return true;
        }
        if (event->type() == QEvent::FocusOut && FocusLeavesForGood(event)) {
            LeavingGrid(QApplication::focusWidget());
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace km

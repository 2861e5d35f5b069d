#include "forms/pmr/ChannelSheetView.h"

#include <QApplication>
#include <QCompleter>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>
#include <QStringListModel>
#include <QStyledItemDelegate>
#include <QVBoxLayout>
#include <algorithm>
#include <map>
#include <set>

#include "forms/FieldBinder.h"
#include "pmr/Frequency.h"

namespace km {
namespace {

using pmr::SheetColumn;

constexpr const char* kFillDownText = "Fill Down";
constexpr const char* kFillSeriesText = "Fill Series";
constexpr const char* kInsertChannelsText = "Insert Channels...";
constexpr const char* kAddChannelText = "Add Channel";
constexpr const char* kAddChannelHint =
    "Insert or Ctrl+Enter: the next channel after the current one, its row copied, its "
    "frequencies a step further and its name counted on.";
constexpr const char* kFilterText = "Filter:";
constexpr const char* kAllColumnsText = "All Columns";
constexpr const char* kInsertCaption = "Insert Channels";
constexpr const char* kStepLabel = "Step (kHz)";
constexpr const char* kFillSeriesHint =
    "Frequencies step by the step given, names and numbers count up from the first cell.";
constexpr const char* kDefaultStepText = "12.5";
constexpr const char* kNamePatternHint = "\"#\" counts 1, 2, 3 ...";
// Texts of the dialogs' values that are no numbers.
constexpr std::string_view kBadStepText = "'%1' is not a step in kHz.";
constexpr std::string_view kBadInsertText =
    "Insert Channels needs a count, a channel number, a frequency in MHz and a step in kHz.";
constexpr std::string_view kSelectRowsText =
    "Select the cells to fill: the first cell of each column is filled into the others.";
constexpr int kNoteWidth = 420;

// A step typed in kHz ("12.5", "-25") in hertz.
std::optional<std::int64_t> StepHzOf(const QString& text) {
    QString digits = text.trimmed();
    const bool down = digits.startsWith('-');
    if (down) {
        digits.remove(0, 1);
    }
    const auto millionths = pmr::ParseMillionths(digits.toStdString());
    constexpr std::int64_t kMillionthsPerHz = 1000;
    if (!millionths || *millionths % kMillionthsPerHz != 0) {
        return std::nullopt;
    }
    return (down ? -1 : 1) * (*millionths / kMillionthsPerHz);
}

// Cells are typed into a line edit; a column with a list completes from it and opens it with
// Alt+Down.
class SheetDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex& index) const override {
        auto* edit = new QLineEdit(parent);
        edit->setFrame(false);
        QStringList choices;
        for (const std::string& choice : pmr::CellChoices(pmr::SheetColumnAt(index.column()))) {
            if (!choice.empty()) {
                choices << ToQString(choice).trimmed();
            }
        }
        if (!choices.isEmpty()) {
            auto* completer = new QCompleter(choices, edit);
            completer->setCaseSensitivity(Qt::CaseInsensitive);
            completer->setCompletionMode(QCompleter::PopupCompletion);
            completer->setMaxVisibleItems(16);
            edit->setCompleter(completer);
            edit->installEventFilter(const_cast<SheetDelegate*>(this));
        }
        return edit;
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* edit = qobject_cast<QLineEdit*>(watched);
        if (edit != nullptr && event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Down && (key->modifiers() & Qt::AltModifier) &&
                edit->completer() != nullptr) {
                edit->completer()->setCompletionPrefix(QString());
                edit->completer()->complete();
                return true;
            }
        }
        return QStyledItemDelegate::eventFilter(watched, event);
    }
};

QFont SheetFont() {
    QFont font = QApplication::font();
    font.setStyleHint(QFont::TypeWriter);
    return font;
}

}  // namespace

// ---- The grid's keys -----------------------------------------------------------------------

void SheetGrid::keyPressEvent(QKeyEvent* event) {
    const bool editing = state() == QAbstractItemView::EditingState;
    if (!editing) {
        if (event->key() == Qt::Key_Delete && onClear) {
            onClear();
            return;
        }
        if (event->key() == Qt::Key_D && event->modifiers() == Qt::ControlModifier && onFillDown) {
            onFillDown();
            return;
        }
        if (event->key() == Qt::Key_D &&
            event->modifiers() == (Qt::ControlModifier | Qt::ShiftModifier) && onFillSeries) {
            onFillSeries();
            return;
        }
        const bool enterKey = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
        if ((event->key() == Qt::Key_Insert ||
             (enterKey && (event->modifiers() & Qt::ControlModifier))) &&
            onAddNext) {
            onAddNext();
            return;
        }
        if (enterKey && currentIndex().isValid()) {
            setCurrentIndex(moveCursor(MoveDown, Qt::NoModifier));
            return;
        }
        if (event->key() == Qt::Key_Down && (event->modifiers() & Qt::AltModifier) &&
            currentIndex().isValid()) {
            if (edit(currentIndex(), EditKeyPressed, event)) {
                if (QWidget* editor = indexWidget(currentIndex())) {
                    QApplication::sendEvent(editor, event);
                } else if (QWidget* focus = QApplication::focusWidget()) {
                    QApplication::sendEvent(focus, event);
                }
            }
            return;
        }
    }
    QTableView::keyPressEvent(event);
}

void SheetGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    // Enter takes the value and moves down, as in a spreadsheet; a refused value keeps the cell.
    const bool enter = hint == QAbstractItemDelegate::SubmitModelCache;
    QTableView::closeEditor(editor, enter ? QAbstractItemDelegate::NoHint : hint);
    if (enter && !(refused && refused())) {
        setCurrentIndex(moveCursor(MoveDown, Qt::NoModifier));
    }
}

// ---- Dialogs -------------------------------------------------------------------------------

InsertChannelsDialog::InsertChannelsDialog(int firstNumber, std::int64_t firstHz, QWidget* parent)
    : QDialog(parent), INS_Buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel) {
    setObjectName("InsertChannelsDialog");
    setWindowTitle(kInsertCaption);
    const pmr::InsertRequest defaults;
    const std::pair<QLineEdit*, const char*> edits[] = {
        {&INS_Edit_Count, "INS_Edit_Count"},
        {&INS_Edit_FirstNumber, "INS_Edit_FirstNumber"},
        {&INS_Edit_FirstFrequency, "INS_Edit_FirstFrequency"},
        {&INS_Edit_Step, "INS_Edit_Step"},
        {&INS_Edit_NamePattern, "INS_Edit_NamePattern"},
    };
    for (const auto& [edit, name] : edits) {
        edit->setObjectName(name);
    }
    INS_Edit_Count.setText(QString::number(defaults.count));
    INS_Edit_FirstNumber.setText(QString::number(firstNumber));
    INS_Edit_FirstFrequency.setText(ToQString(pmr::ShortestMegahertz(firstHz)));
    INS_Edit_Step.setText(kDefaultStepText);
    INS_Edit_NamePattern.setText(ToQString(defaults.namePattern));
    INS_Edit_NamePattern.setMaxLength(12);
    INS_Edit_NamePattern.setToolTip(kNamePatternHint);
    auto* form = new QFormLayout;
    form->addRow("Number of Channels", &INS_Edit_Count);
    form->addRow("First Channel Number", &INS_Edit_FirstNumber);
    form->addRow("First Frequency (MHz)", &INS_Edit_FirstFrequency);
    form->addRow(kStepLabel, &INS_Edit_Step);
    form->addRow("Name Pattern", &INS_Edit_NamePattern);
    auto* hint = new QLabel(kNamePatternHint);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(hint);
    layout->addWidget(&INS_Buttons);
    connect(&INS_Buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(&INS_Buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

// ---- The sheet -----------------------------------------------------------------------------

ChannelSheetView::ChannelSheetView(
    ChannelSheetModel& model, Dialogs& dialogs,
    std::function<pmr::ChannelEntry(std::optional<std::size_t>)> insertModel, QWidget* parent)
    : QWidget(parent),
      model_(model),
      dialogs_(dialogs),
      insertModel_(std::move(insertModel)),
      note_(new QLabel(SHT_Grid_Channels.viewport())) {
    setObjectName("ChannelSheetView");
    const std::pair<QObject*, const char*> controls[] = {
        {&SHT_Btn_FillDown, "SHT_Btn_FillDown"},
        {&SHT_Btn_FillSeries, "SHT_Btn_FillSeries"},
        {&SHT_Lbl_Step, "SHT_Lbl_Step"},
        {&SHT_Edit_Step, "SHT_Edit_Step"},
        {&SHT_Btn_AddChannel, "SHT_Btn_AddChannel"},
        {&SHT_Btn_InsertChannels, "SHT_Btn_InsertChannels"},
        {&SHT_Lbl_Filter, "SHT_Lbl_Filter"},
        {&SHT_Edit_Filter, "SHT_Edit_Filter"},
        {&SHT_Combo_FilterColumn, "SHT_Combo_FilterColumn"},
        {&SHT_Grid_Channels, "SHT_Grid_Channels"},
        {note_, "SHT_Lbl_Note"},
    };
    for (const auto& [control, name] : controls) {
        control->setObjectName(name);
    }
    proxy_.setSourceModel(&model_);
    proxy_.setSortRole(ChannelSheetModel::kSortRole);
    proxy_.setFilterCaseSensitivity(Qt::CaseInsensitive);
    proxy_.setFilterKeyColumn(-1);
    BuildLayout();

    connect(&SHT_Btn_FillDown, &QPushButton::clicked, this, [this] { FillDownClick(); });
    connect(&SHT_Btn_FillSeries, &QPushButton::clicked, this, [this] { FillSeriesClick(); });
    connect(&SHT_Btn_AddChannel, &QPushButton::clicked, this, [this] { AddChannelClick(); });
    connect(&SHT_Btn_InsertChannels, &QPushButton::clicked, this,
            [this] { InsertChannelsClick(); });
    connect(&SHT_Edit_Filter, &QLineEdit::textChanged, this, [this] { Filter(); });
    connect(&SHT_Combo_FilterColumn, &QComboBox::currentIndexChanged, this, [this] { Filter(); });
    connect(SHT_Grid_Channels.verticalScrollBar(), &QScrollBar::valueChanged, this,
            [this] { HideNote(); });
    connect(SHT_Grid_Channels.horizontalScrollBar(), &QScrollBar::valueChanged, this,
            [this] { HideNote(); });
    connect(&model_, &QAbstractItemModel::modelReset, this, [this] { HideNote(); });
    // A cell typed in tells what became of it beside the cell.
    connect(&model_, &ChannelSheetModel::answered, this, [this] { Tell(model_.LastResult()); });
    SHT_Grid_Channels.onClear = [this] { ClearSelected(); };
    SHT_Grid_Channels.onFillDown = [this] { FillDownClick(); };
    SHT_Grid_Channels.onFillSeries = [this] { FillSeriesClick(); };
    SHT_Grid_Channels.onAddNext = [this] { AddChannelClick(); };
    SHT_Grid_Channels.refused = [this] { return model_.LastResult().refusal.has_value(); };
}

void ChannelSheetView::BuildLayout() {
    SHT_Btn_FillDown.setText(kFillDownText);
    SHT_Btn_FillDown.setToolTip("Ctrl+D");
    SHT_Btn_AddChannel.setText(kAddChannelText);
    SHT_Btn_AddChannel.setToolTip(kAddChannelHint);
    SHT_Btn_FillSeries.setText(kFillSeriesText);
    SHT_Btn_FillSeries.setToolTip(QStringLiteral("Ctrl+Shift+D: ") + kFillSeriesHint);
    SHT_Lbl_Step.setText(kStepLabel);
    SHT_Lbl_Step.setBuddy(&SHT_Edit_Step);
    SHT_Edit_Step.setText(kDefaultStepText);
    SHT_Edit_Step.setMaximumWidth(QFontMetrics(font()).horizontalAdvance("-000.000") + 16);
    SHT_Btn_InsertChannels.setText(kInsertChannelsText);
    SHT_Lbl_Filter.setText(kFilterText);
    SHT_Lbl_Filter.setBuddy(&SHT_Edit_Filter);
    SHT_Edit_Filter.setClearButtonEnabled(true);
    SHT_Combo_FilterColumn.addItem(kAllColumnsText);
    for (int c = 0; c < pmr::kSheetColumnCount; ++c) {
        SHT_Combo_FilterColumn.addItem(ToQString(pmr::ColumnInfo(pmr::SheetColumnAt(c)).title));
    }
    for (QPushButton* button :
         {&SHT_Btn_FillDown, &SHT_Btn_FillSeries, &SHT_Btn_AddChannel, &SHT_Btn_InsertChannels}) {
        button->setAutoDefault(false);
        button->setFocusPolicy(Qt::TabFocus);
    }

    QTableView& grid = SHT_Grid_Channels;
    grid.setModel(&proxy_);
    grid.setItemDelegate(new SheetDelegate(&grid));
    grid.setFont(SheetFont());
    grid.setSelectionMode(QAbstractItemView::ExtendedSelection);
    grid.setSelectionBehavior(QAbstractItemView::SelectItems);
    grid.setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                         QAbstractItemView::AnyKeyPressed);
    grid.setTabKeyNavigation(true);
    grid.setWordWrap(false);
    grid.setCornerButtonEnabled(false);
    // Rows of one height and columns of set widths: nothing measures the 1000 rows.
    grid.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid.verticalHeader()->setDefaultSectionSize(grid.fontMetrics().height() + 6);
    grid.verticalHeader()->hide();
    grid.horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    grid.horizontalHeader()->setSortIndicator(0, Qt::AscendingOrder);
    grid.horizontalHeader()->setSortIndicatorShown(true);
    grid.setSortingEnabled(true);
    SetColumnWidths();

    note_->setWordWrap(true);
    note_->setMaximumWidth(kNoteWidth);
    note_->setAutoFillBackground(true);
    note_->setFrameShape(QFrame::Box);
    note_->setMargin(4);
    note_->setPalette(QPalette(QColor(0xFF, 0xF4, 0xC0)));
    note_->setForegroundRole(QPalette::WindowText);
    note_->hide();

    auto* tools = new QHBoxLayout;
    tools->addWidget(&SHT_Btn_FillDown);
    tools->addWidget(&SHT_Btn_FillSeries);
    tools->addWidget(&SHT_Lbl_Step);
    tools->addWidget(&SHT_Edit_Step);
    tools->addWidget(&SHT_Btn_AddChannel);
    tools->addWidget(&SHT_Btn_InsertChannels);
    tools->addStretch(1);
    tools->addWidget(&SHT_Lbl_Filter);
    tools->addWidget(&SHT_Edit_Filter);
    tools->addWidget(&SHT_Combo_FilterColumn);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(tools);
    layout->addWidget(&grid, 1);
}

void ChannelSheetView::SetColumnWidths() {
    const QFontMetrics metrics(SheetFont());
    const auto sample = [](pmr::CellKind kind) -> QString {
        switch (kind) {
            case pmr::CellKind::Frequency:
                return QStringLiteral("000.00000");
            case pmr::CellKind::Text:
                return QStringLiteral("XXXXXXXXXXXX");
            case pmr::CellKind::Number:
                return QStringLiteral("000");
            default:
                return QStringLiteral("254.1");
        }
    };
    for (int c = 0; c < pmr::kSheetColumnCount; ++c) {
        const pmr::SheetColumnInfo& info = pmr::ColumnInfo(pmr::SheetColumnAt(c));
        const int width = std::max(metrics.horizontalAdvance(ToQString(info.title)) + 24,
                                   metrics.horizontalAdvance(sample(info.kind)) + 12);
        SHT_Grid_Channels.setColumnWidth(c, width);
    }
}

void ChannelSheetView::Filter() {
    HideNote();
    proxy_.setFilterKeyColumn(SHT_Combo_FilterColumn.currentIndex() - 1);
    proxy_.setFilterFixedString(SHT_Edit_Filter.text());
}

std::optional<pmr::SheetColumn> ChannelSheetView::CurrentColumn() const {
    const QModelIndex current = SHT_Grid_Channels.currentIndex();
    if (!current.isValid()) {
        return std::nullopt;
    }
    return pmr::SheetColumnAt(current.column());
}

std::optional<std::size_t> ChannelSheetView::CurrentPosition() const {
    const QModelIndex source = proxy_.mapToSource(SHT_Grid_Channels.currentIndex());
    if (!source.isValid()) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(source.row());
}

void ChannelSheetView::SelectCell(std::size_t position, SheetColumn column) {
    const QModelIndex index =
        proxy_.mapFromSource(model_.index(static_cast<int>(position), static_cast<int>(column)));
    if (index.isValid()) {
        SHT_Grid_Channels.setCurrentIndex(index);
        SHT_Grid_Channels.scrollTo(index);
    }
}

void ChannelSheetView::SelectColumnRange(SheetColumn column, std::size_t first, std::size_t last) {
    const int c = static_cast<int>(column);
    const QModelIndex top = proxy_.mapFromSource(model_.index(static_cast<int>(first), c));
    const QModelIndex bottom = proxy_.mapFromSource(model_.index(static_cast<int>(last), c));
    SHT_Grid_Channels.setCurrentIndex(top);
    SHT_Grid_Channels.selectionModel()->select(QItemSelection(top, bottom),
                                               QItemSelectionModel::ClearAndSelect);
}

std::vector<pmr::ColumnRows> ChannelSheetView::SelectedColumns() const {
    std::map<int, std::vector<std::pair<int, std::size_t>>> rows;  // view row, table position
    for (const QModelIndex& index : SHT_Grid_Channels.selectionModel()->selectedIndexes()) {
        rows[index.column()].emplace_back(
            index.row(), static_cast<std::size_t>(proxy_.mapToSource(index).row()));
    }
    std::vector<pmr::ColumnRows> columns;
    for (auto& [column, cells] : rows) {
        std::sort(cells.begin(), cells.end());
        pmr::ColumnRows selected{.column = pmr::SheetColumnAt(column), .positions = {}};
        for (const auto& [row, position] : cells) {
            selected.positions.push_back(position);
        }
        columns.push_back(std::move(selected));
    }
    return columns;
}

std::vector<std::size_t> ChannelSheetView::SelectedRows() const {
    std::set<std::size_t> positions;
    for (const QModelIndex& index : SHT_Grid_Channels.selectionModel()->selectedIndexes()) {
        positions.insert(static_cast<std::size_t>(proxy_.mapToSource(index).row()));
    }
    if (positions.empty()) {
        if (const auto current = CurrentPosition()) {
            positions.insert(*current);
        }
    }
    return {positions.begin(), positions.end()};
}

void ChannelSheetView::SelectRows(const std::vector<std::size_t>& positions) {
    QItemSelection selection;
    for (std::size_t position : positions) {
        const QModelIndex index = proxy_.mapFromSource(model_.index(static_cast<int>(position), 0));
        if (index.isValid()) {
            selection.select(index, index);
        }
    }
    if (selection.isEmpty()) {
        return;
    }
    const QModelIndex first = selection.indexes().front();
    SHT_Grid_Channels.setCurrentIndex(first);
    SHT_Grid_Channels.scrollTo(first);
    SHT_Grid_Channels.selectionModel()->select(
        selection, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

std::optional<std::vector<pmr::ColumnRows>> ChannelSheetView::FillSelection() {
    std::vector<pmr::ColumnRows> columns = SelectedColumns();
    if (std::none_of(columns.begin(), columns.end(),
                     [](const pmr::ColumnRows& rows) { return rows.positions.size() > 1; })) {
        ShowNote(ToQString(kSelectRowsText));
        return std::nullopt;
    }
    return columns;
}

std::optional<std::int64_t> ChannelSheetView::Step() {
    const auto step = StepHzOf(SHT_Edit_Step.text());
    if (!step) {
        ShowNote(ToQString(kBadStepText).arg(SHT_Edit_Step.text()));
    }
    return step;
}

void ChannelSheetView::FillDownClick() {
    if (const auto columns = FillSelection()) {
        Tell(model_.FillDown(*columns));
    }
}

void ChannelSheetView::FillSeriesClick() {
    const auto columns = FillSelection();
    if (!columns) {
        return;
    }
    const bool frequencies =
        std::any_of(columns->begin(), columns->end(), [](const pmr::ColumnRows& rows) {
            return pmr::ColumnInfo(rows.column).kind == pmr::CellKind::Frequency;
        });
    const auto step = frequencies ? Step() : std::optional(pmr::kDefaultStepHz);
    if (step) {
        Tell(model_.FillSeries(*columns, *step));
    }
}

void ChannelSheetView::AddChannelClick() {
    const auto step = Step();
    if (!step) {
        return;
    }
    const auto current = CurrentPosition();
    const SheetColumn column = CurrentColumn().value_or(SheetColumn::Number);
    const pmr::SheetResult result = model_.AddNext(current, insertModel_(std::nullopt), *step);
    if (!result.refusal && !result.positions.empty()) {
        SelectCell(result.positions.front(), column);
    }
    Tell(result);
}

void ChannelSheetView::InsertChannelsClick() {
    const pmr::ChannelEntry model = insertModel_(CurrentPosition());
    InsertChannelsDialog dialog(model_.Table().NextNumber(), model.rxHz, this);
    if (dialogs_.Exec(dialog) != QDialog::Accepted) {
        return;
    }
    bool countRead = false;
    bool numberRead = false;
    pmr::InsertRequest request;
    request.count = dialog.INS_Edit_Count.text().trimmed().toInt(&countRead);
    request.firstNumber = dialog.INS_Edit_FirstNumber.text().trimmed().toInt(&numberRead);
    const auto firstHz = pmr::ParseMegahertz(dialog.INS_Edit_FirstFrequency.text().toStdString());
    const auto step = StepHzOf(dialog.INS_Edit_Step.text());
    if (!countRead || !numberRead || !firstHz || !step) {
        ShowNote(ToQString(kBadInsertText));
        return;
    }
    request.firstHz = *firstHz;
    request.stepHz = *step;
    request.namePattern = dialog.INS_Edit_NamePattern.text().toStdString();
    const pmr::SheetResult result = model_.Insert(model, request);
    if (!result.refusal && !result.positions.empty()) {
        SelectColumnRange(SheetColumn::Number, result.positions.front(), result.positions.back());
    }
    Tell(result);
}

void ChannelSheetView::ClearSelected() {
    std::vector<ChannelSheetModel::Cell> cells;
    for (const QModelIndex& index : SHT_Grid_Channels.selectionModel()->selectedIndexes()) {
        const QModelIndex source = proxy_.mapToSource(index);
        if (model_.flags(source) & Qt::ItemIsEditable) {
            cells.push_back(
                {static_cast<std::size_t>(source.row()), pmr::SheetColumnAt(source.column())});
        }
    }
    if (!cells.empty()) {
        Tell(model_.Clear(cells));
    }
}

void ChannelSheetView::Tell(const pmr::SheetResult& result) {
    if (result.refusal) {
        ShowNote(ToQString(*result.refusal));
        return;
    }
    QStringList notes;
    for (const std::string& note : result.notes) {
        notes << ToQString(note);
    }
    if (notes.isEmpty()) {
        HideNote();
    } else {
        ShowNote(notes.join(QStringLiteral("\n")));
    }
}

void ChannelSheetView::ShowNote(const QString& text) {
    // Beside the current cell, or below it when the cell is at the right edge.
    note_->setText(text);
    note_->adjustSize();
    const QRect cell = SHT_Grid_Channels.visualRect(SHT_Grid_Channels.currentIndex());
    const QRect view = SHT_Grid_Channels.viewport()->rect();
    QPoint at(cell.right() + 6, cell.top());
    if (at.x() + note_->width() > view.width()) {
        at = QPoint(std::max(0, cell.left()), cell.bottom() + 2);
    }
    if (at.y() + note_->height() > view.height()) {
        at.setY(std::max(0, cell.top() - note_->height() - 2));
    }
    note_->move(at);
    note_->show();
    note_->raise();
}

void ChannelSheetView::HideNote() {
    note_->hide();
    note_->clear();
}

QString ChannelSheetView::Note() const {
    return note_->isVisible() || !note_->text().isEmpty() ? note_->text() : QString();
}

}  // namespace km

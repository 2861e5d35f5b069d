#include "forms/pmr/ChannelSheetModel.h"

#include <QColor>
#include <QPalette>
#include <map>

#include "forms/FieldBinder.h"
#include "forms/Undo.h"

namespace km {
namespace {

using pmr::SheetColumn;

bool Numeric(SheetColumn column) {
    const pmr::CellKind kind = pmr::ColumnInfo(column).kind;
    return kind == pmr::CellKind::Number || kind == pmr::CellKind::Frequency;
}

}  // namespace

ChannelSheetModel::ChannelSheetModel(pmr::ChannelTable& table,
                                     std::function<pmr::SheetContext()> context, QObject* parent)
    : QAbstractTableModel(parent), table_(table), context_(std::move(context)) {}

int ChannelSheetModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(table_.Size());
}

int ChannelSheetModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : pmr::kSheetColumnCount;
}

QVariant ChannelSheetModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    const pmr::ChannelEntry& entry = table_.At(static_cast<std::size_t>(index.row()));
    const SheetColumn column = pmr::SheetColumnAt(index.column());
    switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            return ToQString(pmr::CellText(entry, column));
        case kSortRole: {
            if (const auto number = pmr::CellNumber(entry, column)) {
                return QVariant::fromValue<qlonglong>(*number);
            }
            return ToQString(pmr::CellText(entry, column));
        }
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(Numeric(column) ? Qt::AlignRight | Qt::AlignVCenter
                                                       : Qt::AlignLeft | Qt::AlignVCenter);
        case Qt::ForegroundRole:
            // What the sheet does not let the user type (a group's cells, the computed columns)
            // is greyed.
            if (!pmr::CellEditable(entry, column, context_())) {
                return QPalette().color(QPalette::Disabled, QPalette::Text);
            }
            return {};
        default:
            return {};
    }
}

QVariant ChannelSheetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || section < 0) {
        return {};
    }
    if (orientation == Qt::Horizontal) {
        return section < pmr::kSheetColumnCount
                   ? ToQString(pmr::ColumnInfo(pmr::SheetColumnAt(section)).title)
                   : QVariant();
    }
    return {};
}

Qt::ItemFlags ChannelSheetModel::flags(const QModelIndex& index) const {
    if (!index.isValid() || index.row() >= rowCount()) {
        return Qt::NoItemFlags;
    }
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (pmr::CellEditable(table_.At(static_cast<std::size_t>(index.row())),
                          pmr::SheetColumnAt(index.column()), context_())) {
        flags |= Qt::ItemIsEditable;
    }
    return flags;
}

bool ChannelSheetModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable)) {
        return false;
    }
    SetText(static_cast<std::size_t>(index.row()), pmr::SheetColumnAt(index.column()),
            value.toString());
    emit answered();
    return !last_.refusal;
}

pmr::SheetResult ChannelSheetModel::SetText(std::size_t position, SheetColumn column,
                                            const QString& text) {
    return Run(QStringLiteral("Edit"), [&] {
        return pmr::SetCell(table_, position, column, text.toStdString(), context_());
    });
}

pmr::SheetResult ChannelSheetModel::Clear(std::span<const Cell> cells) {
    // One column at a time; a refusal in any puts the whole table back.
    std::map<SheetColumn, std::vector<pmr::SheetCell>> columns;
    for (const Cell& cell : cells) {
        columns[cell.column].push_back({cell.position, std::string()});
    }
    return Run(QStringLiteral("Clear"), [&] {
        const pmr::ChannelTable before = table_;
        pmr::SheetResult result;
        for (const auto& [column, emptied] : columns) {
            pmr::SheetResult one = pmr::SetCells(table_, column, emptied, context_());
            if (one.refusal) {
                table_ = before;
                return one;
            }
            result.changed = result.changed || one.changed;
            result.notes.insert(result.notes.end(), one.notes.begin(), one.notes.end());
        }
        return result;
    });
}

pmr::SheetResult ChannelSheetModel::FillDown(SheetColumn column,
                                             std::span<const std::size_t> positions) {
    return Run(QStringLiteral("Fill Down"),
               [&] { return pmr::FillDown(table_, column, positions, context_()); });
}

pmr::SheetResult ChannelSheetModel::FillSeries(SheetColumn column,
                                               std::span<const std::size_t> positions,
                                               std::int64_t stepHz) {
    return Run(QStringLiteral("Fill Series"),
               [&] { return pmr::FillSeries(table_, column, positions, stepHz, context_()); });
}

pmr::SheetResult ChannelSheetModel::FillDown(std::span<const pmr::ColumnRows> columns) {
    return Run(QStringLiteral("Fill Down"),
               [&] { return pmr::FillDown(table_, columns, context_()); });
}

pmr::SheetResult ChannelSheetModel::FillSeries(std::span<const pmr::ColumnRows> columns,
                                               std::int64_t stepHz) {
    return Run(QStringLiteral("Fill Series"),
               [&] { return pmr::FillSeries(table_, columns, stepHz, context_()); });
}

pmr::SheetResult ChannelSheetModel::AddNext(std::optional<std::size_t> after,
                                            const pmr::ChannelEntry& model, std::int64_t stepHz) {
    return Run(QStringLiteral("Add Channel"),
               [&] { return pmr::AddNextChannel(table_, after, model, stepHz, context_()); });
}

pmr::SheetResult ChannelSheetModel::Insert(const pmr::ChannelEntry& model,
                                           const pmr::InsertRequest& request) {
    return Run(QStringLiteral("Insert Channels"),
               [&] { return pmr::InsertChannels(table_, model, request, context_()); });
}

void ChannelSheetModel::Change(const QString& text, const std::function<bool()>& edit) {
    Run(text, [&] { return pmr::SheetResult{.changed = edit()}; });
}

pmr::SheetResult ChannelSheetModel::Run(const QString& text,
                                        const std::function<pmr::SheetResult()>& edit) {
    const std::size_t sizeBefore = table_.Size();
    pmr::SheetResult result;
    undo::Change<pmr::ChannelTable>(
        *this, text, table_,
        [&] {
            result = edit();
            return result.changed;
        },
        [this] {
            // An undo or a redo may add or take rows: the views read the table again.
            Reload();
            emit changed();
        });
    last_ = result;
    if (result.changed) {
        Refresh(sizeBefore);
        emit changed();
    }
    return result;
}

void ChannelSheetModel::Refresh(std::size_t sizeBefore) {
    if (table_.Size() != sizeBefore || rowCount() == 0) {
        Reload();
        return;
    }
    // The same rows: the view keeps its current cell and its selection.
    emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

void ChannelSheetModel::Reload() {
    beginResetModel();
    endResetModel();
}

}  // namespace km

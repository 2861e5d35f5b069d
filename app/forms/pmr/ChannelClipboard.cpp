#include "forms/pmr/ChannelClipboard.h"

#include <QItemSelectionModel>
#include <algorithm>

#include "forms/BulkEditDialog.h"
#include "forms/FieldBinder.h"
#include "pmr/ChannelGridEdit.h"

namespace km {
namespace {

// The entries exactly, beside the CSV rows (which leave out bits the file has no column for).
constexpr const char* kEntriesMimeType = "application/x-km700rcp-channels";

}  // namespace

ChannelRows ListRows(QTableView& view, RecordTableModel& model, const pmr::ChannelTable& table) {
    ChannelRows rows;
    rows.selected = [&view, &table] {
        std::vector<std::size_t> positions;
        if (const QItemSelectionModel* selection = view.selectionModel()) {
            for (const QModelIndex& index : selection->selectedRows()) {
                positions.push_back(static_cast<std::size_t>(index.row()));
            }
        }
        if (positions.empty() && view.currentIndex().isValid()) {
            positions.push_back(static_cast<std::size_t>(view.currentIndex().row()));
        }
        std::sort(positions.begin(), positions.end());
        positions.erase(std::remove_if(positions.begin(), positions.end(),
                                       [&table](std::size_t p) { return p >= table.Size(); }),
                        positions.end());
        return positions;
    };
    rows.select = [&view, &model](const std::vector<std::size_t>& positions) {
        QItemSelection selection;
        for (std::size_t position : positions) {
            const QModelIndex index = model.index(static_cast<int>(position), 0);
            selection.select(index, index);
        }
        if (!positions.empty()) {
            const QModelIndex first = model.index(static_cast<int>(positions.front()), 0);
            view.setCurrentIndex(first);
            view.scrollTo(first);
        }
        view.selectionModel()->select(
            selection, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    };
    rows.change = [&view, &model](const QString& text, std::optional<std::size_t> where,
                                  const std::function<bool()>& edit) {
        const int current = view.currentIndex().isValid() ? view.currentIndex().row() : 0;
        model.Change(text, where ? static_cast<int>(*where) : current, edit);
    };
    return rows;
}

ChannelRowsClipboard::ChannelRowsClipboard(QWidget& view, ChannelRows rows,
                                           pmr::ChannelTable& table, Person& person,
                                           Dialogs& dialogs,
                                           std::function<pmr::ChannelEditContext()> context)
    : undo::RowClipboard(view),
      view_(view),
      rows_(std::move(rows)),
      table_(table),
      person_(person),
      dialogs_(dialogs),
      context_(std::move(context)) {}

std::unique_ptr<QMimeData> ChannelRowsClipboard::CopyRows() const {
    std::vector<pmr::ChannelEntry> entries;
    for (std::size_t position : rows_.selected()) {
        entries.push_back(table_.At(position));
    }
    if (entries.empty()) {
        return nullptr;
    }
    auto data = std::make_unique<QMimeData>();
    undo::PutRowLines(*data, pmr::CsvRowsOf(entries));
    const std::string exact = pmr::ExactBytesOf(entries);
    data->setData(kEntriesMimeType, QByteArray(exact.data(), static_cast<qsizetype>(exact.size())));
    return data;
}

void ChannelRowsClipboard::PasteRows(const QMimeData& data) {
    std::vector<pmr::ChannelEntry> entries;
    if (data.hasFormat(kEntriesMimeType)) {
        const QByteArray bytes = data.data(kEntriesMimeType);
        entries = pmr::EntriesOfExactBytes(
                      std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())))
                      .value_or(std::vector<pmr::ChannelEntry>{});
    } else {
        const std::vector<std::string> rows = undo::LinesOfText(data.text());
        entries = pmr::EntriesOfCsvRows(rows, context_().radioTypeMask);
    }
    if (entries.empty()) {
        person_.Warn(pmr::kNothingToPasteText);
        return;
    }
    const bool allThere = std::all_of(entries.begin(), entries.end(), [this](const auto& entry) {
        const auto at = table_.Find(entry.Number());
        return at && pmr::ExactBytesOf({&table_.At(*at), 1}) == pmr::ExactBytesOf({&entry, 1});
    });
    if (allThere) {
        person_.Inform(undo::kPasteSameRowsText);
        return;
    }
    pmr::PasteResult result;
    rows_.change(QStringLiteral("Paste"), std::nullopt, [&] {
        result = pmr::PasteEntries(table_, entries);
        return !result.refusal;
    });
    if (result.refusal) {
        person_.Error(*result.refusal);
        return;
    }
    rows_.select(result.positions);
}

void ChannelRowsClipboard::BulkEdit() {
    const std::vector<std::size_t> positions = rows_.selected();
    const auto channels = std::count_if(positions.begin(), positions.end(),
                                        [this](std::size_t p) { return !table_.At(p).IsGroup(); });
    if (channels == 0) {
        person_.Warn(pmr::kBulkGroupsOnlyText);
        return;
    }
    std::vector<BulkColumnChoice> columns;
    for (const pmr::BulkColumnInfo& column : pmr::kBulkColumns) {
        QStringList values;
        for (const std::string& value : pmr::BulkChoices(column.column)) {
            values << ToQString(value);
        }
        columns.push_back({ToQString(column.title), values});
    }
    BulkEditDialog dialog(std::move(columns), static_cast<int>(channels), &view_);
    if (dialogs_.Exec(dialog) != QDialog::Accepted || dialog.Column() < 0 || dialog.Value() < 0) {
        return;
    }
    const pmr::BulkColumn column =
        pmr::kBulkColumns.at(static_cast<std::size_t>(dialog.Column())).column;
    rows_.change(QStringLiteral("Bulk Edit"), positions.front(), [&] {
        return pmr::ApplyBulkEdit(table_, positions, column,
                                  static_cast<std::size_t>(dialog.Value()), context_(),
                                  person_) > 0;
    });
    rows_.select(positions);
}

}  // namespace km

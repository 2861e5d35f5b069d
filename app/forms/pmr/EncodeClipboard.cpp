#include "forms/pmr/EncodeClipboard.h"

#include <algorithm>

#include "pmr/EncodeRows.h"

namespace km {
namespace {

// The encodes exactly, beside the CSV rows.
constexpr const char* kEncodesMimeType = "application/x-km700rcp-encodes";

}  // namespace

EncodeRowsClipboard::EncodeRowsClipboard(QListWidget& view, QObject& form,
                                         std::vector<pmr::EncodeEntry>& encodes, Person& person,
                                         std::function<void(const std::vector<std::size_t>&)> show)
    : undo::RowClipboard(view),
      view_(view),
      form_(form),
      encodes_(encodes),
      person_(person),
      show_(std::move(show)) {}

std::unique_ptr<QMimeData> EncodeRowsClipboard::CopyRows() const {
    std::vector<int> rows;
    for (const QModelIndex& index : view_.selectionModel()->selectedIndexes()) {
        rows.push_back(index.row());
    }
    if (rows.empty() && view_.currentRow() >= 0) {
        rows.push_back(view_.currentRow());
    }
    std::sort(rows.begin(), rows.end());
    std::vector<pmr::EncodeEntry> entries;
    std::vector<std::string> lines;
    for (int row : rows) {
        if (row >= 0 && static_cast<std::size_t>(row) < encodes_.size()) {
            entries.push_back(encodes_[static_cast<std::size_t>(row)]);
            lines.push_back(pmr::EncodeCsvRow(entries.back()));
        }
    }
    if (entries.empty()) {
        return nullptr;
    }
    auto data = std::make_unique<QMimeData>();
    undo::PutRowLines(*data, lines);
    const std::string exact = pmr::ExactBytesOfEncodes(entries);
    data->setData(kEncodesMimeType, QByteArray(exact.data(), static_cast<qsizetype>(exact.size())));
    return data;
}

void EncodeRowsClipboard::PasteRows(const QMimeData& data) {
    std::vector<pmr::EncodeEntry> entries;
    if (data.hasFormat(kEncodesMimeType)) {
        const QByteArray bytes = data.data(kEncodesMimeType);
        entries = pmr::EncodesOfExactBytes(
                      std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())))
                      .value_or(std::vector<pmr::EncodeEntry>{});
    } else {
        for (const std::string& line : undo::LinesOfText(data.text())) {
            const auto entry = pmr::EncodeOfCsvRow(line);
            if (!entry) {
                person_.Error(pmr::kBadEncodeRowsText);
                return;
            }
            entries.push_back(*entry);
        }
    }
    if (entries.empty()) {
        person_.Warn(pmr::kNoEncodesToPasteText);
        return;
    }
    std::vector<pmr::EncodeEntry> after = encodes_;
    pmr::PasteEncodes(after, entries);
    if (pmr::ExactBytesOfEncodes(after) == pmr::ExactBytesOfEncodes(encodes_)) {
        person_.Inform(undo::kPasteSameRowsText);
        return;
    }
    std::vector<std::size_t> pasted;
    undo::Change(
        form_, QStringLiteral("Paste"), encodes_,
        [&] {
            pasted = pmr::PasteEncodes(encodes_, entries);
            return true;
        },
        [this] { show_({}); });
    show_(pasted);
}

}  // namespace km

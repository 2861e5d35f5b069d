#include "forms/RecordTableModel.h"

#include <QPointer>
#include <algorithm>

#include "core/Person.h"
#include "fields/FieldOps.h"
#include "forms/FieldBinder.h"
#include "forms/Undo.h"

namespace km {

using RecordBytes = std::vector<std::vector<std::uint8_t>>;

std::any RecordSource::Snapshot() const {
    RecordBytes records;
    for (int r = 0; r < RecordCount(); ++r) {
        const auto bytes = Record(r);
        records.emplace_back(bytes.begin(), bytes.end());
    }
    return records;
}

void RecordSource::Restore(const std::any& snapshot) {
    const auto& records = std::any_cast<const RecordBytes&>(snapshot);
    for (std::size_t r = 0; r < records.size() && static_cast<int>(r) < RecordCount(); ++r) {
        const auto bytes = MutableRecord(static_cast<int>(r));
        std::copy_n(records[r].begin(), std::min(records[r].size(), bytes.size()), bytes.begin());
    }
}

// One record's bytes before and after a cell edit.
class RecordTableModel::RecordStep : public undo::DoneStep {
  public:
    RecordStep(RecordTableModel& model, int record, std::vector<std::uint8_t> before,
               std::vector<std::uint8_t> after)
        : DoneStep(QStringLiteral("Edit")),
          model_(&model),
          record_(record),
          before_(std::move(before)),
          after_(std::move(after)) {}
    void Redo() override { Put(after_); }
    void Undo() override { Put(before_); }

  private:
    void Put(const std::vector<std::uint8_t>& bytes) {
        if (model_ == nullptr || record_ >= model_->source_.RecordCount()) {
            return;
        }
        const auto record = model_->source_.MutableRecord(record_);
        std::copy_n(bytes.begin(), std::min(bytes.size(), record.size()), record.begin());
        model_->RecordChanged(record_);
    }
    QPointer<RecordTableModel> model_;
    int record_;
    std::vector<std::uint8_t> before_;
    std::vector<std::uint8_t> after_;
};

// The records as a whole before and after a Change.
class RecordTableModel::ChangeStep : public undo::DoneStep {
  public:
    ChangeStep(RecordTableModel& model, const QString& text, int where, std::any before,
               std::any after)
        : DoneStep(text),
          model_(&model),
          where_(where),
          before_(std::move(before)),
          after_(std::move(after)) {}
    void Redo() override { Put(after_); }
    void Undo() override { Put(before_); }

  private:
    void Put(const std::any& records) {
        if (model_ != nullptr) {
            model_->source_.Restore(records);
            model_->Reload();
            emit model_->restored(where_);
        }
    }
    QPointer<RecordTableModel> model_;
    int where_;
    std::any before_;
    std::any after_;
};

ImageRecords::ImageRecords(std::span<std::uint8_t> bytes, fields::ImageId image,
                           const fields::RecordTable& table, std::size_t areaOffset,
                           std::function<int()> count)
    : bytes_(bytes),
      base_(areaOffset + static_cast<std::size_t>(table.base.Of(image))),
      table_(table),
      count_(std::move(count)) {}

int ImageRecords::RecordCount() const {
    const int capacity = static_cast<int>(table_.capacity);
    return count_ ? std::clamp(count_(), 0, capacity) : capacity;
}

std::span<const std::uint8_t> ImageRecords::Record(int index) const {
    return bytes_.subspan(base_ + static_cast<std::size_t>(index) * table_.stride, table_.stride);
}

std::span<std::uint8_t> ImageRecords::MutableRecord(int index) {
    return bytes_.subspan(base_ + static_cast<std::size_t>(index) * table_.stride, table_.stride);
}

RecordTableModel::RecordTableModel(RecordSource& source, fields::ImageId image,
                                   std::vector<RecordColumn> columns, Person* person,
                                   int firstRowNumber, QObject* parent)
    : QAbstractTableModel(parent),
      source_(source),
      image_(image),
      columns_(std::move(columns)),
      person_(person),
      firstRowNumber_(firstRowNumber) {}

int RecordTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : source_.RecordCount();
}

int RecordTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

std::size_t RecordTableModel::Offset(const fields::FieldRow& row) const {
    return static_cast<std::size_t>(row.at.Of(image_));
}

QString RecordTableModel::Text(int record, int column) const {
    const RecordColumn& c = Column(column);
    if (c.text) {
        return c.text(record);
    }
    if (c.row == nullptr) {
        return {};
    }
    return ToQString(fields::FormatField(
        *c.row, fields::ReadField(*c.row, source_.Record(record), Offset(*c.row))));
}

QVariant RecordTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) {
        return {};
    }
    switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            return Text(index.row(), index.column());
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(Column(index.column()).alignment);
        default:
            return {};
    }
}

QVariant RecordTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) {
        return {};
    }
    if (orientation == Qt::Horizontal) {
        return section < columnCount() ? Column(section).title : QVariant();
    }
    return firstRowNumber_ > 0 ? QVariant(section + firstRowNumber_) : QVariant();
}

Qt::ItemFlags RecordTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    const RecordColumn& c = Column(index.column());
    if (c.editable && c.row != nullptr) {
        flags |= Qt::ItemIsEditable;
    }
    return flags;
}

bool RecordTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable)) {
        return false;
    }
    const fields::FieldRow& row = *Column(index.column()).row;
    const auto parsed = fields::ParseField(row, value.toString().toStdString());
    // Text that is no value is checked as the range check sees it: out of any range.
    const auto message =
        parsed ? fields::CheckField(row, *parsed) : fields::CheckField(row, std::int64_t{-1} << 62);
    if (!parsed || message) {
        if (person_ != nullptr && message) {
            person_->Error(*message);
        }
        return false;
    }
    const auto record = source_.MutableRecord(index.row());
    std::vector<std::uint8_t> before(record.begin(), record.end());
    fields::WriteField(row, record, Offset(row), *parsed);
    if (!std::equal(before.begin(), before.end(), record.begin(), record.end())) {
        undo::Push(
            std::make_unique<RecordStep>(*this, index.row(), std::move(before),
                                         std::vector<std::uint8_t>(record.begin(), record.end())));
    }
    emit dataChanged(this->index(index.row(), 0), this->index(index.row(), columnCount() - 1));
    return true;
}

void RecordTableModel::Reload() {
    beginResetModel();
    endResetModel();
}

void RecordTableModel::Change(const QString& text, int where, const std::function<bool()>& edit) {
    std::any before = source_.Snapshot();
    const bool changed = edit();
    Reload();
    if (changed) {
        undo::Push(std::make_unique<ChangeStep>(*this, text, where, std::move(before),
                                                source_.Snapshot()));
    }
}

void RecordTableModel::RecordChanged(int record) {
    emit dataChanged(index(record, 0), index(record, columnCount() - 1));
}

}  // namespace km

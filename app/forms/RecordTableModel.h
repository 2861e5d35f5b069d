#pragma once
// A grid of records for a view: each model row is one record (its bytes come from a
// RecordSource), each column one field row of the record, shown as the row shows its value and
// edited through the row's parse and check. A column may give its own text instead (a value
// combined from several rows, a number with leading zeros). Large tables (1000 channels) stay
// quick because nothing is copied: a cell reads its bytes when the view paints it.
//
// Edits are undo steps: a cell edited, and a change of the records as a whole that the form makes
// through Change (a delete, a paste, a bulk edit), which keeps the records before and after it.
//
//     ImageRecords source(image.Bytes(), fields::ImageId::Pmr, kPhoneBook, 0);
//     RecordTableModel model(source, fields::ImageId::Pmr, {
//         {.title = "Number", .row = &kNumberColumn, .editable = true},
//         {.title = "Name", .row = &kNameColumn, .editable = true}}, &person);
//     view.setModel(&model);

#include <QAbstractTableModel>
#include <QString>
#include <any>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "fields/Field.h"

namespace km {

class Person;

// Where the records of a model come from.
class RecordSource {
  public:
    virtual ~RecordSource() = default;
    virtual int RecordCount() const = 0;
    virtual std::span<const std::uint8_t> Record(int index) const = 0;
    // The bytes an edit writes to; only called for editable columns.
    virtual std::span<std::uint8_t> MutableRecord(int index) = 0;
    // Everything the records are, for undo of a change to several of them, their count or their
    // order; Restore puts back what Snapshot took. By default the bytes of every record.
    virtual std::any Snapshot() const;
    virtual void Restore(const std::any& snapshot);
};

// The records of a record table inside an image: record r at area + base + r x stride. The count
// is the table's capacity unless `count` says how many are in use.
class ImageRecords : public RecordSource {
  public:
    ImageRecords(std::span<std::uint8_t> bytes, fields::ImageId image,
                 const fields::RecordTable& table, std::size_t areaOffset,
                 std::function<int()> count = {});
    int RecordCount() const override;
    std::span<const std::uint8_t> Record(int index) const override;
    std::span<std::uint8_t> MutableRecord(int index) override;

  private:
    std::span<std::uint8_t> bytes_;
    std::size_t base_;
    const fields::RecordTable& table_;
    std::function<int()> count_;
};

struct RecordColumn {
    QString title;
    const fields::FieldRow* row = nullptr;  // offset relative to the record
    // The column's own text for a record; when set it is shown instead of the row's value.
    std::function<QString(int record)> text = {};
    bool editable = false;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
};

class RecordTableModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    // `person` hears why an edit is refused (the row's range message); without one a refused
    // edit is dropped silently. `firstRowNumber` numbers the rows in the vertical header (0:
    // no numbers).
    RecordTableModel(RecordSource& source, fields::ImageId image, std::vector<RecordColumn> columns,
                     Person* person = nullptr, int firstRowNumber = 0, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Parses the text, runs the row's check and writes the value; a refused value shows the
    // check's message and leaves the bytes as they were.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // The records changed as a whole (count or order): the views read them again.
    void Reload();
    // Runs `edit`, which changes the records as a whole and returns true when it changed
    // anything; that change is one undo step named `text`. The views read the records again.
    // `where` is the record the change is about, chosen again after an undo or a redo.
    void Change(const QString& text, int where, const std::function<bool()>& edit);
    // One record changed.
    void RecordChanged(int record);

    const RecordColumn& Column(int column) const {
        return columns_.at(static_cast<std::size_t>(column));
    }

  signals:
    // An undo or redo of a Change put other records in place; the form chooses `where` again.
    void restored(int where);

  private:
    class RecordStep;
    class ChangeStep;
    std::size_t Offset(const fields::FieldRow& row) const;
    QString Text(int record, int column) const;

    RecordSource& source_;
    fields::ImageId image_;
    std::vector<RecordColumn> columns_;
    Person* person_;
    int firstRowNumber_;
};

}  // namespace km

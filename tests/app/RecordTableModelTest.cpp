// The record grid model over a small image of its own: cells show their rows, edits are checked
// and reach only their bytes, and a count row limits the records shown.

#include <gtest/gtest.h>

#include <vector>

#include "ScriptedPerson.h"
#include "forms/RecordTableModel.h"

namespace km {
namespace {

using fields::Encoding;
using fields::FieldRow;

constexpr FieldRow kColumns[] = {
    {.id = "number", .caption = "Number", .at = {.pmr = 0}, .min = 1, .max = 99},
    {.id = "name", .caption = "Name", .at = {.pmr = 1}, .encoding = Encoding::Text, .width = 3},
};
constexpr fields::RecordTable kRecords = {
    .id = "t.records", .base = {.pmr = 2}, .stride = 4, .capacity = 3, .columns = kColumns};

class RecordTableModelTest : public ::testing::Test {
  protected:
    // Two bytes before the table; then records {7, "ab"}, {8, "c"}, {0, ""}.
    std::vector<std::uint8_t> bytes = {0xEE, 2, 7, 'a', 'b', 0, 8, 'c', 0, 0, 0, 0, 0, 0};
    int inUse = 2;
    ImageRecords source{bytes, fields::ImageId::Pmr, kRecords, 0, [this] { return inUse; }};
    testing::ScriptedPerson person;
    RecordTableModel model{
        source,
        fields::ImageId::Pmr,
        {{.title = "No", .row = &kColumns[0], .editable = true},
         {.title = "Name", .row = &kColumns[1], .editable = true},
         {.title = "Both", .text = [this](int r) { return QString("#%1").arg(bytes[2 + 4 * r]); }}},
        &person,
        1};
};

TEST_F(RecordTableModelTest, CellsShowTheirRowsAndTheCountLimitsTheRows) {
    EXPECT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.columnCount(), 3);
    EXPECT_EQ(model.data(model.index(0, 0)).toString(), "7");
    EXPECT_EQ(model.data(model.index(0, 1)).toString(), "ab");
    EXPECT_EQ(model.data(model.index(1, 1)).toString(), "c");
    EXPECT_EQ(model.data(model.index(1, 2)).toString(), "#8");
    EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), "Name");
    EXPECT_EQ(model.headerData(1, Qt::Vertical).toInt(), 2);
    EXPECT_FALSE(model.flags(model.index(0, 2)) & Qt::ItemIsEditable);
    inUse = 9;
    model.Reload();
    EXPECT_EQ(model.rowCount(), 3) << "clamped to the capacity";
}

TEST_F(RecordTableModelTest, EditsAreCheckedAndReachOnlyTheirBytes) {
    EXPECT_FALSE(model.setData(model.index(1, 0), "100"));
    EXPECT_FALSE(model.setData(model.index(1, 0), "x"));
    EXPECT_EQ(person.Texts(),
              (std::vector<std::string>{"Value out of range.  Must be between 1 and 99",
                                        "Value out of range.  Must be between 1 and 99"}));
    EXPECT_EQ(bytes[6], 8);
    EXPECT_TRUE(model.setData(model.index(1, 0), "42"));
    EXPECT_TRUE(model.setData(model.index(1, 1), "xyz"));
    EXPECT_EQ(bytes,
              (std::vector<std::uint8_t>{0xEE, 2, 7, 'a', 'b', 0, 42, 'x', 'y', 'z', 0, 0, 0, 0}));
}

}  // namespace
}  // namespace km

// Undo and redo through the shared layer, and rows on the clipboard: the binder's controls, a
// grid's cells and a paste between two jobs, each an undo step as the user made it.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QMimeData>
#include <QTableWidget>
#include <QUndoStack>
#include <QVBoxLayout>
#include <map>
#include <memory>

#include "ShellFixtures.h"
#include "core/Files.h"
#include "forms/BulkEditDialog.h"
#include "forms/FieldBinder.h"
#include "forms/FieldGrid.h"
#include "forms/TableUndo.h"
#include "forms/Undo.h"
#include "forms/pmr/ChnForm.h"
#include "forms/pmr/Scl2Form.h"
#include "forms/pmr/SclForm.h"
#include "forms/pmr/ZoneEditor.h"
#include "forms/text/TxtForm.h"
#include "pmr/ChannelGridEdit.h"
#include "pmr/EncodeRows.h"
#include "pmr/Zones.h"

namespace km {
namespace {

using fields::Encoding;
using fields::FieldRow;
using testing::ScriptedDialogs;
using testing::ShellPerson;

// Saves a picture of a widget when KM_SCREENSHOTS names a folder, for looking at the layout.
void Screenshot(QWidget& widget, const QString& name) {
    const QString folder = qEnvironmentVariable("KM_SCREENSHOTS");
    if (!folder.isEmpty()) {
        widget.grab().save(QDir(folder).filePath(name + ".png"));
    }
}

// The events that were posted when the user left a control are handled.
void Settle() {
    QCoreApplication::processEvents();
}

// Every test records into a history of its own.
class History {
  public:
    History() { undo::SetStack(&stack); }
    ~History() { undo::SetStack(nullptr); }
    QUndoStack stack;
};

// ---- Bound controls --------------------------------------------------------------------------

constexpr fields::Choice kModes[] = {{0, "Off"}, {1, "On"}, {5, "Auto"}};
constexpr FieldRow kRows[] = {
    {.id = "t.mode",
     .caption = "Mode",
     .control = "ComboBox_T_Mode",
     .at = {.pmr = 0},
     .choices = kModes},
    {.id = "t.flag",
     .caption = "Flag",
     .control = "CheckBox_T_Flag",
     .at = {.pmr = 1},
     .encoding = Encoding::Bits,
     .bitShift = 0,
     .bitCount = 1},
    {.id = "t.name",
     .caption = "Name",
     .control = "Edit_T_Name",
     .at = {.pmr = 2},
     .encoding = Encoding::Text,
     .width = 4},
};

class TestForm : public QWidget {
  public:
    explicit TestForm(QWidget* parent = nullptr) : QWidget(parent) {
        auto* layout = new QVBoxLayout(this);
        for (QWidget* w : std::initializer_list<QWidget*>{&mode, &flag, &name}) {
            layout->addWidget(w);
        }
        mode.setObjectName("ComboBox_T_Mode");
        flag.setObjectName("CheckBox_T_Flag");
        name.setObjectName("Edit_T_Name");
    }
    QComboBox mode;
    QCheckBox flag;
    QLineEdit name;
};

void Type(QLineEdit& line, const QString& text) {
    line.setText(text);
    emit line.editingFinished();
}

void Choose(QComboBox& combo, int index) {
    combo.setCurrentIndex(index);
    emit combo.activated(index);
}

TEST(UndoOfBoundControls, EachControlLeftIsOneStepThatUndoesAndRedoes) {
    History history;
    TestForm form;
    FieldBinder binder(form, kRows);
    std::vector<std::uint8_t> bytes = {5, 0, 'A', 'b', 0, 0};
    binder.Load(fields::ImageId::Pmr, bytes, 0);
    Settle();
    EXPECT_EQ(history.stack.count(), 0) << "a load is no edit";

    Type(form.name, "Xy");
    Settle();
    Choose(form.mode, 0);
    Settle();
    form.flag.click();
    Settle();
    ASSERT_EQ(history.stack.count(), 3);
    // Leaving a field without changing it makes no step.
    emit form.name.editingFinished();
    Settle();
    EXPECT_EQ(history.stack.count(), 3);

    history.stack.undo();
    EXPECT_FALSE(form.flag.isChecked());
    history.stack.undo();
    EXPECT_EQ(form.mode.currentText(), "Auto");
    history.stack.undo();
    EXPECT_EQ(form.name.text(), "Ab");
    history.stack.redo();
    EXPECT_EQ(form.name.text(), "Xy");

    // What the controls show after undo is what a store writes.
    binder.Store(fields::ImageId::Pmr, bytes, 0);
    EXPECT_EQ(bytes, (std::vector<std::uint8_t>{5, 0, 'X', 'y', 0, 0}));
}

TEST(UndoOfBoundControls, WhatTheFormChangesAlongWithAnEditIsPartOfItsStep) {
    History history;
    TestForm form;
    FieldBinder binder(form, kRows);
    std::vector<std::uint8_t> bytes = {1, 1, 'A', 0, 0, 0};
    binder.Load(fields::ImageId::Pmr, bytes, 0);
    // A rule of the form: "Off" clears the flag and the name.
    QObject::connect(&form.mode, &QComboBox::activated, &form, [&](int index) {
        if (index == 0) {
            form.flag.setChecked(false);
            form.name.clear();
        }
    });
    Choose(form.mode, 0);
    Settle();
    ASSERT_EQ(history.stack.count(), 1);
    history.stack.undo();
    EXPECT_EQ(form.mode.currentText(), "On");
    EXPECT_TRUE(form.flag.isChecked());
    EXPECT_EQ(form.name.text(), "A");
    history.stack.redo();
    EXPECT_EQ(form.mode.currentText(), "Off");
    EXPECT_FALSE(form.flag.isChecked());
    EXPECT_EQ(form.name.text(), "");
}

TEST(UndoOfBoundControls, ADefaultsButtonFillingFieldsAndAGridIsOneStep) {
    History history;
    TestForm form;
    FieldBinder binder(form, kRows);
    QTableWidget table(2, 2, &form);
    for (int r = 0; r < 2; ++r) {
        for (int c = 0; c < 2; ++c) {
            table.setItem(r, c, new QTableWidgetItem("x"));
        }
    }
    undo::TableCells cells(table);
    std::vector<std::uint8_t> bytes = {1, 0, 'A', 0, 0, 0};
    binder.Load(fields::ImageId::Pmr, bytes, 0);
    Settle();
    // What a Defaults button does in one click.
    binder.Show(kRows[0], std::int64_t{5});
    binder.Show(kRows[2], std::string("Dflt"));
    table.item(1, 1)->setText("d");
    Settle();
    ASSERT_EQ(history.stack.count(), 1);
    history.stack.undo();
    EXPECT_EQ(form.mode.currentText(), "On");
    EXPECT_EQ(form.name.text(), "A");
    EXPECT_EQ(table.item(1, 1)->text(), "x");
    history.stack.redo();
    EXPECT_EQ(form.mode.currentText(), "Auto");
    EXPECT_EQ(form.name.text(), "Dflt");
    EXPECT_EQ(table.item(1, 1)->text(), "d");
}

TEST(UndoOfBoundControls, AModalDialogsControlsAndAGoneFormAreNotOnTheHistory) {
    History history;
    {
        QDialog dialog;
        TestForm form(&dialog);
        FieldBinder binder(form, kRows);
        Type(form.name, "Dlg");
        Settle();
        EXPECT_EQ(history.stack.count(), 0);
    }
    auto form = std::make_unique<TestForm>();
    auto binder = std::make_unique<FieldBinder>(*form, kRows);
    Type(form->name, "Gone");
    Settle();
    ASSERT_EQ(history.stack.count(), 1);
    binder.reset();
    form.reset();
    history.stack.undo();  // nothing left to show it on, and no crash
    history.stack.redo();
}

// ---- Grids and rows on the clipboard ---------------------------------------------------------

struct Desk {
    Desk() {
        const auto bytes =
            ReadFileBytes(std::filesystem::path(KM_SOURCE_DIR) / "data" / "default.cct", 1 << 20);
        EXPECT_TRUE(bytes && bytes->size() == PmrJobImage::kSize);
        std::copy(bytes->begin(), bytes->end(), workspace->pmr.Bytes().begin());
        state.ImageKind = kImagePmr;
        state.PmrJobLoaded = true;
        state.RadioModeMask = 1;
        state.RadioTypeMask = 16;
        state.UserLevelMask = 8;
        form = std::make_unique<TSCL_Form_Selcall>(
            FormContext{*workspace, state, person, dialogs, shell});
        form->LoadPass();
        undo::StartAfresh();
    }
    std::vector<std::uint8_t> Bytes(std::size_t at, std::size_t n) const {
        const auto bytes = workspace->pmr.Bytes().subspan(at, n);
        return {bytes.begin(), bytes.end()};
    }
    QTableWidget& Book() { return form->SCL_SGrid_PhoneBook; }
    QString Cell(int line, int column) { return Book().item(line, column)->text(); }

    class NoShell : public Shell {
      public:
        void ShowFormButtons() override {}
        void ShowNetworkLabel() override {}
        bool StoreNetworkForms() override { return true; }
        void SelectNetwork(int) override {}
        void ShowForm(FormId) override {}
        void ReloadForm(FormId) override {}
    };
    std::unique_ptr<Workspace> workspace = std::make_unique<Workspace>();
    MainState state;
    ShellPerson person;
    ScriptedDialogs dialogs;
    NoShell shell;
    std::unique_ptr<TSCL_Form_Selcall> form;
};

undo::RowClipboard& RowsOf(QTableWidget& grid) {
    undo::RowClipboard* rows = undo::RowClipboardAt(grid.viewport());
    EXPECT_NE(rows, nullptr);
    return *rows;
}

void Select(QTableWidget& grid, int first, int last) {
    grid.setCurrentCell(first, 1);
    grid.setRangeSelected(QTableWidgetSelectionRange(first, 0, last, grid.columnCount() - 1), true);
}

TEST(RowsOnTheClipboard, PhoneBookRowsCopiedFromOneJobArePastedIntoAnotherAsTheyWere) {
    History history;
    Desk from;
    Desk to;
    const char* rows[][2] = {{"Depot", "1234"}, {"Smith, J", "5A"}, {"", ""}, {"Yard", "99"}};
    for (int r = 0; r < 4; ++r) {
        from.Book().item(10 + r, 1)->setText(rows[r][0]);
        from.Book().item(10 + r, 2)->setText(rows[r][1]);
    }
    Select(from.Book(), 10, 13);
    const auto copied = RowsOf(from.Book()).CopyRows();
    ASSERT_NE(copied, nullptr);
    // The CSV rows of the phone book file: index, name, number; as plain text with tabs between
    // the cells, which a spreadsheet pastes into its columns.
    EXPECT_EQ(copied->data("text/csv").toStdString(),
              "10,Depot,1234\r\n11,Smith  J,5A\r\n12,,\r\n13,Yard,99\r\n");
    EXPECT_EQ(copied->text(), "10\tDepot\t1234\r\n11\tSmith  J\t5A\r\n12\t\t\r\n13\tYard\t99\r\n");

    to.Book().item(11, 1)->setText("Old");
    Settle();
    const int before = history.stack.count();
    to.Book().setCurrentCell(10, 1);
    RowsOf(to.Book()).PasteRows(*copied);
    EXPECT_EQ(history.stack.count(), before + 1) << "a paste is one step";
    from.form->StorePass();
    to.form->StorePass();
    // Records of 24 bytes from 0x0598.
    EXPECT_EQ(to.Bytes(0x0598 + 24 * 10, 24 * 4), from.Bytes(0x0598 + 24 * 10, 24 * 4));
}

TEST(RowsOnTheClipboard, UndoRestoresARowPastedOver) {
    History history;
    Desk desk;
    desk.Book().item(5, 1)->setText("Base");
    desk.Book().item(5, 2)->setText("777");
    Settle();
    ASSERT_EQ(history.stack.count(), 1);
    QMimeData data;
    data.setText("0,Mobile 2,4242\n");  // a bare line end, as from a text editor
    desk.Book().setCurrentCell(5, 2);
    RowsOf(desk.Book()).PasteRows(data);
    EXPECT_EQ(desk.Cell(5, 1), "Mobile 2");
    EXPECT_EQ(desk.Cell(5, 2), "4242");
    ASSERT_EQ(history.stack.count(), 2);
    history.stack.undo();
    EXPECT_EQ(desk.Cell(5, 1), "Base");
    EXPECT_EQ(desk.Cell(5, 2), "777");
    history.stack.undo();
    EXPECT_EQ(desk.Cell(5, 1), "");
    // The undone cells are as loaded: the store leaves the image as it was.
    const auto image = desk.Bytes(0x0598, 24 * 250);
    desk.form->StorePass();
    EXPECT_EQ(desk.Bytes(0x0598, 24 * 250), image);
    history.stack.redo();
    history.stack.redo();
    EXPECT_EQ(desk.Cell(5, 2), "4242");
}

TEST(RowsOnTheClipboard, APasteACellCannotHoldChangesNothing) {
    History history;
    Desk desk;
    struct Case {
        const char* text;
        const char* why;
    };
    const Case cases[] = {
        {"0,Ok,12\n1,Bad,12G4\n", "a number that is no selcall digits"},
        {"0,Ok,12\n1,Name far too long for a cell,1\n", "a name longer than its cell"},
    };
    for (const Case& c : cases) {
        desk.person.shown.clear();
        QMimeData data;
        data.setText(c.text);
        desk.Book().setCurrentCell(0, 1);
        RowsOf(desk.Book()).PasteRows(data);
        EXPECT_EQ(desk.Cell(0, 1), "") << c.why;
        EXPECT_EQ(desk.Cell(1, 2), "") << c.why;
        EXPECT_EQ(desk.person.shown.size(), 1u) << c.why;
        EXPECT_EQ(history.stack.count(), 0) << c.why;
    }
}

TEST(RowsOnTheClipboard, SpreadsheetCellsSeparatedByTabsPasteAndRowsPastTheEndAreDropped) {
    History history;
    Desk desk;
    QMimeData data;
    data.setText("248\tA\t1\r\n249\tB\t2\r\n250\tC\t3\r\n");
    desk.Book().setCurrentCell(248, 1);
    RowsOf(desk.Book()).PasteRows(data);
    EXPECT_EQ(desk.Cell(248, 1), "A");
    EXPECT_EQ(desk.Cell(249, 2), "2");
    EXPECT_EQ(history.stack.count(), 1);
}

TEST(UndoOfGrids, AGridCommandIsOneStepAndAnEditedCellAnother) {
    History history;
    Desk desk;
    QTableWidget& list = desk.form->STA_StrGrid_Status;
    list.item(50, 1)->setText("Busy");
    list.item(50, 2)->setText("9990");
    Settle();
    list.setCurrentCell(50, 2);
    desk.person.answers = {Answer::Yes};
    desk.form->STA_Btn_FillToEndClick();
    Settle();
    ASSERT_EQ(list.item(99, 2)->text(), "9999");
    ASSERT_EQ(history.stack.count(), 2);
    history.stack.undo();
    EXPECT_EQ(list.item(99, 2)->text(), "");
    EXPECT_EQ(list.item(50, 2)->text(), "9990");
    history.stack.undo();
    EXPECT_EQ(list.item(50, 1)->text(), "");
    // StartAfresh (another job shown) clears the history and keeps what is shown.
    history.stack.redo();
    undo::StartAfresh();
    EXPECT_EQ(history.stack.count(), 0);
    EXPECT_EQ(list.item(50, 1)->text(), "Busy");
}

TEST(UndoOfGrids, AFormsOwnGridRecordsTypedCellsAndItsDefaultsButton) {
    History history;
    std::unique_ptr<Workspace> workspace = std::make_unique<Workspace>();
    const auto bytes =
        ReadFileBytes(std::filesystem::path(KM_SOURCE_DIR) / "data" / "default.tct", 1 << 20);
    ASSERT_TRUE(bytes && bytes->size() == TrunkJobImage::kSize);
    std::copy(bytes->begin(), bytes->end(), workspace->trunk.Bytes().begin());
    MainState state;
    state.ImageKind = kImageTrunk;
    state.TrunkJobLoaded = true;
    state.RadioTypeMask = 4;  // HM-C: the defaults button fills the messages
    ShellPerson person;
    ScriptedDialogs dialogs;
    Desk::NoShell shell;
    TForm_TXT_Strings form(FormContext{*workspace, state, person, dialogs, shell});
    form.LoadPass();
    undo::StartAfresh();
    QTableWidget& grid = form.GridOf(TextGrid::Messages);
    const QString loaded = grid.item(0, 1)->text();
    grid.item(0, 1)->setText("TYPED");
    Settle();
    ASSERT_EQ(history.stack.count(), 1);
    form.Btn_TXT_DefaultText.click();
    Settle();
    ASSERT_EQ(grid.item(0, 1)->text(), "ALL");
    ASSERT_EQ(history.stack.count(), 2);
    history.stack.undo();
    EXPECT_EQ(grid.item(0, 1)->text(), "TYPED");
    history.stack.undo();
    EXPECT_EQ(grid.item(0, 1)->text(), loaded);
}

// ---- The channel list -------------------------------------------------------------------------

// A PMR job of `count` channels whose names start with `prefix`, on the Channel Options form.
struct ChannelDesk {
    explicit ChannelDesk(int count, const std::string& prefix = "Ch") {
        const auto bytes =
            ReadFileBytes(std::filesystem::path(KM_SOURCE_DIR) / "data" / "default.cct", 1 << 20);
        EXPECT_TRUE(bytes && bytes->size() == PmrJobImage::kSize);
        std::copy(bytes->begin(), bytes->end(), workspace->pmr.Bytes().begin());
        state.ImageKind = kImagePmr;
        state.PmrJobLoaded = true;
        state.RadioModeMask = 1;
        state.RadioTypeMask = 16;
        state.UserLevelMask = 8;
        pmr::ChannelTable table;
        for (int n = 0; n < count; ++n) {
            pmr::ChannelEntry entry = pmr::DefaultEntry(450000000 + 12500LL * n);
            entry.SetNumber(n);
            entry.SetName(prefix + std::to_string(n));
            table.Add(entry);
        }
        testing::ScriptedPerson quiet;
        pmr::StoreChannelTable(table, {.radioTypeMask = 16}, workspace->pmr, quiet);
        form = std::make_unique<TCHN_Form_Channels>(
            FormContext{*workspace, state, person, dialogs, shell});
        form->LoadPass();
        undo::StartAfresh();
    }
    QTableView& List() { return form->CHN_LBox_Channels; }
    undo::RowClipboard& Rows() { return RowsOf(List()); }
    void SelectRows(int first, int last) {
        List().setCurrentIndex(List().model()->index(first, 0));
        List().selectionModel()->select(
            QItemSelection(List().model()->index(first, 0), List().model()->index(last, 0)),
            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
    std::vector<std::string> Lines() const {
        std::vector<std::string> lines;
        for (const pmr::ChannelEntry& entry : form->Table().Entries()) {
            lines.push_back(pmr::ListLine(entry));
        }
        return lines;
    }
    std::vector<std::uint8_t> Bytes(std::size_t at, std::size_t n) const {
        const auto bytes = workspace->pmr.Bytes().subspan(at, n);
        return {bytes.begin(), bytes.end()};
    }
    static undo::RowClipboard& RowsOf(QTableView& view) {
        undo::RowClipboard* rows = undo::RowClipboardAt(view.viewport());
        EXPECT_NE(rows, nullptr);
        return *rows;
    }

    std::unique_ptr<Workspace> workspace = std::make_unique<Workspace>();
    MainState state;
    ShellPerson person;
    ScriptedDialogs dialogs;
    Desk::NoShell shell;
    std::unique_ptr<TCHN_Form_Channels> form;
};

TEST(UndoOfTheChannelList, UndoRestoresADeletedChannelAndRedoDeletesItAgain) {
    History history;
    ChannelDesk desk(5);
    const auto before = desk.Lines();
    desk.form->Select(2);
    desk.form->CHN_Btn_DeleteChannelClick();
    ASSERT_EQ(desk.form->Table().Size(), 4u);
    ASSERT_EQ(history.stack.count(), 1);
    history.stack.undo();
    EXPECT_EQ(desk.Lines(), before);
    EXPECT_EQ(desk.form->Selected(), 2u);
    history.stack.redo();
    EXPECT_EQ(desk.form->Table().Size(), 4u);
    EXPECT_FALSE(desk.form->Table().Find(2));
    // The store writes what the list shows after the undo.
    history.stack.undo();
    desk.form->StorePass();
    EXPECT_EQ(desk.workspace->pmr.U16(0x006E), 5);
}

TEST(UndoOfTheChannelList, ABulkEditOfAHundredChannelsPowerIsOneStep) {
    History history;
    ChannelDesk desk(100);
    const auto before = desk.Lines();
    desk.SelectRows(0, 99);
    desk.dialogs.modal.push_back([](QDialog& dialog) {
        auto& bulk = dynamic_cast<BulkEditDialog&>(dialog);
        EXPECT_EQ(bulk.BulkEdit_Lbl_Rows.text(), "Set one column of the 100 selected rows:");
        bulk.BulkEdit_Combo_Column.setCurrentIndex(0);  // Tx Power
        EXPECT_EQ(bulk.BulkEdit_Combo_Value.itemText(2), "High");
        bulk.BulkEdit_Combo_Value.setCurrentIndex(2);
        Screenshot(bulk, "bulk-edit");
        return QDialog::Accepted;
    });
    ASSERT_TRUE(desk.Rows().CanBulkEdit());
    desk.Rows().BulkEdit();
    ASSERT_EQ(history.stack.count(), 1);
    for (const pmr::ChannelEntry& entry : desk.form->Table().Entries()) {
        ASSERT_EQ(pmr::PowerOf(entry), pmr::Power::High);
    }
    history.stack.undo();
    EXPECT_EQ(desk.Lines(), before);
    // Cancel changes nothing and makes no step.
    desk.dialogs.modal.push_back([](QDialog&) { return QDialog::Rejected; });
    desk.Rows().BulkEdit();
    EXPECT_EQ(desk.Lines(), before);
    EXPECT_EQ(history.stack.index(), 0);
}

TEST(UndoOfTheChannelList, ChannelsCopiedFromOneJobArePastedIntoAnotherAsTheyWere) {
    History history;
    ChannelDesk from(20);
    ChannelDesk to(20, "Other");
    from.SelectRows(5, 9);
    const auto copied = from.Rows().CopyRows();
    ASSERT_NE(copied, nullptr);
    // A spreadsheet gets the rows of the channel CSV file.
    EXPECT_TRUE(copied->text().startsWith("5\tCh5\tChan\t450.06250\t450.06250\t"));
    EXPECT_EQ(copied->text().count("\r\n"), 5);
    to.List().setCurrentIndex(to.List().model()->index(0, 0));
    to.Rows().PasteRows(*copied);
    ASSERT_EQ(history.stack.count(), 1);
    from.form->StorePass();
    to.form->StorePass();
    // Records of 32 bytes from 0x3D2C, in table order.
    EXPECT_EQ(to.Bytes(0x3D2C + 32 * 5, 32 * 5), from.Bytes(0x3D2C + 32 * 5, 32 * 5));
    EXPECT_NE(to.Bytes(0x3D2C + 32 * 4, 32), from.Bytes(0x3D2C + 32 * 4, 32));
    history.stack.undo();
    EXPECT_EQ(to.form->Table().At(5).Name(), "Other5");
}

TEST(UndoOfTheChannelList, CsvLinesFromASpreadsheetPasteAndWhatDoesNotFitIsRefusedWhole) {
    History history;
    ChannelDesk desk(3);
    struct Case {
        const char* text;
        std::size_t size;
        const char* message;
    };
    const Case cases[] = {
        {"7,Depot,Chan,451.00000,451.00000,Hi,N,N,12.5,CTCSS, , ,N,N,N,N,Y,Y,N,N,0,1,1,1,1,1,1,"
         "1,1,N,N,0,N,\r\n",
         4, nullptr},
        {"hello\r\n", 4,
         "The clipboard holds no channels or groups.\n"
         "Copy rows of a channel table, or lines of a channel CSV file."},
        {"9,Grp,Group,VOTEGRP,Y,,N,1,55,\r\n", 4,
         "The channels cannot be pasted: a group would list a channel\n"
         "the table does not have, or another group."},
    };
    for (const Case& c : cases) {
        desk.person.shown.clear();
        QMimeData data;
        data.setText(c.text);
        desk.Rows().PasteRows(data);
        EXPECT_EQ(desk.form->Table().Size(), c.size) << c.text;
        if (c.message) {
            ASSERT_EQ(desk.person.shown.size(), 1u) << c.text;
            EXPECT_EQ(desk.person.shown[0].text, c.message);
        } else {
            EXPECT_TRUE(desk.person.shown.empty()) << c.text;
        }
    }
    EXPECT_EQ(history.stack.count(), 1) << "only the paste that changed the table";
    EXPECT_EQ(desk.form->Table().At(3).Name(), "Depot");
}

// ---- The zones ---------------------------------------------------------------------------------

void TypeCell(QTableWidget& grid, int line, int column, const QString& text) {
    grid.item(line, column)->setText(text);
    Settle();
}

TEST(UndoOfTheZones, EditsOfTwoZonesUndoInTurnAndTheZoneEditedIsShownAgain) {
    History history;
    ChannelDesk desk(10);
    TZEDT_Form& zones = *desk.form->Tab_CHN_Zones;
    QTableWidget& names = zones.ZONE_StrGrid_Zones;
    QTableWidget& channels = zones.ZONE_StrGrid_Channels;
    TypeCell(names, 0, 1, "North");
    TypeCell(channels, 0, 1, "5");
    ASSERT_EQ(history.stack.count(), 2);
    names.setCurrentCell(1, 1);  // another zone is shown: no edit
    ASSERT_EQ(history.stack.count(), 2);
    ASSERT_EQ(channels.item(0, 1)->text(), "");
    TypeCell(names, 1, 1, "South");
    TypeCell(channels, 0, 1, "7");
    zones.ZONE_CBox_ZoneMode.setChecked(!zones.ZONE_CBox_ZoneMode.isChecked());
    Settle();
    ASSERT_EQ(history.stack.count(), 5);

    history.stack.undo();  // the zone mode
    history.stack.undo();  // zone 2's channel
    EXPECT_EQ(channels.item(0, 1)->text(), "");
    history.stack.undo();  // zone 2's name
    EXPECT_EQ(names.item(1, 1)->text(), "");
    history.stack.undo();  // zone 1's channel: zone 1 is shown again, without it
    EXPECT_EQ(zones.Grids().currentZone, 0);
    EXPECT_EQ(names.item(0, 1)->text(), "North");
    EXPECT_EQ(channels.item(0, 1)->text(), "");
    history.stack.redo();
    EXPECT_EQ(channels.item(0, 1)->text(), "5");
    history.stack.redo();
    history.stack.redo();

    // What the store writes is what the grids show after undo and redo.
    desk.form->StorePass();
    pmr::ZoneGrids stored;
    pmr::LoadZones(desk.workspace->pmr, stored);
    EXPECT_EQ(stored.names[0], "North");
    EXPECT_EQ(stored.names[1], "South");
    EXPECT_EQ(stored.channels[0], "5");
    EXPECT_EQ(pmr::ReadZoneEntry(desk.workspace->pmr, 1, 0).channel, 7);
}

// ---- The encode list --------------------------------------------------------------------------

// A PMR job with encodes 1..`count` (tone masks "1", "12", ...), on the Encode/Decode form.
struct EncodeDesk {
    explicit EncodeDesk(int count, const char* firstTone = "1") {
        const auto bytes =
            ReadFileBytes(std::filesystem::path(KM_SOURCE_DIR) / "data" / "default.cct", 1 << 20);
        EXPECT_TRUE(bytes && bytes->size() == PmrJobImage::kSize);
        std::copy(bytes->begin(), bytes->end(), workspace->pmr.Bytes().begin());
        state.ImageKind = kImagePmr;
        state.PmrJobLoaded = true;
        state.RadioModeMask = 1;
        state.RadioTypeMask = 16;
        state.UserLevelMask = 8;
        std::vector<pmr::EncodeEntry> encodes;
        std::string mask;
        for (int n = 1; n <= count; ++n) {
            mask += n == 1 ? std::string(firstTone) : std::to_string(n % 10);
            pmr::EncodeEntry entry;
            entry.number = n;
            pmr::SetTones(entry.record,
                          pmr::FilledTones({mask, "1", "1"}, pmr::SequenceKind::Encode),
                          pmr::SequenceKind::Encode);
            encodes.push_back(entry);
        }
        pmr::StoreEncodes(encodes, workspace->pmr);
        form = std::make_unique<TSCL2_Form_Selcall>(
            FormContext{*workspace, state, person, dialogs, shell});
        form->LoadPass();
        undo::StartAfresh();
    }
    QListWidget& List() { return form->ENC_LBox_Encodes; }
    undo::RowClipboard& Rows() {
        undo::RowClipboard* rows = undo::RowClipboardAt(List().viewport());
        EXPECT_NE(rows, nullptr);
        return *rows;
    }
    std::vector<std::uint8_t> Bytes(std::size_t at, std::size_t n) const {
        const auto bytes = workspace->pmr.Bytes().subspan(at, n);
        return {bytes.begin(), bytes.end()};
    }

    std::unique_ptr<Workspace> workspace = std::make_unique<Workspace>();
    MainState state;
    ShellPerson person;
    ScriptedDialogs dialogs;
    Desk::NoShell shell;
    std::unique_ptr<TSCL2_Form_Selcall> form;
};

TEST(UndoOfTheEncodeList, ADeletedEncodeComesBackAndCopiedEncodesPasteIntoAnotherJob) {
    History history;
    EncodeDesk from(6);
    EncodeDesk to(3, "9");
    from.List().setCurrentRow(2);
    from.form->ENC_Btn_DeleteClick();
    ASSERT_EQ(from.form->Encodes().size(), 5u);
    history.stack.undo();
    ASSERT_EQ(from.form->Encodes().size(), 6u);
    EXPECT_EQ(from.form->Encodes()[2].number, 3);
    EXPECT_EQ(from.List().count(), 6);

    from.List().setCurrentRow(1);
    from.List().item(1)->setSelected(true);
    from.List().item(4)->setSelected(true);
    const auto copied = from.Rows().CopyRows();
    ASSERT_NE(copied, nullptr);
    EXPECT_TRUE(copied->text().startsWith("2\t")) << copied->text().toStdString();
    EXPECT_EQ(copied->text().count("\r\n"), 2);
    const int before = history.stack.index();
    to.Rows().PasteRows(*copied);
    EXPECT_EQ(history.stack.index(), before + 1) << "the paste is one step";
    ASSERT_EQ(to.form->Encodes().size(), 4u);
    from.form->StorePass();
    to.form->StorePass();
    // Encode n at 0xBA2C + 32 (n - 1): encode 2 replaced, encode 5 added.
    EXPECT_EQ(to.Bytes(0xBA2C + 32 * 1, 32), from.Bytes(0xBA2C + 32 * 1, 32));
    EXPECT_EQ(to.Bytes(0xBA2C + 32 * 4, 32), from.Bytes(0xBA2C + 32 * 4, 32));
    EXPECT_NE(to.Bytes(0xBA2C, 32), from.Bytes(0xBA2C, 32));
    history.stack.undo();
    EXPECT_EQ(to.form->Encodes().size(), 3u);
    EXPECT_EQ(to.List().count(), 3);
}

TEST(UndoOfTheEncodeList, SpreadsheetRowsPasteAndABadRowRefusesThePaste) {
    History history;
    EncodeDesk desk(2);
    // A row as the list copies it, typed into a spreadsheet with another number.
    desk.List().setCurrentRow(0);
    const QString row = desk.Rows().CopyRows()->text();
    QMimeData good;
    good.setText(QString(row).replace(0, 1, "7"));
    desk.Rows().PasteRows(good);
    ASSERT_EQ(desk.form->Encodes().size(), 3u);
    EXPECT_EQ(desk.form->Encodes()[2].number, 7);
    QMimeData bad;
    bad.setText(QString(row).replace(0, 1, "8") + "9,Sometimes\r\n");
    desk.Rows().PasteRows(bad);
    EXPECT_EQ(desk.form->Encodes().size(), 3u);
    ASSERT_EQ(desk.person.shown.size(), 1u);
    EXPECT_EQ(desk.person.shown[0].text, pmr::kBadEncodeRowsText);
    EXPECT_EQ(history.stack.count(), 1);
}

}  // namespace
}  // namespace km

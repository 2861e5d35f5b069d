// The channel table as a sheet on the Channel Options form: each change an undo step, the grid
// driven with the keyboard, refusals named beside the cell, and the job a sheet edit leaves equal
// byte for byte to the job the Channel Editor leaves for the same change.

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QCompleter>
#include <QDir>
#include <QMainWindow>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>
#include <memory>

#include "EditMenu.h"
#include "Resources.h"
#include "ShellFixtures.h"
#include "ViewOptions.h"
#include "forms/BulkEditDialog.h"
#include "forms/Undo.h"
#include "forms/pmr/ChannelEditor.h"
#include "forms/pmr/ChannelSheetView.h"
#include "forms/pmr/ChnForm.h"
#include "pmr/ChannelGridEdit.h"
#include "tables/Tables.h"

namespace km {
namespace {

namespace cr = pmr::channel_rows;
using pmr::SheetColumn;
using testing::ScriptedDialogs;
using testing::ShellPerson;

class FormShell : public Shell {
  public:
    void ShowFormButtons() override {}
    void ShowNetworkLabel() override {}
    bool StoreNetworkForms() override { return true; }
    void SelectNetwork(int) override {}
    void ShowForm(FormId) override {}
    void ReloadForm(FormId) override {}
    ConfigForm* Form(FormId id) const override { return id == FormId::Channels ? form : nullptr; }
    ConfigForm* form = nullptr;
};

constexpr int kBandUwEntry = 12;  // "UW   440-500 MHz"

void Screenshot(QWidget& widget, const QString& name) {
    const QString folder = qEnvironmentVariable("KM_SCREENSHOTS");
    if (!folder.isEmpty()) {
        widget.grab().save(QDir(folder).filePath(name + ".png"));
    }
}

// A PMR job of `count` channels numbered from 1 at 460 MHz and up by 25 kHz, with the history
// the Edit menu keeps.
struct Desk {
    explicit Desk(int count = 16) {
        undo::SetStack(&history);
        state.ImageKind = kImagePmr;
        state.PmrJobLoaded = true;
        state.RadioModeMask = 1;
        state.RadioTypeMask = 512;
        state.BandSelected = kBandUwEntry;
        state.UserLevelMask = 1;
        tables::FillTemplateDefaults(fields::ImageId::Pmr, workspace->pmr.Bytes());
        workspace->pmr.SetU16(pmr::kBandCode, 0x5557);
        workspace->pmr.SetU16(14, 5860);
        for (std::size_t word : {0x1D16, 0x1D1A, 0x1D1C, 0x1D1E, 0x1D20, 0x1D32}) {
            workspace->pmr.SetU16(word, 0xFFFF);
        }
        pmr::ChannelTable table;
        for (int n = 1; n <= count; ++n) {
            pmr::ChannelEntry entry = pmr::DefaultEntry(460000000 + 25000LL * (n - 1));
            entry.SetNumber(n);
            entry.SetName("Old " + std::to_string(n));
            table.Add(entry);
        }
        testing::ScriptedPerson quiet;
        pmr::StoreChannelTable(table, {.radioTypeMask = 512}, workspace->pmr, quiet);
        form = std::make_unique<TCHN_Form_Channels>(
            FormContext{*workspace, state, person, dialogs, shell});
        shell.form = form.get();
        form->resize(1000, 600);
        form->LoadPass();
    }
    ~Desk() { undo::SetStack(nullptr); }

    ChannelSheetView& Sheet() {
        form->ShowAsTable(true);
        return *form->Sheet();
    }
    std::string TableBytes() const { return pmr::ExactBytesOf(form->Table().Entries()); }
    std::vector<std::uint8_t> StoredJob() {
        form->StorePass();
        const auto bytes = workspace->pmr.Bytes();
        return {bytes.begin(), bytes.end()};
    }

    QUndoStack history;
    std::unique_ptr<Workspace> workspace = std::make_unique<Workspace>();
    MainState state;
    ShellPerson person;
    ScriptedDialogs dialogs;
    FormShell shell;
    std::unique_ptr<TCHN_Form_Channels> form;
};

ChannelSheetModel& ModelOf(ChannelSheetView& sheet) {
    return dynamic_cast<ChannelSheetModel&>(*sheet.Proxy().sourceModel());
}

TEST(ChannelSheetTest, EveryChangeIsOneUndoStepAndItsUndoPutsTheTableBack) {
    Desk desk;
    ChannelSheetModel& model = ModelOf(desk.Sheet());
    const std::vector<std::size_t> all = {0, 1, 2, 3};
    const std::vector<ChannelSheetModel::Cell> cleared = {{1, SheetColumn::Tx},
                                                          {2, SheetColumn::RxCode}};
    const std::function<pmr::SheetResult()> changes[] = {
        [&] { return model.SetText(0, SheetColumn::Name, "Depot"); },
        [&] { return model.SetText(0, SheetColumn::Number, "40"); },
        [&] { return model.FillDown(SheetColumn::Power, all); },
        [&] { return model.FillSeries(SheetColumn::Rx, all, 12500); },
        [&] { return model.Clear(cleared); },
        [&] {
            return model.Insert(pmr::DefaultEntry(450000000),
                                {.count = 3, .firstNumber = 100, .firstHz = 450000000});
        },
    };
    ASSERT_FALSE(model.SetText(1, SheetColumn::Power, "Hi").refusal);
    ASSERT_FALSE(model.SetText(2, SheetColumn::RxCode, "67").refusal);
    for (const auto& change : changes) {
        const std::string before = desk.TableBytes();
        const int steps = desk.history.count();
        const pmr::SheetResult result = change();
        ASSERT_FALSE(result.refusal) << *result.refusal;
        ASSERT_TRUE(result.changed);
        EXPECT_EQ(desk.history.count(), steps + 1);
        const std::string after = desk.TableBytes();
        EXPECT_NE(after, before);
        desk.history.undo();
        EXPECT_EQ(desk.TableBytes(), before);
        EXPECT_EQ(model.rowCount(), static_cast<int>(desk.form->Table().Size()));
        desk.history.redo();
        EXPECT_EQ(desk.TableBytes(), after);
    }
    // A refused change is no step.
    const int steps = desk.history.count();
    EXPECT_TRUE(model.SetText(0, SheetColumn::Rx, "450.0013").refusal);
    EXPECT_EQ(desk.history.count(), steps);
}

TEST(ChannelSheetTest, EachEditReachesTheJobWithTheStoreRules) {
    Desk desk(3);
    ChannelSheetModel& model = ModelOf(desk.Sheet());
    ASSERT_FALSE(model.SetText(0, SheetColumn::Hidden, "Y").refusal);
    // The first visible entry is now the second record; the hidden one links nowhere.
    EXPECT_EQ(desk.workspace->pmr.U16(0x1D22), 1);
    pmr::ChannelTable stored;
    pmr::LoadChannelTable(desk.workspace->pmr, stored);
    EXPECT_EQ(stored.At(0).Get(cr::kNextLink), pmr::kNoLink);
    EXPECT_EQ(stored.At(2).Get(cr::kNextLink), 1);
    desk.history.undo();
    EXPECT_EQ(desk.workspace->pmr.U16(0x1D22), 0);
    // The list shows the sheet's table.
    EXPECT_EQ(desk.form->CHN_LBox_Channels.model()->rowCount(), 3);
}

// Enter pressed in a cell's editor: the value is taken once the event loop runs.
void PressEnter(QWidget* editor) {
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
}

// Types into the current cell, as a user does: the first key opens the cell's editor and
// replaces its text, the others go to the editor; then Enter.
void Type(QTableView& grid, const QString& text) {
    QTest::keyClick(&grid, text.at(0).toLatin1());
    QWidget* editor = QApplication::focusWidget();
    ASSERT_NE(editor, &grid) << "the key opened an editor";
    QTest::keyClicks(editor, text.mid(1));
    PressEnter(editor);
}

TEST(ChannelSheetTest, SixteenChannelsAreNamedAndSpacedWithTheKeyboardAlone) {
    Desk desk;
    ChannelSheetView& sheet = desk.Sheet();
    desk.form->show();
    QTableView& grid = sheet.SHT_Grid_Channels;
    desk.form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(desk.form.get()));
    grid.setFocus();
    sheet.SelectCell(0, SheetColumn::Name);

    Type(grid, "CH 1");
    EXPECT_EQ(desk.form->Table().At(0).Name(), "CH 1");
    EXPECT_EQ(grid.currentIndex().row(), 1) << "Enter moves down";
    QTest::keyClick(&grid, Qt::Key_Up);
    for (int i = 0; i < 15; ++i) {
        QTest::keyClick(&grid, Qt::Key_Down, Qt::ShiftModifier);
    }
    QTest::mouseClick(&sheet.SHT_Btn_FillSeries, Qt::LeftButton);
    EXPECT_EQ(desk.form->Table().At(15).Name(), "CH 16");

    // Two columns right to the receive frequency; 450 MHz, then the series at 12.5 kHz.
    grid.setFocus();
    sheet.SelectCell(0, SheetColumn::Name);
    QTest::keyClick(&grid, Qt::Key_Tab);
    QTest::keyClick(&grid, Qt::Key_Tab);
    ASSERT_EQ(grid.currentIndex().column(), static_cast<int>(SheetColumn::Rx));
    Type(grid, "450");
    QTest::keyClick(&grid, Qt::Key_Up);
    for (int i = 0; i < 15; ++i) {
        QTest::keyClick(&grid, Qt::Key_Down, Qt::ShiftModifier);
    }
    QTest::mouseClick(&sheet.SHT_Btn_FillSeries, Qt::LeftButton);
    for (std::size_t i = 0; i < 16; ++i) {
        EXPECT_EQ(desk.form->Table().At(i).rxHz, 450000000 + 12500 * static_cast<int>(i)) << i;
    }

    // Ctrl+D fills the first transmit frequency down.
    sheet.SelectColumnRange(SheetColumn::Tx, 0, 3);
    QTest::keyClick(&grid, Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(desk.form->Table().At(3).txHz, desk.form->Table().At(0).txHz);

    // F2 edits, a value off the raster is refused beside the cell, and the cell stays.
    sheet.SelectCell(5, SheetColumn::Rx);
    QTest::keyClick(&grid, Qt::Key_F2);
    QWidget* editor = QApplication::focusWidget();
    ASSERT_NE(editor, &grid);
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(editor, "450.0013");
    PressEnter(editor);
    EXPECT_EQ(desk.form->Table().At(5).rxHz, 450062500);
    EXPECT_EQ(sheet.Note().toStdString(), fields::kNotOnRasterMessage);
    EXPECT_EQ(grid.currentIndex().row(), 5);
    EXPECT_EQ(desk.person.shown.size(), 0u) << "no message box";
    Screenshot(*desk.form, "channel_sheet");

    // Delete empties the transmit frequency: transmit disabled.
    sheet.SelectCell(6, SheetColumn::Tx);
    QTest::keyClick(&grid, Qt::Key_Delete);
    EXPECT_EQ(desk.form->Table().At(6).txHz, 0);

    // Alt+Down opens the list of a power cell; typing the first letter takes its entry.
    sheet.SelectCell(7, SheetColumn::Power);
    QTest::keyClick(&grid, Qt::Key_Down, Qt::AltModifier);
    auto* edit = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(edit, nullptr);
    ASSERT_NE(edit->completer(), nullptr);
    EXPECT_TRUE(edit->completer()->popup()->isVisible());
    EXPECT_EQ(edit->completer()->completionCount(), 3);
    edit->completer()->popup()->hide();
    edit->setText("Hi");
    PressEnter(edit);
    EXPECT_EQ(pmr::PowerOf(desk.form->Table().At(7)), pmr::Power::High);
    EXPECT_EQ(desk.dialogs.unexpectedDialogs, 0);
}

// What the user guide shows a dealer: on the sheet of an empty job, Insert adds the first
// channel; its number, name and frequencies are typed; Ctrl+Enter adds the other fifteen, each
// the row above a step further, its name counted on.
void SetUpSixteenWithTheKeyboard(Desk& desk) {
    desk.form->show();
    desk.form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(desk.form.get()));
    desk.form->ShowAsTable(true);
    QTableView& grid = desk.form->Sheet()->SHT_Grid_Channels;
    ASSERT_EQ(QApplication::focusWidget(), &grid) << "the keys go to the sheet";
    ASSERT_EQ(grid.model()->rowCount(), 0);

    const int steps = desk.history.count();
    QTest::keyClick(&grid, Qt::Key_Insert);
    ASSERT_EQ(desk.form->Table().Size(), 1u);
    EXPECT_EQ(desk.history.count(), steps + 1);
    ASSERT_EQ(grid.currentIndex().row(), 0);
    ASSERT_EQ(grid.currentIndex().column(), static_cast<int>(SheetColumn::Number));
    Type(grid, "1");
    QTest::keyClick(&grid, Qt::Key_Tab);
    Type(grid, "CH 1");
    QTest::keyClick(&grid, Qt::Key_Tab);
    QTest::keyClick(&grid, Qt::Key_Tab);
    ASSERT_EQ(grid.currentIndex().column(), static_cast<int>(SheetColumn::Rx));
    Type(grid, "460");
    QTest::keyClick(&grid, Qt::Key_Tab);
    Type(grid, "460");
    for (int n = 2; n <= 16; ++n) {
        const int before = desk.history.count();
        QTest::keyClick(&grid, Qt::Key_Return, Qt::ControlModifier);
        ASSERT_EQ(desk.form->Table().Size(), static_cast<std::size_t>(n))
            << desk.form->Sheet()->Note().toStdString();
        EXPECT_EQ(desk.history.count(), before + 1) << "each add one step";
        EXPECT_EQ(grid.currentIndex().row(), n - 1) << "the cursor follows the new channel";
    }
}

TEST(ChannelSheetTest, ADealerSetsUpSixteenChannelsFromAnEmptyJobWithTheKeyboard) {
    Desk desk(0);
    SetUpSixteenWithTheKeyboard(desk);
    if (::testing::Test::HasFatalFailure()) {
        return;
    }
    const QAbstractItemModel& view = desk.form->Sheet()->Proxy();
    ASSERT_EQ(view.rowCount(), 16);
    const auto cell = [&](int row, SheetColumn column) {
        return view.index(row, static_cast<int>(column)).data().toString().toStdString();
    };
    for (int row = 0; row < 16; ++row) {
        const std::string hz = pmr::FormatMegahertz(460000000 + 12500LL * row);
        EXPECT_EQ(cell(row, SheetColumn::Number), std::to_string(row + 1));
        EXPECT_EQ(cell(row, SheetColumn::Name), "CH " + std::to_string(row + 1));
        EXPECT_EQ(cell(row, SheetColumn::Rx), hz);
        EXPECT_EQ(cell(row, SheetColumn::Tx), hz);
    }
    EXPECT_EQ(cell(15, SheetColumn::Rx), "460.18750");
    EXPECT_TRUE(desk.person.shown.empty()) << "no message box";
    EXPECT_EQ(desk.dialogs.unexpectedDialogs, 0);
    Screenshot(*desk.form, "channel_sheet_sixteen");

    // The job took each add with the store rules; an undo takes back the last channel only.
    pmr::ChannelTable stored;
    pmr::LoadChannelTable(desk.workspace->pmr, stored);
    ASSERT_EQ(stored.Size(), 16u);
    EXPECT_EQ(stored.At(15).Name(), "CH 16");
    desk.history.undo();
    EXPECT_EQ(desk.form->Table().Size(), 15u);
    EXPECT_EQ(view.rowCount(), 15);
    pmr::LoadChannelTable(desk.workspace->pmr, stored);
    EXPECT_EQ(stored.Size(), 15u);
}

// The same sixteen channels added one by one through Add Channel and the Channel Editor.
TEST(ChannelSheetTest, TheKeyboardsSixteenChannelsAreTheChannelEditorsByteForByte) {
    Desk viaSheet(0);
    SetUpSixteenWithTheKeyboard(viaSheet);
    if (::testing::Test::HasFatalFailure()) {
        return;
    }
    Desk viaEditor(0);
    for (int n = 1; n <= 16; ++n) {
        viaEditor.dialogs.modal.push_back([n](QDialog& dialog) {
            auto& editor = dynamic_cast<TCEDT_Form&>(dialog);
            const QString hz = ToQString(pmr::FormatMegahertz(460000000 + 12500LL * (n - 1)));
            editor.CEDT_Edit_ChanNumber.setText(QString::number(n));
            editor.CEDT_Edit_ChanName.setText(QStringLiteral("CH %1").arg(n));
            editor.CEDT_Edit_Rx_Frequency.setText(hz);
            editor.CEDT_Edit_Tx_Frequency.setText(hz);
            editor.CEDT_BitBtn_OKClick();
            return editor.result();
        });
        viaEditor.form->CHN_Btn_AddChannelClick();
    }
    ASSERT_EQ(viaEditor.form->Table().Size(), 16u);
    EXPECT_EQ(viaEditor.dialogs.unexpectedDialogs, 0);
    EXPECT_EQ(viaSheet.TableBytes(), viaEditor.TableBytes());
    EXPECT_EQ(viaSheet.StoredJob(), viaEditor.StoredJob());
}

TEST(ChannelSheetTest, CtrlShiftDFillsEverySelectedColumnInSeries) {
    Desk desk(6);
    ChannelSheetView& sheet = desk.Sheet();
    ChannelSheetModel& model = ModelOf(sheet);
    ASSERT_FALSE(model.SetText(0, SheetColumn::Name, "Rpt 08").refusal);
    ASSERT_FALSE(model.SetText(0, SheetColumn::Tx, "465").refusal);
    // Names to transmit frequencies of the first four rows, and the receive frequency of six.
    QTableView& grid = sheet.SHT_Grid_Channels;
    const QAbstractItemModel& view = sheet.Proxy();
    const int name = static_cast<int>(SheetColumn::Name);
    const int tx = static_cast<int>(SheetColumn::Tx);
    const int rx = static_cast<int>(SheetColumn::Rx);
    grid.setCurrentIndex(view.index(0, name));
    QItemSelection selection(view.index(0, name), view.index(3, tx));
    selection.select(view.index(4, rx), view.index(5, rx));
    grid.selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    sheet.SHT_Edit_Step.setText("12.5");
    const int steps = desk.history.count();
    QTest::keyClick(&grid, Qt::Key_D, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(desk.history.count(), steps + 1) << "one step";
    const pmr::ChannelTable& table = desk.form->Table();
    EXPECT_EQ(table.At(3).Name(), "Rpt 11");
    EXPECT_EQ(table.At(4).Name(), "Old 5") << "outside the selection";
    EXPECT_EQ(table.At(3).txHz, 465037500);
    EXPECT_EQ(table.At(5).rxHz, 460062500) << "the receive column's six rows";
    EXPECT_EQ(table.At(4).txHz, 460100000);

    // Ctrl+D copies each column's first cell down; the kind column between them stays.
    grid.selectionModel()->select(QItemSelection(view.index(0, name), view.index(2, tx)),
                                  QItemSelectionModel::ClearAndSelect);
    QTest::keyClick(&grid, Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(table.At(2).Name(), "Rpt 08");
    EXPECT_EQ(table.At(2).rxHz, 460000000);
    EXPECT_EQ(table.At(2).txHz, 465000000);
    EXPECT_EQ(desk.person.shown.size(), 0u);
}

TEST(ChannelSheetTest, CopyPasteAndBulkEditOfTheEditMenuActOnTheSheetsRows) {
    Desk desk(6);
    desk.form->show();
    desk.form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(desk.form.get()));
    desk.form->ShowAsTable(true);
    ChannelSheetView& sheet = *desk.form->Sheet();
    QTableView& grid = sheet.SHT_Grid_Channels;
    ASSERT_EQ(QApplication::focusWidget(), &grid);
    QMainWindow window;
    EditMenu menu(window, desk.person, [] {});
    QUndoStack& history = menu.History();

    // Cells of channels 2 and 3 selected (in two columns): their rows are copied.
    const QAbstractItemModel& view = sheet.Proxy();
    grid.setCurrentIndex(view.index(1, static_cast<int>(SheetColumn::Name)));
    grid.selectionModel()->select(QItemSelection(view.index(1, 1), view.index(2, 3)),
                                  QItemSelectionModel::ClearAndSelect);
    menu.Copy1Click();
    const QStringList lines =
        QApplication::clipboard()->text().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith("2\tOld 2\tChan\t460.02500")) << lines[0].toStdString();
    EXPECT_TRUE(lines[1].startsWith("3\tOld 3\t")) << lines[1].toStdString();

    // Pasted by number over a renamed channel: one step, and the job takes it.
    ChannelSheetModel& model = ModelOf(sheet);
    ASSERT_FALSE(model.SetText(1, SheetColumn::Name, "Depot").refusal);
    const int steps = history.count();
    menu.Paste1Click();
    EXPECT_EQ(desk.form->Table().At(1).Name(), "Old 2");
    EXPECT_EQ(history.count(), steps + 1);
    pmr::ChannelTable stored;
    pmr::LoadChannelTable(desk.workspace->pmr, stored);
    EXPECT_EQ(stored.At(1).Name(), "Old 2");
    history.undo();
    EXPECT_EQ(desk.form->Table().At(1).Name(), "Depot");
    EXPECT_EQ(view.index(1, 1).data().toString(), "Depot") << "the sheet shows the undo";

    // Bulk Edit sets the power of the channels whose cells are selected.
    grid.setCurrentIndex(view.index(0, static_cast<int>(SheetColumn::Rx)));
    grid.selectionModel()->select(QItemSelection(view.index(0, 3), view.index(3, 3)),
                                  QItemSelectionModel::ClearAndSelect);
    desk.dialogs.modal.push_back([](QDialog& dialog) {
        auto& bulk = dynamic_cast<BulkEditDialog&>(dialog);
        EXPECT_EQ(bulk.BulkEdit_Lbl_Rows.text(), "Set one column of the 4 selected rows:");
        bulk.BulkEdit_Combo_Column.setCurrentIndex(0);  // Tx Power
        bulk.BulkEdit_Combo_Value.setCurrentIndex(2);   // High
        return static_cast<int>(QDialog::Accepted);
    });
    menu.BulkEdit1Click();
    EXPECT_EQ(desk.dialogs.modal.size(), 0u) << "the dialog was shown";
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(pmr::PowerOf(desk.form->Table().At(i)) == pmr::Power::High, i < 4) << i;
    }
    EXPECT_EQ(view.index(3, static_cast<int>(SheetColumn::Power)).data().toString(), "Hi");
    pmr::LoadChannelTable(desk.workspace->pmr, stored);
    EXPECT_EQ(pmr::PowerOf(stored.At(3)), pmr::Power::High);
    EXPECT_EQ(desk.dialogs.unexpectedDialogs, 0);
}

TEST(ChannelSheetTest, SortingAndFilteringChangeTheViewNotTheStoredOrder) {
    Desk desk(5);
    ChannelSheetView& sheet = desk.Sheet();
    ChannelSheetModel& model = ModelOf(sheet);
    ASSERT_FALSE(model.SetText(0, SheetColumn::Name, "Zulu").refusal);
    ASSERT_FALSE(model.SetText(4, SheetColumn::Name, "Alpha").refusal);
    const std::string stored = desk.TableBytes();
    sheet.SHT_Grid_Channels.sortByColumn(static_cast<int>(SheetColumn::Name), Qt::AscendingOrder);
    const QAbstractItemModel& view = sheet.Proxy();
    EXPECT_EQ(view.index(0, 1).data().toString(), "Alpha");
    EXPECT_EQ(view.index(4, 1).data().toString(), "Zulu");
    // Frequencies sort as numbers.
    sheet.SHT_Grid_Channels.sortByColumn(static_cast<int>(SheetColumn::Rx), Qt::DescendingOrder);
    EXPECT_EQ(view.index(0, 0).data().toString(), "5");
    // A fill follows the rows as shown: 5, 4, 3 take the series from 5's frequency downwards.
    sheet.SelectColumnRange(SheetColumn::Rx, 4, 2);
    sheet.SHT_Edit_Step.setText("-12.5");
    sheet.FillSeriesClick();
    EXPECT_EQ(desk.form->Table().At(2).rxHz, 460100000 - 25000);

    sheet.SHT_Combo_FilterColumn.setCurrentIndex(1 + static_cast<int>(SheetColumn::Name));
    sheet.SHT_Edit_Filter.setText("old");
    EXPECT_EQ(view.rowCount(), 3);
    sheet.SHT_Edit_Filter.clear();
    EXPECT_EQ(view.rowCount(), 5);
    EXPECT_EQ(desk.form->Table().At(0).Name(), "Zulu") << "stored in number order";
    EXPECT_NE(desk.TableBytes(), stored);
}

TEST(ChannelSheetTest, InsertChannelsAddsTheChannelsAsOneStep) {
    Desk desk(2);
    ChannelSheetView& sheet = desk.Sheet();
    desk.dialogs.modal.push_back([](QDialog& dialog) {
        auto& insert = dynamic_cast<InsertChannelsDialog&>(dialog);
        EXPECT_EQ(insert.windowTitle(), "Insert Channels");
        EXPECT_EQ(insert.INS_Edit_FirstNumber.text(), "3") << "the next number";
        insert.INS_Edit_FirstFrequency.setText("450");
        Screenshot(insert, "insert_channels");
        return static_cast<int>(QDialog::Accepted);
    });
    const int steps = desk.history.count();
    sheet.InsertChannelsClick();
    ASSERT_EQ(desk.form->Table().Size(), 18u);
    EXPECT_EQ(desk.history.count(), steps + 1);
    const pmr::ChannelEntry& last = desk.form->Table().At(17);
    EXPECT_EQ(last.Number(), 18);
    EXPECT_EQ(last.Name(), "CH 16");
    EXPECT_EQ(last.rxHz, 450187500);
}

// The same change made through the Channel Editor on one desk and typed into the sheet on
// another leaves the same job, byte for byte.
TEST(ChannelSheetTest, ASheetEditLeavesTheJobTheChannelEditorLeaves) {
    Desk viaEditor(6);
    Desk viaSheet(6);
    viaEditor.dialogs.modal.push_back([](QDialog& dialog) {
        auto& editor = dynamic_cast<TCEDT_Form&>(dialog);
        editor.CEDT_Edit_ChanName.setText("Depot");
        editor.CEDT_Edit_Rx_Frequency.setText("451.0125");
        editor.CEDT_Edit_Tx_Frequency.setText("456.0125");
        editor.CEDT_Combo_Tx_Power.setCurrentIndex(1);
        editor.CEDT_Combo_Rx_CTCSSTone.setCurrentIndex(8);  // A, 88.5 Hz
        editor.CEDT_CBox_Decodes[2].setChecked(false);
        editor.CEDT_Edit_PttOffEncode.setText("17");
        editor.CEDT_CBox_Tx_Lockout.setChecked(true);
        editor.CEDT_BitBtn_OKClick();
        return editor.result();
    });
    viaEditor.form->Select(3);
    viaEditor.form->CHN_Btn_EditChannelClick();

    ChannelSheetModel& model = ModelOf(viaSheet.Sheet());
    const std::pair<SheetColumn, const char*> cells[] = {
        {SheetColumn::Name, "Depot"},      {SheetColumn::Rx, "451.0125"},
        {SheetColumn::Tx, "456.0125"},     {SheetColumn::Power, "Med"},
        {SheetColumn::RxCode, "88.5"},     {SheetColumn::Decode3, "0"},
        {SheetColumn::PttOffEncode, "17"}, {SheetColumn::TxLockout, "Y"},
    };
    for (const auto& [column, text] : cells) {
        ASSERT_FALSE(model.SetText(3, column, text).refusal) << text;
    }
    EXPECT_EQ(viaSheet.TableBytes(), viaEditor.TableBytes());
    EXPECT_EQ(viaSheet.StoredJob(), viaEditor.StoredJob());
    EXPECT_EQ(viaEditor.dialogs.unexpectedDialogs, 0);
}

TEST(ChannelSheetTest, TheViewMenuItemShowsTheTableAndIsKeptForTheUser) {
    QTemporaryDir config;
    const QByteArray home = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    {
        Desk desk(2);
        EXPECT_FALSE(desk.form->ShownAsTable()) << "the list is the default";
        EXPECT_EQ(desk.form->Sheet(), nullptr) << "built when first shown";
        QMenu view;
        QAction* item = AddChannelsAsTableItem(view, desk.shell, desk.person);
        EXPECT_EQ(item->text(), "&Channels as a Table");
        EXPECT_FALSE(item->isChecked());
        item->trigger();
        EXPECT_TRUE(desk.form->ShownAsTable());
        ASSERT_NE(desk.form->Sheet(), nullptr);
        EXPECT_FALSE(desk.form->CHN_LBox_Channels.isVisibleTo(desk.form.get()));
        EXPECT_TRUE(ChannelsAsTable());
        Desk next(2);
        EXPECT_TRUE(next.form->ShownAsTable()) << "the next form starts as the user left it";
        item->trigger();
        EXPECT_FALSE(desk.form->ShownAsTable());
        EXPECT_FALSE(ChannelsAsTable());
    }
    qputenv("XDG_CONFIG_HOME", home);
}

}  // namespace
}  // namespace km

// The Edit menu of the main window over real forms: its items and keys, undo and redo of what
// was typed on a form, Ctrl+Z that a field without its own undo leaves to the menu, and a
// history that starts afresh with every job.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTableWidget>
#include <QTest>
#include <filesystem>
#include <memory>

#include "MainForm.h"
#include "ShellFixtures.h"
#include "forms/BulkEditDialog.h"
#include "forms/Undo.h"
#include "forms/pmr/SclForm.h"
#include "image/Setup.h"

namespace km {
namespace {

using testing::ScriptedDialogs;
using testing::ShellPerson;

const std::filesystem::path kData = std::filesystem::path(KM_SOURCE_DIR) / "data";

// Saves a picture of a widget when KM_SCREENSHOTS names a folder, for looking at the layout.
void Screenshot(QWidget& widget, const QString& name) {
    const QString folder = qEnvironmentVariable("KM_SCREENSHOTS");
    if (!folder.isEmpty()) {
        widget.grab().save(QDir(folder).filePath(name + ".png"));
    }
}

class EditMenuTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* file : {"default.tct", "default.cct"}) {
            std::filesystem::copy_file(kData / file, dir_.Path() / file,
                                       std::filesystem::copy_options::overwrite_existing);
        }
        SetupRecord setup;
        setup.viewAtExit = kViewPmr;
        ASSERT_TRUE(WriteSetup(dir_.Path(), setup));
        window_ = std::make_unique<TForm_MF_MainForm>(*ws_, state_, person_, dialogs_, dir_.Path());
        window_->resize(1100, 760);
        window_->show();
        window_->Menu_Forms_PMRClick();
        ASSERT_EQ(state_.ImageKind, kImagePmr);
        person_.shown.clear();
    }
    void TearDown() override {
        state_.PmrJobLoaded = false;
        state_.TrunkJobLoaded = false;
        window_.reset();
    }
    QAction& Item(const char* name) {
        auto* action = window_->findChild<QAction*>(name);
        EXPECT_NE(action, nullptr) << name;
        return *action;
    }
    TSCL_Form_Selcall& Selcall() {
        window_->ShowForm(FormId::Selcall);
        auto* form = dynamic_cast<TSCL_Form_Selcall*>(window_->Form(FormId::Selcall));
        EXPECT_NE(form, nullptr);
        return *form;
    }

    testing::WorkDir dir_;
    std::unique_ptr<Workspace> ws_ = std::make_unique<Workspace>();
    MainState state_;
    ShellPerson person_;
    ScriptedDialogs dialogs_;
    std::unique_ptr<TForm_MF_MainForm> window_;
};

TEST_F(EditMenuTest, TheMenuFollowsFileWithItsItemsAndTheUsualKeys) {
    const QList<QAction*> menus = window_->menuBar()->actions();
    ASSERT_GE(menus.size(), 2);
    EXPECT_EQ(menus[0]->text(), "&File");
    EXPECT_EQ(menus[1]->text(), "&Edit");
    auto* menu = window_->findChild<QMenu*>("Menu_Edit");
    ASSERT_NE(menu, nullptr);
    QStringList texts;
    for (QAction* action : menu->actions()) {
        texts << (action->isSeparator() ? QString("-") : action->text());
    }
    EXPECT_EQ(texts, (QStringList{"Undo", "Redo", "-", "Copy", "Paste", "-", "Bulk Edit..."}));
    EXPECT_EQ(Item("Undo1").shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
    EXPECT_EQ(Item("Redo1").shortcuts(),
              (QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z),
                                   QKeySequence(Qt::CTRL | Qt::Key_Y)}));
    EXPECT_EQ(Item("Copy1").shortcut(), QKeySequence(QKeySequence::Copy));
    EXPECT_EQ(Item("Paste1").shortcut(), QKeySequence(QKeySequence::Paste));
    EXPECT_FALSE(Item("Undo1").isEnabled());
    EXPECT_FALSE(Item("Redo1").isEnabled());
    menu->popup(window_->mapToGlobal(QPoint(40, 30)));
    Screenshot(*menu, "edit-menu");
    menu->hide();
}

TEST_F(EditMenuTest, WhatWasTypedOnAFormIsUndoneAndRedoneAndAnotherJobStartsAfresh) {
    QTableWidget& book = Selcall().SCL_SGrid_PhoneBook;
    book.item(3, 1)->setText("Depot");
    QCoreApplication::processEvents();
    ASSERT_TRUE(Item("Undo1").isEnabled());
    // Undo runs the pending edits first, then takes back the last step.
    book.item(4, 1)->setText("Yard");
    Item("Undo1").trigger();
    EXPECT_EQ(book.item(4, 1)->text(), "");
    EXPECT_EQ(book.item(3, 1)->text(), "Depot");
    Item("Undo1").trigger();
    EXPECT_EQ(book.item(3, 1)->text(), "");
    EXPECT_FALSE(Item("Undo1").isEnabled());
    Item("Redo1").trigger();
    EXPECT_EQ(book.item(3, 1)->text(), "Depot");
    EXPECT_TRUE(Item("Undo1").isEnabled());

    // A form loaded again from a changed job starts afresh too.
    window_->ReloadForm(FormId::Selcall);
    EXPECT_FALSE(Item("Undo1").isEnabled());
    EXPECT_EQ(book.item(3, 1)->text(), "");
    book.item(3, 1)->setText("Again");
    QCoreApplication::processEvents();
    ASSERT_TRUE(Item("Undo1").isEnabled());

    window_->NewPmrJob();
    EXPECT_FALSE(Item("Undo1").isEnabled());
    EXPECT_FALSE(Item("Redo1").isEnabled());
    ASSERT_NE(undo::Stack(), nullptr);
    EXPECT_EQ(undo::Stack()->count(), 0);
}

TEST_F(EditMenuTest, CtrlZInAFieldWithNothingOfItsOwnToUndoReachesTheMenu) {
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    QTableWidget& book = Selcall().SCL_SGrid_PhoneBook;
    book.item(7, 1)->setText("Base");
    QCoreApplication::processEvents();
    QLineEdit field(window_.get());
    field.show();
    field.setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return field.hasFocus(); }));
    // Typed text is the field's own to undo first.
    QTest::keyClicks(&field, "ab");
    QTest::keyClick(&field, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(field.text(), "");
    EXPECT_EQ(book.item(7, 1)->text(), "Base");
    field.setText("");  // no undo of its own left
    QTest::keyClick(&field, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(book.item(7, 1)->text(), "");
    QTest::keyClick(&field, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(book.item(7, 1)->text(), "Base");
}

TEST_F(EditMenuTest, CopyAndPasteOfGridRowsGoThroughTheClipboard) {
    QTableWidget& book = Selcall().SCL_SGrid_PhoneBook;
    book.item(0, 1)->setText("Depot");
    book.item(0, 2)->setText("123");
    QCoreApplication::processEvents();
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    book.setFocus();
    book.setCurrentCell(0, 1);
    ASSERT_NE(undo::RowClipboardAt(QApplication::focusWidget()), nullptr);
    Item("Copy1").trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), "0\tDepot\t123\r\n");
    book.setCurrentCell(9, 1);
    Item("Paste1").trigger();
    EXPECT_EQ(book.item(9, 1)->text(), "Depot");
    EXPECT_EQ(book.item(9, 2)->text(), "123");
    Item("Undo1").trigger();
    EXPECT_EQ(book.item(9, 1)->text(), "");
    // The keys reach the menu from the grid too.
    QApplication::clipboard()->clear();
    book.setCurrentCell(0, 1);
    QTest::keyClick(&book, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "0\tDepot\t123\r\n");
    book.setCurrentCell(20, 1);
    QTest::keyClick(&book, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(book.item(20, 2)->text(), "123");
    QTest::keyClick(&book, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(book.item(20, 2)->text(), "");
}

}  // namespace
}  // namespace km

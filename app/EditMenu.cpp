#include "EditMenu.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPlainTextEdit>

#include "core/Person.h"
#include "forms/Undo.h"

namespace km {
namespace {

constexpr const char* kHintUndo = "Undo the last change";
constexpr const char* kHintRedo = "Redo the change undone last";
constexpr const char* kHintCopy = "Copy the selected rows of a table";
constexpr const char* kHintPaste = "Paste rows into a table from the selected row down";
constexpr const char* kHintBulkEdit = "Set one column of the selected rows to one value";
// Steps kept; older ones are dropped.
constexpr int kStepsKept = 200;

QAction* AddItem(QMenu& menu, const char* name, const char* caption, const char* hint) {
    QAction* action = menu.addAction(QString::fromUtf8(caption));
    action->setObjectName(name);
    action->setStatusTip(QString::fromUtf8(hint));
    return action;
}

undo::RowClipboard* FocusedRows() {
    return undo::RowClipboardAt(QApplication::focusWidget());
}

// A text field with an undo or redo of its own.
bool FieldHasItsOwn(const QWidget* focus, bool redo) {
    if (const auto* line = qobject_cast<const QLineEdit*>(focus)) {
        return redo ? line->isRedoAvailable() : line->isUndoAvailable();
    }
    if (const auto* memo = qobject_cast<const QPlainTextEdit*>(focus)) {
        return redo ? memo->document()->isRedoAvailable() : memo->document()->isUndoAvailable();
    }
    return true;  // other widgets decide for themselves
}

}  // namespace

EditMenu::EditMenu(QMainWindow& window, Person& person, std::function<void()> edited)
    : Menu_Edit("&Edit", &window), person_(person), edited_(std::move(edited)) {
    history_.setUndoLimit(kStepsKept);
    Menu_Edit.setObjectName("Menu_Edit");
    window.menuBar()->addMenu(&Menu_Edit);

    Undo1 = AddItem(Menu_Edit, "Undo1", "Undo", kHintUndo);
    Redo1 = AddItem(Menu_Edit, "Redo1", "Redo", kHintRedo);
    Menu_Edit.addSeparator();
    Copy1 = AddItem(Menu_Edit, "Copy1", "Copy", kHintCopy);
    Paste1 = AddItem(Menu_Edit, "Paste1", "Paste", kHintPaste);
    Menu_Edit.addSeparator();
    BulkEdit1 = AddItem(Menu_Edit, "BulkEdit1", "Bulk Edit...", kHintBulkEdit);

    Undo1->setShortcut(QKeySequence::Undo);
    Redo1->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    Copy1->setShortcut(QKeySequence::Copy);
    Paste1->setShortcut(QKeySequence::Paste);

    connect(Undo1, &QAction::triggered, this, &EditMenu::Undo1Click);
    connect(Redo1, &QAction::triggered, this, &EditMenu::Redo1Click);
    connect(Copy1, &QAction::triggered, this, &EditMenu::Copy1Click);
    connect(Paste1, &QAction::triggered, this, &EditMenu::Paste1Click);
    connect(BulkEdit1, &QAction::triggered, this, &EditMenu::BulkEdit1Click);
    connect(&history_, &QUndoStack::canUndoChanged, this, [this] { ShowEnabled(); });
    connect(&history_, &QUndoStack::canRedoChanged, this, [this] { ShowEnabled(); });
    connect(&Menu_Edit, &QMenu::aboutToShow, this, [this] { ShowEnabled(); });
    ShowEnabled();

    undo::SetStack(&history_);
    qApp->installEventFilter(this);
}

EditMenu::~EditMenu() {
    // The history clears itself when it goes, after the menu's items are gone.
    disconnect(&history_, nullptr, this, nullptr);
    if (undo::Stack() == &history_) {
        undo::SetStack(nullptr);
    }
}

void EditMenu::ShowEnabled() {
    Undo1->setEnabled(history_.canUndo());
    Redo1->setEnabled(history_.canRedo());
    const undo::RowClipboard* rows = FocusedRows();
    BulkEdit1->setEnabled(rows != nullptr && rows->CanBulkEdit());
}

void EditMenu::Undo1Click() {
    // What was typed but not yet recorded is a step of its own, undone first.
    undo::CommitAll();
    history_.undo();
    edited_();
}

void EditMenu::Redo1Click() {
    undo::CommitAll();
    history_.redo();
    edited_();
}

void EditMenu::Copy1Click() {
    QWidget* focus = QApplication::focusWidget();
    if (auto* line = qobject_cast<QLineEdit*>(focus)) {
        line->copy();
    } else if (auto* memo = qobject_cast<QPlainTextEdit*>(focus)) {
        memo->copy();
    } else if (const undo::RowClipboard* rows = FocusedRows()) {
        if (auto data = rows->CopyRows()) {
            QApplication::clipboard()->setMimeData(data.release());  // the clipboard owns it
        }
    }
}

void EditMenu::Paste1Click() {
    QWidget* focus = QApplication::focusWidget();
    if (auto* line = qobject_cast<QLineEdit*>(focus)) {
        line->paste();
    } else if (auto* memo = qobject_cast<QPlainTextEdit*>(focus)) {
        memo->paste();
    } else if (undo::RowClipboard* rows = FocusedRows()) {
        if (const QMimeData* data = QApplication::clipboard()->mimeData()) {
            rows->PasteRows(*data);
        } else {
            person_.Inform(undo::kPasteNoRowsText);
        }
    } else {
        person_.Inform(undo::kPasteNoTableText);
    }
}

void EditMenu::BulkEdit1Click() {
    if (undo::RowClipboard* rows = FocusedRows(); rows != nullptr && rows->CanBulkEdit()) {
        rows->BulkEdit();
    }
}

bool EditMenu::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride && watched == QApplication::focusWidget()) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool undoKey = key->matches(QKeySequence::Undo);
        const bool redoKey = key->matches(QKeySequence::Redo) ||
                             key->keyCombination() == QKeyCombination(Qt::CTRL, Qt::Key_Y);
        if ((undoKey || redoKey) && !FieldHasItsOwn(static_cast<QWidget*>(watched), redoKey)) {
            return true;  // not taken by the field: the menu's shortcut runs
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace km

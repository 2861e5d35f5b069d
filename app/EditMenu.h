#pragma once
// The Edit menu of the main window: Undo and Redo over the one history of the forms' edits, and
// Copy, Paste and Bulk Edit, which act on the rows of the grid that has the focus (or on the text
// of a field). The history is cleared whenever the forms show another job or network.

#include <QMenu>
#include <QObject>
#include <QUndoStack>
#include <functional>

class QAction;
class QMainWindow;

namespace km {

class Person;

class EditMenu : public QObject {
    Q_OBJECT
  public:
    // Adds the menu to the end of `window`'s menu bar. `edited` runs after an undo or a redo
    // (the shown form refreshes what depends on its values); `person` is told why a paste
    // changes nothing.
    EditMenu(QMainWindow& window, Person& person, std::function<void()> edited);
    ~EditMenu() override;

    QUndoStack& History() { return history_; }

    void Undo1Click();
    void Redo1Click();
    void Copy1Click();
    void Paste1Click();
    void BulkEdit1Click();

  protected:
    // Ctrl+Z in a field with nothing of its own to undo reaches the history.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void ShowEnabled();

    QUndoStack history_;
    QMenu Menu_Edit;
    QAction* Undo1 = nullptr;
    QAction* Redo1 = nullptr;
    QAction* Copy1 = nullptr;
    QAction* Paste1 = nullptr;
    QAction* BulkEdit1 = nullptr;
    Person& person_;
    std::function<void()> edited_;
};

}  // namespace km

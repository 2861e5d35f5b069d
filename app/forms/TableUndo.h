#pragma once
// Undo of the cells of a table widget (a FieldGrid's, or a form's own grid): a cell edited is one
// step when its editor closes, and every cell a command of the form rewrote in one go (Insert
// Row, Fill To End, Defaults, an import) is one step when the command is done. Texts shown by a
// load are no edit: the form marks them with Loaded, or the main window's load passes take what
// is shown as the starting point.

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTableWidget>
#include <vector>

#include "forms/Undo.h"

namespace km::undo {

class TableCells : public QObject, public Recorder {
  public:
    struct Change {
        int line;
        int column;
        QString before;
        QString after;
    };

    explicit TableCells(QTableWidget& table);

    void Commit() override;
    void Rebase() override;
    // A cell being typed in is recorded when its editor closes.
    bool Settled() const override { return !Editing(); }

    // A text shown by a load.
    void Loaded(int line, int column, const QString& text);
    // Shows the texts of the changes (their after, or their before) without recording them.
    void Show(const std::vector<Change>& changes, bool after);
    // Records changes already shown as one step.
    void Record(const QString& text, std::vector<Change> changes);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    class Step;
    bool Editing() const;

    QTableWidget& table_;
    std::vector<std::vector<QString>> committed_;  // the texts as the last step or load left them
    bool showing_ = false;
};

}  // namespace km::undo

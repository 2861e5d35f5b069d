#include "forms/Undo.h"

#include <QDialog>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QUndoStack>
#include <QWidget>
#include <algorithm>
#include <iterator>
#include <vector>

#include "core/Csv.h"

namespace km::undo {
namespace {

// Everything lives on the user-interface thread.
QPointer<QUndoStack>& TheStack() {
    static QPointer<QUndoStack> stack;
    return stack;
}

std::vector<Recorder*>& Recorders() {
    static std::vector<Recorder*> recorders;
    return recorders;
}

std::vector<RowClipboard*>& Clipboards() {
    static std::vector<RowClipboard*> clipboards;
    return clipboards;
}

template <class T>
void Forget(std::vector<T*>& list, T* item) {
    list.erase(std::remove(list.begin(), list.end(), item), list.end());
}

// Recorders asked to commit after the current event.
std::vector<Recorder*>& Waiting() {
    static std::vector<Recorder*> waiting;
    return waiting;
}

// While recorders commit together, their steps gather here.
std::vector<std::unique_ptr<DoneStep>>*& Gathering() {
    static std::vector<std::unique_ptr<DoneStep>>* steps = nullptr;
    return steps;
}

// Steps of several recorders, made by one event.
class GroupStep : public DoneStep {
  public:
    explicit GroupStep(std::vector<std::unique_ptr<DoneStep>> steps)
        : DoneStep(steps.front()->text()), steps_(std::move(steps)) {}
    void Redo() override {
        for (auto& step : steps_) {
            step->redo();
        }
    }
    void Undo() override {
        for (auto step = steps_.rbegin(); step != steps_.rend(); ++step) {
            (*step)->undo();
        }
    }

  private:
    std::vector<std::unique_ptr<DoneStep>> steps_;
};

// Runs the commits of `recorders` and pushes what they record as one step.
void CommitTogether(const std::vector<Recorder*>& recorders) {
    std::vector<std::unique_ptr<DoneStep>> steps;
    Gathering() = &steps;
    for (Recorder* recorder : recorders) {
        recorder->Commit();
    }
    Gathering() = nullptr;
    if (steps.size() == 1) {
        Push(std::move(steps.front()));
    } else if (!steps.empty()) {
        for (auto& step : steps) {
            step->MarkDone();
        }
        Push(std::make_unique<GroupStep>(std::move(steps)));
    }
}

void CommitWaiting() {
    // One still being edited is left out: it asks again when its edit ends.
    std::vector<Recorder*> ready;
    std::copy_if(Waiting().begin(), Waiting().end(), std::back_inserter(ready),
                 [](const Recorder* recorder) { return recorder->Settled(); });
    Waiting().clear();
    CommitTogether(ready);
}

}  // namespace

void SetStack(QUndoStack* stack) {
    TheStack() = stack;
}

QUndoStack* Stack() {
    return TheStack().data();
}

void DoneStep::redo() {
    if (done_) {
        done_ = false;
        return;
    }
    Redo();
}

void Push(std::unique_ptr<DoneStep> step) {
    if (Gathering() != nullptr) {
        Gathering()->push_back(std::move(step));
    } else if (QUndoStack* stack = Stack()) {
        stack->push(step.release());  // the stack owns its steps
    }
}

Recorder::Recorder() {
    Recorders().push_back(this);
}

Recorder::~Recorder() {
    Forget(Recorders(), this);
    Forget(Waiting(), this);
}

void CommitSoon(Recorder& recorder) {
    if (std::find(Waiting().begin(), Waiting().end(), &recorder) != Waiting().end()) {
        return;
    }
    if (Waiting().empty()) {
        QTimer::singleShot(0, [] { CommitWaiting(); });
    }
    Waiting().push_back(&recorder);
}

bool Recorded(const QWidget& control) {
    return qobject_cast<const QDialog*>(control.window()) == nullptr;
}

void CommitAll() {
    Waiting().clear();
    // A commit may not add or remove recorders, but copy the list all the same.
    CommitTogether(std::vector<Recorder*>(Recorders()));
}

void StartAfresh() {
    Waiting().clear();
    for (Recorder* recorder : Recorders()) {
        recorder->Rebase();
    }
    if (QUndoStack* stack = Stack()) {
        stack->clear();
    }
}

RowClipboard::RowClipboard(QWidget& view) : view_(&view) {
    Clipboards().push_back(this);
}

RowClipboard::~RowClipboard() {
    Forget(Clipboards(), this);
}

RowClipboard* RowClipboardAt(const QWidget* focus) {
    for (const QWidget* widget = focus; widget != nullptr; widget = widget->parentWidget()) {
        for (RowClipboard* clipboard : Clipboards()) {
            if (clipboard->View() == widget) {
                return clipboard;
            }
        }
    }
    return nullptr;
}

void PutRowLines(QMimeData& data, const std::vector<std::string>& csvLines) {
    const QString lineEnd =
        QString::fromLatin1(csv::kLineEnd.data(), static_cast<qsizetype>(csv::kLineEnd.size()));
    QString csvText;
    QString tabText;
    for (const std::string& line : csvLines) {
        const QString cells = QString::fromStdString(line);
        csvText += cells + lineEnd;
        // A CSV line has no room for a comma in a cell: every comma separates two cells.
        tabText += QString(cells).replace(',', '\t') + lineEnd;
    }
    data.setData(QStringLiteral("text/csv"), csvText.toUtf8());
    data.setText(tabText);
}

std::vector<std::string> LinesOfText(const QString& text) {
    std::vector<std::string> lines;
    for (std::string& line : csv::Lines(text.toStdString())) {
        // A spreadsheet puts its cells on the clipboard separated by tabs.
        if (line.find('\t') != std::string::npos) {
            std::replace(line.begin(), line.end(), ',', ' ');
            std::replace(line.begin(), line.end(), '\t', ',');
        }
        if (!line.empty()) {
            lines.push_back(std::move(line));
        }
    }
    return lines;
}

}  // namespace km::undo

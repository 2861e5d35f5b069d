#include "forms/Undo.h"

#include <QDialog>
#include <QPointer>
#include <QStringList>
#include <QUndoStack>
#include <QWidget>
#include <algorithm>
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
    if (QUndoStack* stack = Stack()) {
        stack->push(step.release());  // the stack owns its steps
    }
}

Recorder::Recorder() {
    Recorders().push_back(this);
}

Recorder::~Recorder() {
    Forget(Recorders(), this);
}

bool Recorded(const QWidget& control) {
    return qobject_cast<const QDialog*>(control.window()) == nullptr;
}

void CommitAll() {
    // A commit may not add or remove recorders, but copy the list all the same.
    const std::vector<Recorder*> recorders = Recorders();
    for (Recorder* recorder : recorders) {
        recorder->Commit();
    }
}

void StartAfresh() {
    for (Recorder* recorder : Recorders()) {
        recorder->Rebase();
    }
    if (QUndoStack* stack = Stack()) {
        stack->clear();
    }
}

void RebaseWithin(const QWidget& form) {
    for (Recorder* recorder : Recorders()) {
        const QWidget* area = recorder->Area();
        if (area != nullptr && (area == &form || form.isAncestorOf(area))) {
            recorder->Rebase();
        }
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

QString LinesText(const std::vector<std::string>& lines) {
    QString text;
    for (const std::string& line : lines) {
        text += QString::fromStdString(line) + QString::fromLatin1(csv::kLineEnd.data(), 2);
    }
    return text;
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

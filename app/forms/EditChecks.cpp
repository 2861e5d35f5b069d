#include "forms/EditChecks.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QRegularExpressionValidator>
#include <QTimer>

#include "config/FieldRoutines.h"
#include "core/Person.h"

namespace km {
namespace {

// The key filter kinds of the field routines.
constexpr int kPrintableKind = 1;
constexpr int kDigitsKind = 2;

}  // namespace

EditChecks::EditChecks(QObject& owner, Person& person) : QObject(&owner), person_(person) {}

void EditChecks::Watch(QLineEdit& edit, Keys keys, std::function<bool()> check) {
    if (keys == Keys::Digits) {
        // Pasted text keeps to digits too.
        edit.setValidator(
            new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), &edit));
    }
    edit.installEventFilter(this);
    watched_.push_back({&edit, keys, std::move(check)});
}

EditChecks::Watched* EditChecks::Find(const QObject* edit) {
    for (Watched& watched : watched_) {
        if (watched.edit == edit) {
            return &watched;
        }
    }
    return nullptr;
}

bool EditChecks::Check(Watched& watched) {
    if (checking_ || !watched.edit->isEnabled()) {
        return true;
    }
    checking_ = true;
    const bool passed = watched.check();
    checking_ = false;
    return passed;
}

bool EditChecks::CheckFocused() {
    Watched* watched = Find(QApplication::focusWidget());
    return watched == nullptr || Check(*watched);
}

bool EditChecks::eventFilter(QObject* object, QEvent* event) {
    Watched* watched = Find(object);
    if (watched == nullptr) {
        return QObject::eventFilter(object, event);
    }
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            if (Check(*watched)) {
                QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
                QCoreApplication::sendEvent(watched->edit, &tab);
            }
            return true;
        }
        const QString text = key->text();
        if (!text.isEmpty() &&
            !KeyAllowed(watched->keys == Keys::Digits ? kDigitsKind : kPrintableKind,
                        text.at(0).unicode(), person_)) {
            return true;  // refused, with a beep
        }
    }
    if (event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason &&
            !Check(*watched)) {
            QLineEdit* edit = watched->edit;
            QTimer::singleShot(0, edit, [edit] { edit->setFocus(Qt::OtherFocusReason); });
        }
    }
    return QObject::eventFilter(object, event);
}

}  // namespace km

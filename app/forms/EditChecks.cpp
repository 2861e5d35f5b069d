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
constexpr int kDialKind = 0;
constexpr int kPrintableKind = 1;
constexpr int kDigitsKind = 2;
constexpr int kHexKind = 3;
constexpr int kDtmfKind = 5;

// What pasted text may hold; nothing beyond the key filters for printable text.
QString PatternOf(EditChecks::Keys keys) {
    switch (keys) {
        case EditChecks::Keys::Digits:
            return QStringLiteral("[0-9]*");
        case EditChecks::Keys::Dial:
            return QStringLiteral("[0-9#*]*");
        case EditChecks::Keys::DialOrE:
            return QStringLiteral("[0-9#*Ee]*");
        case EditChecks::Keys::Dtmf:
            return QStringLiteral("[0-9#*-]*");
        case EditChecks::Keys::Hex:
            return QStringLiteral("[0-9A-Fa-f]*");
        case EditChecks::Keys::Printable:
            break;
    }
    return {};
}

bool KeyAllowedFor(EditChecks::Keys keys, char32_t key, Person& person) {
    switch (keys) {
        case EditChecks::Keys::Digits:
            return KeyAllowed(kDigitsKind, key, person);
        case EditChecks::Keys::Dial:
            return KeyAllowed(kDialKind, key, person);
        case EditChecks::Keys::DialOrE:
            return key == U'E' || key == U'e' || KeyAllowed(kDialKind, key, person);
        case EditChecks::Keys::Dtmf:
            return KeyAllowed(kDtmfKind, key, person);
        case EditChecks::Keys::Hex:
            return KeyAllowed(kHexKind, key, person);
        case EditChecks::Keys::Printable:
            break;
    }
    return KeyAllowed(kPrintableKind, key, person);
}

void SetValidator(QLineEdit& edit, EditChecks::Keys keys) {
    const QString pattern = PatternOf(keys);
    // Pasted text keeps to the keys too.
    edit.setValidator(pattern.isEmpty()
                          ? nullptr
                          : new QRegularExpressionValidator(QRegularExpression(pattern), &edit));
}

}  // namespace

EditChecks::EditChecks(QObject& owner, Person& person) : QObject(&owner), person_(person) {}

void EditChecks::Watch(QLineEdit& edit, Keys keys, std::function<bool()> check) {
    SetValidator(edit, keys);
    edit.installEventFilter(this);
    watched_.push_back({&edit, keys, std::move(check)});
}

void EditChecks::SetKeys(QLineEdit& edit, Keys keys) {
    if (Watched* watched = Find(&edit); watched != nullptr && watched->keys != keys) {
        watched->keys = keys;
        SetValidator(edit, keys);
    }
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
        if (!text.isEmpty() && !KeyAllowedFor(watched->keys, text.at(0).unicode(), person_)) {
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

#include "forms/pmr/FieldExits.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QTimer>

namespace km {
namespace {

// The next control Tab would go to.
void FocusNext(QWidget& from) {
    for (QWidget* next = from.nextInFocusChain(); next != &from; next = next->nextInFocusChain()) {
        if ((next->focusPolicy() & Qt::TabFocus) && next->isVisible() && next->isEnabled()) {
            next->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

}  // namespace

void FieldExits::OnExit(QWidget& field, std::function<bool()> check) {
    checks_[&field] = std::move(check);
    field.installEventFilter(this);
}

void FieldExits::EnterMovesFocus(QWidget& control) {
    control.installEventFilter(this);
}

bool FieldExits::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (auto* widget = qobject_cast<QWidget*>(watched)) {
                FocusNext(*widget);
            }
            return true;
        }
    }
    if (event->type() == QEvent::FocusOut && !checking_) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        const auto check = checks_.find(watched);
        // Focus lost to another window (a message box) or a list's popup is no leave.
        const bool leave = reason != Qt::ActiveWindowFocusReason &&
                           reason != Qt::PopupFocusReason && check != checks_.end();
        if (leave && (cancel_ == nullptr || QApplication::focusWidget() != cancel_)) {
            checking_ = true;
            const bool passed = check->second();
            checking_ = false;
            if (!passed) {
                QPointer<QWidget> field = qobject_cast<QWidget*>(watched);
                QTimer::singleShot(0, &owner_, [field] {
                    if (field) {
                        field->setFocus(Qt::OtherFocusReason);
                    }
                });
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

QWidget* DigitsDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                      const QModelIndex& index) const {
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        line->setMaxLength(digits_);
        line->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), line));
    }
    return editor;
}

QWidget* TextDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const {
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        line->setMaxLength(length_);
    }
    return editor;
}

}  // namespace km

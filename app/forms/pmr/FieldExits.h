#pragma once
// The keyboard and focus conventions of the PMR dialogs: Enter moves the focus to the next
// control as Tab does, and a field's check runs when the field is left, unless the focus goes to
// the dialog's Cancel button; a failed check puts the focus back into the field.

#include <QObject>
#include <QPointer>
#include <QStyledItemDelegate>
#include <QWidget>
#include <functional>
#include <map>

namespace km {

class FieldExits : public QObject {
    Q_OBJECT
  public:
    explicit FieldExits(QWidget& owner) : QObject(&owner), owner_(owner) {}

    // The button whose focus skips every check.
    void SetCancelButton(QWidget* cancel) { cancel_ = cancel; }
    // `check` runs when `field` loses the focus; false keeps the focus in it.
    void OnExit(QWidget& field, std::function<bool()> check);
    // Enter in `control` moves to the next control (lists keep Enter for themselves).
    void EnterMovesFocus(QWidget& control);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget& owner_;
    QPointer<QWidget> cancel_;
    std::map<QObject*, std::function<bool()>> checks_;
    bool checking_ = false;
};

// Grid cells that take digits only, at most `digits` of them.
class DigitsDelegate : public QStyledItemDelegate {
  public:
    DigitsDelegate(int digits, QObject* parent) : QStyledItemDelegate(parent), digits_(digits) {}
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;

  private:
    int digits_;
};

// Grid cells that take at most `length` characters.
class TextDelegate : public QStyledItemDelegate {
  public:
    TextDelegate(int length, QObject* parent) : QStyledItemDelegate(parent), length_(length) {}
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;

  private:
    int length_;
};

}  // namespace km

#pragma once
// The exit checks of a form's edits: typing keeps to the edit's characters (a refused key beeps),
// Enter runs the check and moves on to the next control, and leaving the edit runs the check and
// brings the focus back when it fails.

#include <QLineEdit>
#include <QObject>
#include <functional>
#include <vector>

namespace km {

class Person;

class EditChecks : public QObject {
    Q_OBJECT
  public:
    // Digits; any printable character; dial characters (digits, "#", "*"); dial characters and
    // "E"; DTMF sequences (digits, "#", "*", "-"); hexadecimal digits (0-9, A-F or a-f).
    enum class Keys { Digits, Printable, Dial, DialOrE, Dtmf, Hex };

    EditChecks(QObject& owner, Person& person);

    // `check` shows its own message and returns false when the value fails.
    void Watch(QLineEdit& edit, Keys keys, std::function<bool()> check);
    // The check of the watched edit that has the focus (true when none has it).
    bool CheckFocused();
    // Another set of keys for a watched edit (the keys some edits take depend on the network).
    void SetKeys(QLineEdit& edit, Keys keys);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct Watched {
        QLineEdit* edit;
        Keys keys;
        std::function<bool()> check;
    };
    Watched* Find(const QObject* edit);
    bool Check(Watched& watched);

    Person& person_;
    std::vector<Watched> watched_;
    bool checking_ = false;
};

}  // namespace km

#pragma once
// The person at the desk, as the program's logic sees them: message boxes with an icon and
// buttons, questions, and a beep. The desktop program shows real boxes; tests use a scripted
// person that records every text and answers from a script. Texts are passed exactly as the
// user must see them (blanks and line breaks included).

#include <string_view>

namespace km {

enum class BoxKind { Plain, Information, Warning, Error, Confirmation };
// Cancel: a box whose only button is Cancel (some error boxes have no OK).
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, Cancel };
enum class Answer { Ok, Cancel, Yes, No };

class Person {
  public:
    virtual ~Person() = default;
    virtual Answer Show(BoxKind kind, std::string_view text, Buttons buttons) = 0;
    virtual void Beep() = 0;

    void Inform(std::string_view text) { Show(BoxKind::Information, text, Buttons::Ok); }
    void Warn(std::string_view text) { Show(BoxKind::Warning, text, Buttons::Ok); }
    void Error(std::string_view text) { Show(BoxKind::Error, text, Buttons::Ok); }
    Answer Ask(std::string_view text, Buttons buttons = Buttons::YesNo) {
        return Show(BoxKind::Confirmation, text, buttons);
    }
    // An information box whose lines are columns laid out with blanks and tabs (the Radio
    // Information report): the desktop shows it in a fixed-pitch font, unwrapped.
    virtual void Report(std::string_view text) { Inform(text); }
};

}  // namespace km

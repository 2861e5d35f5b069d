#pragma once
// The person at the desk, shown with real message boxes: the titles, icons and buttons of this
// program's boxes, and the texts exactly as given (plain text, blanks and line breaks kept).

#include <QString>

#include "core/Person.h"

class QWidget;

namespace km {

inline constexpr const char* kApplicationTitle = "KM700 RCP P3";

// The title of a box of this kind: "Error", "Warning", "Information", "Confirm", or the
// application title for a plain box.
QString BoxTitle(BoxKind kind);

class QtPerson : public Person {
  public:
    // Boxes are centred over `parent` (may be null before the main window exists).
    explicit QtPerson(QWidget* parent = nullptr) : parent_(parent) {}
    void SetParent(QWidget* parent) { parent_ = parent; }

    Answer Show(BoxKind kind, std::string_view text, Buttons buttons) override;
    void Report(std::string_view text) override;
    void Beep() override;

  private:
    QWidget* parent_;
};

}  // namespace km

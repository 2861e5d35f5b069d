#pragma once
// Files that ship with the program: the pictures and the user guide. They are looked for in the
// working directory first, then beside the executable.

#include <QPixmap>
#include <QString>

namespace km {

// The path of a shipped file or folder ("pictures/start.png", "help/index.html"), or an empty
// string when neither place has it.
QString ShippedFile(const QString& relativePath);

// A picture from the pictures folder; a missing file gives a null pixmap (shown as blank).
QPixmap ShippedPicture(const QString& name);

}  // namespace km

#pragma once
// Files that ship with the program (the pictures, the user guide and the data a working folder
// starts with), and the folder the program works in.
//
// Started in a folder that holds its files (a template), the program works there. Started from
// the desktop's menu or anywhere else, it works in a folder of the user's own: the one chosen in
// Setup, or the usual place for application data. That folder is filled from the installed data
// the first time, and again whenever it has lost both templates; files already there are kept.

#include <QPixmap>
#include <QString>

namespace km {

// The path of a shipped file or folder ("pictures/start.png", "help/index.html"), or an empty
// string when none of its places has it. It is looked for in the working folder, beside the
// executable (a build tree) and in the installed data folder.
QString ShippedFile(const QString& relativePath);

// A picture from the pictures folder; a missing file gives a null pixmap (shown as blank).
QPixmap ShippedPicture(const QString& name);

// The installed files a working folder starts with (the templates, the contact and licence
// texts, the sample network).
QString InstalledWorkFolderData();

// True when `folder` holds a template of a new job (default.tct or default.cct).
bool HoldsProgramFiles(const QString& folder);

// The per-user working folder: the one chosen in Setup, or the usual place for application data.
QString UserWorkFolder();
QString DefaultUserWorkFolder();
// The folder chosen in Setup; empty when none was (the default applies).
QString StoredUserWorkFolder();
// The file that keeps the choice.
QString UserSettingsFile();
// Keeps the choice for the next start; an empty folder goes back to the default. False when the
// settings cannot be written.
bool StoreUserWorkFolder(const QString& folder);

// The channel page shows the PMR channels as a table edited in place (View > "Channels as a
// Table"); the list is the default. Keeping the choice is false when the settings cannot be
// written.
bool ChannelsAsTable();
bool StoreChannelsAsTable(bool table);

// Makes `folder` with its Jobs, Networks and Radio_SW folders and, when it holds no template,
// copies the files of `data` into it without replacing any that is there. False when the folder
// cannot be made.
bool SeedWorkFolder(const QString& folder, const QString& data);

// The working folder of a program started in `startFolder`: that folder when it holds the
// program's files, otherwise the per-user folder, seeded from the installed data. `ready` is
// false when the per-user folder could not be made or filled.
struct WorkFolderChoice {
    QString folder;
    bool ready = true;
};
WorkFolderChoice WorkFolderAtStart(const QString& startFolder);

}  // namespace km

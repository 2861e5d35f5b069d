#pragma once
// Choices of the View menu that are the user's own and kept for the next start (in the per-user
// settings, not in Setup.dat): View > "Channels as a Table".

class QAction;
class QMenu;

namespace km {

class Person;
class Shell;

// Adds the checkable item "Channels as a Table" to `menu`: ticked, the PMR channel page shows the
// channels as a table edited in place; unticked, the list and its editors (the default). The
// choice is kept per user and applied at once to a Channel Options form that is open.
QAction* AddChannelsAsTableItem(QMenu& menu, Shell& shell, Person& person);

}  // namespace km

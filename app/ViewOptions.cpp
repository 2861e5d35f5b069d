#include "ViewOptions.h"

#include <QAction>
#include <QMenu>

#include "Resources.h"
#include "core/Person.h"
#include "forms/pmr/ChnForm.h"

namespace km {
namespace {

constexpr const char* kChannelsAsTableCaption = "&Channels as a Table";
constexpr const char* kHintChannelsAsTable =
    "Show the PMR channels as a table whose cells are edited in place.";
// The per-user settings file could not be written: the choice holds until the program ends.
constexpr std::string_view kChoiceNotKeptText =
    "The choice of the channel view cannot be kept for the next start:\n"
    "the settings file cannot be written.";

}  // namespace

QAction* AddChannelsAsTableItem(QMenu& menu, Shell& shell, Person& person) {
    QAction* item = menu.addAction(kChannelsAsTableCaption);
    item->setObjectName("Menu_Forms_ChannelsAsTable");
    item->setStatusTip(kHintChannelsAsTable);
    item->setCheckable(true);
    item->setChecked(ChannelsAsTable());
    QObject::connect(item, &QAction::triggered, item, [&shell, &person](bool table) {
        if (auto* channels = dynamic_cast<TCHN_Form_Channels*>(shell.Form(FormId::Channels))) {
            channels->ShowAsTable(table);
        }
        if (!StoreChannelsAsTable(table)) {
            person.Warn(kChoiceNotKeptText);
        }
    });
    return item;
}

}  // namespace km

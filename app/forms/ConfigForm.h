#pragma once
// The plumbing every configuration form plugs into.
//
// A form is a window that shows one region of an image and hands back what the user typed; it
// holds no copy of the data. `LoadPass` fills the controls from the image of the current view,
// `StorePass` writes them back. The main window runs the passes of a view in a fixed order when
// it builds the view, before saving or programming, before switching view or network, and when
// it tests for unsaved changes. Forms of the current view are created on first use and destroyed
// when their view is left; Radio Type, User Interface and Text Strings live for the whole run.
//
// Adding a form: derive from ConfigForm, set the window title, implement the passes and add one
// line to the form's .cpp:
//
//     KM_REGISTER_FORM(km::FormId::RadioType, TForm_MOB_Mobile);
//
// Until a form registers, the main window shows a placeholder in its place that leaves the image
// as it is.

#include <QWidget>
#include <memory>

#include "Dialogs.h"
#include "core/Person.h"
#include "image/State.h"

namespace km {

// The forms of the three views. Which view shows which form, under which button and hint, is the
// main window's table (Views.h).
enum class FormId {
    RadioType,         // Trunk and PMR views, button A
    UserInterface,     // Trunk and PMR views, button B
    Identities,        // Trunk view, per network
    NetworkOptions,    // Trunk view, per network
    TextStrings,       // Trunk and PMR views
    Channels,          // PMR view
    Selcall,           // PMR view
    EncodeDecode,      // PMR view
    NetworkSystem,     // Network view, per network
    ThresholdsTimers,  // Network view, per network
    HuntChannels,      // Network view, per network
};
inline constexpr int kFormIdCount = 11;

class ConfigForm;

// What the main window offers its forms.
class Shell {
  public:
    virtual ~Shell() = default;
    // Shows the form buttons of the current view, and in the Trunk view N1/N2 with the network
    // label (the Radio Type form calls this once the form is completed).
    virtual void ShowFormButtons() = 0;
    // Shows the name of the current network (Network1Name or Network2Name) in the network label;
    // the Radio Type form calls this after it has loaded or deleted a network file.
    virtual void ShowNetworkLabel() = 0;
    // Runs the store pass of the per-network forms, so that what they show is in the image before
    // a network file is loaded into or deleted from a slot. False when the field being edited
    // fails its check (the command is then cancelled).
    virtual bool StoreNetworkForms() = 0;
    // Makes network `selector` (0 or 1) the current one: NetworkSelector, the N1/N2 buttons, the
    // network label and the load pass of the per-network forms. It stores nothing: run
    // StoreNetworkForms before the slots change.
    virtual void SelectNetwork(int selector) = 0;
    // Shows a form of the current view maximised on its first page, as its form button does.
    virtual void ShowForm(FormId id) = 0;
    // Runs the LoadPass of an open form again (for forms whose defaults another form changes).
    virtual void ReloadForm(FormId id) = 0;
    // The form of the current view with this id, or null when it is not open (what a form reads
    // from another at the moment it needs it).
    virtual ConfigForm* Form(FormId) const { return nullptr; }
};

// Everything a form may use. The references outlive every form.
struct FormContext {
    Workspace& workspace;
    MainState& state;
    Person& person;
    Dialogs& dialogs;
    Shell& shell;
};

class ConfigForm : public QWidget {
    Q_OBJECT
  public:
    explicit ConfigForm(const FormContext& context, QWidget* parent = nullptr);

    // Image to controls. The image is the one of the current view (state().ImageKind); forms that
    // edit per-network data address the slot chosen by state().NetworkSelector.
    virtual void LoadPass() = 0;
    // Controls to image. Never refuses: values are already checked when their field is left, and
    // CheckFocusedField() runs before every store pass set.
    virtual void StorePass() = 0;
    // Shows or hides controls by user level, radio type and view; run after the load pass set and
    // after a change of user level.
    virtual void RefreshVisibility() {}
    // Selects the page the form's button opens on.
    virtual void ShowFirstPage() {}
    // A value typed into a field but not yet left has not been checked. The main window calls this
    // on the active form before any store pass set; a form runs the exit check of its focused
    // field here and returns false (after showing the check's message) to cancel the command.
    virtual bool CheckFocusedField() { return true; }

  protected:
    // Enter moves on to the next control on every form, as Tab does; true when `event` is the key
    // press of Enter (then handled), for the forms' key and event filters.
    bool MoveOnAtEnter(const QEvent& event);

    Workspace& workspace() const { return context_.workspace; }
    MainState& state() const { return context_.state; }
    Person& person() const { return context_.person; }
    Dialogs& dialogs() const { return context_.dialogs; }
    Shell& shell() const { return context_.shell; }

  private:
    FormContext context_;
};

using FormFactory = std::unique_ptr<ConfigForm> (*)(const FormContext&);

// Registers the factory of a form; the last registration of an id wins. Returns true so that it
// can initialise a static.
bool RegisterForm(FormId id, FormFactory factory);

// Creates the registered form of an id, or a placeholder that leaves the image unchanged.
std::unique_ptr<ConfigForm> CreateForm(FormId id, const FormContext& context);

// True when a real form (not the placeholder) is registered for the id.
bool FormRegistered(FormId id);

}  // namespace km

#define KM_REGISTER_FORM(id, FormClass)                                                 \
    namespace {                                                                         \
    [[maybe_unused]] const bool kmFormRegistered##FormClass = ::km::RegisterForm(       \
        id, [](const ::km::FormContext& context) -> std::unique_ptr<::km::ConfigForm> { \
            return std::make_unique<FormClass>(context);                                \
        });                                                                             \
    }

#pragma once
// The three views of the main window: which forms each shows, under which form button, with
// which hint and caption, and the order of their load and store passes.

#include <array>
#include <optional>
#include <span>

#include "forms/ConfigForm.h"

namespace km {

enum class View { Trunk = 1, Pmr = 2, Network = 3 };

inline constexpr int kFormButtonCount = 6;

struct FormButtonSpec {
    FormId form;
    const char* hint;     // the form's name, shown as the button's hint and placeholder title
    const char* caption;  // the button's caption ("1".."6" unless the view names another)
};

struct ViewDefinition {
    View view;
    // Buttons A..F; a button without a form is hidden in this view.
    std::array<std::optional<FormButtonSpec>, kFormButtonCount> buttons;
    // Store and load order of the view's forms.
    std::span<const FormId> passOrder;
    // Forms whose visibility is refreshed after the load pass set.
    std::span<const FormId> refreshed;
    // Forms that edit the slot chosen by NetworkSelector.
    std::span<const FormId> perNetwork;
    bool readAndProgram;  // Read Radio and Program Radio buttons shown
    bool networkButtons;  // N1/N2 and the network label belong to this view
};

const ViewDefinition& DefinitionOf(View view);

// The name of a form as its button hint shows it.
const char* FormTitle(FormId id);

// True for the forms created at start-up and kept for the run.
bool LongLivedForm(FormId id);

}  // namespace km

#include "forms/mobile/RadioTypeListener.h"

#include <algorithm>

#include "forms/Undo.h"

namespace km {

RadioTypeListener::RadioTypeListener() {
    Listeners().push_back(this);
}

RadioTypeListener::~RadioTypeListener() {
    auto& listeners = Listeners();
    listeners.erase(std::remove(listeners.begin(), listeners.end(), this), listeners.end());
}

std::vector<RadioTypeListener*>& RadioTypeListener::Listeners() {
    static std::vector<RadioTypeListener*> listeners;
    return listeners;
}

template <typename Call>
void RadioTypeListener::NotifyEach(Call call) {
    // A listener may create or destroy forms while it is told: walk a copy and skip listeners
    // that have gone meanwhile.
    const auto snapshot = Listeners();
    for (RadioTypeListener* listener : snapshot) {
        const auto& live = Listeners();
        if (std::find(live.begin(), live.end(), listener) != live.end()) {
            call(*listener);
        }
    }
}

void RadioTypeListener::ChangeRadioType(const RadioTypeChange& change,
                                        const std::function<void()>& changeImage) {
    NotifyEach([](RadioTypeListener& listener) { listener.BeforeRadioTypeChange(); });
    changeImage();
    NotifyEach([&](RadioTypeListener& listener) { listener.RadioTypeChanged(change); });
    // The image changed under the forms: what they showed before cannot come back by undo.
    undo::StartAfresh();
}

void RadioTypeListener::NotifyAccessoryChanged(const AccessoryChange& change) {
    NotifyEach([&](RadioTypeListener& listener) { listener.AccessoryChanged(change); });
}

}  // namespace km

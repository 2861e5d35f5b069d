#pragma once
// The link's timers on QTimer, ticking on the Qt event loop.

#include "link/Timers.h"

namespace km {

class QtTimerService : public TimerService {
  public:
    std::unique_ptr<Timer> CreateTimer(std::string_view name,
                                       std::function<void()> onTick) override;
};

}  // namespace km

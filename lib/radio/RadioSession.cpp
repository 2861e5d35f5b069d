#include "radio/RadioSession.h"

namespace km {

RadioSession::RadioSession(SerialPort& port, TimerService& timers, RadioContext context)
    : link_(port, timers, context.person),
      messages_(link_, timers),
      operations_(std::move(context), link_, messages_, timers) {}

RadioSession::~RadioSession() {
    // The port is left closed, whatever was running.
    link_.CloseRadioPort();
}

}  // namespace km

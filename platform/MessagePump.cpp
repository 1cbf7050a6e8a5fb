// The settable message pump and its throttle.
#include "platform/MessagePump.h"

namespace {

// Reading the clock costs as much as a reduction of the parser, so a
// throttled pump reads it only every so many calls; the calls in between
// take a few nanoseconds, far below the interval.
constexpr int kCallsPerClockRead = 64;

struct PumpState {
  MessagePumpHook pump;
  std::chrono::steady_clock::duration interval{};
  std::chrono::steady_clock::time_point lastRun{};
  int callsUntilClock = 0;
};

PumpState& State() {
  static PumpState state;
  return state;
}

}  // namespace

void pump_detail::RunInstalledPump() {
  PumpState& state = State();
  if (state.interval > std::chrono::steady_clock::duration::zero()) {
    if (state.callsUntilClock-- > 0) return;
    state.callsUntilClock = kCallsPerClockRead - 1;
    if (std::chrono::steady_clock::now() - state.lastRun < state.interval) return;
  }
  state.pump();
  // Measured after the run, so that a slow repaint still leaves the caller
  // a whole interval of work.
  if (state.interval > std::chrono::steady_clock::duration::zero()) state.lastRun = std::chrono::steady_clock::now();
}

MessagePumpHook SetMessagePump(MessagePumpHook pump, std::chrono::steady_clock::duration interval) {
  PumpState& state = State();
  MessagePumpHook previous = std::move(state.pump);
  state.pump = std::move(pump);
  pump_detail::installed = static_cast<bool>(state.pump);
  state.interval = interval;
  // The first call runs the pump.
  state.lastRun = std::chrono::steady_clock::now() - interval;
  state.callsUntilClock = 0;
  return previous;
}

// Letting the user interface breathe during long loops: loading and output
// call PumpOneMessage between steps, and a front end decides what it does.
#pragma once

#include <chrono>
#include <functional>

namespace pump_detail {
// Whether a pump is installed, read inline: the command line installs none
// and pays one test per call.
inline constinit bool installed = false;
void RunInstalledPump();
}  // namespace pump_detail

/// Processes pending user-interface events through the installed pump;
/// does nothing when none is installed (the command line). A pump installed
/// with an interval runs at most once per interval: calls in between return
/// at once, which lets the reader call this at every reduction.
inline void PumpOneMessage() {
  if (pump_detail::installed) pump_detail::RunInstalledPump();
}

/// Installs the function PumpOneMessage calls (empty for none) and the least
/// time between two of its runs (zero: every call); returns the function
/// installed before.
using MessagePumpHook = std::function<void()>;
MessagePumpHook SetMessagePump(
    MessagePumpHook pump, std::chrono::steady_clock::duration interval = std::chrono::steady_clock::duration::zero());

// Letting the user interface breathe during long loops: loading and output
// call PumpOneMessage between steps, and a front end decides what it does.
#pragma once

#include <functional>

/// Processes at most one pending user-interface event through the
/// installed pump; does nothing when none is installed (the command line).
void PumpOneMessage();

/// Installs the function PumpOneMessage calls (empty for none); returns the
/// one installed before.
using MessagePumpHook = std::function<void()>;
MessagePumpHook SetMessagePump(MessagePumpHook pump);

// The flag by which the user's Stop reaches the loading code.
#pragma once

#include <cstdint>

/// The process-wide stop flag: 1 once the user has pressed Stop while
/// loading, 0 otherwise. Loading reads it between steps.
uint8_t GetStopFlag();
void SetStopFlag(uint8_t value);

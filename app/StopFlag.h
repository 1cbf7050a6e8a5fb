// The flag by which the user's Stop reaches the loading code.
#pragma once

#include <atomic>
#include <cstdint>

namespace stop_detail {
// Read inline: the parse reads it at every reduction.
inline std::atomic<uint8_t> stopFlag{0};
}  // namespace stop_detail

/// The process-wide stop flag: 1 once the user has pressed Stop while
/// loading, 0 otherwise. Loading reads it between steps; it is safe to set
/// from the window while loading reads it.
inline uint8_t GetStopFlag() { return stop_detail::stopFlag.load(std::memory_order_relaxed); }
inline void SetStopFlag(uint8_t value) { stop_detail::stopFlag.store(value, std::memory_order_relaxed); }

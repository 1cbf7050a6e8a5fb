// The stop flag, safe to set from the window while loading reads it.
#include "app/StopFlag.h"

#include <atomic>

namespace {

std::atomic<uint8_t> stopFlag{0};

}  // namespace

uint8_t GetStopFlag() { return stopFlag.load(std::memory_order_relaxed); }

void SetStopFlag(uint8_t value) { stopFlag.store(value, std::memory_order_relaxed); }

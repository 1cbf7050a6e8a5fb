// The objects left for the end of the process.
#include "cli/ProcessEnd.h"

#include <array>
#include <cstddef>

namespace {

bool commandEndsProcess = false;
// Plain pointers with no destructor to run: the objects stay reachable
// from here until the process is gone. A command leaves one or two.
std::array<const void*, 8> kept{};
size_t keptCount = 0;

}  // namespace

void SetCommandEndsProcess() { commandEndsProcess = true; }

bool KeepUntilProcessEnd(const void* object) {
  if (!commandEndsProcess || keptCount == kept.size()) return false;
  kept[keptCount++] = object;
  return true;
}

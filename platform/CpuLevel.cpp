// Choosing the instruction set of the hot loops, once per process.
#include "platform/CpuLevel.h"

#include <cstdlib>
#include <cstring>

namespace {

CpuLevel ProcessorLevel() {
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
  __builtin_cpu_init();  // in case this runs before the runtime's own constructors
  if (__builtin_cpu_supports("x86-64-v3")) return CpuLevel::kX86_64V3;
#endif
  return CpuLevel::kBaseline;
}

}  // namespace

CpuLevel ActiveCpuLevel() {
  static const CpuLevel level = [] {
    const char* asked = std::getenv("TYPESWAP_CPU");
    if (asked != nullptr && std::strcmp(asked, CpuLevelName(CpuLevel::kBaseline)) == 0) return CpuLevel::kBaseline;
    return ProcessorLevel();
  }();
  return level;
}

const char* CpuLevelName(CpuLevel level) { return level == CpuLevel::kX86_64V3 ? "x86-64-v3" : "baseline"; }

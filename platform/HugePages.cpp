// Huge-page regions from the system's own mapping calls; ordinary heap
// memory where they are missing or refuse.
#include "platform/HugePages.h"

#include <cstdint>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#define TS_HAVE_MMAP 1
#endif

namespace {

bool IsLarge(size_t bytes) { return bytes >= kHugePageSize; }

// Large regions are whole huge pages, so that the last one can be huge too
// (and the mapping calls see whole pages). Untouched ends cost no memory.
size_t WholeHugePages(size_t bytes) { return (bytes + kHugePageSize - 1) & ~(kHugePageSize - 1); }

#if TS_HAVE_MMAP
// A mapping of bytes aligned to a huge page: map one huge page more than
// asked, then unmap the ends that stick out. Null when the system refuses.
void* MapAligned(size_t bytes) {
  const size_t mapped = bytes + kHugePageSize;
  void* raw = ::mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (raw == MAP_FAILED) return nullptr;
  const uintptr_t start = reinterpret_cast<uintptr_t>(raw);
  const uintptr_t aligned = (start + kHugePageSize - 1) & ~(uintptr_t{kHugePageSize} - 1);
  const uintptr_t end = start + mapped;
  if (aligned > start) ::munmap(raw, aligned - start);
  if (end > aligned + bytes) ::munmap(reinterpret_cast<void*>(aligned + bytes), end - (aligned + bytes));
  // Only advice: without huge pages the region still works, in small ones.
  ::madvise(reinterpret_cast<void*>(aligned), bytes, MADV_HUGEPAGE);
  return reinterpret_cast<void*>(aligned);
}
#endif

}  // namespace

void* AllocateHugePages(size_t bytes) {
#if TS_HAVE_MMAP
  if (IsLarge(bytes)) {
    if (void* region = MapAligned(WholeHugePages(bytes))) return region;
    throw std::bad_alloc();
  }
#endif
  return ::operator new(bytes);
}

void FreeHugePages(void* region, size_t bytes) noexcept {
  if (region == nullptr) return;
#if TS_HAVE_MMAP
  if (IsLarge(bytes)) {
    ::munmap(region, WholeHugePages(bytes));
    return;
  }
#endif
  ::operator delete(region);
}

// Huge-page regions from the system's own mapping calls; ordinary heap
// memory where they are missing or refuse.
#include "platform/HugePages.h"

#include <cstdint>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#define TS_HAVE_MMAP 1
#endif

namespace {

bool IsLarge(size_t bytes) { return bytes >= kHugePageSize; }

#if TS_HAVE_MMAP
// A mapping of bytes aligned to a huge page: map one huge page more than
// asked, then unmap the ends that stick out. Null when the system refuses.
// The system backs with huge pages only the whole ones inside the mapping;
// a last part that fills none takes small pages, so that a region never
// holds more memory than is touched.
void* MapAligned(size_t bytes) {
  const uintptr_t page = static_cast<uintptr_t>(::sysconf(_SC_PAGESIZE));
  const size_t length = (bytes + page - 1) & ~(page - 1);
  const size_t mapped = length + kHugePageSize;
  void* raw = ::mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (raw == MAP_FAILED) return nullptr;
  const uintptr_t start = reinterpret_cast<uintptr_t>(raw);
  const uintptr_t aligned = RoundUpToHugePage(start);
  const uintptr_t end = start + mapped;
  if (aligned > start) ::munmap(raw, aligned - start);
  if (end > aligned + length) ::munmap(reinterpret_cast<void*>(aligned + length), end - (aligned + length));
  AdviseHugePages(reinterpret_cast<void*>(aligned), length);
  return reinterpret_cast<void*>(aligned);
}
#endif

}  // namespace

void* AllocateHugePages(size_t bytes) {
#if TS_HAVE_MMAP
  if (IsLarge(bytes)) {
    if (void* region = MapAligned(bytes)) return region;
    throw std::bad_alloc();
  }
#endif
  return ::operator new(bytes);
}

void AdviseHugePages(void* data, size_t bytes) noexcept {
#if TS_HAVE_MMAP
  const uintptr_t page = static_cast<uintptr_t>(::sysconf(_SC_PAGESIZE));
  const uintptr_t from = (reinterpret_cast<uintptr_t>(data) + page - 1) & ~(page - 1);
  const uintptr_t to = (reinterpret_cast<uintptr_t>(data) + bytes) & ~(page - 1);
  if (to > from) ::madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
#else
  (void)data;
  (void)bytes;
#endif
}

void FreeHugePages(void* region, size_t bytes) noexcept {
  if (region == nullptr) return;
#if TS_HAVE_MMAP
  if (IsLarge(bytes)) {
    ::munmap(region, bytes);
    return;
  }
#endif
  ::operator delete(region);
}

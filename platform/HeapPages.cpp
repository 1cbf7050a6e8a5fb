// The heap on huge pages: see Note [heap on huge pages].
#include "platform/HeapPages.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/HugePages.h"

#if defined(__linux__) && defined(__GLIBC__)
#if __GLIBC_PREREQ(2, 33)  // mallinfo2
#include <malloc.h>
#include <unistd.h>
#define TS_HAVE_GLIBC_HEAP 1
#endif
#endif

namespace {

#if TS_HAVE_GLIBC_HEAP
// How much the heap grows at least, and keeps free at its top.
constexpr size_t kHeapReserve = size_t{32} << 20;

// Where the heap begins, once PrepareHeap found it (it grows and shrinks
// at its end only), and whether it is advised (loads may run on any
// thread).
uintptr_t heapStart = 0;
std::atomic<bool> advised = false;
// What SkipToHugePageBoundary took, kept for the life of the process.
void* skipped = nullptr;

// A whole huge page of the heap must be untouched for the system to put
// one there: the free top of the heap below the next huge-page boundary is
// taken and kept (untouched but for malloc's header), so that the heap grows
// from that boundary on. Else the pieces the work asks for first would
// fill up to 2 MB at small pages.
void SkipToHugePageBoundary() {
  const auto end = reinterpret_cast<uintptr_t>(::sbrk(0));
  const size_t top = ::mallinfo2().keepcost;  // the free top of the main heap
  if (top == 0 || top > end - heapStart) return;
  const uintptr_t topStart = end - top;
  const uintptr_t boundary = RoundUpToHugePage(topStart);
  // The C library's chunks carry two words before the piece; a piece two
  // words short of the gap fills it.
  constexpr size_t kChunkHeader = 2 * sizeof(size_t);
  const size_t gap = boundary - topStart;
  if (gap <= kChunkHeader || gap >= top) return;
  void* piece = std::malloc(gap - kChunkHeader);
  // Kept only where it came from the top; else it is memory in use before.
  if (reinterpret_cast<uintptr_t>(piece) == topStart + kChunkHeader) {
    skipped = piece;
  } else {
    std::free(piece);
  }
}

void AdviseHeap() {
  const auto end = reinterpret_cast<uintptr_t>(::sbrk(0));
  if (end > heapStart) AdviseHugePages(reinterpret_cast<void*>(heapStart), end - heapStart);
}
#endif

}  // namespace

void PrepareHeap() {
#if TS_HAVE_GLIBC_HEAP
  if (heapStart != 0) return;
  // Larger pieces are AllocateHugePages' work, or mappings of their own.
  ::mallopt(M_MMAP_THRESHOLD, static_cast<int>(kHugePageSize));
  ::mallopt(M_TOP_PAD, static_cast<int>(kHeapReserve));
  // A piece larger than the free top of the heap makes it grow now, by the
  // reserve; the heap is then all that lies below the break. Kept in a
  // volatile, so that the pair is not left out as having no effect.
  void* volatile grow = std::malloc(::mallinfo2().keepcost + 4096);
  const auto piece = reinterpret_cast<uintptr_t>(grow);
  const auto end = reinterpret_cast<uintptr_t>(::sbrk(0));
  const size_t size = ::mallinfo2().arena;  // before threads, only the main heap's
  std::free(grow);
  // The heap may be made of mappings where the break cannot move: then it
  // is not one range below the break, and is left as it is.
  if (piece == 0 || size == 0 || size > end || piece < end - size || piece >= end) return;
  heapStart = end - size;
#endif
}

bool UseHugePagesForHeap(uint64_t workBytes) {
#if TS_HAVE_GLIBC_HEAP
  if (heapStart == 0) return false;
  if (workBytes >= kHugeHeapWork && !advised.exchange(true)) {
    // Advised first: the skip writes the header of the heap's free top at
    // the boundary, and a small page there would keep the huge one away.
    AdviseHeap();
    SkipToHugePageBoundary();
  }
  return advised;
#else
  (void)workBytes;
  return false;
#endif
}

void GiveBackFreeHeap() {
#if TS_HAVE_GLIBC_HEAP
  ::malloc_trim(heapStart != 0 ? kHeapReserve : 0);
  if (advised) AdviseHeap();
#else
  // Other allocators give back by themselves.
#endif
}

// Memory for large, long-lived arrays, on huge pages where the system
// gives them: a model of hundreds of thousands of references otherwise
// takes tens of thousands of page faults to fill and as many TLB entries
// to walk.
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>

/// The size and alignment of a huge page the allocations below aim at.
constexpr size_t kHugePageSize = size_t{2} << 20;

/// \p value (an address or a size) rounded up to a whole number of huge
/// pages.
constexpr uintptr_t RoundUpToHugePage(uintptr_t value) noexcept {
  return (value + kHugePageSize - 1) & ~(uintptr_t{kHugePageSize} - 1);
}

/// \p bytes of uninitialised memory, aligned for any object. From
/// kHugePageSize bytes on, the region is aligned to kHugePageSize and
/// advised for huge pages (its whole huge pages; the rest, in small pages);
/// its pages become resident only as they are touched. Smaller requests
/// come from the ordinary heap. Throws std::bad_alloc when there is no
/// memory.
void* AllocateHugePages(size_t bytes);

/// Gives back a region of AllocateHugePages(\p bytes); null does nothing.
void FreeHugePages(void* region, size_t bytes) noexcept;

/// Advises huge pages for the whole small pages inside [\p data, \p data +
/// \p bytes), for a large buffer that came from elsewhere (a string's heap
/// block). Only advice: where the system has none to give, nothing changes.
void AdviseHugePages(void* data, size_t bytes) noexcept;

/// An allocator for standard containers whose large arrays (a vector of
/// hundreds of thousands of rows) live on huge pages, e.g.
/// std::vector<int, CHugePageAllocator<int>>.
template <class T>
struct CHugePageAllocator {
  using value_type = T;
  CHugePageAllocator() = default;
  template <class U>
  CHugePageAllocator(const CHugePageAllocator<U>&) noexcept {}
  T* allocate(size_t count) {
    if (count > size_t(-1) / sizeof(T)) throw std::bad_array_new_length();
    return static_cast<T*>(AllocateHugePages(count * sizeof(T)));
  }
  void deallocate(T* region, size_t count) noexcept { FreeHugePages(region, count * sizeof(T)); }
  template <class U>
  bool operator==(const CHugePageAllocator<U>&) const noexcept {
    return true;
  }
  template <class U>
  bool operator!=(const CHugePageAllocator<U>&) const noexcept {
    return false;
  }
};

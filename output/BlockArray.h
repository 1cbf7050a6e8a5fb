// A sequence kept in large blocks: appending never moves what is held, and
// a list of hundreds of thousands of elements costs a few allocations
// instead of one per few dozen elements, as std::deque's do. Past its first
// blocks, a list grows on huge pages: each small page filled for the first
// time costs a page fault, and a run fills megabytes of these lists.
#pragma once

#include <cstddef>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/HugePages.h"

/// Elements by index in blocks of \p kBlock. Appending is O(1); inserting
/// elsewhere moves the elements after the place, one by one. Elements are
/// plain values (copied as bytes, never destroyed).
template <class T, size_t kBlock = 4096>
class CBlockArray {
  static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>, "elements are plain values");
  static_assert(alignof(T) <= __STDCPP_DEFAULT_NEW_ALIGNMENT__, "blocks are aligned as operator new aligns");

 public:
  CBlockArray() = default;
  CBlockArray(const CBlockArray&) = delete;
  CBlockArray& operator=(const CBlockArray&) = delete;
  ~CBlockArray() {
    for (const auto& [region, bytes] : regions_) FreeHugePages(region, bytes);
  }

  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  T& operator[](size_t index) { return blocks_[index / kBlock][index % kBlock]; }
  const T& operator[](size_t index) const { return blocks_[index / kBlock][index % kBlock]; }

  void push_back(const T& value) {
    if (size_ == blocks_.size() * kBlock) AddBlock();
    (*this)[size_++] = value;
  }
  /// Puts \p value at \p index (at most size()), after moving the elements
  /// from there on one place up.
  void insert(size_t index, const T& value) {
    push_back(value);
    for (size_t i = size_ - 1; i > index; --i) (*this)[i] = (*this)[i - 1];
    (*this)[index] = value;
  }

 private:
  static constexpr size_t kBlockBytes = kBlock * sizeof(T);
  // The first blocks, each on its own, from the ordinary heap: a short list
  // takes no huge page.
  static constexpr size_t kSmallBlocks = 8;
  // The blocks that one region of a huge page's size holds after those.
  static constexpr size_t kRegionBlocks = kBlockBytes >= kHugePageSize ? 1 : kHugePageSize / kBlockBytes;

  void AddBlock() {
    // Reserved first, so that a failing push_back cannot lose a region.
    blocks_.reserve(blocks_.size() + 1);
    const size_t block = blocks_.size();
    if (block < kSmallBlocks || (block - kSmallBlocks) % kRegionBlocks == 0) {
      const size_t bytes = block < kSmallBlocks ? kBlockBytes : kRegionBlocks * kBlockBytes;
      regions_.reserve(regions_.size() + 1);
      // Left uninitialised: the bytes are untouched until used.
      regions_.emplace_back(AllocateHugePages(bytes), bytes);
      blocks_.push_back(static_cast<T*>(regions_.back().first));
      return;
    }
    blocks_.push_back(blocks_.back() + kBlock);  // the next block of the current region
  }

  std::vector<T*> blocks_;
  std::vector<std::pair<void*, size_t>> regions_;  // from AllocateHugePages, with their sizes
  size_t size_ = 0;
};

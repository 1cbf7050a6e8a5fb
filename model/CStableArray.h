// An array whose elements never move: it grows by whole blocks, so that a
// model of hundreds of thousands of references is allocated in large
// pieces, without the slack of a deque's small nodes, and pointers to its
// elements stay good while it grows.
#pragma once

#include <bit>
#include <cstddef>
#include <memory>
#include <new>
#include <utility>
#include <vector>

#include "platform/HugePages.h"

/// Elements of \p T in blocks, indexed from 0. The first block holds
/// \p kBlock elements and each next one twice as many as the one before:
/// a small array stays small, and a large one lives in a few large blocks
/// on huge pages (AllocateHugePages), whose untouched ends cost nothing.
///
/// Note [shared region]: the blocks between kSharedFrom bytes and a huge
/// page are cut from one region on huge pages, taken when the first of them
/// is needed. From the heap they would be filled one small page at a time,
/// and on a virtual machine each small page's first touch costs about as
/// much as a whole huge page (some 500 faults for the first 2 MB of a
/// large model, every time a document is loaded).
template <class T, size_t kBlock = 256>
class CStableArray {
  static_assert(kBlock > 0 && (kBlock & (kBlock - 1)) == 0, "blocks are found by shifts");
  static_assert(alignof(T) <= __STDCPP_DEFAULT_NEW_ALIGNMENT__, "blocks are aligned as operator new aligns");

 public:
  CStableArray() = default;
  CStableArray(const CStableArray& other) { *this = other; }
  CStableArray& operator=(const CStableArray& other) {
    if (this != &other) {
      clear();
      for (size_t i = 0; i < other.size(); ++i) emplace_back(other[i]);
    }
    return *this;
  }
  CStableArray(CStableArray&& other) noexcept
      : blocks_(std::exchange(other.blocks_, {})), size_(std::exchange(other.size_, 0)) {}
  CStableArray& operator=(CStableArray&& other) noexcept {
    if (this != &other) {
      clear();
      blocks_ = std::exchange(other.blocks_, {});
      size_ = std::exchange(other.size_, 0);
    }
    return *this;
  }
  ~CStableArray() { clear(); }

  size_t size() const noexcept { return size_; }
  bool empty() const noexcept { return size_ == 0; }
  T& operator[](size_t i) noexcept { return Slot(i); }
  const T& operator[](size_t i) const noexcept { return const_cast<CStableArray&>(*this).Slot(i); }

  /// Builds a new last element from \p args.
  template <class... Args>
  T& emplace_back(Args&&... args) {
    if (size_ == Capacity(blocks_.size())) AddBlock();
    T* made = new (Raw(size_)) T(std::forward<Args>(args)...);
    ++size_;
    return *made;
  }
  /// Puts \p value at \p index (at most size()), after moving the elements
  /// from there on one place up, one by one.
  void insert(size_t index, T value) {
    if (index == size_) {
      emplace_back(std::move(value));
      return;
    }
    emplace_back(std::move(Slot(size_ - 1)));
    for (size_t i = size_ - 2; i > index; --i) Slot(i) = std::move(Slot(i - 1));
    Slot(index) = std::move(value);
  }
  /// Hands each element in turn to \p take (as an rvalue) and destroys it
  /// at once, while it is still in cache; the array is then empty. When
  /// \p take throws, the elements not yet taken are destroyed too.
  template <class Take>
  void drain(Take&& take) {
    size_t i = 0;
    try {
      for (; i < size_; ++i) {
        take(std::move(Slot(i)));
        std::destroy_at(&Slot(i));
      }
    } catch (...) {
      for (; i < size_; ++i) std::destroy_at(&Slot(i));
      size_ = 0;
      truncate(0);
      throw;
    }
    size_ = 0;
    truncate(0);
  }
  /// Keeps the first \p count elements.
  void truncate(size_t count) noexcept {
    while (size_ > count) std::destroy_at(&Slot(--size_));
    const size_t keep = size_ == 0 ? 0 : BlockOf(size_ - 1) + 1;
    while (blocks_.size() > keep) {
      const size_t block = blocks_.size() - 1;
      if (!Shared(block)) {
        FreeHugePages(blocks_.back(), BlockBytes(block));
      } else if (block == kFirstShared) {
        FreeHugePages(blocks_.back(), kSharedBytes);
      }
      blocks_.pop_back();
    }
  }
  void clear() noexcept { truncate(0); }

 private:
  static constexpr size_t BlockBytes(size_t block) noexcept { return (kBlock << block) * sizeof(T); }
  /// The elements that blocks 0 to count - 1 hold together.
  static size_t Capacity(size_t count) noexcept { return kBlock * ((size_t{1} << count) - 1); }
  /// The block of element \p i: the number of times the blocks' sizes
  /// double before they reach past it.
  static size_t BlockOf(size_t i) noexcept { return std::bit_width(i / kBlock + 1) - 1; }

  // See Note [shared region]. Blocks double, so block k lies in the region
  // at BlockBytes(k) - BlockBytes(kFirstShared), and the region holds the
  // blocks up to the last one below a huge page.
  static constexpr size_t kSharedFrom = size_t{128} << 10;
  static constexpr size_t FirstBlockOf(size_t bytes) {
    size_t block = 0;
    while (BlockBytes(block) < bytes) ++block;
    return block;
  }
  static constexpr size_t kFirstShared = FirstBlockOf(kSharedFrom);
  static constexpr size_t kEndShared = FirstBlockOf(kHugePageSize);
  static constexpr size_t kSharedBytes = RoundUpToHugePage(BlockBytes(kEndShared) - BlockBytes(kFirstShared));
  static constexpr bool Shared(size_t block) noexcept { return block >= kFirstShared && block < kEndShared; }

  void AddBlock() {
    // Reserved first, so that a failing push_back cannot lose the block.
    blocks_.reserve(blocks_.size() + 1);
    // Left uninitialised: the bytes are untouched until used.
    const size_t block = blocks_.size();
    if (!Shared(block)) {
      blocks_.push_back(static_cast<std::byte*>(AllocateHugePages(BlockBytes(block))));
    } else if (block == kFirstShared) {
      blocks_.push_back(static_cast<std::byte*>(AllocateHugePages(kSharedBytes)));
    } else {
      blocks_.push_back(blocks_[kFirstShared] + (BlockBytes(block) - BlockBytes(kFirstShared)));
    }
  }
  void* Raw(size_t i) noexcept {
    const size_t block = BlockOf(i);
    return blocks_[block] + (i - Capacity(block)) * sizeof(T);
  }
  T& Slot(size_t i) noexcept { return *std::launder(reinterpret_cast<T*>(Raw(i))); }

  std::vector<std::byte*> blocks_;  // from AllocateHugePages; block k holds kBlock << k elements
  size_t size_ = 0;
};

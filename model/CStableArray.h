// An array whose elements never move: it grows by whole blocks, so that a
// model of hundreds of thousands of references is allocated in large
// pieces, without the slack of a deque's small nodes, and pointers to its
// elements stay good while it grows.
#pragma once

#include <cstddef>
#include <memory>
#include <new>
#include <utility>
#include <vector>

/// Elements of \p T in blocks of \p kBlock, indexed from 0.
template <class T, size_t kBlock = 256>
class CStableArray {
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
      : blocks_(std::move(other.blocks_)), size_(std::exchange(other.size_, 0)) {}
  CStableArray& operator=(CStableArray&& other) noexcept {
    if (this != &other) {
      clear();
      blocks_ = std::move(other.blocks_);
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
    // Default-initialised: the bytes are left as they are until used.
    if (size_ == blocks_.size() * kBlock) blocks_.push_back(std::unique_ptr<Block>(new Block));
    T* made = new (Raw(size_)) T(std::forward<Args>(args)...);
    ++size_;
    return *made;
  }
  /// Keeps the first \p count elements.
  void truncate(size_t count) noexcept {
    while (size_ > count) std::destroy_at(&Slot(--size_));
    blocks_.resize((size_ + kBlock - 1) / kBlock);
  }
  void clear() noexcept { truncate(0); }

 private:
  struct Block {
    alignas(T) std::byte bytes[kBlock * sizeof(T)];
  };
  void* Raw(size_t i) noexcept { return blocks_[i / kBlock]->bytes + (i % kBlock) * sizeof(T); }
  T& Slot(size_t i) noexcept { return *std::launder(reinterpret_cast<T*>(Raw(i))); }

  std::vector<std::unique_ptr<Block>> blocks_;
  size_t size_ = 0;
};

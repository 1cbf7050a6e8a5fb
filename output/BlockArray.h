// A sequence kept in large blocks: appending never moves what is held, and
// a list of hundreds of thousands of elements costs a few hundred
// allocations instead of one per few dozen elements, as std::deque's do.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

/// Elements by index in blocks of \p kBlock. Appending is O(1); inserting
/// elsewhere moves the elements after the place, one by one.
template <class T, size_t kBlock = 4096>
class CBlockArray {
 public:
  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  T& operator[](size_t index) { return blocks_[index / kBlock][index % kBlock]; }
  const T& operator[](size_t index) const { return blocks_[index / kBlock][index % kBlock]; }

  void push_back(const T& value) {
    if (size_ == blocks_.size() * kBlock) blocks_.push_back(std::make_unique_for_overwrite<T[]>(kBlock));
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
  std::vector<std::unique_ptr<T[]>> blocks_;
  size_t size_ = 0;
};

// A stack of plain values for the parser's inner loop: pushing and dropping
// are a compare and a store, with no call.
#pragma once

#include <algorithm>
#include <cstddef>
#include <memory>
#include <type_traits>

/// Values of a trivially copyable \p T. Storage doubles when full, so that
/// any depth costs linear time; dropped values are simply forgotten.
template <class T>
class SSValueStack {
  static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>);

 public:
  explicit SSValueStack(size_t capacity = 64) : items_(new T[capacity]), capacity_(capacity) {}

  void Push(const T& value) {
    if (size_ == capacity_) Grow();
    items_[size_++] = value;
  }
  /// Forgets the top \p count values; the caller knows there are as many.
  void Drop(size_t count) noexcept { size_ -= count; }
  T& Top() noexcept { return items_[size_ - 1]; }
  const T& Top() const noexcept { return items_[size_ - 1]; }
  /// The value at \p index counted from the bottom.
  T& operator[](size_t index) noexcept { return items_[index]; }
  const T& operator[](size_t index) const noexcept { return items_[index]; }
  size_t Size() const noexcept { return size_; }
  bool Empty() const noexcept { return size_ == 0; }

 private:
  __attribute__((noinline)) void Grow() {
    const size_t capacity = std::max<size_t>(64, 2 * capacity_);
    std::unique_ptr<T[]> items(new T[capacity]);
    std::copy(items_.get(), items_.get() + size_, items.get());
    items_ = std::move(items);
    capacity_ = capacity;
  }

  std::unique_ptr<T[]> items_;
  size_t size_ = 0;
  size_t capacity_;
};

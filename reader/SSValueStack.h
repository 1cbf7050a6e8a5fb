// A stack of plain values for the parser's inner loop: pushing and dropping
// are a compare and a store, with no call.
#pragma once

#include <cstddef>
#include <type_traits>
#include <vector>

/// Values of a trivially copyable \p T. Storage doubles when full, so that
/// any depth costs linear time; dropped values are simply forgotten.
template <class T>
class SSValueStack {
  static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>);

 public:
  explicit SSValueStack(size_t capacity = 64) : items_(capacity) {}

  void Push(const T& value) {
    if (size_ == items_.size()) Grow();
    items_[size_++] = value;
  }
  /// Forgets the top \p count values; the caller knows there are as many.
  void Drop(size_t count) noexcept { size_ -= count; }
  /// Keeps the bottom \p size values.
  void Resize(size_t size) noexcept { size_ = size; }
  T& Top() noexcept { return items_[size_ - 1]; }
  const T& Top() const noexcept { return items_[size_ - 1]; }
  /// The value at \p index counted from the bottom.
  T& operator[](size_t index) noexcept { return items_[index]; }
  const T& operator[](size_t index) const noexcept { return items_[index]; }
  size_t Size() const noexcept { return size_; }
  bool Empty() const noexcept { return size_ == 0; }

 private:
  void Grow() { items_.resize(items_.empty() ? 64 : 2 * items_.size()); }

  std::vector<T> items_;
  size_t size_ = 0;
};

// The set of token ids that the parser's error recovery collects.
#pragma once

#include <bitset>
#include <cstdint>
#include <vector>

/// A small set of token ids that grows in fixed steps; "SSSetArray0001e:
/// Set full" when it cannot grow.
class SSSetArray {
 public:
  explicit SSSetArray(uint32_t size = 64, uint32_t increment = 64);

  /// Adds \p id unless it is already there.
  void Add(int32_t id);
  /// Adds every id of \p other that is not already there, as Add would one
  /// by one.
  void AddAll(const SSSetArray& other);
  bool Contains(int32_t id) const { return IsQuick(id) ? quick_[QuickBit(id)] : ContainsOther(id); }
  bool Empty() const { return size_ == 0; }
  uint32_t Size() const { return size_; }

 private:
  // Token ids are small numbers, the end of input and "%error" being -1
  // and -2: the ids from kFirstQuickId on are kept as bits, which makes
  // membership tests and unions cheap; the rest in a list.
  static constexpr int32_t kFirstQuickId = -2;
  static constexpr size_t kQuickIds = 256;
  static bool IsQuick(int32_t id) { return static_cast<uint32_t>(id - kFirstQuickId) < kQuickIds; }
  static size_t QuickBit(int32_t id) { return static_cast<uint32_t>(id - kFirstQuickId); }
  bool ContainsOther(int32_t id) const;
  // Makes room for \p count more ids, in steps of the increment.
  void Reserve(uint32_t count);

  std::bitset<kQuickIds> quick_;
  std::vector<int32_t> others_;
  uint32_t size_ = 0;
  uint32_t capacity_;
  uint32_t increment_;
};

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
  bool Contains(int32_t id) const {
    return id >= 0 && id < kQuickIds ? quick_[static_cast<size_t>(id)] : ContainsOther(id);
  }
  bool Empty() const { return ids_.empty(); }
  uint32_t Size() const { return static_cast<uint32_t>(ids_.size()); }

 private:
  // Token ids are small numbers: those below kQuickIds are also kept as
  // bits, which makes the recovery's membership tests cheap.
  static constexpr int32_t kQuickIds = 256;
  bool ContainsOther(int32_t id) const;

  std::bitset<kQuickIds> quick_;
  std::vector<int32_t> ids_;
  uint32_t increment_;
};

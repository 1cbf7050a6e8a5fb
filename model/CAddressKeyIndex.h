// Numbers for keys made of the addresses of shared copies: a model's texts
// are one copy for each distinct text, so a tuple of their addresses
// stands for the texts, and equal tuples are found without reading them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

/// Spreads \p word into the running hash \p h of a key's parts.
inline uint64_t MixKeyWord(uint64_t h, uint64_t word) {
  h = (h ^ word) * 0x9E3779B97F4A7C15u;
  return h ^ (h >> 29);
}

/// Numbers the distinct keys it is given, 0, 1, 2... in the order first
/// met, for lists kept beside it by number. \p Key has operator==, and
/// HashOf(key) combines its parts with MixKeyWord.
template <class Key>
class CAddressKeyIndex {
 public:
  /// The number of \p key, and whether it was new.
  std::pair<uint32_t, bool> Insert(const Key& key) {
    if (2 * (keys_.size() + 1) > slots_.size()) Grow();
    const size_t at = SlotOf(key);
    if (slots_[at] != 0) return {slots_[at] - 1, false};
    keys_.push_back(key);
    slots_[at] = static_cast<uint32_t>(keys_.size());
    return {slots_[at] - 1, true};
  }
  /// The key of \p number.
  const Key& operator[](uint32_t number) const { return keys_[number]; }
  /// The number of keys.
  size_t Count() const { return keys_.size(); }

 private:
  // Open addressing: a power-of-two number of slots, each a key's number
  // plus one (0: free), probed linearly; at most half are used.
  size_t SlotOf(const Key& key) const {
    const size_t mask = slots_.size() - 1;
    size_t at = static_cast<size_t>(HashOf(key)) & mask;
    while (slots_[at] != 0 && !(keys_[slots_[at] - 1] == key)) at = (at + 1) & mask;
    return at;
  }
  void Grow() {
    slots_.assign(slots_.empty() ? 64 : slots_.size() * 2, 0);
    for (uint32_t number = 0; number < keys_.size(); ++number) slots_[SlotOf(keys_[number])] = number + 1;
  }

  std::vector<uint32_t> slots_;
  std::vector<Key> keys_;  // by number
};

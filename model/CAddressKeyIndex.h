// Numbers for keys made of the addresses of shared copies: a model's texts
// are one copy for each distinct text, so a tuple of their addresses
// stands for the texts, and equal tuples are found without reading them.
#pragma once

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <type_traits>
#include <utility>
#include <vector>

namespace address_key_detail {
inline uint64_t Word(const void* address) { return static_cast<uint64_t>(reinterpret_cast<uintptr_t>(address)); }
template <std::integral T>
uint64_t Word(T number) {
  return static_cast<uint64_t>(static_cast<std::make_unsigned_t<T>>(number));
}
}  // namespace address_key_detail

/// The hash of a key made of \p parts, addresses of shared copies or
/// small numbers: each part times a constant of its own, summed, with the
/// high bits folded into the low ones. Products of independent parts, not
/// a chain: lookups made for every reference of a model wait on the hash.
template <class... Parts>
uint64_t HashOfParts(Parts... parts) {
  constexpr uint64_t kFactors[] = {0x9E3779B97F4A7C15u, 0xC2B2AE3D27D4EB4Fu, 0x165667B19E3779F9u,
                                   0xD6E8FEB86659FD93u, 0xFF51AFD7ED558CCDu, 0xC4CEB9FE1A85EC53u};
  static_assert(sizeof...(Parts) <= std::size(kFactors), "a factor for each part");
  uint64_t h = 0;
  size_t i = 0;
  ((h += address_key_detail::Word(parts) * kFactors[i++]), ...);
  return h ^ (h >> 29);
}

/// Numbers the distinct keys it is given, 0, 1, 2... in the order first
/// met, for lists kept beside it by number. \p Key has operator==, and
/// HashOf(key), most often HashOfParts of its parts.
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

// The references of a model that the mapping table cannot tell apart,
// gathered so that building the table works on a few thousand groups
// instead of hundreds of thousands of references.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/CAddressKeyIndex.h"

class CFontReference;

/// Groups references by component, kind and current font: all that the
/// table's rows and their merging look at. Texts are shared copies, so a
/// group is found by the addresses of its texts, without reading them.
class CReferenceGroups {
 public:
  /// Puts \p reference, at list position \p item, into its group (groups
  /// are numbered in the order first met). Items are added in ascending
  /// order.
  void Add(const CFontReference& reference, int32_t item);

  /// The number of groups.
  size_t Count() const { return items_.size(); }
  /// The number of references in \p group.
  size_t Size(size_t group) const { return items_[group].size(); }
  /// The list position of \p group's newest reference.
  int32_t Newest(size_t group) const { return items_[group].back(); }
  /// The list positions of \p group's references, in ascending order; the
  /// caller may take them.
  std::vector<int32_t>& Items(size_t group) { return items_[group]; }

 private:
  struct Key {
    const std::string* component;
    const std::string* family;
    const std::string* size;
    const std::string* bold;
    const std::string* italic;
    int32_t kind;
    bool operator==(const Key&) const = default;
    // Products of independent parts, not a chain: every reference of the
    // model waits on it.
    friend uint64_t HashOf(const Key& key) {
      auto word = [](const std::string* part) { return static_cast<uint64_t>(reinterpret_cast<uintptr_t>(part)); };
      const uint64_t h = word(key.component) * 0x9E3779B97F4A7C15u + word(key.family) * 0xC2B2AE3D27D4EB4Fu +
                         word(key.size) * 0x165667B19E3779F9u + word(key.bold) * 0xD6E8FEB86659FD93u +
                         word(key.italic) * 0xFF51AFD7ED558CCDu +
                         static_cast<uint64_t>(static_cast<uint32_t>(key.kind));
      return h ^ (h >> 29);
    }
  };

  CAddressKeyIndex<Key> index_;              // numbers the groups
  std::vector<std::vector<int32_t>> items_;  // by group
};

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
  /// Puts \p reference, at list position \p item, into its group and
  /// returns the group's number (groups are numbered in the order first
  /// met). Items are added in ascending order.
  uint32_t Add(const CFontReference& reference, int32_t item);

  /// The number of groups.
  size_t Count() const { return index_.Count(); }
  /// The number of references in \p group.
  size_t Size(size_t group) const { return sizes_[group]; }
  /// The list position of \p group's newest reference.
  int32_t Newest(size_t group) const { return newest_[group]; }

 private:
  struct Key {
    const std::string* component;
    const std::string* family;
    const std::string* size;
    const std::string* bold;
    const std::string* italic;
    int32_t kind;
    bool operator==(const Key&) const = default;
    friend uint64_t HashOf(const Key& key) {
      uint64_t h = static_cast<uint64_t>(key.kind);
      for (const std::string* part : {key.component, key.family, key.size, key.bold, key.italic}) {
        h = MixKeyWord(h, reinterpret_cast<uintptr_t>(part));
      }
      return h;
    }
  };

  CAddressKeyIndex<Key> index_;  // numbers the groups
  std::vector<size_t> sizes_;    // by group
  std::vector<int32_t> newest_;
  // References come in stretches of one group: the last one is tried first.
  uint32_t last_ = 0;
};

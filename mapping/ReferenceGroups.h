// The references of a model that the mapping table cannot tell apart,
// gathered so that building the table works on a few thousand groups
// instead of hundreds of thousands of references.
#pragma once

#include <array>
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
    friend uint64_t HashOf(const Key& key) {
      return HashOfParts(key.component, key.family, key.size, key.bold, key.italic, key.kind);
    }
  };
  // The group last found for a pair of a reference's shared copies (see
  // CFontReference::GetNamesIdentity), by a hash of the pair: most
  // references repeat a pair met just before, and then neither the six
  // texts nor the index are looked at.
  struct Recent {
    const void* names = nullptr;
    const void* font = nullptr;
    uint32_t group = 0;
  };
  static constexpr unsigned kRecentBits = 8;

  uint32_t GroupOf(const Key& key);

  CAddressKeyIndex<Key> index_;              // numbers the groups
  std::vector<std::vector<int32_t>> items_;  // by group
  std::array<Recent, size_t{1} << kRecentBits> recent_{};
};

// The references of a model that the mapping table cannot tell apart,
// gathered so that building the table works on a few thousand groups
// instead of hundreds of thousands of references.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CFontReference;

/// Groups references by component, kind and current font: all that the
/// table's rows and their merging look at. Texts are shared copies, so a
/// group is found by the addresses of its texts, without reading them.
class CReferenceGroups {
 public:
  /// Puts \p reference, at list position \p item, into its group. Items
  /// are added in ascending order.
  void Add(const CFontReference& reference, int32_t item);

  /// The groups in the order first met; each holds its members' list
  /// positions in ascending order (the newest last).
  const std::vector<std::vector<int32_t>>& Members() const { return members_; }

 private:
  struct Key {
    const std::string* component;
    const std::string* family;
    const std::string* size;
    const std::string* bold;
    const std::string* italic;
    int32_t kind;
    bool operator==(const Key&) const = default;
  };
  static size_t HashOf(const Key& key);
  void Grow();

  // Open addressing: a power-of-two number of slots, each the group
  // number plus one (0: free), probed linearly; at most half are used.
  std::vector<uint32_t> slots_;
  std::vector<Key> keys_;  // by group
  std::vector<std::vector<int32_t>> members_;
  // References come in stretches of one group: the last one is tried first.
  uint32_t last_ = 0;
};

// The references of a model that the mapping table cannot tell apart,
// gathered so that building the table works on a few thousand groups
// instead of hundreds of thousands of references.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

class CFontReference;

/// Groups references by component, kind and current font: all that the
/// table's rows and their merging look at. Texts are shared copies, so a
/// group is found by the addresses of its texts, without reading them.
class CReferenceGroups {
 public:
  /// Room for \p count references.
  explicit CReferenceGroups(size_t count) { groupOf_.reserve(count); }

  /// Puts \p reference, the next in list order from position 0, into its
  /// group.
  void Add(const CFontReference& reference);
  /// Lays out the members of every group; call once, after the last Add.
  void Finish();

  /// The number of groups, numbered in the order first met.
  size_t Count() const { return keys_.size(); }
  /// The list positions of \p group's members, ascending (the newest last).
  std::span<const int32_t> Members(size_t group) const {
    return std::span<const int32_t>(members_).subspan(starts_[group], starts_[group + 1] - starts_[group]);
  }

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
  std::vector<Key> keys_;          // by group
  std::vector<uint32_t> groupOf_;  // by list position
  // Every group's members, one group after the other: group g's from
  // starts_[g] to starts_[g + 1].
  std::vector<int32_t> members_;
  std::vector<size_t> starts_;
  // References come in stretches of one group: the last one is tried first.
  uint32_t last_ = 0;
};

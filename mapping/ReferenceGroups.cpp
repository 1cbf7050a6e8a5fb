// Grouping references by the addresses of their shared texts.
#include "mapping/ReferenceGroups.h"

#include "model/CFontReference.h"

// Note [finding groups ahead]
// A model's references use thousands of groups in no order, so finding
// each reference's group starts with a miss in the cache. Waiting for one
// miss after the other made grouping the slowest step of building the
// table; fetching the slot of a reference kAhead places further on lets
// those misses overlap.

namespace {

constexpr unsigned kFirstSlotBits = 10;

}  // namespace

CReferenceGroups::CReferenceGroups() : slots_(size_t{1} << kFirstSlotBits), shift_(64 - kFirstSlotBits) {}

// Products of independent parts, not a chain: every reference waits on
// it. Their high bits depend on every bit of the addresses, so slots are
// found by those.
uint64_t CReferenceGroups::HashOf(const Key& key) {
  auto word = [](const std::string* part) { return static_cast<uint64_t>(reinterpret_cast<uintptr_t>(part)); };
  const uint64_t h = word(key.component) * 0x9E3779B97F4A7C15u + word(key.family) * 0xC2B2AE3D27D4EB4Fu +
                     word(key.size) * 0x165667B19E3779F9u + word(key.bold) * 0xD6E8FEB86659FD93u +
                     word(key.italic) * 0xFF51AFD7ED558CCDu + static_cast<uint64_t>(static_cast<uint32_t>(key.kind));
  return h;
}

CReferenceGroups::Key CReferenceGroups::KeyOf(const CFontReference& reference) {
  return Key{&reference.GetComponent(), &reference.GetFamily(), &reference.GetSize(),
             &reference.GetBold(),      &reference.GetItalic(), reference.GetKind()};
}

void CReferenceGroups::Prefetch(const CFontReference& reference) const {
  __builtin_prefetch(&slots_[HashOf(KeyOf(reference)) >> shift_]);
}

void CReferenceGroups::Add(const CFontReference& reference, int32_t item) {
  const Key key = KeyOf(reference);
  const uint64_t hash = HashOf(key);
  size_t at = SlotOf(key, hash);
  if (slots_[at] == 0) {
    if (2 * (keys_.size() + 1) > slots_.size()) {
      Grow();
      at = SlotOf(key, hash);
    }
    keys_.push_back(key);
    items_.emplace_back();
    slots_[at] = static_cast<uint32_t>(keys_.size());
  }
  items_[slots_[at] - 1].push_back(item);
}

size_t CReferenceGroups::SlotOf(const Key& key, uint64_t hash) const {
  const size_t mask = slots_.size() - 1;
  size_t at = hash >> shift_;
  while (slots_[at] != 0 && !(keys_[slots_[at] - 1] == key)) at = (at + 1) & mask;
  return at;
}

void CReferenceGroups::Grow() {
  slots_.assign(slots_.size() * 2, 0);
  --shift_;
  for (uint32_t group = 0; group < keys_.size(); ++group) {
    slots_[SlotOf(keys_[group], HashOf(keys_[group]))] = group + 1;
  }
}

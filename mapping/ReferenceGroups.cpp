// Grouping references by the addresses of their shared texts.
#include "mapping/ReferenceGroups.h"

#include "model/CFontReference.h"

size_t CReferenceGroups::HashOf(const Key& key) {
  uint64_t h = static_cast<uint64_t>(key.kind);
  for (const std::string* part : {key.component, key.family, key.size, key.bold, key.italic}) {
    h = (h ^ reinterpret_cast<uintptr_t>(part)) * 0x9E3779B97F4A7C15u;
    h ^= h >> 29;
  }
  return static_cast<size_t>(h);
}

void CReferenceGroups::Grow() {
  slots_.assign(slots_.empty() ? 1024 : slots_.size() * 2, 0);
  const size_t mask = slots_.size() - 1;
  for (uint32_t group = 0; group < keys_.size(); ++group) {
    size_t at = HashOf(keys_[group]) & mask;
    while (slots_[at] != 0) at = (at + 1) & mask;
    slots_[at] = group + 1;
  }
}

uint32_t CReferenceGroups::Add(const CFontReference& reference, int32_t item) {
  const Key key{&reference.GetComponent(), &reference.GetFamily(), &reference.GetSize(),
                &reference.GetBold(),      &reference.GetItalic(), reference.GetKind()};
  if (last_ >= keys_.size() || !(keys_[last_] == key)) {
    if (2 * (keys_.size() + 1) > slots_.size()) Grow();
    const size_t mask = slots_.size() - 1;
    size_t at = HashOf(key) & mask;
    while (slots_[at] != 0 && !(keys_[slots_[at] - 1] == key)) at = (at + 1) & mask;
    if (slots_[at] == 0) {
      slots_[at] = static_cast<uint32_t>(keys_.size()) + 1;
      keys_.push_back(key);
      sizes_.push_back(0);
      newest_.push_back(item);
    }
    last_ = slots_[at] - 1;
  }
  ++sizes_[last_];
  newest_[last_] = item;
  return last_;
}

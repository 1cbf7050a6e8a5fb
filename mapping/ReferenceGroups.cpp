// Grouping references by the addresses of their shared texts.
#include "mapping/ReferenceGroups.h"

#include "model/CFontReference.h"

uint32_t CReferenceGroups::GroupOf(const Key& key) {
  const auto [group, added] = index_.Insert(key);
  if (added) items_.emplace_back();
  return group;
}

void CReferenceGroups::Add(const CFontReference& reference, int32_t item) {
  const void* names = reference.GetNamesIdentity();
  const void* font = reference.GetFontIdentity();
  Recent& recent = recent_[HashOfParts(names, font) >> (64 - kRecentBits)];
  if (recent.names != names || recent.font != font) {
    const Key key{&reference.GetComponent(), &reference.GetFamily(), &reference.GetSize(),
                  &reference.GetBold(),      &reference.GetItalic(), reference.GetKind()};
    recent = {names, font, GroupOf(key)};
  }
  items_[recent.group].push_back(item);
}

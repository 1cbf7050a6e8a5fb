// Grouping references by the addresses of their shared texts.
#include "mapping/ReferenceGroups.h"

#include "model/CFontReference.h"

void CReferenceGroups::Add(const CFontReference& reference, int32_t item) {
  const Key key{&reference.GetComponent(), &reference.GetFamily(), &reference.GetSize(),
                &reference.GetBold(),      &reference.GetItalic(), reference.GetKind()};
  const auto [group, added] = index_.Insert(key);
  if (added) items_.emplace_back();
  items_[group].push_back(item);
}

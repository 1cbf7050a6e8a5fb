// Grouping references by the addresses of their shared texts.
#include "mapping/ReferenceGroups.h"

#include "model/CFontReference.h"

uint32_t CReferenceGroups::Add(const CFontReference& reference, int32_t item) {
  const Key key{&reference.GetComponent(), &reference.GetFamily(), &reference.GetSize(),
                &reference.GetBold(),      &reference.GetItalic(), reference.GetKind()};
  if (last_ >= index_.Count() || !(index_[last_] == key)) {
    const auto [group, added] = index_.Insert(key);
    if (added) {
      sizes_.push_back(0);
      newest_.push_back(item);
    }
    last_ = group;
  }
  ++sizes_[last_];
  newest_[last_] = item;
  return last_;
}

// The recovery's set of token ids.
#include "reader/SSSetArray.h"

#include <algorithm>
#include <new>

#include "reader/SSException.h"

SSSetArray::SSSetArray(uint32_t size, uint32_t increment) : increment_(increment) { ids_.reserve(size); }

void SSSetArray::Add(int32_t id) {
  if (Contains(id)) return;
  if (ids_.size() == ids_.capacity()) {
    try {
      if (increment_ == 0) throw std::bad_alloc();
      ids_.reserve(ids_.capacity() + increment_);
    } catch (const std::bad_alloc&) {
      throw SSException(SSCode::kSetFull, "SSSetArray0001e: Set full");
    }
  }
  ids_.push_back(id);
  if (id >= 0 && id < kQuickIds) quick_.set(static_cast<size_t>(id));
}

bool SSSetArray::ContainsOther(int32_t id) const { return std::find(ids_.begin(), ids_.end(), id) != ids_.end(); }

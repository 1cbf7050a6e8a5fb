// The recovery's set of token ids.
#include "reader/SSSetArray.h"

#include <algorithm>
#include <new>

#include "reader/SSException.h"

SSSetArray::SSSetArray(uint32_t size, uint32_t increment) : capacity_(size), increment_(increment) {}

void SSSetArray::Reserve(uint32_t count) {
  while (capacity_ - size_ < count) {
    if (increment_ == 0) throw SSException(SSCode::kSetFull, "SSSetArray0001e: Set full");
    capacity_ += increment_;
  }
}

void SSSetArray::Add(int32_t id) {
  if (Contains(id)) return;
  Reserve(1);
  if (IsQuick(id)) {
    quick_.set(QuickBit(id));
  } else {
    try {
      others_.push_back(id);
    } catch (const std::bad_alloc&) {
      throw SSException(SSCode::kSetFull, "SSSetArray0001e: Set full");
    }
  }
  ++size_;
}

void SSSetArray::AddAll(const SSSetArray& other) {
  const std::bitset<kQuickIds> added = other.quick_ & ~quick_;
  if (added.any()) {  // mostly not: the states low on the stack repeat
    const uint32_t count = static_cast<uint32_t>(added.count());
    Reserve(count);
    quick_ |= added;
    size_ += count;
  }
  for (int32_t id : other.others_) Add(id);
}

bool SSSetArray::ContainsOther(int32_t id) const {
  return std::find(others_.begin(), others_.end(), id) != others_.end();
}

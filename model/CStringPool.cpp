// The process-wide pool of shared texts.
#include "model/CStringPool.h"

#include <cstdint>

CStringPool& CStringPool::Instance() {
  static CStringPool* pool = new CStringPool;  // outlives every model, never destroyed
  return *pool;
}

const std::string* CStringPool::Empty() {
  static const std::string* empty = Intern("");
  return empty;
}

namespace {

// Callers often pass a pool copy itself (a reference's text handed on to
// the next one): a view whose bytes are a copy's own bytes, at its address
// and of its length, is that copy. Recent answers are kept by the address
// of their bytes, which never move, so such a text is found without
// hashing it or taking the lock.
constexpr size_t kRecentSlots = 64;
thread_local const std::string* recent[kRecentSlots];

const std::string*& RecentSlot(const char* bytes) {
  return recent[(reinterpret_cast<uintptr_t>(bytes) >> 4) % kRecentSlots];
}

}  // namespace

const std::string* CStringPool::Intern(std::string_view text) {
  const std::string* known = RecentSlot(text.data());
  if (known != nullptr && known->data() == text.data() && known->size() == text.size()) return known;

  CStringPool& pool = Instance();
  const std::string* copy;
  {
    std::lock_guard lock(pool.mutex_);
    auto it = pool.texts_.find(text);
    if (it == pool.texts_.end()) it = pool.texts_.emplace(text).first;
    copy = &*it;
  }
  RecentSlot(copy->data()) = copy;
  return copy;
}

// The process-wide pool of shared texts.
#include "model/CStringPool.h"

CStringPool& CStringPool::Instance() {
  static CStringPool* pool = new CStringPool;  // outlives every model, never destroyed
  return *pool;
}

const std::string* CStringPool::Empty() {
  static const std::string* empty = Intern("");
  return empty;
}

const std::string* CStringPool::Intern(std::string_view text) {
  // A loading model asks for the same few texts again and again (a piece
  // for every font reference): each thread remembers its recent answers,
  // which spares it the lock. Copies never move or go, so the pointers
  // stay good.
  // A document's pieces hold a thousand or more different texts: with fewer
  // slots, one lookup in five missed and took the lock.
  constexpr size_t kRecent = 4096;
  thread_local constinit const std::string* recent[kRecent] = {};
  const size_t hash = Hash()(text);
  const std::string*& slot = recent[hash % kRecent];
  if (slot != nullptr && *slot == text) return slot;
  CStringPool& pool = Instance();
  std::lock_guard lock(pool.mutex_);
  auto it = pool.texts_.find(text);
  if (it == pool.texts_.end()) it = pool.texts_.emplace(text).first;
  slot = &*it;
  return slot;
}

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
  CStringPool& pool = Instance();
  std::lock_guard lock(pool.mutex_);
  auto it = pool.texts_.find(text);
  if (it == pool.texts_.end()) it = pool.texts_.emplace(text).first;
  return &*it;
}

// One copy of each distinct value for the whole process, for small values
// that a model's references and pieces point at by the hundred thousand.
#pragma once

#include <mutex>
#include <unordered_set>

/// The set of shared copies of \p T, hashed by \p Hash. A copy once made
/// lives as long as the set, at a stable address, so equal values have
/// equal addresses. Safe to use from several threads.
template <class T, class Hash>
class CSharedValues {
 public:
  /// The one copy of \p value.
  const T* Share(const T& value) {
    std::lock_guard lock(mutex_);
    return &*values_.insert(value).first;
  }

 private:
  std::mutex mutex_;
  std::unordered_set<T, Hash> values_;  // elements stay put
};

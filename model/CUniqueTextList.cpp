// The head-growing list of unique texts.
#include "model/CUniqueTextList.h"

#include <atomic>

uint64_t CUniqueTextList::NewStamp() noexcept {
  static std::atomic<uint64_t> last{0};
  return ++last;
}

CUniqueTextList::CUniqueTextList(CUniqueTextList&& other)
    : texts_(std::move(other.texts_)), index_(std::move(other.index_)) {
  other.Clear();
}

CUniqueTextList& CUniqueTextList::operator=(CUniqueTextList&& other) {
  if (this == &other) return *this;
  texts_ = std::move(other.texts_);
  index_ = std::move(other.index_);
  removalStamp_ = NewStamp();
  other.Clear();
  return *this;
}

CUniqueTextList& CUniqueTextList::operator=(const CUniqueTextList& other) {
  if (this == &other) return *this;
  removalStamp_ = NewStamp();
  texts_ = other.texts_;
  index_.clear();
  index_.reserve(texts_.size());
  for (const std::string& text : texts_) index_.insert(text);
  return *this;
}

bool CUniqueTextList::AddAtHead(std::string_view text) {
  if (Contains(text)) return false;
  texts_.emplace_front(text);
  index_.insert(texts_.front());
  return true;
}

bool CUniqueTextList::AddAtTail(std::string_view text) {
  if (Contains(text)) return false;
  texts_.emplace_back(text);
  index_.insert(texts_.back());
  return true;
}

void CUniqueTextList::Assign(const std::vector<std::string>& texts) {
  Clear();
  for (const std::string& text : texts) AddAtTail(text);
}

void CUniqueTextList::RemoveHead() {
  if (texts_.empty()) return;
  removalStamp_ = NewStamp();
  index_.erase(texts_.front());
  texts_.pop_front();
}

void CUniqueTextList::Clear() {
  removalStamp_ = NewStamp();
  index_.clear();
  texts_.clear();
}

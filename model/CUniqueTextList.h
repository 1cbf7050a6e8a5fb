// A list of texts that grows at its head and holds each text once, as the
// model keeps its families, sizes and files to rewrite.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

/// Texts, newest first, each held once (compared case-sensitively). Whether
/// a text is present is answered without walking the list.
class CUniqueTextList {
 public:
  CUniqueTextList() = default;
  CUniqueTextList(const CUniqueTextList& other) { *this = other; }
  CUniqueTextList& operator=(const CUniqueTextList& other);
  CUniqueTextList(CUniqueTextList&& other);
  CUniqueTextList& operator=(CUniqueTextList&& other);

  /// Adds \p text at the head unless it is there; returns whether it was added.
  bool AddAtHead(std::string_view text);
  /// Adds \p text at the tail unless it is there; returns whether it was added.
  bool AddAtTail(std::string_view text);
  bool Contains(std::string_view text) const { return index_.count(text) != 0; }
  /// Replaces the whole list (for example to reorder it); repeated texts
  /// after the first are dropped.
  void Assign(const std::vector<std::string>& texts);
  /// Removes the newest text.
  void RemoveHead();
  void Clear();

  size_t size() const noexcept { return texts_.size(); }
  bool empty() const noexcept { return texts_.empty(); }
  const std::string& operator[](size_t i) const { return texts_[i]; }
  auto begin() const noexcept { return texts_.begin(); }
  auto end() const noexcept { return texts_.end(); }
  /// The texts in list order.
  std::vector<std::string> ToVector() const { return {texts_.begin(), texts_.end()}; }

  /// A number, never 0 and never the same for two lists or two moments,
  /// that changes whenever texts may have left the list: while it stays,
  /// every text the list held is still in it.
  uint64_t RemovalStamp() const noexcept { return removalStamp_; }

 private:
  static uint64_t NewStamp() noexcept;

  uint64_t removalStamp_ = NewStamp();
  std::deque<std::string> texts_;               // elements stay put at both ends
  std::unordered_set<std::string_view> index_;  // views of texts_
};

// The lexer's stack of modes, kept as runs: nesting pushes the same mode
// over and over, and a run of them takes one entry however deep it goes.
#pragma once

#include <cstdint>
#include <vector>

/// Modes (indexes, or whatever stands for one), the top last. A mode
/// pushed on top of itself adds to a count instead of an entry, so memory
/// grows with the changes of mode, not with the depth.
template <class Mode>
class SSLexModeStack {
 public:
  /// Inline but for growing: the lexer pushes on every tag.
  void Push(Mode mode) {
    if (size_ != 0 && runs_[size_ - 1].mode == mode && runs_[size_ - 1].count != UINT32_MAX) {
      ++runs_[size_ - 1].count;
      return;
    }
    if (size_ == runs_.size()) Grow();
    runs_[size_++] = {mode, 1};
  }
  /// Takes the top mode off; the caller knows there is one.
  void Pop() noexcept {
    if (--runs_[size_ - 1].count == 0) --size_;
  }
  bool Empty() const noexcept { return size_ == 0; }
  /// The top mode; the caller knows there is one.
  Mode Top() const noexcept { return runs_[size_ - 1].mode; }

 private:
  struct Run {
    Mode mode{};
    uint32_t count = 0;
  };
  __attribute__((noinline)) void Grow() { runs_.resize(runs_.empty() ? 16 : 2 * runs_.size()); }

  // The first size_ entries are the runs.
  std::vector<Run> runs_;
  size_t size_ = 0;
};

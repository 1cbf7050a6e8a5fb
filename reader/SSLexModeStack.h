// The lexer's stack of modes, kept as runs: nesting pushes the same mode
// over and over, and a run of them takes one entry however deep it goes.
#pragma once

#include <cstdint>
#include <vector>

/// Modes (indexes, or whatever stands for one), the top last. A mode
/// pushed on top of itself adds to a count instead of an entry, so memory
/// grows with the changes of mode, not with the depth.
template <class Mode>
class SSLexModeStackOf {
 public:
  void Push(Mode mode) {
    if (!runs_.empty() && runs_.back().mode == mode && runs_.back().count != UINT32_MAX) {
      ++runs_.back().count;
    } else {
      runs_.push_back({mode, 1});
    }
  }
  /// Takes the top mode off; the caller knows there is one.
  void Pop() noexcept {
    if (--runs_.back().count == 0) runs_.pop_back();
  }
  bool Empty() const noexcept { return runs_.empty(); }
  /// The top mode; the caller knows there is one.
  Mode Top() const noexcept { return runs_.back().mode; }

 private:
  struct Run {
    Mode mode;
    uint32_t count;
  };
  std::vector<Run> runs_;
};

using SSLexModeStack = SSLexModeStackOf<uint32_t>;

// Phase 2 of the grammar generator: which nonterminals derive the empty
// string, and the terminals each symbol can begin with.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/grammargen/Grammar.h"

namespace grammargen {

/// A set of terminals, indexed by symbol number.
class TerminalSet {
 public:
  explicit TerminalSet(int symbolCount = 0) : words_((symbolCount + 63) / 64, 0) {}
  void Add(int s) { words_[s >> 6] |= uint64_t{1} << (s & 63); }
  bool Has(int s) const { return (words_[s >> 6] >> (s & 63)) & 1; }
  /// Adds every member of \p other; says whether anything was new.
  bool Merge(const TerminalSet& other);
  bool Empty() const;
  /// The members in increasing symbol order.
  std::vector<int> Members() const;

 private:
  std::vector<uint64_t> words_;
};

struct FirstSets {
  std::vector<bool> nullable;      ///< per symbol
  std::vector<TerminalSet> first;  ///< per symbol; a terminal's set is itself

  /// FIRST of the symbols \p begin..end into \p out; returns whether they
  /// can all derive the empty string.
  bool FirstOfSequence(const int* begin, const int* end, TerminalSet& out) const;
};

FirstSets ComputeFirstSets(const Grammar& g);

}  // namespace grammargen

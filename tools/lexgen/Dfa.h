// Phase 4 of lexgen: the deterministic automaton of one mode, by subset
// construction. The engine takes the longest match; where two rules end on
// the same text, the earlier rule's accept item wins.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/common/Diagnostics.h"
#include "tools/lexgen/LexRules.h"
#include "tools/lexgen/Nfa.h"

class Dfa {
 public:
  struct State {
    int accept = -1;            ///< winning accept item, or -1
    std::vector<int> beaten;    ///< other accept items ending here (for the report)
    std::vector<int32_t> next;  ///< successor per atom, -1 for none
  };

  /// Builds the automaton of \p mode. Reports an error for every rule that
  /// can never win: earlier rules take all of its matches.
  Dfa(const LexMode& mode, const Nfa& nfa, size_t atomCount, Diagnostics& diagnostics);

  const std::vector<State>& States() const { return states_; }
  const std::vector<AcceptItem>& Accepts() const { return accepts_; }

 private:
  std::vector<State> states_;
  std::vector<AcceptItem> accepts_;
};

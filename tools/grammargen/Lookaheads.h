// Phase 4 of the grammar generator: LALR(1) lookahead sets, computed by
// spontaneous generation and propagation between kernel items.
#pragma once

#include <vector>

#include "tools/grammargen/FirstSets.h"
#include "tools/grammargen/Lr0States.h"

namespace grammargen {

struct Lookaheads {
  /// perItem[state][i]: the terminals that may follow items[i] of that state.
  std::vector<std::vector<TerminalSet>> perItem;
};

Lookaheads ComputeLookaheads(const Grammar& g, const FirstSets& first, const Lr0Automaton& lr0);

}  // namespace grammargen

// Phase 3 of the grammar generator: the LR(0) automaton, states numbered in
// the order the standard construction discovers them.
#pragma once

#include <compare>
#include <cstddef>
#include <utility>
#include <vector>

#include "tools/grammargen/Grammar.h"

namespace grammargen {

/// A production with a dot before right-side symbol \p dot.
struct Item {
  int production = 0;
  int dot = 0;
  auto operator<=>(const Item&) const = default;
};

struct Lr0State {
  int accessingSymbol = -1;                      ///< the symbol every kernel item has just passed; -1 for state 0
  size_t kernelSize = 0;                         ///< items[0, kernelSize) is the kernel
  std::vector<Item> items;                       ///< kernel, then its closure (dot at 0)
  std::vector<std::pair<int, int>> transitions;  ///< (symbol, target state), in discovery order

  /// The state reached over \p symbol, or -1.
  int Target(int symbol) const;
  /// Index in items of \p item, or -1.
  int IndexOf(const Item& item) const;
};

struct Lr0Automaton {
  std::vector<Lr0State> states;
};

/// Builds the states from production 0's kernel item: closures in
/// production order, successors in the order their symbols first follow a
/// dot, states numbered breadth first.
Lr0Automaton BuildLr0States(const Grammar& g);

/// The symbol after the dot of \p item, or -1 when the item is complete.
int SymbolAfterDot(const Grammar& g, const Item& item);

}  // namespace grammargen

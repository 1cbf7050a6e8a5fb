// LALR(1) lookaheads by propagation: closing each kernel item with a
// placeholder lookahead shows which lookaheads a successor's kernel item
// gets outright and which it inherits; the inherited ones then flow along
// those links until nothing changes.
#include "tools/grammargen/Lookaheads.h"

namespace grammargen {
namespace {

// Lookaheads of every item of \p state, given those of its kernel items:
// an item A -> a . B c passes FIRST(c), and its own lookaheads when c can
// vanish, to every B -> . d of the state.
std::vector<TerminalSet> CloseLookaheads(const Grammar& g, const FirstSets& first, const Lr0State& state,
                                         std::vector<TerminalSet> sets, int setSize) {
  sets.resize(state.items.size(), TerminalSet(setSize));
  for (bool changed = true; changed;) {
    changed = false;
    for (size_t i = 0; i < state.items.size(); ++i) {
      const Item& item = state.items[i];
      int next = SymbolAfterDot(g, item);
      if (next < 0 || g.IsTerminal(next)) continue;
      const std::vector<int>& right = g.productions[item.production].right;
      TerminalSet add(setSize);
      if (first.FirstOfSequence(right.data() + item.dot + 1, right.data() + right.size(), add)) add.Merge(sets[i]);
      for (size_t j = state.kernelSize; j < state.items.size(); ++j) {
        if (g.productions[state.items[j].production].left == next) changed |= sets[j].Merge(add);
      }
    }
  }
  return sets;
}

struct KernelRef {
  int state;
  int item;
};

}  // namespace

Lookaheads ComputeLookaheads(const Grammar& g, const FirstSets& first, const Lr0Automaton& lr0) {
  const int placeholder = g.SymbolCount();  // one bit past the last symbol
  const int setSize = placeholder + 1;
  // FIRST sets sized for the placeholder bit too.
  FirstSets wide = first;
  for (TerminalSet& s : wide.first) {
    TerminalSet w(setSize);
    for (int m : s.Members()) w.Add(m);
    s = w;
  }

  size_t n = lr0.states.size();
  std::vector<std::vector<TerminalSet>> kernel(n);
  std::vector<std::vector<std::vector<KernelRef>>> links(n);
  for (size_t s = 0; s < n; ++s) {
    kernel[s].assign(lr0.states[s].kernelSize, TerminalSet(setSize));
    links[s].resize(lr0.states[s].kernelSize);
  }

  for (size_t s = 0; s < n; ++s) {
    const Lr0State& state = lr0.states[s];
    for (size_t k = 0; k < state.kernelSize; ++k) {
      std::vector<TerminalSet> seed(state.kernelSize, TerminalSet(setSize));
      seed[k].Add(placeholder);
      std::vector<TerminalSet> sets = CloseLookaheads(g, wide, state, std::move(seed), setSize);
      for (size_t i = 0; i < state.items.size(); ++i) {
        const Item& item = state.items[i];
        int next = SymbolAfterDot(g, item);
        if (next < 0) continue;
        int t = state.Target(next);
        int ti = lr0.states[t].IndexOf(Item{item.production, item.dot + 1});
        if (sets[i].Has(placeholder)) links[s][k].push_back({t, ti});
        TerminalSet spontaneous(setSize);
        for (int m : sets[i].Members())
          if (m != placeholder) spontaneous.Add(m);
        kernel[t][ti].Merge(spontaneous);
      }
    }
  }

  for (bool changed = true; changed;) {
    changed = false;
    for (size_t s = 0; s < n; ++s)
      for (size_t k = 0; k < kernel[s].size(); ++k)
        for (const KernelRef& to : links[s][k]) changed |= kernel[to.state][to.item].Merge(kernel[s][k]);
  }

  Lookaheads la;
  la.perItem.resize(n);
  for (size_t s = 0; s < n; ++s) la.perItem[s] = CloseLookaheads(g, wide, lr0.states[s], kernel[s], setSize);
  return la;
}

}  // namespace grammargen

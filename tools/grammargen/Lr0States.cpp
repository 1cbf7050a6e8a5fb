// The LR(0) item sets and their transitions.
#include "tools/grammargen/Lr0States.h"

#include <algorithm>
#include <map>

namespace grammargen {

int Lr0State::Target(int symbol) const {
  for (const auto& [s, t] : transitions)
    if (s == symbol) return t;
  return -1;
}

int Lr0State::IndexOf(const Item& item) const {
  auto it = std::find(items.begin(), items.end(), item);
  return it == items.end() ? -1 : static_cast<int>(it - items.begin());
}

int SymbolAfterDot(const Grammar& g, const Item& item) {
  const std::vector<int>& right = g.productions[item.production].right;
  return item.dot < static_cast<int>(right.size()) ? right[item.dot] : -1;
}

namespace {

void Close(const Grammar& g, const std::vector<std::vector<int>>& byLeft, Lr0State& state) {
  std::vector<bool> added(g.SymbolCount(), false);
  for (size_t i = 0; i < state.items.size(); ++i) {
    int next = SymbolAfterDot(g, state.items[i]);
    if (next < 0 || g.IsTerminal(next) || added[next]) continue;
    added[next] = true;
    for (int p : byLeft[next]) {
      Item item{p, 0};
      if (state.IndexOf(item) < 0) state.items.push_back(item);
    }
  }
}

}  // namespace

Lr0Automaton BuildLr0States(const Grammar& g) {
  std::vector<std::vector<int>> byLeft(g.SymbolCount());
  for (size_t p = 0; p < g.productions.size(); ++p) byLeft[g.productions[p].left].push_back(static_cast<int>(p));

  Lr0Automaton a;
  std::map<std::vector<Item>, int> byKernel;
  auto addState = [&](std::vector<Item> kernel, int accessing) {
    std::vector<Item> key = kernel;
    std::sort(key.begin(), key.end());
    auto [it, fresh] = byKernel.emplace(key, static_cast<int>(a.states.size()));
    if (fresh) {
      Lr0State s;
      s.accessingSymbol = accessing;
      s.kernelSize = kernel.size();
      s.items = std::move(kernel);
      Close(g, byLeft, s);
      a.states.push_back(std::move(s));
    }
    return it->second;
  };

  addState({Item{0, 0}}, -1);
  for (size_t n = 0; n < a.states.size(); ++n) {
    // Successor symbols in the order they first follow a dot.
    std::vector<int> symbols;
    for (const Item& item : a.states[n].items) {
      int next = SymbolAfterDot(g, item);
      if (next >= 0 && std::find(symbols.begin(), symbols.end(), next) == symbols.end()) symbols.push_back(next);
    }
    for (int x : symbols) {
      std::vector<Item> kernel;
      for (const Item& item : a.states[n].items)
        if (SymbolAfterDot(g, item) == x) kernel.push_back(Item{item.production, item.dot + 1});
      int target = addState(std::move(kernel), x);
      a.states[n].transitions.emplace_back(x, target);
    }
  }
  return a;
}

}  // namespace grammargen

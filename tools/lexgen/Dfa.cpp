// Phase 4 of lexgen: subset construction.
#include "tools/lexgen/Dfa.h"

#include <algorithm>
#include <map>

namespace {

// Adds every state reachable from \p set by empty moves; returns it sorted.
std::vector<int> Closure(const Nfa& nfa, std::vector<int> set) {
  std::vector<char> seen(nfa.States().size(), 0);
  std::vector<int> work = set;
  for (int s : set) seen[s] = 1;
  while (!work.empty()) {
    int s = work.back();
    work.pop_back();
    for (int t : nfa.States()[s].epsilon) {
      if (!seen[t]) {
        seen[t] = 1;
        set.push_back(t);
        work.push_back(t);
      }
    }
  }
  std::sort(set.begin(), set.end());
  return set;
}

}  // namespace

Dfa::Dfa(const LexMode& mode, const Nfa& nfa, size_t atomCount, Diagnostics& diagnostics) : accepts_(nfa.Accepts()) {
  std::map<std::vector<int>, int32_t> index;
  std::vector<std::vector<int>> sets;
  auto intern = [&](std::vector<int> set) {
    auto [it, fresh] = index.emplace(std::move(set), static_cast<int32_t>(sets.size()));
    if (fresh) {
      sets.push_back(it->first);
      states_.emplace_back();
    }
    return it->second;
  };
  intern(Closure(nfa, {0}));

  for (size_t d = 0; d < sets.size(); ++d) {
    std::vector<std::vector<int>> moves(atomCount);
    std::vector<int> accepting;
    for (int s : sets[d]) {
      const Nfa::State& ns = nfa.States()[s];
      if (ns.accept >= 0) accepting.push_back(ns.accept);
      for (const Nfa::Edge& e : ns.edges)
        for (uint32_t atom : e.atoms) moves[atom].push_back(e.target);
    }
    std::vector<int32_t> next(atomCount, -1);
    for (size_t a = 0; a < atomCount; ++a) {
      if (moves[a].empty()) continue;
      std::sort(moves[a].begin(), moves[a].end());
      moves[a].erase(std::unique(moves[a].begin(), moves[a].end()), moves[a].end());
      next[a] = intern(Closure(nfa, std::move(moves[a])));
    }
    State& state = states_[d];
    state.next = std::move(next);
    std::sort(accepting.begin(), accepting.end());
    if (!accepting.empty()) {
      state.accept = accepting[0];
      state.beaten.assign(accepting.begin() + 1, accepting.end());
    }
  }

  std::vector<char> wins(accepts_.size(), 0);
  for (const State& s : states_)
    if (s.accept >= 0) wins[s.accept] = 1;
  for (size_t i = 0; i < accepts_.size(); ++i) {
    if (!wins[i]) {
      diagnostics.Error(accepts_[i].line, "in mode " + std::to_string(mode.number) +
                                              " this never matches: earlier rules take all of its matches");
    }
  }
}

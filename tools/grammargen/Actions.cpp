// Shift, reduce, accept and goto entries of each state, with conflict checks.
#include "tools/grammargen/Actions.h"

namespace grammargen {

const Action* StateActions::Find(int token) const {
  for (const Action& a : actions)
    if (a.token == token) return &a;
  return nullptr;
}

Action* StateActions::Find(int token) {
  return const_cast<Action*>(static_cast<const StateActions*>(this)->Find(token));
}

std::vector<StateActions> BuildActions(const Grammar& g, const Lr0Automaton& lr0, const Lookaheads& la,
                                       Diagnostics& diag) {
  std::vector<StateActions> out(lr0.states.size());
  for (size_t s = 0; s < lr0.states.size(); ++s) {
    const Lr0State& state = lr0.states[s];
    StateActions& row = out[s];
    bool acceptHere = state.IndexOf(Item{0, 1}) >= 0;
    for (const auto& [symbol, target] : state.transitions) {
      if (!g.IsTerminal(symbol)) {
        row.gotos.emplace_back(symbol, target);
      } else if (symbol == g.errorToken) {
        row.errorTarget = target;
      } else if (acceptHere && symbol == g.endToken) {
        row.actions.push_back({symbol, ActionKind::kAccept, 0});
      } else {
        row.actions.push_back({symbol, ActionKind::kShift, target});
      }
    }
    for (size_t i = 0; i < state.items.size(); ++i) {
      const Item& item = state.items[i];
      if (SymbolAfterDot(g, item) >= 0 || item.production == 0) continue;
      for (int token : la.perItem[s][i].Members()) {
        // The engine never looks up an action for the error token itself.
        if (token == g.errorToken) continue;
        const Action* old = row.Find(token);
        const Production& p = g.productions[item.production];
        if (old == nullptr) {
          row.actions.push_back({token, ActionKind::kReduce, item.production});
        } else if (old->kind == ActionKind::kReduce) {
          diag.Error(p.line, "reduce/reduce conflict in state " + std::to_string(s) + " on " + g.Name(token) +
                                 ": productions " + std::to_string(old->number) + " and " +
                                 std::to_string(item.production));
        } else {
          diag.Error(p.line, "shift/reduce conflict in state " + std::to_string(s) + " on " + g.Name(token) +
                                 ": shift or reduce by production " + std::to_string(item.production));
        }
      }
    }
  }
  return out;
}

}  // namespace grammargen

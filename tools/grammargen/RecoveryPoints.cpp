// Recovery points: states whose kernel items have just passed the named
// symbols get their listed tokens marked as sync tokens.
#include "tools/grammargen/RecoveryPoints.h"

#include <algorithm>

#include "reader/YaccTableFormat.h"

namespace grammargen {

std::vector<int> StatesAfter(const Grammar& g, const Lr0Automaton& lr0, const RecoveryPoint& point) {
  if (point.atStart) return {0};
  std::vector<int> out;
  const size_t len = point.after.size();
  for (size_t s = 0; s < lr0.states.size(); ++s) {
    const Lr0State& state = lr0.states[s];
    for (size_t k = 0; k < state.kernelSize; ++k) {
      const Item& item = state.items[k];
      const std::vector<int>& right = g.productions[item.production].right;
      if (static_cast<size_t>(item.dot) >= len &&
          std::equal(point.after.begin(), point.after.end(), right.begin() + item.dot - len)) {
        out.push_back(static_cast<int>(s));
        break;
      }
    }
  }
  return out;
}

void MarkRecoveryPoints(const Grammar& g, const Lr0Automaton& lr0, std::vector<StateActions>& rows, Diagnostics& diag) {
  for (const RecoveryPoint& point : g.recovery) {
    bool marked = false;
    for (int s : StatesAfter(g, lr0, point)) {
      for (int token : point.tokens) {
        if (Action* a = rows[s].Find(token)) a->sync = marked = true;
      }
    }
    if (!marked) diag.Error(point.line, "recovery point marks no action of any state");
  }
  for (StateActions& row : rows) {
    size_t sync = std::count_if(row.actions.begin(), row.actions.end(), [](const Action& a) { return a.sync; });
    if (sync > 0) row.flags |= sync == row.actions.size() ? YaccTableFormat::kAllSync : YaccTableFormat::kRecoveryPoint;
    if (row.errorTarget >= 0) row.flags |= YaccTableFormat::kHasErrorEntry;
    if (row.actions.empty() && row.gotos.empty() && row.errorTarget < 0) row.flags |= YaccTableFormat::kHeaderOnly;
  }
}

}  // namespace grammargen

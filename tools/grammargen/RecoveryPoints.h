// Phase 6 of the grammar generator: marks the sync tokens of the recovery
// points and sets every row's flags.
#pragma once

#include "tools/grammargen/Actions.h"

namespace grammargen {

/// Marks, in every state that a recovery point names, the actions on its
/// tokens as sync; then sets the row flags (recovery point, error entry,
/// all actions sync, header only). A recovery point that marks nothing is
/// reported to \p diag.
void MarkRecoveryPoints(const Grammar& g, const Lr0Automaton& lr0, std::vector<StateActions>& rows, Diagnostics& diag);

/// The states that stand right after \p point (or the start state).
std::vector<int> StatesAfter(const Grammar& g, const Lr0Automaton& lr0, const RecoveryPoint& point);

}  // namespace grammargen

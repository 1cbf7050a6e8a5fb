// The readable report the grammar generator writes beside its table.
#pragma once

#include <ostream>
#include <vector>

#include "tools/grammargen/Actions.h"

namespace grammargen {

/// Writes the productions as expanded, then every state with its items
/// (lookaheads on complete ones), actions, gotos and flags, then counts.
void WriteReport(std::ostream& out, const Grammar& g, const Lr0Automaton& lr0, const Lookaheads& la,
                 const std::vector<StateActions>& rows);

}  // namespace grammargen

// Phase 5 of the grammar generator: the parse actions and gotos of every
// state; a token with two possible actions is a conflict and an error.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "tools/grammargen/Lookaheads.h"

namespace grammargen {

enum class ActionKind { kShift, kReduce, kAccept };

struct Action {
  int token = 0;  ///< terminal symbol
  ActionKind kind = ActionKind::kShift;
  int number = 0;  ///< next state (shift) or production (reduce)
  bool sync = false;
};

struct StateActions {
  std::vector<Action> actions;             ///< shifts in transition order, then reductions
  std::vector<std::pair<int, int>> gotos;  ///< (nonterminal, target state)
  int errorTarget = -1;                    ///< state reached over %error, or -1
  uint32_t flags = 0;                      ///< row flags, set by MarkRecoveryPoints
  const Action* Find(int token) const;
  Action* Find(int token);
};

/// The actions of every state. The transition over production 0's end
/// token becomes the accept action; conflicts are reported to \p diag at
/// the lines of the productions involved.
std::vector<StateActions> BuildActions(const Grammar& g, const Lr0Automaton& lr0, const Lookaheads& la,
                                       Diagnostics& diag);

}  // namespace grammargen

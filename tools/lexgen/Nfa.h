// Phase 3 of lexgen: one nondeterministic automaton per mode, built from
// its rules (Thompson's construction) and its hand-written automata.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/common/Diagnostics.h"
#include "tools/lexgen/CharClasses.h"
#include "tools/lexgen/LexRules.h"

/// Something a match can end in: a rule, or one accepting state of a
/// hand-written automaton. Lower index wins when two end a match together.
struct AcceptItem {
  int line = 0;
  LexAction action;
  std::string origin;  ///< what the report calls it
};

/// The automaton of one mode. State 0 is the start.
class Nfa {
 public:
  struct Edge {
    std::vector<uint32_t> atoms;
    int target;
  };
  struct State {
    std::vector<int> epsilon;
    std::vector<Edge> edges;
    int accept = -1;  ///< index into Accepts()
  };

  Nfa(const LexMode& mode, const CharClasses& classes, Diagnostics& diagnostics);

  const std::vector<State>& States() const { return states_; }
  const std::vector<AcceptItem>& Accepts() const { return accepts_; }

 private:
  struct Fragment {
    int start, end;
  };
  int NewState();
  Fragment Build(const Pattern& p);
  void AddRule(const LexRule& rule, Diagnostics& diagnostics);
  void AddAutomaton(const LexAutomaton& automaton);

  const CharClasses& classes_;
  std::vector<State> states_;
  std::vector<AcceptItem> accepts_;
};

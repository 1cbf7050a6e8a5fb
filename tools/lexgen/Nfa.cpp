// Phase 3 of lexgen: nondeterministic automata from patterns.
#include "tools/lexgen/Nfa.h"

#include <map>

namespace {

bool MatchesEmpty(const Pattern& p) {
  switch (p.kind) {
    case Pattern::Kind::Set:
      return false;
    case Pattern::Kind::Star:
    case Pattern::Kind::Optional:
      return true;
    case Pattern::Kind::Plus:
      return MatchesEmpty(*p.parts[0]);
    case Pattern::Kind::Concat:
      for (const PatternPtr& part : p.parts)
        if (!MatchesEmpty(*part)) return false;
      return true;
    case Pattern::Kind::Alt:
      for (const PatternPtr& part : p.parts)
        if (MatchesEmpty(*part)) return true;
      return false;
  }
  return false;
}

}  // namespace

Nfa::Nfa(const LexMode& mode, const CharClasses& classes, Diagnostics& diagnostics) : classes_(classes) {
  NewState();  // the start
  for (const LexItem& item : mode.items) {
    if (const LexRule* r = std::get_if<LexRule>(&item)) {
      AddRule(*r, diagnostics);
    } else {
      AddAutomaton(std::get<LexAutomaton>(item));
    }
  }
}

int Nfa::NewState() {
  states_.emplace_back();
  return static_cast<int>(states_.size() - 1);
}

Nfa::Fragment Nfa::Build(const Pattern& p) {
  switch (p.kind) {
    case Pattern::Kind::Set: {
      Fragment f{NewState(), NewState()};
      states_[f.start].edges.push_back({classes_.AtomsOf(p.set), f.end});
      return f;
    }
    case Pattern::Kind::Concat: {
      Fragment first = Build(*p.parts[0]);
      int end = first.end;
      for (size_t i = 1; i < p.parts.size(); ++i) {
        Fragment next = Build(*p.parts[i]);
        states_[end].epsilon.push_back(next.start);
        end = next.end;
      }
      return {first.start, end};
    }
    case Pattern::Kind::Alt: {
      Fragment f{NewState(), NewState()};
      for (const PatternPtr& part : p.parts) {
        Fragment alt = Build(*part);
        states_[f.start].epsilon.push_back(alt.start);
        states_[alt.end].epsilon.push_back(f.end);
      }
      return f;
    }
    case Pattern::Kind::Star:
    case Pattern::Kind::Plus:
    case Pattern::Kind::Optional: {
      Fragment f{NewState(), NewState()};
      Fragment body = Build(*p.parts[0]);
      states_[f.start].epsilon.push_back(body.start);
      states_[body.end].epsilon.push_back(f.end);
      if (p.kind != Pattern::Kind::Plus) states_[f.start].epsilon.push_back(f.end);
      if (p.kind != Pattern::Kind::Optional) states_[body.end].epsilon.push_back(body.start);
      return f;
    }
  }
  return {0, 0};
}

void Nfa::AddRule(const LexRule& rule, Diagnostics& diagnostics) {
  if (MatchesEmpty(*rule.pattern)) {
    diagnostics.Error(rule.line, "the pattern matches the empty text; use the mode's 'empty' token instead");
    return;
  }
  Fragment f = Build(*rule.pattern);
  states_[0].epsilon.push_back(f.start);
  states_[f.end].accept = static_cast<int>(accepts_.size());
  accepts_.push_back({rule.line, rule.action, "rule"});
}

void Nfa::AddAutomaton(const LexAutomaton& automaton) {
  std::map<std::string, int> index;
  for (const AutomatonState& s : automaton.states) index[s.name] = NewState();
  states_[0].epsilon.push_back(index[automaton.states[0].name]);
  for (const AutomatonState& s : automaton.states) {
    int from = index[s.name];
    for (const AutomatonState::Edge& e : s.edges) {
      states_[from].edges.push_back({classes_.AtomsOf(e.on), index[e.target]});
    }
    if (s.accept) {
      states_[from].accept = static_cast<int>(accepts_.size());
      accepts_.push_back({s.line, *s.accept, "automaton state " + s.name});
    }
  }
}

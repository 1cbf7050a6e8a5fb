// The lexical rules as the rules parser reads them: modes, each a list of
// rules (pattern, token or skip, stack action) and hand-written automata.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "tools/lexgen/CodeSet.h"

/// A regular expression over character codes.
struct Pattern {
  enum class Kind { Set, Concat, Alt, Star, Plus, Optional };
  Kind kind = Kind::Set;
  CodeSet set;                                        ///< Kind::Set
  std::vector<std::shared_ptr<const Pattern>> parts;  ///< operands of the others
};
using PatternPtr = std::shared_ptr<const Pattern>;

/// What a match does to the mode stack.
enum class StackAction { None, Push, Pop, Switch };

/// What a rule does when its match is taken.
struct LexAction {
  bool skip = false;
  int32_t token = 0;      ///< the token id, or the skip rule's reserved id
  std::string tokenName;  ///< as written, for reports ("skip" for skips)
  StackAction stack = StackAction::None;
  std::string modeTitle;  ///< target of push and switch, as written
  int32_t mode = 0;       ///< its number
};

/// One pattern rule.
struct LexRule {
  int line = 0;
  PatternPtr pattern;
  LexAction action;
};

/// One state of a hand-written automaton; the first state is its start.
struct AutomatonState {
  std::string name;
  int line = 0;
  std::optional<LexAction> accept;
  struct Edge {
    CodeSet on;
    std::string target;
    int line = 0;
  };
  std::vector<Edge> edges;
};

/// A hand-written automaton, taking part in a mode like one rule.
struct LexAutomaton {
  int line = 0;
  std::vector<AutomatonState> states;
};

using LexItem = std::variant<LexRule, LexAutomaton>;

/// One lexical mode (the engine's expression list).
struct LexMode {
  int32_t number = -1;
  std::string title;
  int line = 0;
  std::optional<int32_t> emptyToken;  ///< returned where nothing matches
  std::string emptyTokenName;
  std::vector<LexItem> items;  ///< in priority order
};

/// Every mode, indexed by number.
struct LexRules {
  std::vector<LexMode> modes;
};

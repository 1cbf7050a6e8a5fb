// The grammar as the generator's phases see it: symbols, numbered
// productions and recovery points.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/common/Diagnostics.h"

namespace grammargen {

/// A terminal (token) or nonterminal. Symbols are referred to by their
/// index in Grammar::symbols.
struct Symbol {
  std::string name;
  bool terminal = false;
  int32_t tableId = 0;  ///< token id, or 16384 + n for nonterminal n (0 for the start symbol)
  int line = 0;         ///< where it was declared or first used as a left side
};

/// One production; its number is its index in Grammar::productions.
struct Production {
  int left = 0;
  std::vector<int> right;
  int line = 0;
  std::string label;  ///< the [Label] the parse actions know it by, or empty
};

/// Sync tokens for every state that stands right after \p after (the start
/// state when \p atStart).
struct RecoveryPoint {
  bool atStart = false;
  std::vector<int> after;
  std::vector<int> tokens;
  int line = 0;
};

struct Grammar {
  std::vector<Symbol> symbols;
  std::vector<Production> productions;
  std::vector<RecoveryPoint> recovery;
  int startSymbol = -1;  ///< left side of production 0
  int endToken = -1;     ///< the terminal that ends production 0; accepted
  int errorToken = -1;   ///< the terminal named %error, or -1

  static constexpr int32_t kNonterminalBase = 16384;

  int SymbolCount() const { return static_cast<int>(symbols.size()); }
  bool IsTerminal(int s) const { return symbols[s].terminal; }
  const std::string& Name(int s) const { return symbols[s].name; }
};

}  // namespace grammargen

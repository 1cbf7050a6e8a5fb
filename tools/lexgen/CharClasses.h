// Phase 2 of lexgen: the alphabet. Splits the character codes into the
// fewest ranges ("atoms") such that every class the rules use is a union
// of whole atoms, so that later phases work on atoms instead of codes.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/lexgen/CodeSet.h"
#include "tools/lexgen/LexRules.h"

/// The atoms of the rules' character classes, in code order; together they
/// cover every code from 0 to the highest double-byte code.
class CharClasses {
 public:
  explicit CharClasses(const LexRules& rules);

  const std::vector<CodeRange>& Atoms() const { return atoms_; }
  /// The atoms that make up \p set, in order.
  std::vector<uint32_t> AtomsOf(const CodeSet& set) const;

 private:
  std::vector<CodeRange> atoms_;
};

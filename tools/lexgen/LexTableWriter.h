// Phase 5 of lexgen: the LexTable binary (see reader/LexTableFormat.h) from
// the automata of every mode.
#pragma once

#include <string>
#include <vector>

#include "tools/lexgen/CharClasses.h"
#include "tools/lexgen/Dfa.h"
#include "tools/lexgen/LexRules.h"

class LexTableWriter {
 public:
  LexTableWriter(const LexRules& rules, const std::vector<Dfa>& automata, const CharClasses& classes)
      : rules_(rules), automata_(automata), classes_(classes) {}

  /// The whole table.
  std::vector<unsigned char> Bytes() const;

  /// The transitions of one state as the table stores them: adjacent atoms
  /// with the same successor merged into one range.
  struct Triple {
    uint32_t low, high;
    int32_t next;
  };
  static std::vector<Triple> Row(const Dfa::State& state, const CharClasses& classes);

 private:
  void AppendList(std::vector<unsigned char>& out, const LexMode& mode, const Dfa& dfa) const;

  const LexRules& rules_;
  const std::vector<Dfa>& automata_;
  const CharClasses& classes_;
};

// The phases of lexgen: RulesParser -> CharClasses -> Nfa -> Dfa (per mode)
// -> LexTableWriter, with the report.
#include "tools/lexgen/LexGenerator.h"

#include "tools/lexgen/CharClasses.h"
#include "tools/lexgen/Dfa.h"
#include "tools/lexgen/LexReport.h"
#include "tools/lexgen/LexTableWriter.h"
#include "tools/lexgen/Nfa.h"
#include "tools/lexgen/RulesParser.h"

std::optional<LexGeneration> GenerateLexTable(const std::string& rulesFile, const std::string& text,
                                              Diagnostics& diagnostics) {
  // 1. Rules: modes with their patterns, actions and automata.
  LexRules rules = RulesParser(diagnostics).Parse(text);
  if (diagnostics.Failed()) return std::nullopt;

  // 2. Character classes: the ranges of codes that no rule tells apart.
  CharClasses classes(rules);

  // 3. One nondeterministic automaton per mode.
  std::vector<Nfa> nfas;
  for (const LexMode& mode : rules.modes) nfas.emplace_back(mode, classes, diagnostics);
  if (diagnostics.Failed()) return std::nullopt;

  // 4. One deterministic automaton per mode: longest match, earlier rule on ties.
  std::vector<Dfa> dfas;
  for (size_t m = 0; m < rules.modes.size(); ++m) {
    dfas.emplace_back(rules.modes[m], nfas[m], classes.Atoms().size(), diagnostics);
  }
  if (diagnostics.Failed()) return std::nullopt;

  // 5. The table and its report.
  LexGeneration out;
  out.table = LexTableWriter(rules, dfas, classes).Bytes();
  out.report = LexReport(rulesFile, rules, dfas, classes, out.table.size());
  return out;
}

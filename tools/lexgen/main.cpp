// lexgen: compiles the lexical rules (resources/interleaf.lex) into the
// LexTable binary that SSLex reads, and writes a readable report beside it.
//
// Usage: lexgen RULES.lex OUT.lextable OUT.report
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/CSafeFileWriter.h"
#include "tools/lexgen/CharClasses.h"
#include "tools/lexgen/Dfa.h"
#include "tools/common/Diagnostics.h"
#include "tools/lexgen/LexReport.h"
#include "tools/lexgen/LexTableWriter.h"
#include "tools/lexgen/Nfa.h"
#include "tools/lexgen/RulesParser.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: lexgen RULES.lex OUT.lextable OUT.report\n");
    return 2;
  }
  const std::string rulesFile = argv[1];
  std::ifstream in(rulesFile, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "%s: cannot read\n", rulesFile.c_str());
    return 1;
  }
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  Diagnostics diagnostics(rulesFile);

  // 1. Rules: modes with their patterns, actions and automata.
  LexRules rules = RulesParser(diagnostics).Parse(text);
  if (diagnostics.Report(stderr)) return 1;

  // 2. Character classes: the ranges of codes that no rule tells apart.
  CharClasses classes(rules);

  // 3. One nondeterministic automaton per mode.
  std::vector<Nfa> nfas;
  for (const LexMode& mode : rules.modes) nfas.emplace_back(mode, classes, diagnostics);
  if (diagnostics.Report(stderr)) return 1;

  // 4. One deterministic automaton per mode: longest match, earlier rule on ties.
  std::vector<Dfa> dfas;
  for (size_t m = 0; m < rules.modes.size(); ++m) {
    dfas.emplace_back(rules.modes[m], nfas[m], classes.Atoms().size(), diagnostics);
  }
  if (diagnostics.Report(stderr)) return 1;

  // 5. The table and its report.
  LexTableWriter writer(rules, dfas, classes);
  if (!writer.Write(argv[2])) {
    std::fprintf(stderr, "%s: cannot write\n", argv[2]);
    return 1;
  }
  if (CSafeFileWriter::WriteWhole(argv[3], LexReport(rulesFile, rules, dfas, classes, writer.Bytes().size())) != 0) {
    std::fprintf(stderr, "%s: cannot write\n", argv[3]);
    return 1;
  }
  return 0;
}

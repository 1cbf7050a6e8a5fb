// ts_grammargen: turns a grammar file into the parser's YaccTable, a
// readable report and the header of production names.
// Usage: ts_grammargen GRAMMAR TABLE REPORT HEADER
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "platform/CSafeFileWriter.h"
#include "reader/InterleafTokens.h"
#include "tools/grammargen/FirstSets.h"
#include "tools/grammargen/GrammarParser.h"
#include "tools/grammargen/Lookaheads.h"
#include "tools/grammargen/Lr0States.h"
#include "tools/grammargen/ProductionsHeader.h"
#include "tools/grammargen/RecoveryPoints.h"
#include "tools/grammargen/Report.h"
#include "tools/grammargen/YaccTableWriter.h"

using namespace grammargen;

namespace {

// Writes through a temporary file so that a failed run leaves no output.
bool WriteFile(const std::string& path, const std::string& bytes) {
  return CSafeFileWriter::WriteWhole(path, bytes) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::cerr << "usage: ts_grammargen GRAMMAR TABLE REPORT HEADER\n";
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::cerr << argv[1] << ": cannot read\n";
    return 1;
  }
  std::stringstream text;
  text << in.rdbuf();
  Diagnostics diag(argv[1]);

  // 1. Symbols, numbered productions (fields expanded) and recovery points;
  //    the terminals are the reader's tokens.
  Grammar grammar = ParseGrammar(text.str(), diag, InterleafTokenId);
  if (diag.Report(stderr)) return 1;
  // 2. Nullable symbols and FIRST sets.
  FirstSets first = ComputeFirstSets(grammar);
  // 3. The LR(0) states.
  Lr0Automaton lr0 = BuildLr0States(grammar);
  // 4. LALR(1) lookaheads of every item.
  Lookaheads lookaheads = ComputeLookaheads(grammar, first, lr0);
  // 5. Actions and gotos; conflicts are errors.
  std::vector<StateActions> rows = BuildActions(grammar, lr0, lookaheads, diag);
  // 6. Sync tokens of the recovery points, and row flags.
  MarkRecoveryPoints(grammar, lr0, rows, diag);
  // The report is written even when the table is not: it shows the conflicts' states.
  std::ostringstream report;
  WriteReport(report, grammar, lr0, lookaheads, rows);
  if (!WriteFile(argv[3], report.str())) {
    std::cerr << argv[3] << ": cannot write\n";
    return 1;
  }
  if (diag.Report(stderr)) return 1;
  // 7. The table.
  std::vector<unsigned char> table = WriteYaccTable(grammar, rows);
  if (!WriteFile(argv[2], std::string(table.begin(), table.end()))) {
    std::cerr << argv[2] << ": cannot write\n";
    return 1;
  }
  // 8. The names of the labelled productions, for the parse actions.
  const std::string source = std::filesystem::path(argv[1]).filename().string();
  if (!WriteFile(argv[4], WriteProductionsHeader(grammar, source))) {
    std::cerr << argv[4] << ": cannot write\n";
    return 1;
  }
  std::printf("%s: %zu productions, %zu states\n", argv[1], grammar.productions.size(), lr0.states.size());
  return 0;
}

// Helpers for the parser tests.
#include "tests/reader/ParserTestSupport.h"

#include <gtest/gtest.h>

#include <sstream>

#include "platform/Resources.h"
#include "reader/InterleafTokens.h"
#include "tests/support/TestSupport.h"
#include "tools/grammargen/FirstSets.h"
#include "tools/grammargen/GrammarParser.h"
#include "tools/grammargen/Lookaheads.h"
#include "tools/grammargen/Lr0States.h"
#include "tools/grammargen/RecoveryPoints.h"
#include "tools/grammargen/YaccTableWriter.h"

namespace parsertest {

using namespace grammargen;

const Grammar& InterleafGrammar() {
  static const Grammar grammar = [] {
    Diagnostics diag("interleaf.grammar");
    Grammar g = ParseGrammar(testsupport::ReadFile(testsupport::SourcePath("resources/interleaf.grammar")), diag,
                             InterleafTokenId);
    EXPECT_FALSE(diag.Failed());
    return g;
  }();
  return grammar;
}

int32_t TokenId(const Grammar& grammar, const std::string& name) {
  for (const Symbol& s : grammar.symbols)
    if (s.terminal && s.name == name) return s.tableId;
  // Tokens that no production uses are not symbols of the grammar.
  if (std::optional<int32_t> id = InterleafTokenId(name)) return *id;
  ADD_FAILURE() << "no token " << name;
  return 0;
}

std::string YaccTableFile() { return TS_YACCTABLE_FILE; }

std::vector<unsigned char> CompileGrammar(const std::string& text) {
  Diagnostics diag("test.grammar");
  Grammar g = ParseGrammar(text, diag);
  if (diag.Failed()) {
    ADD_FAILURE() << diag.Messages()[0];
    return {};
  }
  FirstSets first = ComputeFirstSets(g);
  Lr0Automaton lr0 = BuildLr0States(g);
  Lookaheads la = ComputeLookaheads(g, first, lr0);
  std::vector<StateActions> rows = BuildActions(g, lr0, la, diag);
  MarkRecoveryPoints(g, lr0, rows, diag);
  for (const std::string& m : diag.Messages()) ADD_FAILURE() << m;
  return WriteYaccTable(g, rows);
}

void LoadTableImage(SSYacc& parser, const std::vector<unsigned char>& table) {
  const ResourceEntry entry{"YaccTable", "TEST", table.data(), table.size()};
  parser.LoadTable(CResourceModule(std::span<const ResourceEntry>(&entry, 1)), "TEST", "YaccTable");
}

FedParser::FedParser(const std::vector<unsigned char>& table, const Grammar& grammar, const std::string& names) {
  LoadTableImage(*this, table);
  QueueNames(grammar, names);
}

FedParser::FedParser(const std::string& names) {
  LoadTableFile(YaccTableFile());
  QueueNames(InterleafGrammar(), names);
}

void FedParser::QueueNames(const Grammar& grammar, const std::string& names) {
  std::istringstream in(names);
  std::string name;
  int32_t column = 1;
  while (in >> name) {
    Queue(SSToken::Make(TokenId(grammar, name), name, 1, column));
    column += static_cast<int32_t>(name.size()) + 1;
  }
}

SSRefPtr<SSToken> FedParser::NextToken() { return next_ < tokens_.size() ? tokens_[next_++] : SSRefPtr<SSToken>(); }

SSRefPtr<SSYaccStackElement> FedParser::Reduce(int32_t production, int32_t length) {
  reductions.push_back(production);
  if (onReduce) onReduce(*this, production);
  return NewElement();
}

}  // namespace parsertest

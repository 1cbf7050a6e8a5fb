// The generated parser table checked against resources/interleaf.grammar:
// header, production table, rows, and the sync tokens of the recovery points.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "reader/SSYaccTable.h"
#include "reader/YaccTableFormat.h"
#include "tests/reader/ParserTestSupport.h"
#include "tests/support/TestSupport.h"

using namespace YaccTableFormat;
using parsertest::InterleafGrammar;
using parsertest::TokenId;

namespace {

// Read-only walks over the table bytes, independent of the engine's loader.
class TableBytes {
 public:
  TableBytes() : bytes_(testsupport::ReadFile(parsertest::YaccTableFile())) {}

  uint32_t Word(size_t offset) const {
    auto b = [&](size_t i) { return static_cast<uint32_t>(static_cast<unsigned char>(bytes_.at(offset + i))); };
    return b(0) | b(1) << 8 | b(2) << 16 | b(3) << 24;
  }
  size_t Size() const { return bytes_.size(); }
  uint32_t HeaderWord(uint32_t index) const { return Word(kWordSize * index); }
  uint32_t States() const { return HeaderWord(kHeaderStateCount); }
  /// Word \p index of production \p p's entry.
  uint32_t ProductionWord(uint32_t p, uint32_t index) const {
    return Word(HeaderWord(kHeaderProductionTable) + kWordSize * (kProductionWords * p + index));
  }
  size_t Row(uint32_t state) const { return HeaderWord(kHeaderWords + state); }
  uint32_t RowWord(uint32_t s, uint32_t index) const { return Word(Row(s) + kWordSize * index); }
  uint32_t Flags(uint32_t s) const { return RowWord(s, kRowFlags); }
  uint32_t Gotos(uint32_t s) const { return RowWord(s, kRowGotoCount); }
  uint32_t Actions(uint32_t s) const { return RowWord(s, kRowActionCount); }
  /// Where entry \p i of the row of \p s starts, counting actions, then gotos.
  size_t Entry(uint32_t s, uint32_t i) const { return Row(s) + kWordSize * (kRowHeaderWords + kEntryWords * i); }
  uint32_t ActionWord(uint32_t s, uint32_t i) const { return Word(Entry(s, i) + kWordSize * kEntryValue); }
  int32_t ActionToken(uint32_t s, uint32_t i) const {
    return static_cast<int32_t>(Word(Entry(s, i) + kWordSize * kEntrySymbol));
  }
  size_t GotoEntry(uint32_t s, uint32_t i) const { return Entry(s, Actions(s) + i); }
  int32_t GotoSymbol(uint32_t s, uint32_t i) const {
    return static_cast<int32_t>(Word(GotoEntry(s, i) + kWordSize * kEntrySymbol));
  }
  uint32_t GotoTarget(uint32_t s, uint32_t i) const { return Word(GotoEntry(s, i) + kWordSize * kEntryValue); }

  /// States entered from \p from over \p symbol (a token or nonterminal id).
  std::set<uint32_t> Targets(const std::set<uint32_t>& from, int32_t symbol) const {
    std::set<uint32_t> out;
    for (uint32_t s : from) {
      for (uint32_t i = 0; i < Actions(s); ++i)
        if (ActionToken(s, i) == symbol && (ActionWord(s, i) & kKindMask) == kShift)
          out.insert(ActionWord(s, i) & kNumberMask);
      for (uint32_t i = 0; i < Gotos(s); ++i)
        if (GotoSymbol(s, i) == symbol) out.insert(GotoTarget(s, i));
    }
    return out;
  }
  std::set<uint32_t> AllStates() const {
    std::set<uint32_t> all;
    for (uint32_t s = 0; s < States(); ++s) all.insert(s);
    return all;
  }
  std::set<int32_t> ActionTokens(uint32_t s) const {
    std::set<int32_t> out;
    for (uint32_t i = 0; i < Actions(s); ++i) out.insert(ActionToken(s, i));
    return out;
  }
  /// The tokens at which error recovery may resume in \p s.
  std::set<int32_t> SyncTokens(uint32_t s) const {
    std::set<int32_t> out;
    for (uint32_t i = 0; i < Actions(s); ++i)
      if ((Flags(s) & kAllSync) || ((Flags(s) & kRecoveryPoint) && (ActionWord(s, i) & kSync)))
        out.insert(ActionToken(s, i));
    return out;
  }

 private:
  std::string bytes_;
};

}  // namespace

TEST(YaccTable, HeaderAndProductionsMatchTheGrammar) {
  TableBytes t;
  const grammargen::Grammar& g = InterleafGrammar();
  ASSERT_GT(t.Size(), 2744u);
  EXPECT_EQ(kMagic, t.HeaderWord(kHeaderMagic));
  EXPECT_EQ(175u, t.HeaderWord(kHeaderCounts));  // and no lookahead automata
  EXPECT_EQ(331u, t.States());
  EXPECT_EQ(2744u, t.HeaderWord(kHeaderFirstRow));
  EXPECT_EQ(1344u, t.HeaderWord(kHeaderProductionTable));
  ASSERT_EQ(175u, g.productions.size());
  for (uint32_t p = 0; p < 175; ++p) {
    EXPECT_EQ(g.productions[p].right.size(), t.ProductionWord(p, kProductionLength)) << "length of production " << p;
    EXPECT_EQ(static_cast<uint32_t>(g.symbols[g.productions[p].left].tableId), t.ProductionWord(p, kProductionLeft))
        << "left side of production " << p;
  }
  // The expanded fields(...) of the diagram objects, and the start production.
  EXPECT_EQ(2u, t.ProductionWord(0, kProductionLength));
  EXPECT_EQ(0u, t.ProductionWord(0, kProductionLeft));
  EXPECT_EQ(16384u, t.ProductionWord(1, kProductionLeft));
  EXPECT_EQ(6u, t.ProductionWord(108, kProductionLength));
  EXPECT_EQ(26u, t.ProductionWord(123, kProductionLength));
  EXPECT_EQ(19u, t.ProductionWord(134, kProductionLength));
  EXPECT_EQ(28u, t.ProductionWord(148, kProductionLength));
  EXPECT_EQ(51u, t.ProductionWord(162, kProductionLength));
  EXPECT_EQ(0u, t.ProductionWord(116, kProductionLength));
}

TEST(YaccTable, RowsFollowOneAnotherAndOnlyTheEndStateIsEmpty) {
  TableBytes t;
  size_t expected = 2744;
  int headerOnly = 0;
  for (uint32_t s = 0; s < t.States(); ++s) {
    ASSERT_EQ(expected, t.Row(s)) << "row of state " << s;
    const bool empty = t.Actions(s) == 0 && t.Gotos(s) == 0;
    EXPECT_EQ(empty, (t.Flags(s) & kHeaderOnly) != 0) << s;
    EXPECT_EQ(0u, t.Flags(s) & kHasErrorEntry) << s;  // the grammar has no error productions
    headerOnly += empty;
    expected += kWordSize * (kRowHeaderWords + kEntryWords * (t.Actions(s) + t.Gotos(s)));
  }
  EXPECT_EQ(t.Size(), expected);
  EXPECT_EQ(1, headerOnly);
  // Accept is the action on end of input after a whole document.
  std::set<uint32_t> afterDocument = t.Targets({0}, 16384);
  ASSERT_EQ(1u, afterDocument.size());
  uint32_t s = *afterDocument.begin();
  EXPECT_EQ(std::set<int32_t>{kEofToken}, t.ActionTokens(s));
  EXPECT_EQ(kAccept, t.ActionWord(s, 0) & kKindMask);
}

TEST(YaccTable, RecoveryPointsCarryTheirSyncTokens) {
  TableBytes t;
  const grammargen::Grammar& g = InterleafGrammar();
  std::map<uint32_t, std::set<int32_t>> expected;
  for (const grammargen::RecoveryPoint& r : g.recovery) {
    std::set<uint32_t> states = {0};
    if (!r.atStart) {
      states = t.AllStates();
      for (int symbol : r.after) states = t.Targets(states, g.symbols[symbol].tableId);
    }
    EXPECT_FALSE(states.empty()) << "recovery point of line " << r.line;
    for (uint32_t s : states) {
      std::set<int32_t> actions = t.ActionTokens(s);
      for (int token : r.tokens)
        if (actions.count(g.symbols[token].tableId)) expected[s].insert(g.symbols[token].tableId);
    }
  }
  for (uint32_t s = 0; s < t.States(); ++s) {
    std::set<int32_t> want = expected.count(s) ? expected[s] : std::set<int32_t>{};
    EXPECT_EQ(want, t.SyncTokens(s)) << "state " << s;
    if (!want.empty()) {
      EXPECT_EQ(want == t.ActionTokens(s), (t.Flags(s) & kAllSync) != 0) << "state " << s;
    }
  }

  // The start state resumes at the 36 construct starts, and never at text.
  std::set<int32_t> start = t.SyncTokens(0);
  EXPECT_EQ(36u, start.size());
  for (const char* name : {"TEXT", "TAG", "LESS_THAN", "GREATER_THAN", "INCORRECT_FILE", "FONT_DEFINITIONS_START"})
    EXPECT_EQ(0u, start.count(TokenId(g, name))) << name;
  EXPECT_EQ(1u, start.count(TokenId(g, "MANUAL_COMMENT_START")));
  // After a component start only its name is expected: every action is a sync token.
  std::set<uint32_t> afterComponent = t.Targets({0}, TokenId(g, "COMPONENT_START"));
  ASSERT_EQ(1u, afterComponent.size());
  EXPECT_EQ(kAllSync, t.Flags(*afterComponent.begin()));
  EXPECT_EQ(std::set<int32_t>{TokenId(g, "DQUOTED_TEXT")}, t.SyncTokens(*afterComponent.begin()));
}

// The engine's precomputed lookups answer as the rows do: the first entry
// for a symbol, and nothing for the symbols a row lacks.
TEST(YaccTable, EngineLookupsAnswerAsTheRows) {
  const TableBytes table;
  const std::string bytes = testsupport::ReadFile(parsertest::YaccTableFile());
  const SSYaccTable engine(std::span(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()), "table");
  // Every nonterminal lies below the base and one per production above it.
  const int32_t highestSymbol = kNonterminalBase + static_cast<int32_t>(engine.ProductionCount()) + 8;
  for (uint32_t s = 0; s < table.States(); ++s) {
    std::map<int32_t, uint32_t> actions;
    for (uint32_t i = 0; i < table.Actions(s); ++i) actions.emplace(table.ActionToken(s, i), table.ActionWord(s, i));
    std::map<int32_t, int32_t> gotos;
    for (uint32_t i = 0; i < table.Gotos(s); ++i)
      gotos.emplace(table.GotoSymbol(s, i), static_cast<int32_t>(table.GotoTarget(s, i)));
    const auto state = static_cast<int32_t>(s);
    for (int32_t symbol = -2; symbol < highestSymbol; ++symbol) {
      const auto action = actions.find(symbol);
      const uint32_t found = engine.FindAction(state, symbol);
      if (action == actions.end()) {
        ASSERT_EQ(found, 0u) << s << ' ' << symbol;
      } else if ((action->second & kKindMask) == kReduce) {
        ASSERT_EQ(found & kKindMask, kReduce) << s << ' ' << symbol;
        ASSERT_EQ(SSYaccTable::ProductionOf(found), action->second & kNumberMask) << s << ' ' << symbol;
      } else {
        ASSERT_EQ(found, action->second) << s << ' ' << symbol;
      }
      const auto target = gotos.find(symbol);
      ASSERT_EQ(engine.FindGoto(state, symbol), target == gotos.end() ? -1 : target->second) << s << ' ' << symbol;
    }
  }
}

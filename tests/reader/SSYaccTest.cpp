// The parser engine on hand-fed tokens: reductions of the Interleaf
// grammar, error recovery, the abort flag, elements, and the engine's errors.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Resources.h"
#include "reader/SSException.h"
#include "reader/SSLex.h"
#include "reader/SSYacc.h"
#include "reader/YaccTableFormat.h"
#include "resources/InterleafProductions.h"
#include "tests/reader/ParserTestSupport.h"
#include "tools/grammargen/GrammarParser.h"

using parsertest::FedParser;
using Reductions = std::vector<int32_t>;

namespace {

const std::string kHeader = "OPS_START VERSION INTEGER PERIOD INTEGER OPS_END ";
const std::string kDefinition =
    " FONT_DEFINITION_ELEMENT_START FONT_DEFINITION_ELEMENT_EQUAL FONT_DEFINITION_ELEMENT_WORD "
    "FONT_DEFINITION_ELEMENT_SIZE ";
const Reductions kHeaderReductions = {26, 33, 9, 6};

// ',' DIAGRAM_DATA for each field, ',' alone for the fields in \p empty.
std::string Fields(int count, std::vector<int> empty = {}) {
  std::string out;
  for (int f = 1; f <= count; ++f) {
    out += " ',' ";
    if (std::find(empty.begin(), empty.end(), f) == empty.end()) out += "DIAGRAM_DATA ";
  }
  return out;
}

std::string InFrame(const std::string& objects) { return "FRAME_START DIAGRAM_START " + objects + " FRAME_END"; }

// The reductions that follow the header's.
Reductions AfterHeader(const Reductions& all) {
  if (all.size() < kHeaderReductions.size() ||
      !std::equal(kHeaderReductions.begin(), kHeaderReductions.end(), all.begin()))
    return {-1};
  return Reductions(all.begin() + kHeaderReductions.size(), all.end());
}

template <class F>
SSException Thrown(F&& f) {
  try {
    f();
  } catch (const SSException& e) {
    return e;
  }
  ADD_FAILURE() << "no SSException";
  return SSException(0, "none");
}

}  // namespace

TEST(SSYaccGrammar, BareHeaderIsAcceptedWithResultZero) {
  FedParser p(kHeader);
  EXPECT_EQ(0, p.Parse());
  EXPECT_EQ((Reductions{26, 33, 9, 6, 3, 1}), p.reductions);
}

TEST(SSYaccGrammar, FontDefinitionsReduceInOrder) {
  FedParser two(kHeader + "FONT_DEFINITIONS_START" + kDefinition + "FONT_DEFINITION_ELEMENT_COMMA" + kDefinition +
                "FONT_DEFINITION_ELEMENT_BOLD FONT_DEFINITION_ELEMENT_ITALIC TAG_END");
  EXPECT_EQ(0, two.Parse());
  EXPECT_EQ((Reductions{22, 20, 18, 24, 21, 16, 7, 3, 1}), AfterHeader(two.reductions));

  FedParser one(kHeader + "FONT_DEFINITIONS_START" + kDefinition + "TAG_END");
  EXPECT_EQ(0, one.Parse());
  EXPECT_EQ((Reductions{22, 21, 17, 7, 3, 1}), AfterHeader(one.reductions));

  FedParser italic(kHeader + "FONT_DEFINITIONS_START" + kDefinition + "FONT_DEFINITION_ELEMENT_ITALIC TAG_END");
  EXPECT_EQ(0, italic.Parse());
  EXPECT_EQ(25, AfterHeader(italic.reductions)[0]);
}

TEST(SSYaccGrammar, ComponentStartWithFontAndItsElements) {
  FedParser p(kHeader + "COMPONENT_START DQUOTED_TEXT END_DQUOTE JUNK FONT NUMBER TAG_END");
  std::string fontNumber;
  p.onReduce = [&](FedParser& parser, int32_t production) {
    if (production == productions::kFontNumber) {
      fontNumber = parser.ElementFromProduction(2)->Token()->Text();
      EXPECT_EQ(nullptr, parser.ElementFromProduction(0)->Token());  // tag_head
    }
  };
  EXPECT_EQ(0, p.Parse());
  EXPECT_EQ((Reductions{35, 58, 65, 68, 7, 3, 1}), AfterHeader(p.reductions));
  EXPECT_EQ("NUMBER", fontNumber);
}

TEST(SSYaccGrammar, TextStringAndChartFontFields) {
  FedParser full(kHeader + InFrame("TEXT_STRING_START" + Fields(12) + "TEXT_STRING_END"));
  EXPECT_EQ(0, full.Parse());
  Reductions textString = {70, 111, 121, 111, 117, 119, 111, 111, 111, 111, 111, 115, 113, 123};
  EXPECT_TRUE(std::search(full.reductions.begin(), full.reductions.end(), textString.begin(), textString.end()) !=
              full.reductions.end());

  FedParser noFont(kHeader + InFrame("TEXT_STRING_START" + Fields(12, {11}) + "TEXT_STRING_END"));
  EXPECT_EQ(0, noFont.Parse());
  EXPECT_EQ(1, std::count(noFont.reductions.begin(), noFont.reductions.end(), 116));
  EXPECT_EQ(0, std::count(noFont.reductions.begin(), noFont.reductions.end(), 115));

  FedParser chart(kHeader + InFrame("CHART_START" + Fields(9) + "CHART_LABEL_START CHART_LABEL_END CHART_END"));
  EXPECT_EQ(0, chart.Parse());
  Reductions chartFields = {124, 130, 124, 126, 128, 124, 124, 132, 124, 134, 138, 139, 135, 136};
  EXPECT_TRUE(std::search(chart.reductions.begin(), chart.reductions.end(), chartFields.begin(), chartFields.end()) !=
              chart.reductions.end());
}

TEST(SSYaccGrammar, WrongFieldCountIsASyntaxErrorThatRecoversAtTheFrameEnd) {
  for (int fields : {11, 13}) {
    FedParser p(kHeader + InFrame("TEXT_STRING_START" + Fields(fields) + "TEXT_STRING_END") +
                " COMPONENT_START DQUOTED_TEXT END_DQUOTE TAG_END");
    EXPECT_EQ(1, p.Parse()) << fields;
    EXPECT_EQ(0, std::count(p.reductions.begin(), p.reductions.end(), 123)) << fields;
    // The broken frame is closed by its FRAME_END; the tag after it parses normally.
    Reductions tail = {82, 13, 7, 35, 68, 7, 3, 1};
    EXPECT_TRUE(std::equal(tail.rbegin(), tail.rend(), p.reductions.rbegin())) << fields;
  }
}

TEST(SSYaccRecovery, UnderlineRecoversAtTheNextConstruct) {
  FedParser p(kHeader + "FONT_DEFINITIONS_START" + kDefinition +
              "FONT_DEFINITION_ELEMENT_UNDERLINE TAG_END TEXT COMPONENT_START DQUOTED_TEXT END_DQUOTE TAG_END");
  EXPECT_EQ(1, p.Parse());
  EXPECT_TRUE(p.ErrorSeen());
  // Nothing of the broken definition is reduced; TEXT is dropped with it.
  EXPECT_EQ((Reductions{35, 68, 7, 3, 1}), AfterHeader(p.reductions));
}

TEST(SSYaccRecovery, NoConstructLeftEndsInReadPastEof) {
  FedParser underline(kHeader + "FONT_DEFINITIONS_START" + kDefinition + "FONT_DEFINITION_ELEMENT_UNDERLINE TAG_END");
  SSException e = Thrown([&] { underline.Parse(); });
  EXPECT_EQ(SSCode::kYaccReadPastEof, e.code());
  EXPECT_STREQ("SSYacc0103e: Attempted read past eof", e.what());

  // A body needs at least one item.
  FedParser emptyBody(kHeader + "END_DECLARATIONS");
  EXPECT_STREQ("SSYacc0103e: Attempted read past eof", Thrown([&] { emptyBody.Parse(); }).what());

  FedParser withBody(kHeader + "END_DECLARATIONS TEXT");
  EXPECT_EQ(0, withBody.Parse());
  EXPECT_EQ((Reductions{3, 4, 10, 6, 5, 2}), AfterHeader(withBody.reductions));
}

TEST(SSYaccRecovery, ResumesInTheInnermostConstructThatTakesTheToken) {
  // The broken quoted string ends at the inner tag's '>'; the quoted part
  // and the outer tag then close normally.
  FedParser p(kHeader + "TAG_START START_SQUOTE TAG_START START_DQUOTE OPS_END TAG_END END_SQUOTE TAG_END");
  EXPECT_EQ(1, p.Parse());
  EXPECT_EQ((Reductions{34, 34, 68, 61, 68, 7, 3, 1}), AfterHeader(p.reductions));

  // A stray token after 'Font = F' abandons the font but keeps the tag.
  FedParser font(kHeader + "COMPONENT_START DQUOTED_TEXT END_DQUOTE FONT OPS_END TAG_END TAG_START TAG_END");
  EXPECT_EQ(1, font.Parse());
  EXPECT_EQ((Reductions{35, 68, 7, 34, 68, 7, 3, 1}), AfterHeader(font.reductions));
}

TEST(SSYaccEngine, DeepNestingGrowsTheStack) {
  std::string open, close;
  for (int i = 0; i < 100; ++i) {
    open += "TAG_START START_SQUOTE ";
    close += " END_SQUOTE TAG_END";
  }
  FedParser p(kHeader + open + "TEXT" + close);
  EXPECT_EQ(0, p.Parse());
  EXPECT_EQ(100, std::count(p.reductions.begin(), p.reductions.end(), 61));
}

TEST(SSYaccEngine, AbortFlagStopsAtOnce) {
  FedParser p(kHeader + "TAG_START TAG_END");
  p.onReduce = [](FedParser& parser, int32_t production) {
    if (production == 33) parser.SetAbort();
  };
  EXPECT_EQ(1, p.Parse());
  EXPECT_EQ((Reductions{26, 33}), p.reductions);
  EXPECT_FALSE(p.ErrorSeen());
}

TEST(SSYaccEngine, ElementFromProductionChecksItsIndex) {
  FedParser p(kHeader + InFrame("TEXT_STRING_START" + Fields(12, {11}) + "TEXT_STRING_END"));
  std::vector<SSException> errors;
  p.onReduce = [&](FedParser& parser, int32_t production) {
    if (production == productions::kTextStringFontEmpty)
      errors.push_back(Thrown([&] { parser.ElementFromProduction(0); }));  // empty rule
    if (production == 26) {
      EXPECT_STREQ("OPS_START", parser.ElementFromProduction(0)->Token()->Text());
      EXPECT_STREQ("INTEGER", parser.ElementFromProduction(4)->Token()->Text());
      errors.push_back(Thrown([&] { parser.ElementFromProduction(5); }));
      errors.push_back(Thrown([&] { parser.ElementFromProduction(-1); }));
    }
  };
  EXPECT_EQ(0, p.Parse());
  ASSERT_EQ(3u, errors.size());
  EXPECT_EQ(SSCode::kYaccInvalidIndex, errors[0].code());
  EXPECT_STREQ("SSYacc0108e: Invalid index on elementFromProduction, 5", errors[0].what());
  EXPECT_STREQ("SSYacc0108e: Invalid index on elementFromProduction, -1", errors[1].what());
  EXPECT_STREQ("SSYacc0108e: Invalid index on elementFromProduction, 0", errors[2].what());
  EXPECT_STREQ("SSYacc0108e: Invalid index on elementFromProduction, 0",
               Thrown([&] { p.ElementFromProduction(0); }).what());  // outside a reduction
}

namespace {
// A parser on the lexer's tokens, which go on the stack without elements;
// onReduce runs inside each reduction.
class LexedParser : public SSYacc {
 public:
  using SSYacc::TokenFromProduction;
  SSRefPtr<SSYaccStackElement> Reduce(int32_t production, int32_t) override {
    if (onReduce) onReduce(production);
    return {};
  }
  std::function<void(int32_t)> onReduce;
};
}  // namespace

TEST(SSYaccEngine, TokenFromProductionReadsTheStackAsElementsWould) {
  SSLex lex(CResourceModule::Embedded(), "<!OPS, Version = 8.0>\n\nab<F12>cd\n", "t.doc");
  LexedParser parser;
  parser.LoadTable(CResourceModule::Embedded(), "TYPESWAP", "YaccTable");
  parser.SetLex(lex);
  std::vector<std::string> seen;
  const auto read = [&](int32_t index) {
    SSTokenView token;
    if (!parser.TokenFromProduction(index, token)) return std::string("none");
    const SSTextPlace at = token.Place();
    return std::string(token.View()) + "@" + std::to_string(at.line) + ":" + std::to_string(at.column);
  };
  parser.onReduce = [&](int32_t production) {
    if (production == 26) {     // OPS_START VERSION INTEGER PERIOD INTEGER
      seen.push_back(read(4));  // the last symbol: on top of the stack
      seen.push_back(read(0));
    }
    if (production == productions::kFontChange) {
      seen.push_back(read(0));
      // An element that holds no token hides the one on the stack.
      parser.ElementFromProduction(0)->SetToken({});
      seen.push_back(read(0));
    }
  };
  EXPECT_EQ(0, parser.Parse());
  EXPECT_EQ((std::vector<std::string>{"0@1:20", "<!OPS,@1:1", "<F12@3:3", "none"}), seen);
}

namespace {
// A fed parser that records the tokens its TokenHook sees, with the
// filters at hand; it hooks every token from the first it sees on when
// everyAfterFirst.
class FilteredParser : public FedParser {
 public:
  using FedParser::FedParser;
  using SSYacc::kReducePoll;
  using SSYacc::SetReduceFilter;
  using SSYacc::SetTokenHookFilter;
  int32_t TokenHook(const SSTokenView& token) override {
    hooked.push_back(token.Id());
    if (everyAfterFirst) HookEveryToken(true);
    return 0;
  }
  std::vector<int32_t> hooked;
  bool everyAfterFirst = false;
};
}  // namespace

TEST(SSYaccEngine, FiltersLetThroughWhatIsWantedAndPollWithTheRest) {
  std::string items;
  for (int i = 0; i < 300; ++i) items += " TEXT";
  FilteredParser all(kHeader + items);
  ASSERT_EQ(0, all.Parse());

  constexpr int32_t kItemText = 10;  // item : TEXT
  bool wantedProductions[kItemText + 1] = {};
  wantedProductions[kItemText] = true;
  const int32_t text = parsertest::TokenId(parsertest::InterleafGrammar(), "TEXT");
  std::unique_ptr<bool[]> wantedTokens(new bool[static_cast<size_t>(text) + 1]());
  wantedTokens[static_cast<size_t>(text)] = true;

  FilteredParser p(kHeader + items);
  p.SetReduceFilter(wantedProductions);
  p.SetTokenHookFilter({wantedTokens.get(), static_cast<size_t>(text) + 1});
  ASSERT_EQ(0, p.Parse());
  // Every reduction that is wanted, and every kReducePoll-th of the others.
  Reductions expected;
  size_t others = 0;
  for (int32_t production : all.reductions)
    if (production == kItemText || ++others % FilteredParser::kReducePoll == 0) expected.push_back(production);
  EXPECT_EQ(300, std::count(expected.begin(), expected.end(), kItemText));
  EXPECT_LT(300u, expected.size());
  EXPECT_EQ(expected, p.reductions);
  EXPECT_EQ(std::vector<int32_t>(300, text), p.hooked);

  FilteredParser every(kHeader + items);
  every.SetTokenHookFilter({wantedTokens.get(), static_cast<size_t>(text) + 1});
  every.everyAfterFirst = true;
  ASSERT_EQ(0, every.Parse());
  std::vector<int32_t> fromFirstText(300, text);
  fromFirstText.push_back(YaccTableFormat::kEofToken);
  EXPECT_EQ(fromFirstText, every.hooked);
}

TEST(SSYaccEngine, ReplacementParseTokenIsWhatTheTableSees) {
  FedParser p("");
  const grammargen::Grammar& g = parsertest::InterleafGrammar();
  for (const char* name : {"OPS_START", "VERSION", "INTEGER", "PERIOD", "INTEGER"})
    p.Queue(SSToken::Make(parsertest::TokenId(g, name), name, 1, 1));
  p.Queue(SSToken::Make(999, ">", 1, 1, 0, parsertest::TokenId(g, "OPS_END")));
  EXPECT_EQ(0, p.Parse());
}

// A grammar with an error production: "%error" entries in the table.
const char kStatements[] = R"(
%token eof -1
%token %error -2
%token A 1
%token B 2
%token SEMI 3
0 start : list eof
1 list : stmt
2 list : list stmt
3 stmt : A B SEMI
4 stmt : %error SEMI
)";

TEST(SSYaccRecovery, ErrorEntryPushesTheErrorToken) {
  std::vector<unsigned char> table = parsertest::CompileGrammar(kStatements);
  Diagnostics diag("x");
  grammargen::Grammar g = grammargen::ParseGrammar(kStatements, diag);
  FedParser p(table, g, "A B SEMI A A SEMI A B SEMI");
  std::string errorText;
  p.onReduce = [&](FedParser& parser, int32_t production) {
    if (production == 4) {
      errorText = parser.ElementFromProduction(0)->Token()->Text();
      EXPECT_EQ(YaccTableFormat::kErrorToken, parser.ElementFromProduction(0)->Token()->Id());
    }
  };
  EXPECT_EQ(1, p.Parse());
  EXPECT_EQ((Reductions{3, 1, 4, 2, 3, 2}), p.reductions);
  EXPECT_EQ("%error", errorText);

  // Without error entries or recovery points there is nowhere to resume.
  std::string plain = kStatements;
  plain.erase(plain.find("4 stmt"));
  grammargen::Grammar g2 = grammargen::ParseGrammar(plain, diag);
  FedParser q(parsertest::CompileGrammar(plain), g2, "A A");
  SSException e = Thrown([&] { q.Parse(); });
  EXPECT_EQ(SSCode::kYaccErrorTokenFailed, e.code());
  EXPECT_STREQ("SSYacc0105e: Error token failed, no valid token", e.what());
}

TEST(SSYaccEngine, MissingTableLexerOrResource) {
  SSYacc noTable;
  SSException e = Thrown([&] { noTable.Parse(); });
  EXPECT_EQ(SSCode::kYaccNoTable, e.code());
  EXPECT_STREQ("SSYacc0109e: setTable missing, required", e.what());

  SSYacc noLex;
  noLex.LoadTable(CResourceModule::Embedded(), "TYPESWAP", "YaccTable");
  e = Thrown([&] { noLex.Parse(); });
  EXPECT_EQ(SSCode::kYaccNoLex, e.code());
  EXPECT_STREQ("SSYacc0110e: setLex missing, required", e.what());

  e = Thrown([&] { noLex.LoadTable(CResourceModule::Embedded(), "OTHER", "YaccTable"); });
  EXPECT_EQ(SSCode::kYaccResourceNotFound, e.code());
  EXPECT_STREQ("SSYacc0115e: Resource not found, OTHER", e.what());

  e = Thrown([&] { noLex.LoadTableFile("/nonexistent/table"); });
  EXPECT_EQ(SSCode::kYaccOpenFile, e.code());
  EXPECT_STREQ("SSYacc0101e: Open file failed, /nonexistent/table", e.what());
}

namespace {

std::vector<unsigned char> StatementsTable() { return parsertest::CompileGrammar(kStatements); }

void Put(std::vector<unsigned char>& t, size_t offset, uint32_t value) {
  for (int b = 0; b < 4; ++b) t[offset + b] = static_cast<unsigned char>(value >> (8 * b));
}
uint32_t Get(const std::vector<unsigned char>& t, size_t offset) {
  return t[offset] | t[offset + 1] << 8 | t[offset + 2] << 16 | static_cast<uint32_t>(t[offset + 3]) << 24;
}
// Offset of the first action word of state 0.
size_t FirstAction(const std::vector<unsigned char>& t) { return Get(t, 20) + 12; }

SSException LoadError(const std::vector<unsigned char>& t) {
  SSYacc p;
  return Thrown([&] { parsertest::LoadTableImage(p, t); });
}

SSException ParseError(const std::vector<unsigned char>& t, const std::string& names) {
  Diagnostics diag("x");
  grammargen::Grammar g = grammargen::ParseGrammar(kStatements, diag);
  FedParser p(t, g, names);
  return Thrown([&] { p.Parse(); });
}

}  // namespace

TEST(SSYaccTable, DamagedTablesAreRefused) {
  std::vector<unsigned char> good = StatementsTable();
  for (uint32_t magic : {0u, 1u}) {
    std::vector<unsigned char> t = good;
    Put(t, 0, magic);
    SSYacc p;
    EXPECT_NO_THROW(parsertest::LoadTableImage(p, t));
  }
  std::vector<unsigned char> t = good;
  Put(t, 0, 0x12345678);
  EXPECT_STREQ("SSYacc0111e: Error reading table, TEST", LoadError(t).what());
  EXPECT_EQ(SSCode::kYaccReadTable, LoadError(t).code());

  t = good;
  Put(t, 8, 1000000);  // more states than the image holds
  EXPECT_STREQ("SSYacc0112e: Table too big", LoadError(t).what());
  EXPECT_EQ(SSCode::kYaccTableTooBig, LoadError(t).code());
  t = good;
  t.resize(t.size() - 8);  // last row cut short
  EXPECT_STREQ("SSYacc0112e: Table too big", LoadError(t).what());

  t = good;
  Put(t, FirstAction(t), YaccTableFormat::kShift | 999);  // shift to a state that does not exist
  EXPECT_STREQ("SSYacc0111e: Error reading table, TEST", LoadError(t).what());
}

TEST(SSYaccTable, BadEntriesFailTheParse) {
  std::vector<unsigned char> good = StatementsTable();
  std::vector<unsigned char> t = good;
  Put(t, FirstAction(t), YaccTableFormat::kLookahead | 0);
  SSException e = ParseError(t, "A B SEMI");
  EXPECT_EQ(SSCode::kYaccParseFailed, e.code());
  EXPECT_STREQ("SSYacc0102e: Parse failed, invalid table", e.what());

  t = good;
  Put(t, FirstAction(t), 0x03000000);  // no kind at all
  EXPECT_STREQ("SSYacc0102e: Parse failed, invalid table", ParseError(t, "A B SEMI").what());

  // State 0 loses its gotos: the first reduction has nowhere to go.
  t = good;
  Put(t, Get(t, 20) + 4, 0);
  e = ParseError(t, "A B SEMI");
  EXPECT_EQ(SSCode::kYaccInvalidGoto, e.code());
  EXPECT_STREQ("SSYacc0107e: Invalid goto on 16385", e.what());
}

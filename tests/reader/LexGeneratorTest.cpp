// The lexer generator on small rules files: what it reports for faulty
// rules, and what a table it makes does when SSLex runs it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "reader/SSException.h"
#include "reader/SSLex.h"
#include "tests/reader/LexTestSupport.h"
#include "tools/lexgen/LexGenerator.h"

namespace {

struct Generated {
  bool failed = true;
  std::string errors;  // one a line
  std::string table;
};

Generated Generate(const std::string& rules) {
  Diagnostics diagnostics("rules.lex");
  std::optional<LexGeneration> generation = GenerateLexTable("rules.lex", rules, diagnostics);
  Generated g;
  g.failed = !generation;
  for (const std::string& e : diagnostics.Messages()) g.errors += e + "\n";
  if (generation) g.table.assign(generation->table.begin(), generation->table.end());
  return g;
}

std::vector<std::string> LexWith(const std::string& table, const std::string& text) {
  const ResourceEntry entries[] = {
      {"LexTable", "TYPESWAP", reinterpret_cast<const unsigned char*>(table.data()), table.size()}};
  std::vector<std::string> out;
  try {
    SSLex lex(CResourceModule(entries), text, "t");
    while (SSRefPtr<SSToken> t = lex.NextToken()) out.push_back(lextest::Describe(t->Id(), std::string(t->View())));
  } catch (const SSException& e) {
    out.push_back(std::string("ERROR ") + e.what());
  }
  return out;
}

}  // namespace

TEST(LexGenerator, ReportsEveryFaultWithItsLine) {
  Generated g = Generate(
      "mode 0 start\n"
      "  [a-z]+ => WORD\n"
      "  'abc' => TEXT\n"  // the word rule takes all of its matches
      "  'x'* => JUNK\n"   // matches the empty text
      "  '1' => NO_SUCH_TOKEN\n"
      "  '2' => TEXT push nowhere\n"  // no such mode
      "end\n");
  EXPECT_TRUE(g.failed);
  EXPECT_NE(g.errors.find("rules.lex:5: unknown token 'NO_SUCH_TOKEN'"), std::string::npos) << g.errors;
  EXPECT_NE(g.errors.find("rules.lex:6: no mode is titled 'nowhere'"), std::string::npos) << g.errors;

  g = Generate("mode 0 start\n  [a-z]+ => WORD\n  'abc' => TEXT\n  'x'* => JUNK\nend\n");
  EXPECT_TRUE(g.failed);
  EXPECT_NE(g.errors.find("rules.lex:4: the pattern matches the empty text"), std::string::npos) << g.errors;

  g = Generate("mode 0 start\n  [a-z]+ => WORD\n  'abc' => TEXT\nend\n");
  EXPECT_TRUE(g.failed);
  EXPECT_EQ(g.errors, "rules.lex:3: in mode 0 this never matches: earlier rules take all of its matches\n");

  g = Generate("mode 1 late\n  'a' => TEXT\nend\nmode 0 x\n  'b => TEXT\n");
  EXPECT_TRUE(g.failed);
  EXPECT_NE(g.errors.find("rules.lex:5: unterminated literal"), std::string::npos) << g.errors;
  EXPECT_NE(g.errors.find("missing 'end'"), std::string::npos) << g.errors;

  g = Generate("mode 0 same\n  'a' => TEXT switch same\nend\nmode 1 same\n  'b' => TEXT\nend\n");
  EXPECT_EQ(g.errors, "rules.lex:4: mode title 'same' is used twice\n");
}

TEST(LexGenerator, TableRunsLongestMatchPriorityStackAndAutomaton) {
  Generated g = Generate(
      "let D = [0-9]\n"
      "mode 0 words empty TEXT\n"
      "  'if' => TAG\n"  // the keyword first: it wins the tie
      "  [a-z]+ => WORD\n"
      "  ' ' => skip\n"
      "  '<' => TAG_START push numbers\n"
      "end\n"
      "mode 1 numbers\n"
      "  automaton\n"
      "    start : D -> int\n"
      "    int => INTEGER : D -> int  '.' -> dot\n"
      "    dot : D -> frac\n"
      "    frac => NUMBER : D -> frac\n"
      "  end\n"
      "  ' ' => skip\n"
      "  '>' => TAG_END pop\n"
      "end\n");
  ASSERT_FALSE(g.failed) << g.errors;
  EXPECT_EQ(LexWith(g.table, "if iffy <12.5 7.>x"),
            (std::vector<std::string>{"TAG if", "WORD iffy", "TAG_START <", "NUMBER 12.5", "INTEGER 7",
                                      "ERROR SSLex0105e: Invalid token, Line 1, Offset 16, ."}));
  // Where nothing matches, mode 0's empty token comes once, then the error.
  EXPECT_EQ(LexWith(g.table, "ab!"),
            (std::vector<std::string>{"WORD ab", "TEXT", "ERROR SSLex0105e: Invalid token, Line 1, Offset 3, !"}));
}

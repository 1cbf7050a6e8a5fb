// tools/lexgen on small rules files: what it reports for faulty rules, and
// what a table it makes does when SSLex runs it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "reader/SSException.h"
#include "reader/SSLex.h"
#include "tests/reader/LexTestSupport.h"
#include "tests/support/TestSupport.h"

namespace {

struct Generated {
  int status = -1;
  std::string errors;
  std::string table;
};

Generated Generate(const std::string& rules) {
  testsupport::TempDir dir;
  std::string in = dir.Write("rules.lex", rules);
  std::string out = (dir.path() / "out.lextable").string();
  Generated g;
  g.errors = testsupport::RunCommand("cd '" + dir.path().string() + "' && " +
                                         testsupport::BuiltProgram("tools/ts_lexgen") +
                                         " rules.lex out.lextable out.report 2>&1",
                                     g.status);
  g.table = testsupport::ReadFile(out);
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
      "  'abc' => TEXT\n"        // the word rule takes all of its matches
      "  'x'* => JUNK\n"         // matches the empty text
      "  '1' => NO_SUCH_TOKEN\n"
      "  '2' => TEXT push 7\n"   // no mode 7
      "end\n");
  EXPECT_EQ(g.status, 1);
  EXPECT_NE(g.errors.find("rules.lex:5: unknown token 'NO_SUCH_TOKEN'"), std::string::npos) << g.errors;
  EXPECT_NE(g.errors.find("rules.lex:6: mode 7 does not exist"), std::string::npos) << g.errors;

  g = Generate("mode 0 start\n  [a-z]+ => WORD\n  'abc' => TEXT\n  'x'* => JUNK\nend\n");
  EXPECT_EQ(g.status, 1);
  EXPECT_NE(g.errors.find("rules.lex:4: the pattern matches the empty text"), std::string::npos) << g.errors;

  g = Generate("mode 0 start\n  [a-z]+ => WORD\n  'abc' => TEXT\nend\n");
  EXPECT_EQ(g.status, 1);
  EXPECT_EQ(g.errors, "rules.lex:3: in mode 0 this never matches: earlier rules take all of its matches\n");

  g = Generate("mode 1 late\n  'a' => TEXT\nend\nmode 0 x\n  'b => TEXT\n");
  EXPECT_EQ(g.status, 1);
  EXPECT_NE(g.errors.find("rules.lex:5: unterminated literal"), std::string::npos) << g.errors;
  EXPECT_NE(g.errors.find("missing 'end'"), std::string::npos) << g.errors;
}

TEST(LexGenerator, TableRunsLongestMatchPriorityStackAndAutomaton) {
  Generated g = Generate(
      "let D = [0-9]\n"
      "mode 0 words empty TEXT\n"
      "  'if' => TAG\n"                 // the keyword first: it wins the tie
      "  [a-z]+ => WORD\n"
      "  ' ' => skip\n"
      "  '<' => TAG_START push 1\n"
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
  ASSERT_EQ(g.status, 0) << g.errors;
  EXPECT_EQ(LexWith(g.table, "if iffy <12.5 7.>x"),
            (std::vector<std::string>{"TAG if", "WORD iffy", "TAG_START <", "NUMBER 12.5", "INTEGER 7",
                                      "ERROR SSLex0105e: Invalid token, Line 1, Offset 16, ."}));
  // Where nothing matches, mode 0's empty token comes once, then the error.
  EXPECT_EQ(LexWith(g.table, "ab!"),
            (std::vector<std::string>{"WORD ab", "TEXT", "ERROR SSLex0105e: Invalid token, Line 1, Offset 3, !"}));
}

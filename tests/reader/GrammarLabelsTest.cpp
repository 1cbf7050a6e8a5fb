// Production labels in a grammar: what the generated header names, and the
// faults the generator reports for labels.
#include <gtest/gtest.h>

#include <string>

#include "tools/grammargen/GrammarParser.h"
#include "tools/grammargen/ProductionsHeader.h"

namespace {

std::string Errors(const Diagnostics& diag) {
  std::string out;
  for (const std::string& m : diag.Messages()) out += m + "\n";
  return out;
}

}  // namespace

TEST(GrammarLabels, HeaderNamesLabelledProductionsAndGivesEveryLength) {
  Diagnostics diag("g");
  grammargen::Grammar g = grammargen::ParseGrammar(
      "%token A 1\n%token B 2\n%token END 3\n"
      "0 start : list END\n"
      "1 list : A  [One]\n"
      "2 list : list fields(item*2) \\\n"
      "         [Many]\n"
      "3 item : B\n"
      "%token ',' 4\n",
      diag);
  ASSERT_FALSE(diag.Failed()) << Errors(diag);
  std::string header = grammargen::WriteProductionsHeader(g, "g");
  EXPECT_NE(header.find("inline constexpr int32_t kOne = 1;\n"), std::string::npos) << header;
  EXPECT_NE(header.find("inline constexpr int32_t kMany = 2;\n"), std::string::npos) << header;
  EXPECT_NE(header.find("kRightLengths[4] = {\n    2, 1, 5, 1,\n};"), std::string::npos) << header;
  EXPECT_NE(header.find("kLabelled[4] = {\n    0, 1, 1, 0,\n};"), std::string::npos) << header;
}

TEST(GrammarLabels, MisplacedRepeatedOrMalformedLabelsAreErrors) {
  Diagnostics diag("g");
  grammargen::ParseGrammar(
      "%token A 1\n%token END 3\n"
      "0 start : list END\n"
      "1 list : A [Same]\n"
      "2 list : list A [Same]\n"
      "3 list : [Early] list A\n"
      "4 list : list A A [no-dash]\n",
      diag);
  EXPECT_EQ(Errors(diag),
            "g:5: label [Same] used twice\n"
            "g:6: a label [Early] must end its production\n"
            "g:7: bad label [no-dash]: expected [Name] of letters and digits\n");
}

// typeswap-cli load: its line format, the selection options and the exit
// status.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "tests/support/TestSupport.h"

namespace {

struct Output {
  std::vector<std::string> lines;
  int status = -1;
  bool Has(const std::string& line) const {
    for (const std::string& l : lines)
      if (l == line) return true;
    return false;
  }
  std::vector<std::string> Starting(const std::string& prefix) const {
    std::vector<std::string> out;
    for (const std::string& l : lines)
      if (l.rfind(prefix, 0) == 0) out.push_back(l);
    return out;
  }
};

Output Load(const std::string& arguments) {
  Output out;
  std::string text =
      testsupport::RunCommand(testsupport::BuiltProgram("typeswap-cli") + " load " + arguments, out.status);
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) out.lines.push_back(line);
  return out;
}

std::string Data(const std::string& name) {
  return testsupport::SourcePath("tests/app/data/" + name).string();
}

}  // namespace

TEST(LoadCommand, PrintsLogStateReferencesAndLists) {
  std::string latin = Data("latin.doc"), fonts = Data("fonts.doc");
  Output out = Load("--translated '" + latin + "' --fonts '" + fonts + ";'");
  EXPECT_EQ(0, out.status);
  ASSERT_FALSE(out.lines.empty());
  EXPECT_EQ("LOG\t------------------------- Loading Translated Files ------------------------",
            out.lines[0]);
  EXPECT_EQ("LOG\tProcessing: " + latin, out.lines[2]);
  EXPECT_TRUE(out.Has("STATE\tfinished"));
  EXPECT_EQ(16u, out.Starting("REF\ttranslated\t").size());
  EXPECT_EQ(4u, out.Starting("REF\tfonts\t").size());
  // Every field, empty ones included, in GetAt order.
  EXPECT_TRUE(out.Has("REF\ttranslated\t0\tFont Definition\tFont Definition\t-1\tF2\tTimes\t10\t\t\t" +
                      latin + "\t8:2-8:4\tF2"));
  EXPECT_TRUE(out.Has("REF\ttranslated\t6\tFont Number\t|:note\t2\tF4\tTimes\t10\t\tItalic\t" +
                      latin + "\t20:12-20:13\t4"));
  EXPECT_TRUE(out.Has("REF\ttranslated\t14\tChart Font Empty\tChart Font Empty\t-1\t\t\t\t\t\t" +
                      latin + "\t46:20-46:20\t"));
  std::vector<std::string> models = out.Starting("MODEL\t");
  EXPECT_EQ(std::vector<std::string>({
                "MODEL\ttranslated\thighestFontNumber\t7",
                "MODEL\ttranslated\tdefinedFamilies\tTimes New Roman;Helvetica;Times;",
                "MODEL\ttranslated\tnamedFamilies\thel;wst:helv;",
                "MODEL\ttranslated\tfontSizes\t10.5;12;10;",
                "MODEL\tfonts\thighestFontNumber\t4",
                "MODEL\tfonts\tdefinedFamilies\tGothic;Mincho;",
                "MODEL\tfonts\tnamedFamilies\t",
                "MODEL\tfonts\tfontSizes\t9;12;10;",
            }),
            models);
  // Models come after the state, the translated one first.
  EXPECT_EQ("MODEL\tfonts\tfontSizes\t9;12;10;", out.lines.back());
}

TEST(LoadCommand, EscapesTextFields) {
  Output out = Load("--codepage 932 --translated '" + Data("sjis.doc") + "'");
  EXPECT_EQ(0, out.status);
  std::vector<std::string> refs = out.Starting("REF\ttranslated\t2\t");
  ASSERT_EQ(1u, refs.size());
  EXPECT_NE(std::string::npos, refs[0].find("\tFont Number\t\\x95\\\\\\x8e\\xa6\t0\t"));
}

TEST(LoadCommand, SelectionsAndSections) {
  std::string latin = Data("latin.doc");
  // A repeated option appends to the selection; without --fonts there is
  // no font section.
  Output two = Load("--translated '" + latin + "' --translated '" + latin + ";'");
  EXPECT_EQ(0, two.status);
  EXPECT_EQ(2u, two.Starting("LOG\tProcessing: ").size());
  EXPECT_EQ("LOG\t-------------------- Finished Loading Translated Files --------------------",
            two.Starting("LOG\t").back());
  EXPECT_TRUE(two.Has("STATE\tfinished"));

  // Font map files as font files.
  Output maps = Load("--translated '" + latin + "' --fonts '" + Data("fonts.txt") + "' --font-type 2");
  EXPECT_EQ(0, maps.status);
  EXPECT_TRUE(maps.Has("MODEL\tfonts\tnamedFamilies\tArial;"));

  // No valid font file: failed.
  Output failed = Load("--translated '" + latin + "' --fonts '" + Data("fonts.txt") + "'");
  EXPECT_EQ(1, failed.status);
  EXPECT_TRUE(failed.Has("STATE\tfailed"));
  EXPECT_TRUE(failed.Has("LOG\tNo valid font files were found."));

  EXPECT_EQ(2, Load("--fonts '" + latin + "'").status);
  EXPECT_EQ(2, Load("--translated '" + latin + "' --font-type 3").status);
}

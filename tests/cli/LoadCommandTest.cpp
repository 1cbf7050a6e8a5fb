// typeswap-cli load: its line format, the selection options and the exit
// status.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "tests/support/TestSupport.h"

namespace {

using Lines = std::vector<std::string>;

struct Output {
  explicit Output(const std::string& arguments) {
    std::istringstream in(
        testsupport::RunCommand(testsupport::BuiltProgram("typeswap-cli") + " load " + arguments, status));
    for (std::string line; std::getline(in, line);) lines.push_back(line);
  }
  bool Has(const std::string& line) const { return std::count(lines.begin(), lines.end(), line) > 0; }
  Lines Starting(const std::string& prefix) const {
    Lines out;
    std::copy_if(lines.begin(), lines.end(), std::back_inserter(out),
                 [&](const std::string& l) { return l.rfind(prefix, 0) == 0; });
    return out;
  }
  Lines lines;
  int status = -1;
};

std::string Data(const std::string& name) {
  return "'" + testsupport::SourcePath("tests/app/data/" + name).string() + "'";
}

}  // namespace

TEST(LoadCommand, PrintsLogStateReferencesAndLists) {
  std::string latin = testsupport::SourcePath("tests/app/data/latin.doc").string();
  Output out("--translated " + Data("latin.doc") + " --fonts " + Data("fonts.doc"));
  EXPECT_EQ(0, out.status);
  ASSERT_GT(out.lines.size(), 2u);
  EXPECT_EQ("LOG\tCode page 1252, the default (choose another with --codepage or TYPESWAP_CODEPAGE).", out.lines[0]);
  EXPECT_EQ("LOG\tProcessing: " + latin, out.lines[3]);
  EXPECT_TRUE(out.Has("STATE\tfinished"));
  EXPECT_EQ(16u, out.Starting("REF\ttranslated\t").size());
  EXPECT_EQ(4u, out.Starting("REF\tfonts\t").size());
  // Every field, empty ones included, in GetAt order.
  EXPECT_TRUE(
      out.Has("REF\ttranslated\t6\tFont Number\t|:note\t2\tF4\tTimes\t10\t\tItalic\t" + latin + "\t20:12-20:13\t4"));
  EXPECT_TRUE(
      out.Has("REF\ttranslated\t14\tChart Font Empty\tChart Font Empty\t-1\t\t\t\t\t\t" + latin + "\t46:20-46:20\t"));
  EXPECT_EQ(Lines({"MODEL\ttranslated\thighestFontNumber\t7",
                   "MODEL\ttranslated\tdefinedFamilies\tTimes New Roman;Helvetica;Times;",
                   "MODEL\ttranslated\tnamedFamilies\thel;wst:helv;", "MODEL\ttranslated\tfontSizes\t10.5;12;10;",
                   "MODEL\tfonts\thighestFontNumber\t4", "MODEL\tfonts\tdefinedFamilies\tGothic;Mincho;",
                   "MODEL\tfonts\tnamedFamilies\t", "MODEL\tfonts\tfontSizes\t9;12;10;"}),
            out.Starting("MODEL\t"));
  EXPECT_EQ("MODEL\tfonts\tfontSizes\t9;12;10;", out.lines.back());

  // Text fields are escaped: a Shift-JIS name with a backslash byte.
  Output sjis("--codepage 932 --translated " + Data("sjis.doc"));
  EXPECT_EQ(1u, sjis.Starting("REF\ttranslated\t2\tFont Number\t\\x95\\\\\\x8e\\xa6\t0\t").size());
}

TEST(LoadCommand, ALatinFileAfterAShiftJisOneIsReadAsLatin) {
  // Its class "caf<#e9>" is a Latin name, not a Shift-JIS escape "caf<:r233>".
  std::string cafe = testsupport::SourcePath("tests/app/data/cafe.doc").string();
  Output out("--codepage 932 --translated " + Data("sjis.doc") + " --translated " + Data("cafe.doc"));
  EXPECT_EQ(0, out.status);
  EXPECT_TRUE(out.Has("REF\ttranslated\t8\tFont Number\tcaf\\xe9\t0\tF2\tTimes\t10\t\t\t" + cafe + "\t7:11-7:12\t2"));
}

TEST(LoadCommand, TheFirstFileChoosesTheCodePageUnlessTheUserDid) {
  const std::string sjis = " load --translated " + Data("sjis.doc");
  const std::string program = testsupport::BuiltProgram("typeswap-cli");
  int status = -1;
  std::string out = testsupport::RunCommand("env -u TYPESWAP_CODEPAGE " + program + sjis, status);
  EXPECT_EQ(0, status);
  EXPECT_EQ(0u, out.rfind("LOG\tCode page 932 (Shift-JIS): the first translated file declares "
                          "Character Encoding = SJIS.\n",
                          0))
      << out;
  out = testsupport::RunCommand("env TYPESWAP_CODEPAGE=1252 " + program + sjis, status);
  EXPECT_EQ(1, status);
  EXPECT_EQ(0u, out.rfind("LOG\tCode page 1252, chosen with TYPESWAP_CODEPAGE.\n", 0)) << out;
  EXPECT_NE(std::string::npos, out.find("LOG\tERROR! A parser error occurred.\n"));
  out = testsupport::RunCommand("env -u TYPESWAP_CODEPAGE " + program + sjis + " --codepage 1252", status);
  EXPECT_EQ(1, status);
  EXPECT_EQ(0u, out.rfind("LOG\tCode page 1252, chosen with --codepage.\n", 0)) << out;
}

TEST(LoadCommand, SelectionsSectionsAndStatus) {
  // A repeated option appends; without --fonts there is no font section.
  // The same file given twice is one file, loaded once.
  Output two("--translated " + Data("latin.doc") + " --translated " + Data("fonts.doc") + " --translated " +
             Data("latin.doc"));
  EXPECT_EQ(0, two.status);
  EXPECT_EQ(2u, two.Starting("LOG\tProcessing: ").size());
  EXPECT_EQ("LOG\t-------------------- Finished Loading Translated Files --------------------",
            two.Starting("LOG\t").back());
  EXPECT_TRUE(two.Has("STATE\tfinished"));

  Output maps("--translated " + Data("latin.doc") + " --fonts " + Data("fonts.txt") + " --font-type 2");
  EXPECT_EQ(0, maps.status);
  EXPECT_TRUE(maps.Has("MODEL\tfonts\tnamedFamilies\tArial;"));

  Output failed("--translated " + Data("latin.doc") + " --fonts " + Data("fonts.txt"));
  EXPECT_EQ(1, failed.status);
  EXPECT_TRUE(failed.Has("STATE\tfailed"));
  EXPECT_TRUE(failed.Has("LOG\tNo valid font files were found."));

  EXPECT_EQ(2, Output("--fonts " + Data("fonts.doc")).status);
  EXPECT_EQ(2, Output("--translated " + Data("latin.doc") + " --font-type 3").status);
}

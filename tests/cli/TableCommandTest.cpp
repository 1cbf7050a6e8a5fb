// typeswap-cli table: the header and row lines, map files applied in the
// order given, and the exit status when loading or a map fails.
#include <gtest/gtest.h>

#include "tests/cli/CliInvocation.h"

using clitest::CliInvocation;
using clitest::Example;

namespace {
const std::string kSamples =
    "--codepage 932 --translated " + Example("brochure.doc") + " --translated " + Example("manual-ja.doc");
}  // namespace

TEST(TableCommand, HeaderThenOneEscapedLinePerRow) {
  CliInvocation table("table " + kSamples, {}, "LC_ALL=C");
  EXPECT_EQ(0, table.status) << table.stderrText;
  EXPECT_EQ("", table.stderrText);
  ASSERT_EQ(31u, table.lines.size());
  EXPECT_EQ("Component\tCurrent Font\tSize\tBold\tItalic\tNew Font\tSize\tBold\tItalic", table.lines[0]);
  for (const std::string& line : table.lines) EXPECT_EQ(8, std::count(line.begin(), line.end(), '\t')) << line;
  // Sorted byte by byte: capitals, then lower case, then Shift-JIS names,
  // whose bytes are escaped where the locale has no Japanese.
  EXPECT_EQ("Chart Font\twst:helv\t10\t\t\t\t\t\t", table.lines[1]);
  EXPECT_TRUE(table.Has("body+\tTimes New Roman\t10.5\t\t\t\t\t\t"));
  EXPECT_EQ("\\x96{\\x95\\xb6\tMincho\t10\t\t\t\t\t\t", table.lines.back());
}

TEST(TableCommand, MapsApplyInTheOrderGiven) {
  testsupport::TempDir dir;
  const std::string later = dir.Write("later.txt",
                                      "KORVIN Typeswap 1.00 for Interleaf;\r\n"
                                      "BODY;;Times;10;;;Optima;11;;Italic;\r\n");
  CliInvocation one("table " + kSamples + " --map " + Example("demo-map.txt"));
  EXPECT_EQ(0, one.status) << one.stderrText;
  EXPECT_TRUE(one.Has("body\tTimes\t10\t\t\tPalatino\t10\t\t"));
  EXPECT_TRUE(one.Has("code\tCourier\t9\t\t\tLetter Gothic\t9\t\t"));  // through its definition
  CliInvocation two("table " + kSamples + " --map " + Example("demo-map.txt") + " --map '" + later + "'");
  EXPECT_EQ(0, two.status) << two.stderrText;
  EXPECT_TRUE(two.Has("body\tTimes\t10\t\t\tOptima\t11\t\tItalic"));
  EXPECT_EQ(one.lines.size(), two.lines.size());
}

TEST(TableCommand, FailuresExitOne) {
  // Loading failed: the log says why on stderr, and no table is printed.
  CliInvocation tracked("table --translated " + Example("tracked.doc"));
  EXPECT_EQ(1, tracked.status);
  EXPECT_TRUE(tracked.lines.empty());
  EXPECT_NE(std::string::npos, tracked.stderrText.find("does not support revision tracking"));

  // A map that cannot be read, and a file that is no map: both said, the
  // table printed with the maps that could be applied.
  testsupport::TempDir dir;
  const std::string missing = (dir.path() / "missing.txt").string();
  const std::string brochure = testsupport::SourcePath("examples/brochure.doc").string();
  CliInvocation maps("table " + kSamples + " --map '" + missing + "' --map '" + brochure + "' --map " +
                     Example("demo-map.txt"));
  EXPECT_EQ(1, maps.status);
  EXPECT_NE(std::string::npos, maps.stderrText.find("\nFilename:" + missing + "\n"));
  EXPECT_NE(std::string::npos, maps.stderrText.find("Not a valid map file : " + brochure + "\n"));
  EXPECT_TRUE(maps.Has("body\tTimes\t10\t\t\tPalatino\t10\t\t"));

  EXPECT_EQ(2, CliInvocation("table --fonts " + Example("fonts-ja.doc")).status);
}

TEST(TableCommand, JapaneseInTheTerminalsCharacterSetUnlessEscaped) {
  const std::string honbun = "\xE6\x9C\xAC\xE6\x96\x87";  // 本文 in UTF-8
  CliInvocation utf8("table " + kSamples, {}, "LC_ALL=C.UTF-8");
  EXPECT_EQ(0, utf8.status) << utf8.stderrText;
  EXPECT_EQ(honbun + "\tMincho\t10\t\t\t\t\t\t", utf8.lines.back());
  CliInvocation escaped("table --escape " + kSamples, {}, "LC_ALL=C.UTF-8");
  EXPECT_EQ("\\x96{\\x95\\xb6\tMincho\t10\t\t\t\t\t\t", escaped.lines.back());
  // Text the code page cannot hold stays escaped: 0x80 is no CP932 character.
  testsupport::TempDir dir;
  const std::string map = dir.Write("odd.txt",
                                    "KORVIN Typeswap 1.00 for Interleaf;\r\n"
                                    "body;;Times;10;;;Odd\x80"
                                    "Font;10;;;\r\n");
  CliInvocation odd("table " + kSamples + " --map '" + map + "'", {}, "LC_ALL=C.UTF-8");
  EXPECT_TRUE(odd.Has("body\tTimes\t10\t\t\tOdd\\x80Font\t10\t\t")) << odd.stdoutText;
}

TEST(TableCommand, FamilyAndComponentChangeRowsAfterTheMapsInTheOrderGiven) {
  // By font: every row whose current family is Times, keeping its size and
  // style; then by component: body alone, and only the row shown as body.
  CliInvocation table("table " + kSamples + " --map " + Example("demo-map.txt") +
                      " --family Times=Optima --component body=Gothic");
  EXPECT_EQ(0, table.status) << table.stderrText;
  EXPECT_TRUE(table.Has("body\tTimes\t10\t\t\tGothic\t10\t\t")) << table.stdoutText;
  EXPECT_TRUE(table.Has("body+\tTimes New Roman\t10.5\t\t\tPalatino\t10.5\t\t"));  // the map's
  EXPECT_TRUE(table.Has("caption\tTimes\t10\t\tItalic\tOptima\t10\t\tItalic")) << table.stdoutText;
  // The other order: the family change comes last and wins for body.
  CliInvocation other("table " + kSamples + " --component body=Gothic --family Times=Optima");
  EXPECT_TRUE(other.Has("body\tTimes\t10\t\t\tOptima\t10\t\t")) << other.stdoutText;

  // What no row offers is said and changes nothing; a value without "=" is
  // a usage error.
  CliInvocation none("table " + kSamples + " --family times=Optima");
  EXPECT_EQ(0, none.status);
  EXPECT_NE(std::string::npos, none.stderrText.find("No row offers \"times\"; nothing was changed to Optima."))
      << none.stderrText;
  EXPECT_EQ(2, CliInvocation("table " + kSamples + " --component body").status);
}

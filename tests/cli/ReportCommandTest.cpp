// typeswap-cli report: one record per font reference, in the three formats.
#include <gtest/gtest.h>

#include "tests/cli/CliInvocation.h"

using clitest::CliInvocation;
using clitest::Example;

namespace {

const std::string kManual = "--codepage 932 --translated " + Example("manual-ja.doc");
const char kHeader[] =
    "file\tline\tcolumn\tcategory\tcomponent\tkind\tfamily\tsize\tbold\titalic\tnewFamily\tnewSize\tnewBold\tnewItalic";

// The record lines that begin with \p prefix.
std::vector<std::string> Starting(const CliInvocation& run, const std::string& prefix) {
  std::vector<std::string> found;
  for (const std::string& line : run.lines)
    if (line.rfind(prefix, 0) == 0) found.push_back(line);
  return found;
}

}  // namespace

TEST(ReportCommand, TsvHasOneRecordPerReferenceWithItsPlaceAndFonts) {
  CliInvocation report("report " + kManual + " --map " + Example("demo-map.txt"), {}, "LC_ALL=C.UTF-8");
  EXPECT_EQ(0, report.status) << report.stderrText;
  ASSERT_GT(report.lines.size(), 5u);
  EXPECT_EQ(kHeader, report.lines[0]);
  const std::string file = testsupport::SourcePath("examples/manual-ja.doc").string();
  for (size_t i = 1; i < report.lines.size(); ++i) {
    EXPECT_EQ(13, std::count(report.lines[i].begin(), report.lines[i].end(), '\t')) << report.lines[i];
    EXPECT_EQ(0u, report.lines[i].rfind(file + "\t", 0)) << report.lines[i];
  }
  // The class 見出し sets F4 on line 19, its number at column 12; the map gives it a new font.
  EXPECT_TRUE(report.Has(file + "\t19\t12\tFont Number\t\xE8\xA6\x8B\xE5\x87\xBA\xE3\x81\x97\tcomponent\tGothic\t12\t"
                                "Bold\t\tHeisei Kaku Gothic W5\t12\tBold\t"))
      << report.stdoutText;

  // The same records with the escapes where the locale has no Japanese.
  CliInvocation escaped("report " + kManual + " --map " + Example("demo-map.txt"), {}, "LC_ALL=C");
  EXPECT_EQ(report.lines.size(), escaped.lines.size());
  EXPECT_EQ(1u, Starting(escaped, file + "\t19\t12\tFont Number\t\\x8c\\xa9\\x8fo\\x82\\xb5\t").size())
      << escaped.stdoutText;
}

TEST(ReportCommand, CsvQuotesWhatNeedsItAndJsonIsAnArrayOfObjectsInUtf8) {
  testsupport::TempDir dir;
  const std::string map = dir.Write("comma.txt",
                                    "KORVIN Typeswap 1.00 for Interleaf;\r\n"
                                    "\x8c\xa9\x8fo\x82\xb5;;Gothic;12;Bold;;Say \"Hi\", Gothic;12;;;\r\n");
  CliInvocation tsv("report " + kManual + " --map '" + map + "'", {}, "LC_ALL=C.UTF-8");
  CliInvocation csv("report --format csv " + kManual + " --map '" + map + "'", {}, "LC_ALL=C.UTF-8");
  EXPECT_EQ(0, csv.status) << csv.stderrText;
  EXPECT_EQ(tsv.lines.size(), csv.lines.size());
  EXPECT_EQ("file,line,column,category,component,kind,family,size,bold,italic,newFamily,newSize,newBold,newItalic",
            csv.lines[0]);
  EXPECT_EQ(1u, Starting(csv, testsupport::SourcePath("examples/manual-ja.doc").string() + ",19,12,").size());
  EXPECT_NE(std::string::npos, csv.stdoutText.find(",Gothic,12,Bold,,\"Say \"\"Hi\"\", Gothic\",12,,\n"))
      << csv.stdoutText;

  // JSON is UTF-8 whatever the locale, with the same records.
  CliInvocation json("report --format json " + kManual + " --map '" + map + "'", {}, "LC_ALL=C");
  EXPECT_EQ(0, json.status) << json.stderrText;
  ASSERT_GE(json.lines.size(), 3u);
  EXPECT_EQ("[", json.lines.front());
  EXPECT_EQ("]", json.lines.back());
  EXPECT_EQ(tsv.lines.size() + 1, json.lines.size());
  const std::string line19 =
      json.lines[1 +
                 (std::find_if(tsv.lines.begin(), tsv.lines.end(),
                               [](const std::string& l) { return l.find("\t19\t12\t") != std::string::npos; }) -
                  tsv.lines.begin()) -
                 1];
  EXPECT_NE(std::string::npos,
            line19.find("\"line\": 19, \"column\": 12, \"category\": \"Font Number\", \"component\": "
                        "\"\xE8\xA6\x8B\xE5\x87\xBA\xE3\x81\x97\", \"kind\": \"component\", \"family\": \"Gothic\""))
      << line19;
  EXPECT_NE(std::string::npos, line19.find("\"newFamily\": \"Say \\\"Hi\\\", Gothic\"")) << line19;
  for (size_t i = 1; i + 1 < json.lines.size(); ++i) {
    EXPECT_EQ("  {\"file\": ", json.lines[i].substr(0, 11));
    EXPECT_EQ(i + 2 == json.lines.size() ? "}" : "},", json.lines[i].substr(json.lines[i].rfind('}')));
  }
}

TEST(ReportCommand, BadFormatIsAUsageErrorAndALoadFailureExitsOne) {
  EXPECT_EQ(2, CliInvocation("report --format xml " + kManual).status);
  CliInvocation tracked("report --translated " + Example("tracked.doc"));
  EXPECT_EQ(1, tracked.status);
  EXPECT_TRUE(tracked.lines.empty());
}

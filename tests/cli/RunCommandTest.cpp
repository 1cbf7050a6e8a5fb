// typeswap-cli run: page A's checks, the log and reports it prints, where
// the rewritten files go, saved maps, EUC and the exit status.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/cli/CliInvocation.h"

namespace fs = std::filesystem;
using clitest::CliInvocation;
using clitest::Example;
using clitest::Quoted;

namespace {

class RunCommand : public ::testing::Test {
 protected:
  RunCommand() { fs::create_directory(out); }

  // run on both samples into out, with the fonts file and \p more.
  CliInvocation Run(const std::string& more) const {
    return CliInvocation("run --codepage 932 --translated " + Example("brochure.doc") + " --translated " +
                         Example("manual-ja.doc") + " --fonts " + Example("fonts-ja.doc") + " --out " +
                         Quoted(out.string()) + " " + more);
  }

  testsupport::TempDir dir;
  fs::path out = dir.path() / "out";
};

}  // namespace

TEST_F(RunCommand, ChecksComeFirstWithThePagesMessages) {
  const std::string samples = testsupport::SourcePath("examples").string();
  struct Case {
    std::string arguments;
    std::string message;
  } cases[] = {
      {"--translated brochure.doc --out " + Quoted(out.string()), "Please select Font files.\n"},
      // Relative to the working directory, as the selections are.
      {"--translated brochure.doc --fonts fonts-ja.doc --out .",
       "Output files can not be created in the same directory as the translated files or the font "
       "files.\n"},
      {"--translated " + Quoted(samples + "/brochure.doc") + " --fonts fonts-ja.doc --out ../examples/",
       "Output files can not be created in the same directory as the translated files or the font "
       "files.\n"},
  };
  for (const Case& c : cases) {
    CliInvocation run("run " + c.arguments, samples);
    EXPECT_EQ(2, run.status) << c.arguments;
    EXPECT_EQ(c.message, run.stderrText) << c.arguments;
    EXPECT_TRUE(run.lines.empty()) << c.arguments;
  }
  EXPECT_TRUE(fs::is_empty(out));
}

TEST_F(RunCommand, PrintsTheLogAndReportsAndWritesTheFiles) {
  CliInvocation run = Run("--map " + Example("demo-map.txt"));
  EXPECT_EQ(0, run.status) << run.stderrText;
  EXPECT_EQ("", run.stderrText);
  const std::string brochure = (out / "brochure.doc").string();
  const std::string manual = (out / "manual-ja.doc").string();
  EXPECT_EQ("Code page 932, chosen with --codepage.", run.lines.at(0));
  EXPECT_EQ("------------------------- Loading Translated Files ------------------------", run.lines.at(1));
  EXPECT_TRUE(run.Has("Processing: " + testsupport::SourcePath("examples/fonts-ja.doc").string()));
  EXPECT_TRUE(run.Has("Creating file: " + brochure));
  EXPECT_TRUE(run.Has("Creating file: " + manual));
  EXPECT_TRUE(run.Has("2 files created."));
  EXPECT_EQ("Finished processing.", run.lines.back());

  // What the files hold is the output run's own test; here, that they
  // load again.
  CliInvocation after("table --codepage 932 --translated " + Quoted(brochure) + " --translated " + Quoted(manual));
  EXPECT_EQ(0, after.status) << after.stderrText;
  EXPECT_TRUE(after.Has("body\tPalatino\t10\t\t\t\t\t\t"));
}

TEST_F(RunCommand, RelativeOutputDirectoryIsTakenFromTheWorkingDirectory) {
  CliInvocation run("run --translated " + Example("brochure.doc") + " --fonts " + Example("fonts-ja.doc") +
                        " --out out --map " + Example("demo-map.txt"),
                    dir.path().string());
  EXPECT_EQ(0, run.status) << run.stderrText;
  EXPECT_TRUE(fs::exists(out / "brochure.doc"));
  EXPECT_FALSE(fs::exists(testsupport::SourcePath("examples/out")));
}

TEST_F(RunCommand, SavedMapAppliesAsTheMapsItCameFrom) {
  const std::string saved = (dir.path() / "saved.txt").string();
  CliInvocation run = Run("--map " + Example("demo-map.txt") + " --save-map " + Quoted(saved));
  EXPECT_EQ(0, run.status) << run.stderrText;
  EXPECT_EQ("KORVIN Typeswap 1.00 for Interleaf;\r\n", testsupport::ReadFile(saved).substr(0, 37));
  const std::string table = "table --codepage 932 --translated " + Example("brochure.doc") + " --translated " +
                            Example("manual-ja.doc") + " --map ";
  CliInvocation fromDemo(table + Example("demo-map.txt"));
  CliInvocation fromSaved(table + Quoted(saved));
  EXPECT_EQ(0, fromSaved.status) << fromSaved.stderrText;
  EXPECT_EQ(fromDemo.lines, fromSaved.lines);

  // A map that cannot be saved stops the run before anything is written.
  fs::remove_all(out);
  fs::create_directory(out);
  CliInvocation failed =
      Run("--map " + Example("demo-map.txt") + " --save-map " + Quoted((dir.path() / "none" / "map.txt").string()));
  EXPECT_EQ(1, failed.status);
  EXPECT_NE(std::string::npos, failed.stderrText.find("Filename:"));
  EXPECT_TRUE(fs::is_empty(out));
}

TEST_F(RunCommand, EucConvertsTheWrittenFiles) {
  CliInvocation run = Run("--map " + Example("demo-map.txt") + " --euc");
  EXPECT_EQ(0, run.status) << run.stderrText;
  const std::string manual = testsupport::ReadFile(out / "manual-ja.doc");
  // "Japanese" in the text: Shift-JIS 93 FA 96 7B 8C EA, EUC C6 FC CB DC B8 EC.
  EXPECT_NE(std::string::npos, manual.find("\xC6\xFC\xCB\xDC\xB8\xEC"));
  EXPECT_EQ(std::string::npos, manual.find("\x93\xFA\x96\x7B\x8C\xEA"));
  EXPECT_EQ(2u, std::distance(fs::directory_iterator(out), fs::directory_iterator()));
  EXPECT_EQ("Finished processing.", run.lines.back());
}

TEST_F(RunCommand, FailuresExitOne) {
  // Loading failed: the log is printed, nothing is written.
  CliInvocation tracked("run --translated " + Example("tracked.doc") + " --fonts " + Example("fonts-ja.doc") +
                        " --out " + Quoted(out.string()) + " --map " + Example("demo-map.txt"));
  EXPECT_EQ(1, tracked.status);
  EXPECT_TRUE(tracked.Has("Processing can not continue."));
  EXPECT_TRUE(fs::is_empty(out));

  // A file that cannot be written is reported; the others are written and
  // the run ends as usual, but does not claim success.
  fs::create_directory(out / "brochure.doc");
  CliInvocation blocked = Run("--map " + Example("demo-map.txt"));
  EXPECT_EQ(1, blocked.status);
  EXPECT_TRUE(fs::is_regular_file(out / "manual-ja.doc"));
  EXPECT_NE(std::string::npos, blocked.stdoutText.find("\n[1]  File Error! ")) << blocked.stdoutText;
  EXPECT_EQ("Finished processing.", blocked.lines.back());
}

TEST_F(RunCommand, DryRunWritesNothingAndPrintsTheChangesAsUnifiedDiffs) {
  const fs::path scratch = dir.path() / "tmp";
  fs::create_directory(scratch);
  const std::string saved = (dir.path() / "saved.txt").string();
  CliInvocation run("run --dry-run --codepage 932 --translated " + Example("brochure.doc") + " --translated " +
                        Example("manual-ja.doc") + " --fonts " + Example("fonts-ja.doc") + " --out " +
                        Quoted(out.string()) + " --map " + Example("demo-map.txt") + " --save-map " + Quoted(saved) +
                        " --euc",
                    {}, "LC_ALL=C.UTF-8 TMPDIR=" + Quoted(scratch.string()));
  EXPECT_EQ(0, run.status) << run.stderrText;
  // Nothing written: no copies, no map, no scratch folder left behind.
  EXPECT_TRUE(fs::is_empty(out));
  EXPECT_FALSE(fs::exists(saved));
  EXPECT_TRUE(fs::is_empty(scratch));
  EXPECT_NE(std::string::npos, run.stderrText.find("--save-map ignored"));

  ASSERT_FALSE(run.lines.empty());
  EXPECT_EQ("--- a/brochure.doc", run.lines[0]);
  EXPECT_EQ("+++ b/brochure.doc", run.lines[1]);
  EXPECT_EQ("@@ -6,6 +6,16 @@", run.lines[2]);
  EXPECT_TRUE(run.Has("-\tFont =\t\t\tF2,"));
  EXPECT_TRUE(run.Has("+\tFont =\t\t\tF11,"));
  EXPECT_TRUE(run.Has("--- a/manual-ja.doc"));
  // Document lines in the terminal's character set: 見出し in UTF-8.
  EXPECT_TRUE(run.Has(" <!Class, \"\xE8\xA6\x8B\xE5\x87\xBA\xE3\x81\x97\",")) << run.stdoutText;
  for (const std::string& line : run.lines) {
    EXPECT_TRUE(line.rfind("--- a/", 0) == 0 || line.rfind("+++ b/", 0) == 0 || line.rfind("@@ -", 0) == 0 ||
                std::string(" +-").find(line.substr(0, 1)) != std::string::npos)
        << line;
  }
}

TEST_F(RunCommand, QuietPrintsNothingButFailures) {
  CliInvocation quiet = Run("--map " + Example("demo-map.txt") + " --quiet");
  EXPECT_EQ(0, quiet.status) << quiet.stderrText;
  EXPECT_EQ("", quiet.stdoutText);
  EXPECT_EQ("", quiet.stderrText);
  EXPECT_TRUE(fs::exists(out / "brochure.doc"));
  // Not on a terminal: no progress either, whether quiet or not.
  CliInvocation plain = Run("--map " + Example("demo-map.txt"));
  EXPECT_EQ("", plain.stderrText);
}

TEST_F(RunCommand, EachCommandExplainsItselfWithHelp) {
  CliInvocation help("run --help");
  EXPECT_EQ(0, help.status);
  ASSERT_FALSE(help.lines.empty());
  EXPECT_EQ(0u, help.lines[0].rfind("usage: typeswap-cli run ", 0));
  for (const char* option : {"--dry-run", "--no-verify", "--family", "--component", "--quiet", "--escape"})
    EXPECT_NE(std::string::npos, help.stdoutText.find(option)) << option;
}

TEST_F(RunCommand, ACopyThatDoesNotSayWhatWasAskedFailsTheRun) {
  // A chart font's new family ending in a digit cannot survive its
  // spelled-out name (Helv2 at 10 becomes Helv210, read back as Helv at
  // 210): the check reads the copy again and says so.
  const std::string map = dir.Write("digit.txt",
                                    "KORVIN Typeswap 1.00 for Interleaf;\r\n"
                                    "Chart Font;;wst:helv;10;;;Helv2;10;;;\r\n");
  CliInvocation checked = Run("--map '" + map + "'");
  EXPECT_EQ(1, checked.status);
  EXPECT_NE(std::string::npos, checked.stderrText.find("brochure.doc does not hold the fonts that were asked for:\n"
                                                       "line 140, column 24: Chart Font is Helv 210 where Helv2 10 "
                                                       "was asked.\n"))
      << checked.stderrText;
  EXPECT_TRUE(checked.Has("Finished processing."));
  // Without the check the same run claims success.
  CliInvocation unchecked = Run("--map '" + map + "' --no-verify");
  EXPECT_EQ(0, unchecked.status) << unchecked.stderrText;
  EXPECT_EQ("", unchecked.stderrText);
}

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
  CliInvocation after("table --codepage 932 --translated " + Quoted(brochure) + " --translated " +
                      Quoted(manual));
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
  CliInvocation failed = Run("--map " + Example("demo-map.txt") + " --save-map " +
                             Quoted((dir.path() / "none" / "map.txt").string()));
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
  EXPECT_NE(std::string::npos, blocked.stdoutText.find("File Error!")) << blocked.stdoutText;
  EXPECT_EQ("Finished processing.", blocked.lines.back());
}

// typeswap-cli run never writes a file that it reads, however its path is
// spelled, treats names that differ in case as two files and a file listed
// twice as one, and leaves read-only inputs exactly as they were.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <map>

#include "tests/cli/CliInvocation.h"

namespace fs = std::filesystem;
using clitest::CliInvocation;
using clitest::Quoted;

namespace {

std::string Sample(const std::string& name) {
  return testsupport::ReadFile(testsupport::SourcePath("examples/" + name));
}

class InputSafety : public ::testing::Test {
 protected:
  // A copy of the sample \p sample at \p relative inside the test folder.
  std::string Put(const std::string& relative, const std::string& sample) {
    std::string path = dir.Write(relative, Sample(sample));
    inputs.push_back(path);
    return path;
  }
  // run with code page 932, the sample fonts and map, into \p out (made
  // when missing).
  CliInvocation Run(const std::vector<std::string>& translated, const std::string& out, const std::string& more = {}) {
    fs::create_directories(out);
    std::string arguments = "run --codepage 932";
    for (const std::string& path : translated) arguments += " --translated " + Quoted(path);
    return CliInvocation(arguments + " --fonts " + Quoted(fonts) + " --map " + Quoted(map) + " --out " + Quoted(out) +
                         " " + more);
  }
  // Every input's bytes and permission bits.
  std::map<std::string, std::pair<std::string, fs::perms>> Inputs() const {
    std::map<std::string, std::pair<std::string, fs::perms>> state;
    for (const std::string& path : inputs) state[path] = {testsupport::ReadFile(path), fs::status(path).permissions()};
    return state;
  }

  testsupport::TempDir dir;
  std::vector<std::string> inputs;
  std::string fonts = Put("fonts/fonts-ja.doc", "fonts-ja.doc");
  std::string map = Put("fonts/demo-map.txt", "demo-map.txt");
};

}  // namespace

TEST_F(InputSafety, RefusesBeforeWritingWhenACopyWouldReplaceAnInput) {
  const fs::path e = dir.path() / "e";
  const std::string a = Put("e/a.doc", "brochure.doc");
  const std::string x = Put("e/sub/x.doc", "brochure.doc");
  const std::string inside = Put("e/o/sub/x.doc", "manual-ja.doc");
  const auto before = Inputs();
  CliInvocation run = Run({a, x, inside}, (e / "o").string());
  EXPECT_EQ(2, run.status);
  EXPECT_EQ("The output file " + inside + " is the file " + inside + ", which this job reads. Nothing was written.\n",
            run.stderrText);
  EXPECT_FALSE(fs::exists(e / "o" / "a.doc"));

  // The same through "..", and through a link to a subfolder.
  EXPECT_EQ(2, Run({a, x, inside}, (e / "sub" / ".." / "o").string()).status);
  fs::create_directories(e / "l");
  fs::create_directory_symlink(e / "sub", e / "l" / "sub");
  CliInvocation linked = Run({a, x}, (e / "l").string());
  EXPECT_EQ(2, linked.status);
  EXPECT_NE(std::string::npos, linked.stderrText.find("is the file " + x + ","));
  EXPECT_FALSE(fs::exists(e / "l" / "a.doc"));

  // A saved map onto a font file or a translated file.
  EXPECT_EQ(2, Run({a}, (dir.path() / "out").string(), "--save-map " + Quoted(fonts)).status);
  EXPECT_EQ(2, Run({a}, (dir.path() / "out").string(), "--save-map " + Quoted(e / "sub/../a.doc")).status);
  EXPECT_EQ(2, Run({a}, (dir.path() / "out").string(), "--save-map " + Quoted(map)).status);
  EXPECT_FALSE(fs::exists(dir.path() / "out" / "a.doc"));
  EXPECT_EQ(before, Inputs());
}

TEST_F(InputSafety, NamesThatDifferInCaseAreTwoFilesAndATwiceListedFileIsOne) {
  const std::string lower = Put("c/k.doc", "brochure.doc");
  const std::string upper = Put("c/K.doc", "manual-ja.doc");
  const std::string out = (dir.path() / "out").string();
  ASSERT_EQ(0, Run({lower, upper}, out).status);
  // Each copy is what the same two documents give under unrelated names.
  const std::string other = (dir.path() / "other").string();
  ASSERT_EQ(0, Run({Put("p/k.doc", "brochure.doc"), Put("p/l.doc", "manual-ja.doc")}, other).status);
  EXPECT_EQ(testsupport::ReadFile(other + "/k.doc"), testsupport::ReadFile(out + "/k.doc"));
  EXPECT_EQ(testsupport::ReadFile(other + "/l.doc"), testsupport::ReadFile(out + "/K.doc"));

  // Listed twice, under two spellings, with EUC: converted exactly once.
  const std::string m = Put("m/m.doc", "manual-ja.doc");
  const std::string once = (dir.path() / "once").string();
  const std::string twice = (dir.path() / "twice").string();
  ASSERT_EQ(0, Run({m}, once, "--euc").status);
  CliInvocation run = Run({m, m, (dir.path() / "m" / "." / "m.doc").string()}, twice, "--euc");
  EXPECT_EQ(0, run.status) << run.stderrText;
  EXPECT_EQ(testsupport::ReadFile(once + "/m.doc"), testsupport::ReadFile(twice + "/m.doc"));
  EXPECT_EQ(1u, std::distance(fs::directory_iterator(twice), fs::directory_iterator()));
}

TEST_F(InputSafety, ReadOnlyInputsKeepTheirBytesInEveryFormOfTheJob) {
  const std::string brochure = Put("in/brochure.doc", "brochure.doc");
  const std::string manual = Put("in/sub/manual-ja.doc", "manual-ja.doc");
  for (const std::string& path : inputs) fs::permissions(path, fs::perms::owner_read | fs::perms::group_read);
  const auto before = Inputs();
  const std::string out = (dir.path() / "out").string();
  for (const std::string& more :
       {std::string(), std::string("--euc"), "--save-map " + Quoted((dir.path() / "saved.txt").string()),
        "--save-map " + Quoted(manual)}) {
    CliInvocation run = Run({brochure, manual}, out, more);
    EXPECT_EQ(more.find(manual) == std::string::npos ? 0 : 2, run.status) << more << run.stderrText;
  }
  EXPECT_EQ(before, Inputs());
  // The copies take their input's permission bits.
  EXPECT_EQ(fs::perms::owner_read | fs::perms::group_read, fs::status(out + "/sub/manual-ja.doc").permissions());
  for (const auto& entry : fs::recursive_directory_iterator(dir.path())) {
    EXPECT_EQ(std::string::npos, entry.path().string().find(".tstmp")) << entry.path();
  }
}

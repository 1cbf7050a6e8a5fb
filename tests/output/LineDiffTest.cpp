// Line differences as a dry run shows them: hunk ranges, context, joining.
#include <gtest/gtest.h>

#include "output/LineDiff.h"

namespace {

std::vector<std::string_view> Lines(std::initializer_list<std::string_view> lines) { return lines; }

std::string Render(const std::vector<DiffHunk>& hunks) {
  std::string out;
  for (const DiffHunk& hunk : hunks) {
    out += HunkHeader(hunk) + "\n";
    for (const DiffLine& line : hunk.lines) out += line.op + line.text + "\n";
  }
  return out;
}

// \p before with the hunks applied, as patch would apply them.
std::vector<std::string> Apply(const std::vector<std::string_view>& before, const std::vector<DiffHunk>& hunks) {
  std::vector<std::string> out;
  size_t next = 0;  // index into before
  for (const DiffHunk& hunk : hunks) {
    const size_t start = static_cast<size_t>(hunk.beforeCount == 0 ? hunk.beforeStart : hunk.beforeStart - 1);
    while (next < start) out.emplace_back(before[next++]);
    for (const DiffLine& line : hunk.lines) {
      if (line.op != '+') {
        EXPECT_EQ(before.at(next), line.text);
        ++next;
      }
      if (line.op != '-') out.push_back(line.text);
    }
  }
  while (next < before.size()) out.emplace_back(before[next++]);
  return out;
}

}  // namespace

TEST(LineDiffTest, SplitsOnLfAndCrLfAndKeepsALastLineWithoutEnd) {
  EXPECT_EQ(Lines({"a", "b", "", "c"}), SplitLines("a\r\nb\n\r\nc"));
  EXPECT_TRUE(SplitLines("").empty());
}

TEST(LineDiffTest, EqualTextsHaveNoHunks) {
  EXPECT_TRUE(DiffLines(Lines({"a", "b"}), Lines({"a", "b"})).empty());
  EXPECT_TRUE(DiffLines({}, {}).empty());
}

TEST(LineDiffTest, AChangedLineComesWithThreeLinesOfContextEachSide) {
  auto before = Lines({"1", "2", "3", "4", "5", "6", "7", "8", "9"});
  auto after = Lines({"1", "2", "3", "4", "five", "6", "7", "8", "9"});
  EXPECT_EQ("@@ -2,7 +2,7 @@\n 2\n 3\n 4\n-5\n+five\n 6\n 7\n 8\n", Render(DiffLines(before, after)));
}

TEST(LineDiffTest, InsertedLinesAfterATagAsOutputAddsDefinitions) {
  auto before = Lines({"<!Font Definitions,", "\tF2 = Times 10,", ">"});
  auto after = Lines({"<!Font Definitions,", "\tF10 = Mincho 10,", "\tF2 = Times 10,", ">"});
  EXPECT_EQ("@@ -1,3 +1,4 @@\n <!Font Definitions,\n+\tF10 = Mincho 10,\n \tF2 = Times 10,\n >\n",
            Render(DiffLines(before, after)));
}

TEST(LineDiffTest, ChangesFarApartGiveTwoHunksAndNearOnesOne) {
  std::vector<std::string> text;
  for (int i = 1; i <= 30; ++i) text.push_back(std::to_string(i));
  std::vector<std::string_view> before(text.begin(), text.end());
  std::vector<std::string_view> far = before, near = before;
  far[1] = "x";
  far[25] = "y";
  near[1] = "x";
  near[8] = "y";  // six unchanged lines between: still one hunk
  auto farHunks = DiffLines(before, far);
  ASSERT_EQ(2u, farHunks.size());
  EXPECT_EQ("@@ -1,5 +1,5 @@", HunkHeader(farHunks[0]));
  EXPECT_EQ("@@ -23,7 +23,7 @@", HunkHeader(farHunks[1]));
  auto nearHunks = DiffLines(before, near);
  ASSERT_EQ(1u, nearHunks.size());
  EXPECT_EQ("@@ -1,12 +1,12 @@", HunkHeader(nearHunks[0]));
}

TEST(LineDiffTest, AnEmptySideIsNumberedZero) {
  EXPECT_EQ("@@ -0,0 +1,2 @@\n+a\n+b\n", Render(DiffLines({}, Lines({"a", "b"}))));
  EXPECT_EQ("@@ -1 +0,0 @@\n-a\n", Render(DiffLines(Lines({"a"}), {})));
}

TEST(LineDiffTest, FindsAShortestEditWhenLinesRepeat) {
  auto before = Lines({"a", "b", "c", "a", "b", "b", "a"});
  auto after = Lines({"c", "b", "a", "b", "a", "c"});
  int changed = 0;
  for (const DiffHunk& hunk : DiffLines(before, after))
    for (const DiffLine& line : hunk.lines) changed += line.op != ' ';
  EXPECT_EQ(5, changed);  // the classic example: D = 5
}

TEST(LineDiffTest, ALargeDocumentChangedThroughoutGivesHunksThatMakeTheCopy) {
  // 60000 lines, every seventh changed in place, definition lines inserted
  // near the top and blank lines everywhere: too large for the exact search.
  std::vector<std::string> beforeText, afterText;
  for (int i = 0; i < 60000; ++i) {
    std::string line = i % 3 == 0 ? std::string() : "line " + std::to_string(i);
    beforeText.push_back(line);
    if (i == 5)
      for (int k = 0; k < 10; ++k) afterText.push_back("\tF" + std::to_string(20 + k) + " = Mincho 10,");
    afterText.push_back(i % 7 == 0 ? line + " changed" : line);
  }
  std::vector<std::string_view> before(beforeText.begin(), beforeText.end());
  std::vector<std::string_view> after(afterText.begin(), afterText.end());
  const std::vector<DiffHunk> hunks = DiffLines(before, after);
  EXPECT_EQ(afterText, Apply(before, hunks));
  size_t changed = 0;
  for (const DiffHunk& hunk : hunks)
    for (const DiffLine& line : hunk.lines) changed += line.op != ' ';
  EXPECT_EQ(10u + 2 * ((60000 + 6) / 7), changed);  // as short as it can be here
}

TEST(LineDiffTest, HunksOfTheExactSearchMakeTheCopyToo) {
  auto before = Lines({"a", "", "b", "", "c", "d", "", "e"});
  auto after = Lines({"", "a", "", "B", "", "c", "", "e", "f"});
  std::vector<std::string> expected(after.begin(), after.end());
  EXPECT_EQ(expected, Apply(before, DiffLines(before, after, 1)));
}

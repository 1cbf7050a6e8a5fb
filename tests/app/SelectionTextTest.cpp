// Selection texts of page A: the sorted merge, Append/Replace, the font
// file type rule, and what "lies in the output directory" means.
#include <gtest/gtest.h>

#include <filesystem>
#include <list>

#include "app/AddToSelection.h"
#include "app/CheckSelections.h"
#include "app/MergeSortedText.h"
#include "tests/support/TestSupport.h"

TEST(MergeSortedText, KeepsDescendingOrderAndDropsRepeats) {
  std::list<std::string> dest;
  MergeSortedText({"m", "b", "z", "b", "n", "a", "z"}, dest);
  EXPECT_EQ(std::list<std::string>({"z", "n", "m", "b", "a"}), dest);
  // Into a list that already holds entries, walking both ways.
  MergeSortedText({"c", "y", "a", "o"}, dest);
  EXPECT_EQ(std::list<std::string>({"z", "y", "o", "n", "m", "c", "b", "a"}), dest);
}

TEST(MergeSortedText, ComparesBytesUnsignedAndCaseSensitive) {
  std::list<std::string> dest;
  MergeSortedText({"a", "B", "\xe9", "b"}, dest);
  EXPECT_EQ(std::list<std::string>({"\xe9", "b", "a", "B"}), dest);
}

TEST(MergeSortedText, RepeatAwayFromTheCursorIsDropped) {
  // The equal entry is met only further along the walk, not at its start.
  std::list<std::string> dest;
  MergeSortedText({"a", "c", "a"}, dest);
  EXPECT_EQ(std::list<std::string>({"c", "a"}), dest);
}

TEST(AddToSelection, AppendSortsAndKeepsEachPathOnce) {
  EXPECT_EQ("/d/b.doc;", AddToSelection("", {"/d/b.doc"}));
  EXPECT_EQ("/d/a.doc;/d/b.doc;", AddToSelection("/d/b.doc;", {"/d/a.doc", "/d/b.doc"}));
  // Replace: nothing kept.
  EXPECT_EQ("/d/c.doc;", AddToSelection("", {"/d/c.doc"}));
  // A typed text keeps its empty fields and repeats no path.
  EXPECT_EQ(";/d/a.doc;/d/b.doc;", AddToSelection("/d/b.doc;;/d/b.doc", {"/d/a.doc"}));
}

TEST(AddToSelection, FontFilesOfOneTypeOnly) {
  EXPECT_TRUE(FontAppendAllowed(0, 2));
  EXPECT_TRUE(FontAppendAllowed(2, 2));
  EXPECT_FALSE(FontAppendAllowed(2, 1));
  EXPECT_FALSE(FontAppendAllowed(1, 2));
}

TEST(LiesInDirectory, ComparesFoldersOnTheFileSystem) {
  testsupport::TempDir dir;
  const std::string out = (dir.path() / "out").string();
  const std::string a = dir.Write("out/a.doc", "");
  dir.Write("Out/a.doc", "");
  dir.Write("out/sub/a.doc", "");
  std::filesystem::create_directory_symlink(dir.path() / "out", dir.path() / "link");
  EXPECT_TRUE(LiesInDirectory(a, out));
  EXPECT_TRUE(LiesInDirectory((dir.path() / "out" / "sub" / ".." / "a.doc").string(), out));
  EXPECT_TRUE(LiesInDirectory((dir.path() / "link" / "a.doc").string(), out));
  // Another folder, though its name differs only in case.
  EXPECT_FALSE(LiesInDirectory((dir.path() / "Out" / "a.doc").string(), out));
  EXPECT_FALSE(LiesInDirectory((dir.path() / "out" / "sub" / "a.doc").string(), out));
  EXPECT_FALSE(LiesInDirectory((dir.path() / "outer" / "a.doc").string(), out));
  EXPECT_FALSE(LiesInDirectory("a.doc", out));
}

TEST(LiesInDirectory, ClosingSeparatorOfTheDirectoryDoesNotHideIt) {
  // Output there would overwrite the inputs, so these must be caught too.
  testsupport::TempDir dir;
  const std::string a = dir.Write("out/a.doc", "");
  EXPECT_TRUE(LiesInDirectory(a, (dir.path() / "out").string() + "/"));
  EXPECT_TRUE(LiesInDirectory(a, (dir.path() / "out").string() + "//"));
  EXPECT_TRUE(LiesInDirectory("/a.doc", "/"));
}

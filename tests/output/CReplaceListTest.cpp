// Replacement lists: ordering and duplicates, and writing one file in a
// single forward pass that either completes or leaves nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>

#include "model/CFileTable.h"
#include "model/CFontReferenceList.h"
#include "output/CReplaceList.h"
#include "output/CReportSink.h"
#include "tests/output/OutputTestSupport.h"
#include "tests/support/TestSupport.h"

namespace fs = std::filesystem;

namespace {
class CReplaceListTest : public ::testing::Test {
 protected:
  // A replacement of the text at line/column in the test's input file.
  std::unique_ptr<CReplacePiece> Piece(std::string_view old, int32_t line, int32_t column,
                                       const std::string& replacement) {
    CTextPiece piece(old, line, column, CharsetSingleByte);
    piece.SetFileNumber(CFileTable::Process().FileNumberOf(input));
    return std::make_unique<CReplacePiece>(piece, replacement);
  }
  std::string Written(const CReplaceList& list) {
    std::string all;
    for (size_t i = 0; i < list.GetCount(); ++i) all += list.GetAt(i).GetReplacementText() + ";";
    return all;
  }

  CCollectingReportSink sink;
  CErrorReporter reporter{&sink};
  testsupport::TempDir dir;
  std::string input = dir.Write("In.doc", "<F3>Hello <F4>World\r\n<F3>Again\r\n");
  std::string output = (dir.path() / "out" / "In.doc").string();
};
}  // namespace

TEST_F(CReplaceListTest, KeepsPiecesInPositionOrder) {
  CReplaceList list("", reporter);
  EXPECT_TRUE(list.Add(Piece("<F4", 1, 11, "<F14")));
  EXPECT_TRUE(list.Add(Piece("<F3", 2, 1, "<F13")));
  EXPECT_TRUE(list.Add(Piece("<F3", 1, 1, "<F13")));
  EXPECT_EQ("<F13;<F14;<F13;", Written(list));
  EXPECT_EQ(2, list.GetAt(2).GetStartLine());
  // The first piece named the list's file.
  EXPECT_EQ(input, list.GetFileName());
}

// More pieces than one block of the list holds, arriving in any order:
// insertions move pieces across the blocks' edges.
TEST_F(CReplaceListTest, KeepsThousandsOfPiecesInOrderWhateverOrderTheyCome) {
  std::vector<int32_t> lines(9000);
  std::iota(lines.begin(), lines.end(), 1);
  std::shuffle(lines.begin(), lines.end(), std::mt19937(20261209));
  CReplaceList list("", reporter);
  for (int32_t line : lines) ASSERT_TRUE(list.Add(Piece("<F3", line, 1, "<G" + std::to_string(line))));
  ASSERT_EQ(lines.size(), list.GetCount());
  for (size_t i = 0; i < list.GetCount(); ++i) {
    ASSERT_EQ(static_cast<int32_t>(i) + 1, list.GetAt(i).GetStartLine());
    ASSERT_EQ("<G" + std::to_string(i + 1), list.GetAt(i).GetReplacementText());
  }
}

// Pieces mostly in file order, some out of it, some overlapping, empty,
// across lines or repeated: every one lands where a search from the end
// of the list, stopping at the first piece at its place or before it,
// puts it, and the same ones are dropped.
TEST_F(CReplaceListTest, PlacesPiecesAsTheSearchFromTheEndDoes) {
  const char* texts[] = {"", "<F3", "<F12", "a\nb", "<F3\nxy\n"};
  for (uint32_t seed = 1; seed <= 40; ++seed) {
    std::mt19937 random(seed);
    auto below = [&](uint32_t n) { return static_cast<int32_t>(random() % n); };
    CReplaceList list(input, reporter);
    std::vector<std::unique_ptr<CReplacePiece>> model;  // what the search keeps, in order
    int32_t line = 1;
    for (int added = 0; added < 300; ++added) {
      // Forward mostly; now and then back, or onto a place already held.
      line = below(10) == 0 ? std::max(1, line - below(5)) : line + below(3);
      const char* text = texts[seed % 4 == 0 ? below(5) : below(2) + 1];
      std::unique_ptr<CReplacePiece> piece = Piece(text, line, 1 + below(12), "<G" + std::to_string(below(3)));
      size_t place = model.size();
      bool keep = piece->ReplacementText() != piece->GetText();
      while (keep && place > 0) {
        const CReplacePiece& held = *model[place - 1];
        if (SamePosition(held, *piece)) {
          keep = false;
        } else if (piece->IsAfter(held)) {
          break;
        } else {
          --place;
        }
      }
      ASSERT_EQ(keep, list.Add(std::make_unique<CReplacePiece>(*piece))) << seed << " " << added;
      if (keep) model.insert(model.begin() + static_cast<ptrdiff_t>(place), std::move(piece));
    }
    ASSERT_EQ(model.size(), list.GetCount()) << seed;
    for (size_t i = 0; i < model.size(); ++i) {
      const CReplacePiece held = list.GetAt(i);
      ASSERT_TRUE(SamePosition(*model[i], held)) << seed << " " << i;
      ASSERT_EQ(model[i]->ReplacementText(), held.ReplacementText()) << seed << " " << i;
    }
  }
}

// A stretch of the model, held at once while its pieces follow one
// another, holds what Add of each reference in turn would, and keeps and
// reports the same; so do pieces added before, after or among them later.
TEST_F(CReplaceListTest, StretchesOfTheModelHoldWhatAddingEachHolds) {
  const CReplaceList::Takes hasReplacement = [](const CFontReference& reference) {
    return !reference.GetReplacementText().empty();
  };
  const char* texts[] = {"<F3", "<F12", "", "a\nb"};
  for (uint32_t seed = 1; seed <= 30; ++seed) {
    std::mt19937 random(seed);
    auto below = [&](uint32_t n) { return static_cast<int32_t>(random() % n); };
    CFontReferenceList model;
    int32_t line = 3;
    for (int i = 0; i < 200; ++i) {
      // Forward; in some runs now and then back, empty or repeated.
      const bool odd = seed % 3 == 0 && below(15) == 0;
      line = odd ? std::max(3, line - below(4)) : line + 1 + below(2);
      CTextPiece piece(odd ? texts[below(4)] : texts[below(2)], line, 1 + below(8), CharsetSingleByte);
      piece.SetFileNumber(CFileTable::Process().FileNumberOf(input));
      CFontReference reference(piece, 0, "Font Change");
      const int32_t kind = below(8);
      if (kind != 0) reference.SetReplacementText(kind == 1 ? piece.GetText() : "<G" + std::to_string(below(3)));
      model.AddReference(std::move(reference));
    }
    CCollectingReportSink eachSink;
    CErrorReporter eachReporter{&eachSink};
    CCollectingReportSink stretchesSink;
    CErrorReporter stretchesReporter{&stretchesSink};
    CReplaceList each(input, eachReporter);
    CReplaceList stretches(input, stretchesReporter);
    int32_t keptEach = 0;
    int32_t keptStretches = 0;
    // Stretches that go on one another, and some that leave references out.
    for (int32_t begin = 0; begin < model.Count(); begin += 70) {
      const int32_t end = std::min(model.Count(), begin + (begin % 140 == 0 ? 70 : 55));
      for (int32_t i = begin; i < end; ++i) {
        if (hasReplacement(*model.GetAt(i)) && each.Add(*model.GetAt(i), eachReporter)) ++keptEach;
      }
      keptStretches += stretches.AddStretch(model, begin, end, hasReplacement, stretchesReporter);
    }
    // A piece before all others (as a definitions tag is), then one among them.
    for (int32_t tagLine : {1, 2, 40}) {
      EXPECT_EQ(each.Add(Piece("<T", tagLine, 1, "<T1")), stretches.Add(Piece("<T", tagLine, 1, "<T1"))) << seed;
    }
    EXPECT_EQ(keptEach, keptStretches) << seed;
    ASSERT_EQ(each.GetCount(), stretches.GetCount()) << seed;
    for (size_t i = 0; i < each.GetCount(); ++i) {
      ASSERT_TRUE(SamePosition(each.GetAt(i), stretches.GetAt(i))) << seed << " " << i;
      ASSERT_EQ(each.GetAt(i).ReplacementText(), stretches.GetAt(i).ReplacementText()) << seed << " " << i;
    }
    EXPECT_EQ(eachSink.texts, stretchesSink.texts) << seed;
  }
}

TEST_F(CReplaceListTest, DropsPiecesThatChangeNothingOrRepeat) {
  CReplaceList list(input, reporter);
  EXPECT_FALSE(list.Add(Piece("<F3", 1, 1, "<F3")));
  EXPECT_TRUE(list.Add(Piece("<F3", 1, 1, "<F13")));
  EXPECT_FALSE(list.Add(Piece("<F3", 1, 1, "<F13")));
  EXPECT_EQ(1u, list.GetCount());
  EXPECT_TRUE(sink.texts.empty());

  // A different text for the same place: reported, and the first one wins.
  EXPECT_FALSE(list.Add(Piece("<F3", 1, 1, "<F20")));
  EXPECT_EQ("<F13;", Written(list));
  ASSERT_EQ(1u, sink.texts.size());
  EXPECT_EQ(0u, sink.texts[0].find("\n[1]  Duplicate translations! <F3 is translated as <F13 and <F20.\n- "))
      << sink.texts[0];
  EXPECT_NE(std::string::npos, sink.texts[0].find("In.doc, line 1, column 1"));
  EXPECT_EQ(outputtext::kCodeDuplicate, reporter.LastCode());
}

TEST_F(CReplaceListTest, WritesEveryReplacementInOnePass) {
  CReplaceList list(input, reporter);
  ASSERT_TRUE(list.Add(Piece("<F3", 2, 1, "<F13")));
  ASSERT_TRUE(list.Add(Piece("<F4", 1, 11, "<F14")));
  ASSERT_TRUE(list.Add(Piece("<F3", 1, 1, "<F13")));
  EXPECT_TRUE(list.WriteFile("", output));
  EXPECT_EQ("<F13>Hello <F14>World\r\n<F13>Again\r\n", testsupport::ReadFile(output));
  EXPECT_TRUE(sink.texts.empty());

  // An empty list copies the file unchanged.
  CReplaceList empty(input, reporter);
  std::string copy = (dir.path() / "copy" / "In.doc").string();
  EXPECT_TRUE(empty.WriteFile("", copy));
  EXPECT_EQ(testsupport::ReadFile(input), testsupport::ReadFile(copy));
}

TEST_F(CReplaceListTest, RefusesToWriteOverItsInputHoweverSpelled) {
  CReplaceList list(input, reporter);
  ASSERT_TRUE(list.Add(Piece("<F3", 1, 1, "<F13")));
  std::string sameByPath = (dir.path() / "." / "In.doc").string();
  EXPECT_FALSE(list.WriteFile("", sameByPath));
  EXPECT_EQ("\n[1]  Same filename (" + input + ") specified for both Input and Output!\n", sink.All());
  fs::create_symlink(input, dir.path() / "link.doc");
  EXPECT_FALSE(list.WriteFile("", (dir.path() / "link.doc").string()));
  EXPECT_EQ("<F3>Hello <F4>World\r\n<F3>Again\r\n", testsupport::ReadFile(input));
  // A name that differs only in case is another file here.
  EXPECT_TRUE(list.WriteFile("", (dir.path() / "IN.DOC").string()));
  EXPECT_EQ((std::set<std::string>{"In.doc", "IN.DOC", "link.doc"}), outputtest::Entries(dir.path()));
}

TEST_F(CReplaceListTest, FailureLeavesNoOutputFile) {
  // A piece beyond the end of the input: the file cannot be completed.
  CReplaceList list(input, reporter);
  ASSERT_TRUE(list.Add(Piece("<F3", 2, 1, "<F13")));
  ASSERT_TRUE(list.Add(Piece("<F9", 7, 1, "<F19")));
  EXPECT_FALSE(list.WriteFile("", output));
  EXPECT_NE(std::string::npos, sink.All().find("This file does not contain 7 lines!"));
  EXPECT_TRUE(outputtest::Entries(dir.path() / "out").empty());

  // A missing input is reported by the reader and then skipped.
  sink.texts.clear();
  CReplaceList missing((dir.path() / "missing.doc").string(), reporter);
  EXPECT_FALSE(missing.WriteFile("", output));
  ASSERT_EQ(2u, sink.texts.size());
  EXPECT_NE(std::string::npos,
            sink.texts[1].find("\nFile Error! No such file or directory\n- Skipping output file for "));
}

TEST_F(CReplaceListTest, WriteFailureKeepsThePreviousOutput) {
  std::string big = dir.Write("Big.doc", std::string(400000, 'x') + "\r\n<F3>\r\n");
  std::string bigOut = dir.Write("out/Big.doc", "previous run");
  CTextPiece piece("<F3", 2, 1, CharsetSingleByte);
  piece.SetFileNumber(CFileTable::Process().FileNumberOf(big));
  CReplaceList list(big, reporter);
  ASSERT_TRUE(list.Add(std::make_unique<CReplacePiece>(piece, "<F13")));
  {
    outputtest::FileSizeLimit limit(100000);
    EXPECT_FALSE(list.WriteFile("", bigOut));
  }
  EXPECT_NE(std::string::npos, sink.All().find("\nFile Error! File too large\n- Skipping output file for " + bigOut));
  EXPECT_EQ("previous run", testsupport::ReadFile(bigOut));
  EXPECT_EQ(std::set<std::string>{"Big.doc"}, outputtest::Entries(dir.path() / "out"));
}

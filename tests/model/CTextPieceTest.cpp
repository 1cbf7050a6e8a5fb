// Text pieces: positions from token text, the order and overlap of pieces,
// and the process file table they name their files by.
#include <gtest/gtest.h>

#include <filesystem>

#include "model/CFileTable.h"
#include "model/CTextPiece.h"
#include "tests/support/TestSupport.h"

namespace {

CTextPiece Piece(int32_t sl, int32_t sc, int32_t el, int32_t ec, uint32_t file = 1) {
  CTextPiece p;
  p.SetPosition(sl, sc, el, ec);
  p.SetFileNumber(file);
  return p;
}

}  // namespace

TEST(CTextPiece, DefaultIsEmptyAndWithoutFile) {
  CTextPiece p;
  EXPECT_EQ("", p.GetText());
  EXPECT_EQ(CharsetOther, p.GetCharsetText().GetCharset());
  EXPECT_EQ(0, p.GetStartLine());
  EXPECT_EQ(0u, p.GetFileNumber());
  EXPECT_EQ("", p.GetFileName());
  EXPECT_FALSE(p.HasValidPosition());
}

TEST(CTextPiece, EndPositionFollowsTheLineBreaksOfTheText) {
  CTextPiece oneLine("<F12", 7, 5, CharsetSingleByte);
  EXPECT_EQ(7, oneLine.GetEndLine());
  EXPECT_EQ(9, oneLine.GetEndColumn());

  CTextPiece lf("ab\ncd\nxyz", 3, 10);
  EXPECT_EQ(5, lf.GetEndLine());
  EXPECT_EQ(4, lf.GetEndColumn());

  // CR LF is one break; a lone CR is one too.
  CTextPiece crlf("a\r\nb\rcc", 1, 1);
  EXPECT_EQ(3, crlf.GetEndLine());
  EXPECT_EQ(3, crlf.GetEndColumn());

  CTextPiece endsWithBreak("abc\n", 2, 4);
  EXPECT_EQ(3, endsWithBreak.GetEndLine());
  EXPECT_EQ(1, endsWithBreak.GetEndColumn());

  // A Shift-JIS character takes two columns.
  CTextPiece sjis("\x82\xA0x", 1, 3, CharsetShiftJis);
  EXPECT_EQ(6, sjis.GetEndColumn());
  EXPECT_FALSE(sjis.GetCharsetText().GetCountChars());
}

TEST(CTextPiece, ValidPositionNeedsAFileAndAnEndNotBeforeTheStart) {
  EXPECT_TRUE(Piece(1, 1, 1, 1).HasValidPosition());
  EXPECT_TRUE(Piece(2, 9, 3, 1).HasValidPosition());
  EXPECT_FALSE(Piece(1, 1, 1, 1, 0).HasValidPosition());
  EXPECT_FALSE(Piece(0, 1, 1, 1).HasValidPosition());
  EXPECT_FALSE(Piece(1, 1, 1, 0).HasValidPosition());
  EXPECT_FALSE(Piece(3, 1, 2, 5).HasValidPosition());
  EXPECT_FALSE(Piece(2, 5, 2, 4).HasValidPosition());
}

TEST(CTextPiece, OverlapsWithinOneFileOnly) {
  EXPECT_TRUE(Piece(1, 1, 1, 5).Overlaps(Piece(1, 4, 1, 8)));
  EXPECT_TRUE(Piece(1, 4, 1, 8).Overlaps(Piece(1, 1, 1, 5)));
  EXPECT_FALSE(Piece(1, 1, 1, 5).Overlaps(Piece(1, 5, 1, 8)));  // ends are exclusive
  EXPECT_FALSE(Piece(1, 1, 1, 5).Overlaps(Piece(1, 4, 1, 8, 2)));
  // Across lines.
  EXPECT_TRUE(Piece(1, 9, 3, 2).Overlaps(Piece(2, 1, 2, 3)));
  EXPECT_TRUE(Piece(1, 9, 2, 4).Overlaps(Piece(2, 3, 2, 6)));
  EXPECT_FALSE(Piece(1, 9, 2, 3).Overlaps(Piece(2, 3, 2, 6)));
  EXPECT_FALSE(Piece(1, 9, 1, 12).Overlaps(Piece(2, 1, 2, 6)));
  // A piece that runs on to a later line covers the rest of its start line.
  EXPECT_TRUE(Piece(4, 2, 5, 1).Overlaps(Piece(4, 30, 4, 31)));
  EXPECT_TRUE(Piece(4, 3, 4, 4).Overlaps(Piece(4, 3, 4, 9)));
  // An empty piece never overlaps a non-empty one, even inside it; two
  // empty pieces at one place do.
  EXPECT_FALSE(Piece(1, 3, 1, 3).Overlaps(Piece(1, 1, 1, 8)));
  EXPECT_TRUE(Piece(1, 3, 1, 3).Overlaps(Piece(1, 3, 1, 3)));
  EXPECT_FALSE(Piece(1, 3, 1, 3).Overlaps(Piece(1, 4, 1, 4)));
}

TEST(CTextPiece, OrdersByStartAndNeverOrdersOverlappingPieces) {
  EXPECT_TRUE(Piece(1, 1, 1, 3).IsBefore(Piece(1, 3, 1, 5)));
  EXPECT_TRUE(Piece(1, 3, 1, 5).IsAfter(Piece(1, 1, 1, 3)));
  EXPECT_TRUE(Piece(1, 9, 1, 12).IsBefore(Piece(2, 1, 2, 3)));
  EXPECT_FALSE(Piece(1, 1, 1, 5).IsBefore(Piece(1, 4, 1, 8)));
  EXPECT_FALSE(Piece(1, 1, 1, 5).IsAfter(Piece(1, 4, 1, 8)));
  // Empty pieces: at one place each is before the other; an empty piece at
  // the start of a non-empty one comes first.
  EXPECT_TRUE(Piece(2, 4, 2, 4).IsBefore(Piece(2, 4, 2, 4)));
  EXPECT_TRUE(Piece(2, 4, 2, 4).IsBefore(Piece(2, 4, 2, 9)));
  EXPECT_FALSE(Piece(2, 4, 2, 9).IsBefore(Piece(2, 4, 2, 4)));
  EXPECT_TRUE(Piece(2, 4, 2, 9).IsAfter(Piece(2, 4, 2, 4)));
  // File numbers are not compared when ordering.
  EXPECT_TRUE(Piece(1, 1, 1, 5, 1).IsBefore(Piece(1, 2, 1, 3, 2)));
}

TEST(CTextPiece, CopiesEveryField) {
  CTextPiece p("abc", 2, 3, CharsetShiftJis);
  p.SetAuxText("aux");
  p.SetAuxFlag(true);
  p.SetFileNumber(9);
  CTextPiece q(p);
  CTextPiece r;
  r = p;
  for (const CTextPiece* c : {&q, &r}) {
    EXPECT_EQ("abc", c->GetText());
    EXPECT_EQ(CharsetShiftJis, c->GetCharsetText().GetCharset());
    EXPECT_EQ(2, c->GetStartLine());
    EXPECT_EQ(6, c->GetEndColumn());
    EXPECT_EQ("aux", c->GetAuxText());
    EXPECT_TRUE(c->GetAuxFlag());
    EXPECT_EQ(9u, c->GetFileNumber());
  }
}

TEST(CTextPiece, FlagsAndTextsAreSetEachWithoutTheOther) {
  CTextPiece p("abc", 1, 1);
  p.SetAuxFlag(true);
  p.SetText(CCharsetString("wide", CharsetShiftJis, true));
  p.SetAuxText("aux");
  EXPECT_TRUE(p.GetAuxFlag());
  EXPECT_EQ("aux", p.GetAuxText());
  EXPECT_EQ("wide", p.GetText());
  EXPECT_TRUE(p.GetCharsetText().GetCountChars());

  p.SetAuxFlag(false);
  EXPECT_EQ("aux", p.GetAuxText());
  EXPECT_TRUE(p.GetCharsetText().GetCountChars());
  p.SetText(CCharsetString("narrow", CharsetSingleByte, false));
  EXPECT_FALSE(p.GetCharsetText().GetCountChars());
  EXPECT_EQ("narrow", p.GetCharsetText().GetText());
  EXPECT_FALSE(p.GetAuxFlag());
  EXPECT_EQ("aux", p.GetAuxText());
}

TEST(CFileTable, NumbersFilesByTheFileSystemAndKeepsTheFirstSpelling) {
  testsupport::TempDir dir;
  const std::string a = dir.Write("sub/A.doc", "a");
  const std::string lower = dir.Write("sub/a.doc", "other");
  std::filesystem::create_directory_symlink(dir.path() / "sub", dir.path() / "link");
  CFileTable table;
  EXPECT_EQ(1u, table.FileNumberOf(a));
  // Another file, though its name differs only in case.
  EXPECT_EQ(2u, table.FileNumberOf(lower));
  // The same file through "..", "." and a link to its folder.
  EXPECT_EQ(1u, table.FileNumberOf((dir.path() / "sub" / ".." / "sub" / "." / "A.doc").string()));
  EXPECT_EQ(1u, table.FileNumberOf((dir.path() / "link" / "A.doc").string()));
  // Names of files that do not exist are compared as canonical paths.
  EXPECT_EQ(3u, table.FileNumberOf("/docs/b.doc"));
  EXPECT_EQ(3u, table.FileNumberOf("/docs/./b.doc"));
  EXPECT_EQ(4u, table.FileNumberOf("/DOCS/B.doc"));
  EXPECT_EQ(a, table.FileNameOf(1));
  EXPECT_EQ("", table.FileNameOf(0));
  EXPECT_EQ("", table.FileNameOf(5));
  EXPECT_EQ(4u, table.Count());
}

TEST(CFileTable, PiecesNameTheirFileThroughTheProcessTable) {
  uint32_t n = CFileTable::Process().FileNumberOf("/tmp/piece-test.doc");
  CTextPiece p("x", 1, 1);
  p.SetFileNumber(n);
  EXPECT_EQ("/tmp/piece-test.doc", p.GetFileName());
}

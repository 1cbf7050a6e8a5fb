// SSLex over the generated table: tokens, texts, modes and positions of the
// reader's lexical rules, and the engine's errors.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/CodePage.h"
#include "reader/InterleafTokens.h"
#include "reader/SSException.h"
#include "reader/SSLex.h"
#include "reader/SSLexConsumer.h"
#include "tests/reader/LexTestSupport.h"
#include "tests/support/TestSupport.h"

using lextest::Lex;
using lextest::LexBody;
using Tokens = std::vector<std::string>;

namespace {

// Runs \p f, which must throw an SSException; returns "code: message".
template <class F>
std::string ErrorOf(F f) {
  try {
    f();
  } catch (const SSException& e) {
    return std::to_string(e.code()) + ": " + e.what();
  }
  return "no error";
}

struct Positioned {
  int32_t id;
  std::string text;
  int32_t line, column;
  uint32_t offset;
  bool operator==(const Positioned&) const = default;
};

std::vector<Positioned> LexFile(const std::string& path, int32_t codePage = 1252,
                                size_t window = SSLexConsumer::kWindow) {
  lextest::CodePageScope scope(codePage);
  SSLex lex(CResourceModule::Embedded(), std::make_unique<SSLexConsumer>(path, window));
  std::vector<Positioned> out;
  while (SSRefPtr<SSToken> t = lex.NextToken())
    out.push_back({t->Id(), std::string(t->View()), t->Line(), t->Column(), t->Offset()});
  return out;
}

}  // namespace

TEST(SSLexHeader, VersionAndCharacterEncoding) {
  EXPECT_EQ(Lex("<!OPS, Version = 8.0 Character Encoding = SJIS>"),
            (Tokens{"OPS_START <!OPS,", "VERSION  Version = ", "INTEGER 8", "PERIOD .", "INTEGER 0", "JUNK  ",
                    "CHARACTER_ENCODING Character Encoding = ", "WORD SJIS", "OPS_END >"}));
  // Without whitespace in front, Version is an ordinary word.
  EXPECT_EQ(Lex("<!OPS,Version = 8.0>"), (Tokens{"OPS_START <!OPS,", "WORD Version", "JUNK  ", "JUNK =", "JUNK  ",
                                                 "INTEGER 8", "PERIOD .", "INTEGER 0", "OPS_END >"}));
}

TEST(SSLexHeader, AnythingElseIsAnIncorrectFile) {
  EXPECT_EQ(Lex(" <!OPS,"), (Tokens{"INCORRECT_FILE  ", "OPS_START <!OPS,"}));
  EXPECT_EQ(Lex("<!OP"), (Tokens{"INCORRECT_FILE <", "INCORRECT_FILE !", "INCORRECT_FILE O", "INCORRECT_FILE P"}));
}

TEST(SSLexBody, TextJunkAndTagStarts) {
  EXPECT_EQ(LexBody("Two  words\t\n\nnext << >"),
            (Tokens{"TEXT Two  words", "JUNK \t\n\n", "TEXT next ", "LESS_THAN <<", "TEXT  ", "GREATER_THAN >"}));
  EXPECT_EQ(LexBody("<F12 Bold>"), (Tokens{"FONT_CHANGE_START <F12", "JUNK  ", "WORD Bold", "TAG_END >"}));
  EXPECT_EQ(LexBody("<F0>"), (Tokens{"TAG_START <", "WORD F0", "TAG_END >"}));
  EXPECT_EQ(LexBody("<Comment>x<Comment, y>"), (Tokens{"TAG <Comment>", "TEXT x", "MANUAL_COMMENT_START <Comment",
                                                       "JUNK ,", "JUNK  ", "WORD y", "TAG_END >"}));
  // An incomplete start falls back to '<' and the rest is read as a tag.
  EXPECT_EQ(LexBody("<Fra>"), (Tokens{"TAG_START <", "WORD Fra", "TAG_END >"}));
  EXPECT_EQ(LexBody("<!Font Defini"), (Tokens{"TAG_START <", "JUNK !", "WORD Font", "JUNK  ", "WORD Defini"}));
  EXPECT_EQ(LexBody("<!End Declarations>\n\nText"), (Tokens{"END_DECLARATIONS <!End Declarations>\n\n", "TEXT Text"}));
}

TEST(SSLexBody, ComponentsAndAttributes) {
  EXPECT_EQ(LexBody("<\"Heading 1\",Font = F3>"),
            (Tokens{"COMPONENT_START <\"", "DQUOTED_TEXT Heading 1", "END_DQUOTE \"", "JUNK ,", "FONT Font = F",
                    "NUMBER 3", "TAG_END >"}));
  EXPECT_EQ(LexBody("<p,Font=F12>"),
            (Tokens{"TAG_START <", "WORD p", "JUNK ,", "WORD Font", "JUNK =", "WORD F12", "TAG_END >"}));
  // A doubled quote stays inside the name.
  EXPECT_EQ(LexBody("<!Class, \"say \"\"hi\"\"\", Alt Font = F2, Subcomponent = yes>"),
            (Tokens{"CLASS_START <!Class, \"", "DQUOTED_TEXT say \"\"hi\"\"", "END_DQUOTE \"", "JUNK ,", "JUNK  ",
                    "ALT_FONT Alt Font = F", "NUMBER 2", "JUNK ,", "JUNK  ", "SUBCOMPONENT Subcomponent = yes",
                    "TAG_END >"}));
  // A keyword wins over WORD only for the same text.
  EXPECT_EQ(LexBody("<x A-Page A-Pages>"),
            (Tokens{"TAG_START <", "WORD x", "JUNK  ", "A_PAGE A-Page", "JUNK  ", "WORD A-Pages", "TAG_END >"}));
  // Markup inside a single-quoted part.
  EXPECT_EQ(LexBody("<!Master Frame, Numbered = '<Autonum>'>"),
            (Tokens{"MASTER_FRAME_START <!Master Frame,", "JUNK  ", "NUMBERED Numbered = ", "START_SQUOTE '",
                    "TAG_START <", "WORD Autonum", "TAG_END >", "END_SQUOTE '", "FRAME_END >"}));
}

TEST(SSLexFontDefinitions, NamesSizesAndStyles) {
  const std::string start = "<!Font Definitions,\n\t";
  EXPECT_EQ(LexBody(start + "F5 = Times 10 Bold Italic,\n\tF6 = Times 10.5>"),
            (Tokens{"FONT_DEFINITIONS_START <!Font Definitions,", "FONT_DEFINITION_ELEMENT_START F5",
                    "FONT_DEFINITION_ELEMENT_EQUAL =", "FONT_DEFINITION_ELEMENT_WORD  Times ",
                    "FONT_DEFINITION_ELEMENT_SIZE 10", "FONT_DEFINITION_ELEMENT_BOLD Bold",
                    "FONT_DEFINITION_ELEMENT_ITALIC Italic", "FONT_DEFINITION_ELEMENT_COMMA ,",
                    "FONT_DEFINITION_ELEMENT_START F6", "FONT_DEFINITION_ELEMENT_EQUAL =",
                    "FONT_DEFINITION_ELEMENT_WORD  Times ", "FONT_DEFINITION_ELEMENT_SIZE 10.5", "TAG_END >"}));
  EXPECT_EQ(LexBody(start + "F3 = Times New Roman 10,")[3], "FONT_DEFINITION_ELEMENT_WORD  Times New Roman ");
  EXPECT_EQ(LexBody(start + "F4 = 2nd Font 9>")[3], "FONT_DEFINITION_ELEMENT_WORD  2nd Font ");
  // A digit run after a space ends the name unless a letter follows it.
  EXPECT_EQ(LexBody(start + "F7 = Univers 55 Bold 10,"),
            (Tokens{"FONT_DEFINITIONS_START <!Font Definitions,", "FONT_DEFINITION_ELEMENT_START F7",
                    "FONT_DEFINITION_ELEMENT_EQUAL =", "FONT_DEFINITION_ELEMENT_WORD  Univers ",
                    "FONT_DEFINITION_ELEMENT_SIZE 55", "FONT_DEFINITION_ELEMENT_BOLD Bold",
                    "ERROR SSLex0105e: Invalid token, Line 3, Offset 23, 1"}));
}

TEST(SSLexDiagrams, FrameWithGroupTextStringAndMicroDocument) {
  EXPECT_EQ(LexBody("<Frame, Name = \"A\", Diagram =\nV11,\n(g9,1,0\n (t14,1,0,wst:dutch12,Hi\\ there)\n"
                    " (T8,2,<p>\nSmall\n<End Text>)\n (p8,2,(v6,1))\n (c3,1,(cD,Label,1,2)))>"),
            (Tokens{"FRAME_START <Frame,",
                    "JUNK  ",
                    "FRAME_NAME Name = ",
                    "START_DQUOTE \"",
                    "DQUOTED_TEXT A",
                    "END_DQUOTE \"",
                    "JUNK ,",
                    "JUNK  ",
                    "DIAGRAM_START Diagram =\nV11,",
                    "JUNK \n",
                    "GROUP_START (g9",
                    "COMMA ,",
                    "DIAGRAM_DATA 1",
                    "COMMA ,",
                    "DIAGRAM_DATA 0\n ",
                    "TEXT_STRING_START (t14",
                    "COMMA ,",
                    "DIAGRAM_DATA 1",
                    "COMMA ,",
                    "DIAGRAM_DATA 0",
                    "COMMA ,",
                    "DIAGRAM_DATA wst:dutch12",
                    "COMMA ,",
                    "DIAGRAM_DATA Hi\\ there",
                    "TEXT_STRING_END )",
                    "MICRO_DOCUMENT_START (T8",
                    "COMMA ,",
                    "DIAGRAM_DATA 2",
                    "COMMA ,",
                    "TAG_START <",
                    "WORD p",
                    "TAG_END >",
                    "JUNK \n",
                    "TEXT Small",
                    "JUNK \n",
                    "END_TEXT <End Text>",
                    "MICRO_DOCUMENT_END )\n",
                    "GRAPHIC_OBJECT_START (v6",
                    "GRAPHIC_OBJECT_END )",
                    "CHART_START (c3",
                    "COMMA ,",
                    "DIAGRAM_DATA 1",
                    "COMMA ,",
                    "CHART_LABEL_START (cD,",
                    "DIAGRAM_DATA Label",
                    "CHART_LABEL_END ,1,2)",
                    "CHART_END )",
                    "GROUP_END )",
                    "FRAME_END >"}));
}

TEST(SSLexDiagrams, PageHeaderPreambleAndNamedObjects) {
  EXPECT_EQ(LexBody("<Page Header, Frame =\nV11,\n(N5,1, @\"k\" = \"v\",x)>Body"),
            (Tokens{"PAGE_HEADER_START <Page Header,", "JUNK \n", "NAMED_OBJECT_START (N5", "COMMA ,", "DIAGRAM_DATA 1",
                    "COMMA ,", "DIAGRAM_DATA x", "NAMED_OBJECT_END )", "FRAME_END >", "TEXT Body"}));
}

TEST(SSLexDiagrams, ShiftJisTrailBackslashIsOneDataCharacter) {
  // 0x95 0x5C is one character under code page 932; its second byte is no escape.
  const std::string text = "<Frame, Diagram =\nV11,\n(t14,\x95\\)>";
  EXPECT_EQ(LexBody(text, 932),
            (Tokens{"FRAME_START <Frame,", "JUNK  ", "DIAGRAM_START Diagram =\nV11,", "JUNK \n",
                    "TEXT_STRING_START (t14", "COMMA ,", "DIAGRAM_DATA \x95\\", "TEXT_STRING_END )", "FRAME_END >"}));
  // Under 1252 the same bytes are a character and an escaped ')'.
  Tokens ansi = LexBody(text, 1252);
  EXPECT_EQ(ansi[6], "DIAGRAM_DATA \x95\\)");
}

TEST(SSLexEmptyMatches, LoneEscIsOneCharacterOfText) {
  EXPECT_EQ(LexBody("a\x1b"
                    "b\x1b$Bxy<\x1b(Bc"),
            (Tokens{"TEXT a", "TEXT \x1b", "TEXT b", "TEXT \x1b$Bxy<\x1b(B", "TEXT c"}));
  EXPECT_EQ(LexBody("<Frame, Diagram =\nV11,\n(T1,<p>\x1b\x1b<End Text>)>")[9], "TEXT \x1b");
}

TEST(SSLexEmptyMatches, SecondEmptyMatchAtOnePlaceIsAnInvalidToken) {
  EXPECT_EQ(LexBody("<\"ab\x1b"
                    "c\">"),
            (Tokens{"COMPONENT_START <\"", "DQUOTED_TEXT ab", "DQUOTED_TEXT",
                    "ERROR SSLex0105e: Invalid token, Line 2, Offset 5, \x1b"
                    "c"}));
  EXPECT_EQ(
      LexBody("<Frame, Diagram =\nV11,\n(t1,a<b)>"),
      (Tokens{"FRAME_START <Frame,", "JUNK  ", "DIAGRAM_START Diagram =\nV11,", "JUNK \n", "TEXT_STRING_START (t1",
              "COMMA ,", "DIAGRAM_DATA a", "DIAGRAM_DATA", "ERROR SSLex0105e: Invalid token, Line 4, Offset 6, <"}));
}

// Double-byte input sends its lead bytes to a column of their own: no
// byte's class may name it, and every state must answer it alike.
TEST(SSLexTables, EveryListKeepsALeadColumnThatNoByteNames) {
  SSLex lex(CResourceModule::Embedded(), "x", "x.doc");
  for (int64_t i = 0; i <= 25; ++i) {
    const SSLexExpressionList& list = lex.ExpressionList(i);
    ASSERT_LT(list.leadColumn, 1u << list.rowShift) << "list " << i;
    for (unsigned b = 0; b < 256; ++b) EXPECT_NE(list.byteClass[b], list.leadColumn) << "list " << i << ", byte " << b;
    for (size_t row = 0; row < list.next.size(); row += size_t{1} << list.rowShift) {
      EXPECT_EQ(list.next[row + list.leadColumn], SSLexExpressionList::kLeadEntry) << "list " << i << ", row " << row;
    }
  }
}

TEST(SSLexTables, ByteClassesAreTheFewestThatKeepEveryTransition) {
  // Two bytes share a class only when every state sends them to the same
  // successor, and two classes differ in some state: each class's column
  // of the dense table is unlike every other. Classes are numbered in the
  // order of their first bytes.
  SSLex lex(CResourceModule::Embedded(), "x", "x.doc");
  for (int64_t i = 0; i <= 25; ++i) {
    const SSLexExpressionList& list = lex.ExpressionList(i);
    const size_t rowSize = size_t{1} << list.rowShift;
    std::set<std::vector<int32_t>> columns;
    for (uint16_t c = 0; c < list.leadColumn; ++c) {
      std::vector<int32_t> column;
      for (size_t row = 0; row < list.next.size(); row += rowSize) column.push_back(list.next[row + c]);
      EXPECT_TRUE(columns.insert(column).second) << "list " << i << ", class " << c << " repeats another";
    }
    uint16_t highest = 0;
    for (unsigned b = 0; b < 256; ++b) {
      ASSERT_LE(list.byteClass[b], highest + (b == 0 ? 0 : 1)) << "list " << i << ", byte " << b;
      highest = std::max(highest, list.byteClass[b]);
    }
    EXPECT_EQ(highest + 1u, list.leadColumn) << "list " << i;
  }
}

TEST(SSLexPositions, LinesColumnsAndDoubleByteCharacters) {
  lextest::CodePageScope scope(932);
  SSLex lex(CResourceModule::Embedded(), "<!OPS, Version = 8.0>\n\x82\xa0\x82\xa0x\n<F1>", "t.doc");
  std::vector<SSRefPtr<SSToken>> tokens;
  while (SSRefPtr<SSToken> t = lex.NextToken()) tokens.push_back(t);
  ASSERT_EQ(tokens.size(), 11u);
  EXPECT_EQ(tokens[7]->View(), "\x82\xa0\x82\xa0x");
  EXPECT_EQ(tokens[7]->Line(), 2);
  EXPECT_EQ(tokens[7]->Column(), 1);
  EXPECT_EQ(tokens[7]->Offset(), 22u);
  EXPECT_EQ(tokens[9]->View(), "<F1");
  EXPECT_EQ(tokens[9]->Line(), 3);
  EXPECT_EQ(tokens[9]->Column(), 1);
  EXPECT_EQ(tokens[10]->Column(), 4);

  // Two double-byte characters take four columns: what follows is in column 5.
  SSLex pieces(CResourceModule::Embedded(), "<!OPS, Version = 8.0>\n\x82\xa0\x82\xa0<x>", "t.doc");
  std::vector<SSRefPtr<SSToken>> more;
  while (SSRefPtr<SSToken> t = pieces.NextToken()) more.push_back(t);
  ASSERT_EQ(more.size(), 11u);
  EXPECT_EQ(more[8]->View(), "<");
  EXPECT_EQ(more[8]->Column(), 5);
}

TEST(SSLexPositions, LeadByteTakesTheByteAfterItEvenALineFeed) {
  lextest::CodePageScope scope(932);
  SSLex lex(CResourceModule::Embedded(), "<!OPS, Version = 8.0>\n\x82\n<x>\x82", "t.doc");
  std::vector<SSRefPtr<SSToken>> tokens;
  while (SSRefPtr<SSToken> t = lex.NextToken()) tokens.push_back(t);
  ASSERT_EQ(tokens.size(), 12u);
  EXPECT_EQ(tokens[7]->View(), "\x82\n");  // one character: no line end
  EXPECT_EQ(tokens[8]->View(), "<");
  EXPECT_EQ(tokens[8]->Line(), 2);
  EXPECT_EQ(tokens[8]->Column(), 3);
  EXPECT_EQ(tokens[11]->View(), "\x82");  // a lead byte that ends the input stands alone
  EXPECT_EQ(tokens[11]->Column(), 6);
}

TEST(SSLexPositions, LeadByteBeforeAZeroByteMakesNoDoubleByteCharacter) {
  lextest::CodePageScope scope(932);
  SSLex lex(CResourceModule::Embedded(), std::string("<!OPS, Version = 8.0>\nab\x82\0cd", 28), "t.doc");
  std::vector<std::string> texts;
  std::string error = ErrorOf([&] {
    while (SSRefPtr<SSToken> t = lex.NextToken()) texts.emplace_back(t->View());
  });
  ASSERT_EQ(texts.size(), 9u);
  EXPECT_EQ(texts[7], "ab");
  EXPECT_EQ(texts[8], "");
  EXPECT_EQ(error, "5: SSLex0105e: Invalid token, Line 2, Offset 3, \x82");
}

// Runs long enough to be scanned many bytes at a time end where reading one
// character at a time ends them, wherever their bytes fall in the scan.
TEST(SSLexRuns, LongRunsEndWhereTheirCharactersEnd) {
  const std::string tail(20, 'b');
  for (size_t k = 0; k <= 40; ++k) {
    SCOPED_TRACE(k);
    const std::string a(k, 'a');
    // A lead byte takes the '<' after it; after two lead bytes, a character,
    // it starts a tag; after three it is taken again.
    EXPECT_EQ(LexBody(a + "\x81<" + tail + "<x>", 932)[0], "TEXT " + a + "\x81<" + tail);
    EXPECT_EQ(LexBody(a + "\x81\x81<x>" + tail, 932)[0], "TEXT " + a + "\x81\x81");
    EXPECT_EQ(LexBody(a + "\x81\x81\x81<" + tail + "<x>", 932)[0], "TEXT " + a + "\x81\x81\x81<" + tail);
    EXPECT_EQ(LexBody(a + "\x81<x>" + tail, 1252)[0], "TEXT " + a + "\x81");
    // A lead byte that ends the input stands alone; one before a zero byte
    // makes no character.
    EXPECT_EQ(LexBody(a + tail + "\x82", 932)[0], "TEXT " + a + tail + "\x82");
    EXPECT_EQ(LexBody(a + tail + std::string("\x82\0c", 3) + tail, 932).back(),
              "ERROR SSLex0105e: Invalid token, Line 2, Offset " + std::to_string(k + 21) + ", \x82");
    // The skipped contents of a graphic object: the ')' after a lead byte
    // does not end it.
    const Tokens object = LexBody("<Frame, Diagram =\nV11,\n(v6," + a + "\x81)" + tail + ")>", 932);
    ASSERT_EQ(object.size(), 7u);
    EXPECT_EQ(object[5], "GRAPHIC_OBJECT_END )");
  }
}

// Line ends are searched for a block of bytes at a time, and further off
// by another search: lines of every length up to well past both give the
// lines and columns a count of the bytes before each token gives.
TEST(SSLexPositions, LinesOfEveryLengthCountAsTheirBytesDo) {
  std::string text = "<!OPS, Version = 8.0>\n";
  for (size_t length = 0; length <= 150; ++length) text += std::string(length, 'x') + (length % 3 ? "<F0>\n" : "\n");
  testsupport::TempDir dir;
  const std::vector<Positioned> tokens = LexFile(dir.Write("lines.doc", text));
  ASSERT_GT(tokens.size(), 300u);
  for (const Positioned& token : tokens) {
    const std::string_view before = std::string_view(text).substr(0, token.offset);
    const size_t lineStart = before.rfind('\n') == std::string_view::npos ? 0 : before.rfind('\n') + 1;
    ASSERT_EQ(token.line, 1 + std::count(before.begin(), before.end(), '\n')) << token.offset;
    ASSERT_EQ(token.column, static_cast<int32_t>(token.offset - lineStart) + 1) << token.offset;
  }
}

TEST(SSLexPositions, CrLfFileGivesTheSameTokensAsLf) {
  std::string lf = testsupport::ReadFile(testsupport::SourcePath("examples/brochure.doc"));
  ASSERT_FALSE(lf.empty());
  std::string crlf;
  for (char c : lf) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  testsupport::TempDir dir;
  std::vector<Positioned> a = LexFile(dir.Write("lf.doc", lf));
  std::vector<Positioned> b = LexFile(dir.Write("crlf.doc", crlf + "\x1a trailing bytes after end of file"));
  EXPECT_GT(a.size(), 100u);
  EXPECT_EQ(a, b);
}

// A file is read through a window that moves on as the lexer goes: tokens
// cut by its end, tokens longer than it, CR LF pairs and lone CRs split
// by a read, and double-byte characters on its edge must all come out as
// from the whole file.
TEST(SSLexWindow, EveryWindowGivesTheTokensOfTheWholeFile) {
  const std::string brochure = testsupport::ReadFile(testsupport::SourcePath("examples/brochure.doc"));
  const std::string japanese = testsupport::ReadFile(testsupport::SourcePath("examples/manual-ja.doc"));
  ASSERT_FALSE(brochure.empty());
  ASSERT_FALSE(japanese.empty());
  std::string crlf;
  for (char c : brochure) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  const std::string longWord = "<!OPS, Version = 8.0>\n\n<\"p\">\n\n" + std::string(3000, 'w') + " <F0>x\r\ry\r\n";
  struct Case {
    std::string name, bytes;
    int32_t codePage;
  };
  const Case cases[] = {{"lf.doc", brochure, 1252},
                        {"crlf.doc", crlf + "\x1a after the end", 1252},
                        {"long.doc", longWord, 1252},
                        {"ja.doc", japanese, 932}};
  testsupport::TempDir dir;
  for (const Case& c : cases) {
    const std::string path = dir.Write(c.name, c.bytes);
    const std::vector<Positioned> whole = LexFile(path, c.codePage);
    ASSERT_GT(whole.size(), 5u) << c.name;
    for (const size_t window : {2, 3, 5, 16, 61, 1000}) {
      EXPECT_EQ(LexFile(path, c.codePage, window), whole) << c.name << ", window " << window;
    }
  }
}

TEST(SSLexErrors, FilesThatCannotBeRead) {
  testsupport::TempDir dir;
  std::string empty = dir.Write("empty.doc", "");
  EXPECT_EQ(ErrorOf([&] { SSLex(CResourceModule::Embedded(), empty); }),
            "2: SSLex0102e: Invalid file length or read error, " + empty + ", 0");
  std::string missing = (dir.path() / "missing.doc").string();
  EXPECT_EQ(ErrorOf([&] { SSLex(CResourceModule::Embedded(), missing); }),
            "1: SSLex0101e: Error opening file, " + missing + ", 2");
  // A file that text mode ends at once is no error: it holds no tokens.
  SSLex eof(CResourceModule::Embedded(), dir.Write("eof.doc", "\x1a<!OPS,"));
  EXPECT_FALSE(eof.NextToken());
}

// A large file is lexed where the system caches it. Cut short by another
// program meanwhile, it must fail as a read error, not end the process.
TEST(SSLexErrors, AFileCutShortWhileLexedIsAReadError) {
  const std::string brochure = testsupport::ReadFile(testsupport::SourcePath("examples/brochure.doc"));
  ASSERT_FALSE(brochure.empty());
  std::string large;
  while (large.size() < (size_t{3} << 20)) large += brochure;
  testsupport::TempDir dir;
  const std::string path = dir.Write("large.doc", large);
  {
    SSLex whole(CResourceModule::Embedded(), path);
    size_t tokens = 0;
    while (whole.NextToken()) ++tokens;
    EXPECT_GT(tokens, 1000u);
  }
  SSLex lex(CResourceModule::Embedded(), path);
  for (int i = 0; i < 100; ++i) ASSERT_TRUE(lex.NextToken());
  ASSERT_EQ(0, ::truncate(path.c_str(), 100000));
  EXPECT_EQ(ErrorOf([&] {
              while (lex.NextToken()) {
              }
            }),
            "2: SSLex0102e: Invalid file length or read error, " + path + ", " + std::to_string(large.size()));
}

TEST(SSLexErrors, TablesAndModes) {
  CResourceModule none(std::span<const ResourceEntry>{});
  EXPECT_EQ(ErrorOf([&] { SSLex(none, "x", "x.doc"); }), "36: SSLex0108e: Resource not found, TYPESWAP");

  static const unsigned char kBad[40] = {1, 0, 0, 0, 'X', 'L', 'S', 'S'};
  const ResourceEntry entries[] = {{"LexTable", "TYPESWAP", kBad, sizeof kBad}};
  CResourceModule bad(entries);
  EXPECT_EQ(ErrorOf([&] { SSLex(bad, "x", "x.doc"); }), "4: SSLex0104e: Invalid table, TYPESWAP");

  SSLex lex(CResourceModule::Embedded(), "x", "x.doc");
  EXPECT_EQ(lex.ExpressionList(25).index, 25u);
  EXPECT_EQ(ErrorOf([&] { lex.ExpressionList(26); }), "6: SSLex0106e: Invalid expression list index, 26");

  struct Bare : SSLex {
    Bare() : SSLex(nullptr, nullptr) {}
  };
  Bare bare;
  EXPECT_EQ(ErrorOf([&] { bare.NextToken(); }), "7: SSLex0107e: Table or consumer missing, required");
}

TEST(SSLexErrors, EveryCorruptionOfTheTableIsReported) {
  // Cutting the real table anywhere, or breaking a magic, must give
  // SSLex0104e, never a crash.
  auto table = testsupport::ReadFile(TS_LEXTABLE_FILE);
  ASSERT_GT(table.size(), 1000u);
  for (size_t cut : {size_t(0), size_t(20), size_t(36), size_t(100), table.size() / 2, table.size() - 4}) {
    std::vector<unsigned char> bytes(table.begin(), table.begin() + cut);
    const ResourceEntry entries[] = {{"LexTable", "TYPESWAP", bytes.data(), bytes.size()}};
    EXPECT_EQ(ErrorOf([&] { SSLex(CResourceModule(entries), "x", "x.doc"); }), "4: SSLex0104e: Invalid table, TYPESWAP")
        << "cut at " << cut;
  }
  std::vector<unsigned char> bytes(table.begin(), table.end());
  bytes[36] ^= 0xFF;  // the first list's magic
  const ResourceEntry entries[] = {{"LexTable", "TYPESWAP", bytes.data(), bytes.size()}};
  EXPECT_EQ(ErrorOf([&] { SSLex(CResourceModule(entries), "x", "x.doc"); }), "4: SSLex0104e: Invalid table, TYPESWAP");
}

TEST(SSLex, TokenNames) {
  SSLex lex(CResourceModule::Embedded(), "", "x.doc");
  EXPECT_FALSE(lex.NextToken());
  // Without names, only the engine's own tokens have one.
  EXPECT_STREQ(lex.TokenName(-1), "eof");
  EXPECT_STREQ(lex.TokenName(-2), "%error");
  EXPECT_STREQ(lex.TokenName(InterleafToken::FONT), "SSLexTokenNotFound");
  lex.SetTokenNames(InterleafTokenNames());
  EXPECT_STREQ(lex.TokenName(InterleafToken::FONT), "FONT");
  EXPECT_STREQ(lex.TokenName(152), ",");
  EXPECT_STREQ(lex.TokenName(-1), "eof");
  EXPECT_STREQ(lex.TokenName(-2), "%error");
  EXPECT_STREQ(lex.TokenName(97), "SSLexTokenNotFound");
  EXPECT_STREQ(lex.TokenName(0), "SSLexTokenNotFound");
}

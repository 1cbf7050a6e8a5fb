// The line and column reader: forward reads by position, their failure
// reports, text-mode line ends, directory creation and safe writing.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <initializer_list>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "output/CRCFile.h"
#include "output/CReportSink.h"
#include "output/CTextModeInput.h"
#include "platform/CodePage.h"
#include "tests/output/OutputTestSupport.h"
#include "tests/support/CodePageScope.h"
#include "tests/support/TestSupport.h"

namespace fs = std::filesystem;

namespace {
// Where two long texts part, and a little of each from there.
std::string Difference(const std::string& expected, const std::string& actual) {
  const size_t at = static_cast<size_t>(
      std::mismatch(expected.begin(), expected.end(), actual.begin(), actual.end()).first - expected.begin());
  return "from byte " + std::to_string(at) + " of " + std::to_string(expected.size()) + ": expected \"" +
         expected.substr(at, 40) + "\", got \"" + actual.substr(at, 40) + "\" (" + std::to_string(actual.size()) +
         " bytes)";
}

// A line of up to \p most characters, often of none to two; \p starts
// gets where each character starts, and the line's end. With \p leadBytes,
// a quarter of them are double-byte characters of code page 932, some of
// whose second bytes are line feeds or lead-byte values.
std::string RandomLine(std::mt19937& random, int most, bool leadBytes, std::vector<size_t>& starts) {
  std::string line;
  starts.assign(1, 0);
  const int characters = static_cast<int>(random() % 4 == 0 ? random() % 3 : random() % most);
  for (int i = 0; i < characters; ++i) {
    if (leadBytes && random() % 4 == 0) {
      line += '\x82';
      line += "a\n\x82"[random() % 3];
    } else {
      line += static_cast<char>('a' + random() % 26);
    }
    starts.push_back(line.size());
  }
  return line;
}

class CRCFileTest : public ::testing::Test {
 protected:
  CCollectingReportSink sink;
  CErrorReporter reporter{&sink};
  testsupport::TempDir dir;

  // \p bytes: how large the text read is; from a megabyte on, a text
  // without CR is seen in place, as one block.
  void ReadAndWriteRandomLines(bool leadBytes, size_t bytes = 700000);
  // Lines end with CR LF or LF at random from byte \p crLfFrom of the file
  // on (SIZE_MAX: all with LF).
  void CopyAroundRandomPieces(bool leadBytes, size_t bytes = 400000, size_t crLfFrom = 0);

  // A step of the output run's reader: a copy into its output file, or a
  // skip, up to a line and column.
  struct Step {
    bool copy;
    int32_t line;
    int32_t column;
  };
  // What StepsAsReads saw: the texts the reads of the copies gave (and of
  // the rest), the texts the copies handed on, and the reads' reports.
  struct Stepped {
    std::string copied;
    std::string handed;
    std::vector<std::string> readReports;
  };
  // Takes \p steps with a reader of \p path that reports to this
  // fixture's sink, and the read each stands for with a second one: each
  // step must succeed or fail as its read does and leave the reader where
  // the read leaves it. With \p rest, both then copy or read the rest.
  Stepped StepsAsReads(const std::string& path, std::initializer_list<Step> steps, bool rest) {
    CCollectingReportSink readSink;
    CErrorReporter readReporter{&readSink};
    CRCFile copying(reporter);
    CRCFile reading(readReporter);
    copying.Open(path, true);
    reading.Open(path, true);
    CRCFile out(reporter);
    out.Open((dir.path() / "out.doc").string(), false, true);
    Stepped stepped;
    auto hand = [&](std::string_view part) { stepped.handed += part; };
    std::string text;
    for (const Step& step : steps) {
      const bool done =
          step.copy ? copying.CopyInto(step.line, step.column, out, hand) : copying.SkipTo(step.line, step.column);
      EXPECT_EQ(reading.ReadTo(step.line, step.column, text), done) << step.line << ", " << step.column;
      if (step.copy) stepped.copied += text;
      EXPECT_EQ(reading.GetCurrentLine(), copying.GetCurrentLine()) << step.line << ", " << step.column;
      EXPECT_EQ(reading.GetCurrentColumn(), copying.GetCurrentColumn()) << step.line << ", " << step.column;
    }
    if (rest) {
      EXPECT_TRUE(copying.CopyRest(hand));
      EXPECT_TRUE(reading.ReadRest(text));
      stepped.copied += text;
    }
    stepped.readReports = readSink.texts;
    return stepped;
  }
};
}  // namespace

TEST_F(CRCFileTest, ReadsForwardByLineAndColumn) {
  CRCFile file(reporter);
  file.Open(dir.Write("in.doc", "abc\r\ndefgh\r\nij\r\n"), true);
  std::string text;
  EXPECT_TRUE(file.ReadTo(1, 1, text));  // nothing read yet
  EXPECT_EQ("", text);
  EXPECT_TRUE(file.ReadTo(2, 3, text));
  EXPECT_EQ("abc\nde", text);
  EXPECT_TRUE(file.ReadTo(2, 5, text));
  EXPECT_EQ("fg", text);
  EXPECT_TRUE(file.ReadToLine(2, text));  // the current line: nothing to read
  EXPECT_EQ("", text);
  EXPECT_TRUE(file.ReadRest(text));
  EXPECT_EQ("h\nij\n", text);
  EXPECT_TRUE(sink.texts.empty());
}

TEST_F(CRCFileTest, ReadingBackwardsIsReportedAndFails) {
  CRCFile file(reporter);
  file.Open(dir.Write("in.doc", "one\ntwo\nthree\n"), true);
  std::string text;
  ASSERT_TRUE(file.ReadTo(3, 3, text));
  EXPECT_FALSE(file.ReadToLine(2, text));
  EXPECT_EQ("\n[1]  Line 2 has already been read - current line is 3.\n", sink.All());
  EXPECT_FALSE(file.ReadToColumn(2, text));
  EXPECT_EQ("\n[2]  Character 2 on line 3 has already been read - current offset is 3.\n", sink.texts.at(1));
  EXPECT_EQ(outputtext::kCodeReader, reporter.LastCode());
}

TEST_F(CRCFileTest, PositionsBeyondTheFileAreReported) {
  std::string path = dir.Write("in.doc", "1\n2\n3\n4\n5\n");
  {
    CRCFile file(reporter);
    file.Open(path, true);
    std::string text;
    EXPECT_FALSE(file.ReadToLine(10, text));
    EXPECT_EQ("\n[1]  Unexpected End of File in " + path + ". This file does not contain 10 lines!", sink.texts.at(0));
  }
  {
    // A column past the end of its line does not run on into the next line.
    CRCFile file(reporter);
    file.Open(path, true);
    std::string text;
    EXPECT_FALSE(file.ReadToColumn(4, text));
    EXPECT_EQ("\n[2]  Line 1 does not contain 4 characters!\n", sink.texts.at(1));
    EXPECT_EQ(2, file.GetCurrentLine());
    EXPECT_EQ(1, file.GetCurrentColumn());
  }
  {
    CRCFile file(reporter);
    file.Open(dir.Write("short.doc", "abc"), true);
    std::string text;
    EXPECT_FALSE(file.ReadToColumn(9, text));
    EXPECT_EQ("\n[3]  Unexpected End of File in " + dir.path().string() +
                  "/short.doc. Line 1 does not contain 9 characters!\n",
              sink.texts.at(2));
    EXPECT_EQ(4, file.GetCurrentColumn());
  }
}

TEST_F(CRCFileTest, LastLineWithoutLineEndCountsAsALine) {
  CRCFile file(reporter);
  file.Open(dir.Write("in.doc", "a\nb"), true);
  std::string text;
  EXPECT_TRUE(file.ReadToLine(3, text));
  EXPECT_EQ("a\nb\n", text);
  EXPECT_FALSE(file.ReadToLine(4, text));

  CRCFile rest(reporter);
  rest.Open(dir.Write("in2.doc", "a\nb"), true);
  EXPECT_TRUE(rest.ReadRest(text));
  EXPECT_EQ("a\nb\n", text);
}

TEST_F(CRCFileTest, TextModeReadingAcrossBlocks) {
  // The first line puts a CR LF pair across the reader's first block
  // boundary; then a lone CR, and a 0x1A that ends the input.
  std::string raw = "abc\r\n";
  std::string expected = "abc\n";
  for (int i = 0; i < 50000; ++i) {
    raw += "line\r\n";
    expected += "line\n";
  }
  ASSERT_EQ('\r', raw[CTextModeInput::kBlockSize - 1]);
  raw += "x\ry\r\n";
  expected += "x\ry\n";
  raw +=
      "end\x1A"
      "ignored\r\n";
  expected += "end\n";
  CRCFile file(reporter);
  file.Open(dir.Write("in.doc", raw), true);
  std::string text;
  ASSERT_TRUE(file.ReadToLine(25000, text));
  std::string all = text;
  ASSERT_TRUE(file.ReadTo(50003, 3, text));
  all += text;
  ASSERT_TRUE(file.ReadRest(text));
  all += text;
  EXPECT_EQ(expected, all);
  EXPECT_EQ(50004, file.GetCurrentLine());
}

// Lines of every length from empty to a few blocks of the scanner, so that
// several line ends share a block of 16 bytes or none is in one, read to
// random positions (character starts) and written back in parts of random
// size, one of them larger than the writer's buffer. With \p leadBytes,
// lines hold double-byte characters of code page 932, some of whose
// second bytes are line feeds or lead-byte values.
void CRCFileTest::ReadAndWriteRandomLines(bool leadBytes, size_t bytes) {
  std::mt19937 random(20261209);
  std::vector<std::string> lines;
  std::vector<std::vector<size_t>> starts;  // of each line's characters, and its end
  std::string text;
  while (text.size() < bytes) {
    std::vector<size_t> at;
    const std::string line = RandomLine(random, 60, leadBytes, at);
    lines.push_back(line);
    starts.push_back(at);
    text += line + "\n";
  }
  const testsupport::CodePageScope codePage(leadBytes ? 932 : 1252);
  CRCFile in(reporter);
  in.Open(dir.Write("lines.doc", text), true);
  const std::string path = (dir.path() / "out.doc").string();
  CRCFile out(reporter);
  out.Open(path, false, true);
  std::string read;
  size_t line = 0;  // from 0
  size_t column = 0;
  while (line + 40 < lines.size()) {
    const size_t next = line + random() % 40;
    std::vector<size_t> choices;  // never backwards
    for (size_t start : starts[next]) {
      if (next != line || start >= column) choices.push_back(start);
    }
    const size_t nextColumn = choices[random() % choices.size()];
    ASSERT_TRUE(in.ReadTo(static_cast<int32_t>(next + 1), static_cast<int32_t>(nextColumn + 1), read)) << sink.All();
    std::string wanted =
        next == line ? lines[line].substr(column, nextColumn - column) : lines[line].substr(column) + "\n";
    for (size_t l = line + 1; l < next; ++l) wanted += lines[l] + "\n";
    if (next != line) wanted += lines[next].substr(0, nextColumn);
    ASSERT_EQ(wanted, read) << "to line " << next + 1 << ", column " << nextColumn + 1;
    out.WriteText(read);
    line = next;
    column = nextColumn;
  }
  ASSERT_TRUE(in.ReadRest(read));
  out.WriteText(read);
  const std::string large(300000, '\n');
  out.WriteText(large);
  out.Commit();
  std::string expected;
  for (char c : text + large) {
    if (c == '\n') expected += '\r';
    expected += c;
  }
  EXPECT_EQ(expected, testsupport::ReadFile(path));
  EXPECT_TRUE(sink.texts.empty());
}

TEST_F(CRCFileTest, RandomLinesReadAndWrittenInPartsOfAnySize) { ReadAndWriteRandomLines(false); }

TEST_F(CRCFileTest, RandomLinesWithDoubleByteCharactersCountAsTheLexerCounts) { ReadAndWriteRandomLines(true); }

// Pieces at random places, some across lines, some ending at a line's end
// or a character before it, copied around as the output run does
// (CopyInto, SkipTo, the replacement written): the copy holds every byte
// between them, each line feed as CR LF, whatever the reader's blocks, and
// the text handed on is the text copied. Lines end in CR LF or LF. With
// \p leadBytes, lines hold double-byte characters of code page 932, some of
// whose second bytes are line feeds.
void CRCFileTest::CopyAroundRandomPieces(bool leadBytes, size_t bytes, size_t crLfFrom) {
  std::mt19937 random(leadBytes ? 7 : 8);
  std::vector<std::string> lines;
  std::vector<std::vector<size_t>> starts;  // of each line's characters, and its end
  std::vector<size_t> offsets;              // of each line in the text read
  std::string raw;
  std::string text;
  while (text.size() < bytes) {
    std::vector<size_t> at;
    const std::string line = RandomLine(random, 90, leadBytes, at);
    lines.push_back(line);
    starts.push_back(at);
    offsets.push_back(text.size());
    text += line + "\n";
    raw += line + (raw.size() >= crLfFrom && random() % 2 == 0 ? "\r\n" : "\n");
  }
  const testsupport::CodePageScope codePage(leadBytes ? 932 : 1252);
  CRCFile in(reporter);
  in.Open(dir.Write("pieces.doc", raw), true);
  const std::string path = (dir.path() / "out.doc").string();
  CRCFile out(reporter);
  out.Open(path, false, true);
  std::string handed;
  auto hand = [&](std::string_view part) { handed += part; };
  std::string expected;
  std::string copied;
  size_t read = 0;  // of text
  size_t line = 0;  // from 0
  size_t column = 0;
  const char* replacements[] = {"<F13", "", "x\ny", "Helvetica12bi"};
  while (line + 20 < lines.size()) {
    // A start at or after where the reader stands, an end at or after it.
    auto place = [&](size_t& placeLine, size_t& placeColumn) {
      const size_t next = placeLine + (random() % 3 == 0 ? random() % 20 : 0);
      std::vector<size_t> choices;
      for (size_t start : starts[next]) {
        if (next != placeLine || start >= placeColumn) choices.push_back(start);
      }
      placeLine = next;
      placeColumn = choices[random() % choices.size()];
    };
    size_t startLine = line, startColumn = column;
    place(startLine, startColumn);
    size_t endLine = startLine, endColumn = startColumn;
    place(endLine, endColumn);
    const std::string replacement = replacements[random() % 4];
    ASSERT_TRUE(in.CopyInto(static_cast<int32_t>(startLine + 1), static_cast<int32_t>(startColumn + 1), out, hand))
        << sink.All();
    ASSERT_TRUE(in.SkipTo(static_cast<int32_t>(endLine + 1), static_cast<int32_t>(endColumn + 1))) << sink.All();
    out.WriteText(replacement);
    const size_t start = offsets[startLine] + startColumn;
    copied += text.substr(read, start - read);
    expected += text.substr(read, start - read) + replacement;
    read = offsets[endLine] + endColumn;
    line = endLine;
    column = endColumn;
  }
  auto handAndWrite = [&](std::string_view part) {
    hand(part);
    out.WriteText(part);
  };
  ASSERT_TRUE(in.CopyRest(handAndWrite));
  out.Commit();
  copied += text.substr(read);
  expected += text.substr(read);
  EXPECT_TRUE(copied == handed) << Difference(copied, handed);
  std::string crLf;
  for (char c : expected) {
    if (c == '\n') crLf += '\r';
    crLf += c;
  }
  const std::string written = testsupport::ReadFile(path);
  EXPECT_TRUE(crLf == written) << Difference(crLf, written);
  EXPECT_TRUE(sink.texts.empty()) << sink.All();
}

TEST_F(CRCFileTest, PiecesCopiedAroundAsTheOutputRunDoes) { CopyAroundRandomPieces(false); }

TEST_F(CRCFileTest, PiecesCopiedAroundLeadBytesAsTheLexerCounts) { CopyAroundRandomPieces(true); }

// A large file goes through the read buffer many times over; CR LF pairs
// may first come anywhere in it.
TEST_F(CRCFileTest, ALargeFileReadsAndCopiesAsASmallOne) {
  ReadAndWriteRandomLines(true, size_t{1200} << 10);
  CopyAroundRandomPieces(false, size_t{1200} << 10, SIZE_MAX);
  CopyAroundRandomPieces(true, size_t{1200} << 10, SIZE_MAX);
  // CR LF from within the first block read, and from a later one.
  CopyAroundRandomPieces(false, size_t{1200} << 10, 1000);
  CopyAroundRandomPieces(true, size_t{1200} << 10, 700000);
}

// 0x1A ends a large file's input as it ends a small one's.
TEST_F(CRCFileTest, ALargeFileEndsAtItsFirstEndOfFileByte) {
  std::string text;
  while (text.size() < (size_t{1500} << 10)) text += "<F3>line of text\n";
  const size_t end = 700001;
  text[end] = '\x1A';
  CRCFile in(reporter);
  in.Open(dir.Write("large.doc", text), true);
  std::string read;
  ASSERT_TRUE(in.ReadRest(read)) << sink.All();
  // The rest read ends with a line end, as ever.
  EXPECT_TRUE(read == text.substr(0, end) + "\n")
      << read.size() << " bytes read, ending " << read.substr(read.size() - 20);
}

// Cut short by another program while it is copied, the input ends early:
// the copy must fail as a read does, not be written as if whole.
TEST_F(CRCFileTest, ALargeFileCutShortWhileCopiedFailsAsARead) {
  std::string text;
  while (text.size() < (size_t{2} << 20)) text += "<F3>line of text\n";
  const std::string path = dir.Write("large.doc", text);
  CRCFile in(reporter);
  in.Open(path, true);
  CRCFile out(reporter);
  out.Open((dir.path() / "out.doc").string(), false, true);
  auto hand = [](std::string_view) {};
  ASSERT_TRUE(in.CopyInto(1000, 1, out, hand));
  ASSERT_EQ(0, ::truncate(path.c_str(), 100000));
  EXPECT_FALSE(in.CopyRest(hand));
  ASSERT_EQ(1u, sink.texts.size()) << sink.All();
  EXPECT_NE(std::string::npos, sink.texts[0].find("large.doc")) << sink.texts[0];
}

// The copy of the output run fails and reports as the read does: a column
// past its line's end or the file's, a line past the file's end, a place
// already passed.
TEST_F(CRCFileTest, CopiesAroundPiecesReportWhatTheReadsReport) {
  const Stepped stepped = StepsAsReads(dir.Write("in.doc", "abc\r\ndefgh\r\nij"),
                                       {{true, 1, 2},
                                        {true, 1, 9},
                                        {true, 2, 3},
                                        {false, 1, 1},
                                        {true, 2, 2},
                                        {false, 2, 9},
                                        {false, 3, 2},
                                        {true, 3, 4},
                                        {false, 9, 1}},
                                       false);
  EXPECT_EQ(stepped.readReports, sink.texts);
  EXPECT_EQ(6u, sink.texts.size());
  EXPECT_EQ(stepped.copied, stepped.handed);
}

TEST_F(CRCFileTest, WritesLineFeedsAsCrLfAndCreatesDirectories) {
  std::string path = (dir.path() / "a" / "b" / "c" / "out.doc").string();
  CRCFile out(reporter);
  out.Open(path, false, true);
  out.WriteText("one\ntwo\r\nthree");
  // Nothing is visible under the name before Commit.
  EXPECT_FALSE(fs::exists(path));
  out.Commit();
  EXPECT_EQ("one\r\ntwo\r\r\nthree", testsupport::ReadFile(path));
  EXPECT_EQ(std::set<std::string>{"out.doc"}, outputtest::Entries(dir.path() / "a" / "b" / "c"));

  CRCFile raw(reporter);
  raw.Open((dir.path() / "raw.doc").string(), false, false);
  raw.WriteText("one\ntwo");
  raw.Commit();
  EXPECT_EQ("one\ntwo", testsupport::ReadFile(dir.path() / "raw.doc"));
}

TEST_F(CRCFileTest, OpenFailuresAreReportedAndThrown) {
  CRCFile in(reporter);
  std::string missing = (dir.path() / "missing.doc").string();
  EXPECT_THROW(in.Open(missing, true), CFileException);
  EXPECT_EQ("\n[1]  File Error! Could not open the input file " + missing + ". No such file or directory\n",
            sink.texts.at(0));

  // A directory that cannot be made: one level of the path is a file.
  std::string blocker = dir.Write("blocker", "x");
  CRCFile out(reporter);
  try {
    out.Open(blocker + "/sub/out.doc", false);
    FAIL() << "no failure";
  } catch (const CFileException& failure) {
    EXPECT_EQ(CFileException::badPath, failure.GetCause());
  }
  EXPECT_EQ("\n[2]  Error: Not a directory, " + blocker + "/sub\n", sink.texts.at(1));
}

TEST_F(CRCFileTest, FailedOutputLeavesTheOldFileAndNoTemporary) {
  std::string path = dir.Write("out.doc", "previous result");
  CRCFile out(reporter);
  out.Open(path, false);
  {
    outputtest::FileSizeLimit limit(1000);
    EXPECT_THROW(
        {
          out.WriteText(std::string(600000, 'x'));
          out.Commit();
        },
        CFileException);
  }
  out.Close();
  EXPECT_EQ("previous result", testsupport::ReadFile(path));
  EXPECT_EQ(std::set<std::string>{"out.doc"}, outputtest::Entries(dir.path()));
}

TEST_F(CRCFileTest, ALineFeedAfterALeadByteCountsAsTheLexerCountsIt) {
  // The lexer takes 0x82 and the line feed after it as one character, so
  // "<F3" stands at line 1, column 8; in code page 1252 at line 2, column 4.
  const std::string path = dir.Write("in.doc", "ab\x82\r\nxy <F3>z\r\nnext\r\n");
  const testsupport::CodePageScope codePage(932);
  CRCFile file(reporter);
  file.Open(path, true);
  std::string text;
  EXPECT_TRUE(file.ReadTo(1, 8, text)) << sink.All();
  EXPECT_EQ("ab\x82\nxy ", text);
  EXPECT_TRUE(file.ReadTo(2, 1, text));
  EXPECT_EQ("<F3>z\n", text);
  SetProcessCodePage(1252);
  CRCFile latin(reporter);
  latin.Open(path, true);
  EXPECT_TRUE(latin.ReadTo(2, 4, text));
  EXPECT_EQ("ab\x82\nxy ", text);
  EXPECT_TRUE(sink.texts.empty()) << sink.All();
}

TEST_F(CRCFileTest, LeadBytesAcrossBlocksAndRunsOfThem) {
  // 0x82 0x82 is one character, so the line feed after it ends the line;
  // after three 0x82 the last one leads the line feed. Long text first
  // puts the pairs across the reader's block boundaries.
  std::string lines;
  for (int i = 0; i < 5000; ++i) lines += "\x82\x82\r\nab\x82\x82\x82\r\nc\r\n";
  const std::string path = dir.Write("in.doc", lines);
  const testsupport::CodePageScope codePage(932);
  CRCFile file(reporter);
  file.Open(path, true);
  std::string text;
  for (int i = 0; i < 5000; ++i) {
    ASSERT_TRUE(file.ReadTo(2 + 2 * i, 1, text)) << i << sink.All();
    ASSERT_TRUE(file.ReadTo(2 + 2 * i, 8, text)) << i << sink.All();  // "ab" 82 82 82 LF "c": 7 bytes
    EXPECT_EQ("ab\x82\x82\x82\nc", text);
  }
  EXPECT_TRUE(file.ReadRest(text));
  EXPECT_EQ("\n", text);
}

// Copies through line feeds after lead bytes (code page 932), which end no
// line: a copy that starts on such a line feed, holds it among its lines
// or its columns, ends between a lead byte and its line feed, or reaches
// the end of the input there. The copy hands on what the read reads and
// writes it with CR LF, wherever the reader's blocks end.
TEST_F(CRCFileTest, CopiesThroughLineFeedsAfterLeadBytesAsTheReadsRead) {
  // Lines as the lexer counts them: "ab" 82 LF "xy <F3>z"; "q" 82 LF "ab"
  // 82 LF "c"; "ab" 82 82; "e" 82 at the end of the input.
  const std::string pattern = "ab\x82\r\nxy <F3>z\r\nq\x82\nab\x82\r\nc\r\nab\x82\x82\r\ne\x82";
  struct Step {
    int32_t line;
    int32_t column;
  };
  const Step steps[] = {{1, 4}, {1, 9}, {2, 3}, {3, 1}, {4, 2}, {5, 1}};
  const testsupport::CodePageScope codePage(932);
  // No filler, and filler lines that put the pattern across the end of the
  // reader's first block at each of its bytes.
  constexpr size_t kBlock = CTextModeInput::kBlockSize;
  for (size_t filler :
       {size_t{0}, kBlock - 40, kBlock - 30, kBlock - 20, kBlock - 10, kBlock - 3, kBlock - 2, kBlock - 1}) {
    for (size_t shift = 0; shift < (filler == 0 ? 1 : 10); ++shift) {
      std::string input;
      int32_t lines = 0;
      if (filler != 0) {
        input = std::string(filler + shift - 1, 'x') + "\n";
        lines = 1;
      }
      input += pattern;
      const std::string path = dir.Write("in.doc", input);
      CRCFile copying(reporter);
      CRCFile reading(reporter);
      copying.Open(path, true);
      reading.Open(path, true);
      const std::string outPath = (dir.path() / "out.doc").string();
      CRCFile out(reporter);
      out.Open(outPath, false, true);
      std::string handed;
      auto hand = [&](std::string_view part) { handed += part; };
      std::string text;
      std::string all;
      for (const Step& step : steps) {
        ASSERT_TRUE(copying.CopyInto(lines + step.line, step.column, out, hand)) << step.line << ", " << sink.All();
        ASSERT_TRUE(reading.ReadTo(lines + step.line, step.column, text)) << step.line << ", " << sink.All();
        all += text;
        ASSERT_EQ(all, handed) << filler + shift << ": " << step.line << ", " << step.column;
        EXPECT_EQ(reading.GetCurrentLine(), copying.GetCurrentLine());
        EXPECT_EQ(reading.GetCurrentColumn(), copying.GetCurrentColumn());
      }
      out.Commit();
      std::string crLf;
      for (char c : all) {
        if (c == '\n') crLf += '\r';
        crLf += c;
      }
      EXPECT_TRUE(crLf == testsupport::ReadFile(outPath)) << filler + shift;
      if (filler == 0) {
        // The last line, without line end, gets one.
        EXPECT_EQ("ab\x82\r\nxy <F3>z\r\nq\x82\r\nab\x82\r\nc\r\nab\x82\x82\r\ne\x82\r\n", crLf);
      }
    }
  }
  EXPECT_TRUE(sink.texts.empty()) << sink.All();
}

// Skips within a line that start between a lead byte and its line feed,
// skip nothing, or fail at a line end further on: the reader stands where
// the reads stand and reports what they report.
TEST_F(CRCFileTest, SkipsAfterLeadBytesGoAsTheReadsGo) {
  const testsupport::CodePageScope codePage(932);
  // Line 1 is "ab" 82 LF "cd", line 2 "ef" 82 LF "gh".
  const Stepped stepped = StepsAsReads(dir.Write("in.doc", "ab\x82\r\ncd\r\nef\x82\r\ngh\r\n"),
                                       {{true, 1, 4}, {false, 1, 4}, {false, 1, 9}, {true, 2, 4}, {false, 2, 6}}, true);
  EXPECT_EQ(
      "ab\x82"
      "ef\x82"
      "h\n",
      stepped.copied);
  EXPECT_EQ(stepped.copied, stepped.handed);
  EXPECT_EQ(stepped.readReports, sink.texts);
  EXPECT_EQ(1u, sink.texts.size());  // column 9 of line 1
}

// A skip that ends after a lead byte leaves its trail, a line feed, in the
// line: the copy after it runs on to the next line end, and the skip after
// that takes the byte it names.
TEST_F(CRCFileTest, ASkipEndingAfterALeadByteLeavesItsTrailInTheLine) {
  const testsupport::CodePageScope codePage(932);
  // Line 1 is "ab" 82 LF "cd", line 2 "ef".
  const Stepped stepped = StepsAsReads(dir.Write("in.doc", "ab\x82\r\ncd\r\nef\r\n"),
                                       {{true, 1, 2}, {false, 1, 4}, {true, 2, 2}, {false, 2, 3}}, true);
  EXPECT_EQ("a\ncd\ne\n", stepped.copied);
  EXPECT_EQ(stepped.copied, stepped.handed);
  EXPECT_TRUE(sink.texts.empty()) << sink.All();
}

// The loading driver: file blocks in the log, what a failed file leaves in
// the model (nothing), the disk space rule over a set, engine failures,
// Stop, and font map files read as font files.
#include "app/LoadFileSet.h"
#include "app/LoadFontMapSet.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "app/SharedOperations.h"
#include "model/CFontReferenceList.h"
#include "platform/CodePage.h"
#include "tests/app/LoadTestSupport.h"
#include "tests/support/TestSupport.h"

using loadtest::DataFile;
using loadtest::Dump;
using loadtest::Texts;
using Lines = std::vector<std::string>;

namespace {

const std::string kHeader = "<!OPS, Version = 8.0>\n\n";
// A small valid document with a definition, a class and a font change.
const std::string kSmall = kHeader +
                           "<!Font Definitions,\n\tF9 = Courier 8>\n"
                           "<!Class, \"small\", Font = F9>\n<!End Declarations>\n"
                           "<\"small\">\n\n<F9>x<F0>\n";

class LoadFileSetTest : public ::testing::Test {
 protected:
  bool Load(const std::string& selection, LoadMode mode = LoadMode::TranslatedFiles) {
    return LoadFileSet(log_, errors_, model_, selection, valid_, mode);
  }
  bool LoadMaps(const std::string& selection) {
    return LoadFontMapSet(log_, errors_, model_, selection, valid_);
  }
  // Writes \p text as \p name and returns its path.
  std::string Doc(const std::string& name, const std::string& text) { return dir_.Write(name, text); }

  testsupport::TempDir dir_;
  CMemoryLoadLog log_;
  CFontReferenceList model_;
  int32_t errors_ = 0;
  int32_t valid_ = 0;
  loadtest::FreeSpace plenty_{1000000};
};

// What the load of \p path alone, into an empty model, gives.
std::string AloneDump(const std::string& path) {
  CMemoryLoadLog log;
  CFontReferenceList model;
  int32_t errors = 0, valid = 0;
  EXPECT_TRUE(LoadFileSet(log, errors, model, path + ";", valid, LoadMode::TranslatedFiles));
  return Dump(model);
}

}  // namespace

TEST_F(LoadFileSetTest, RejectedFileThenValidOne) {
  std::string tracked = Doc("tracked.doc", kHeader +
                                               "<!Font Definitions,\n\tF2 = Times 10>\n"
                                               "<!Revision Tracking, Enabled = yes>\n");
  std::string latin = DataFile("latin.doc");
  EXPECT_TRUE(Load(tracked + ";" + latin + ";"));
  EXPECT_EQ(Lines({"", "Processing: " + tracked,
                   "ERROR! KORVIN Typeswap does not support revision tracking. Turn off the ",
                   "revision tracking, save the document as Interleaf ASCII and try again.", "",
                   "", "Processing: " + latin, "Done!", ""}),
            Texts(log_));
  // Only "Processing:", "Done!" and the closing empty line ask to be shown.
  std::vector<bool> shown;
  for (const auto& line : log_.Lines()) shown.push_back(line.shown);
  EXPECT_EQ(std::vector<bool>({false, true, false, false, true, false, true, true, true}), shown);
  EXPECT_EQ(1, valid_);
  EXPECT_EQ(1, errors_);
  // The rejected file left nothing behind, not even its definition.
  EXPECT_EQ(AloneDump(latin), Dump(model_));
}

TEST_F(LoadFileSetTest, FailedFileLeavesTheModelExactlyAsBefore) {
  ASSERT_TRUE(Load(DataFile("latin.doc")));
  const std::string before = Dump(model_);
  // Each adds definitions, families, a higher font number and references,
  // and changes the component, before it fails.
  const std::string reads = kHeader +
                            "<!OPS, Version = 8.0 Character Encoding = SJIS>\n"
                            "<!Font Definitions,\n\tF40 = Futura 33 Bold, F41 = Optima 7>\n"
                            "<!Class, \"late\", Font = F40>\n<!End Declarations>\n"
                            "<\"late\">\n<F41>x<F0>\n";
  const std::string failures[] = {
      reads + "<!Include, File = \"x.doc\">\n",  // rejected
      reads + "<!Font Definitions, x>\n",        // the lexer's invalid token
  };
  for (size_t i = 0; i < std::size(failures); ++i) {
    int32_t errorsBefore = errors_;
    EXPECT_TRUE(Load(Doc("fail.doc", failures[i])));
    EXPECT_EQ(before, Dump(model_)) << i;
    EXPECT_EQ(errorsBefore + 1, errors_);
    EXPECT_EQ(1, valid_);
  }
  EXPECT_EQ("ERROR! A parser error occurred.", Texts(log_).rbegin()[1])
      << "an engine error gets its line, and no Done!";
}

TEST_F(LoadFileSetTest, UnsupportedDocumentsGetTheirExactLines) {
  struct Case {
    std::string text;
    Lines lines;
  };
  const Lines manual = {
      "ERROR! KORVIN Typeswap does not support manually edited Interleaf ASCII files. ",
      "Open the document in Interleaf and save it as Interleaf ASCII. Do not make any ",
      "changes to the Interleaf ASCII file before running KORVIN Typeswap."};
  const Case cases[] = {
      {kHeader + "<!APage, Number = 2>\n",
       {"ERROR! KORVIN Typeswap does not support split documents.",
        "Save the document as a single Interleaf ASCII file and try again."}},
      {"<!OPS, Version = 8.0 Character Encoding = EUC>\n",
       {"ERROR! This file is a Japanese Interleaf ASCII file that is not Shift-JIS encoded.",
        "Open the document in Interleaf and save it as Shift-JIS encoded and try again."}},
      {kHeader + "<!Class Defaults, Font = F2>\n", manual},
      {kHeader + "<Comment, Text = \"edited\">\n", manual},
      {kHeader + "<!Include Declarations, File = \"a.sty\">\n", manual},
      {"<!ops, Version = 8.0>\n", {"ERROR! This file is not a valid Interleaf ASCII file."}},
      {"<!OPS, Version = 9.0>\n", {"ERROR! Incorrect Interleaf ASCII version (not 8.x)."}},
  };
  for (const Case& c : cases) {
    CMemoryLoadLog log;
    int32_t errors = 0, valid = 0;
    std::string path = Doc("bad.doc", c.text);
    EXPECT_TRUE(LoadFileSet(log, errors, model_, path, valid, LoadMode::TranslatedFiles));
    Lines expected = {"", "Processing: " + path};
    expected.insert(expected.end(), c.lines.begin(), c.lines.end());
    expected.push_back("");
    EXPECT_EQ(expected, Texts(log)) << c.text;
    EXPECT_EQ(1, errors) << c.text;
    EXPECT_EQ(0, valid) << c.text;
  }
  EXPECT_EQ(0, model_.Count());
}

TEST_F(LoadFileSetTest, UnreadableFileIsLoggedButNotCounted) {
  std::string missing = (dir_.path() / "missing.doc").string();
  EXPECT_TRUE(Load(missing + ";" + Doc("s.doc", kSmall)));
  EXPECT_EQ(Lines({"", "Processing: " + missing, "File Error! The file could not be located.", "",
                   "", "Processing: " + dir_.path().string() + "/s.doc", "Done!", ""}),
            Texts(log_));
  EXPECT_EQ(0, errors_);
  EXPECT_EQ(1, valid_);
}

TEST_F(LoadFileSetTest, DiskSpaceGrowsOverTranslatedFilesAndNotOverFontFiles) {
  // Each small file asks for 1 MB more, and twice the demand must be free:
  // with 5 MB the third translated file (6 MB) is too much.
  loadtest::FreeSpace free(5);
  std::string selection;
  for (const char* name : {"a.doc", "b.doc", "c.doc", "d.doc"}) selection += Doc(name, kSmall) + ";";
  EXPECT_FALSE(Load(selection));
  Lines log = Texts(log_);
  ASSERT_EQ(12u, log.size());
  EXPECT_EQ(Lines({"", "Processing: " + dir_.path().string() + "/c.doc",
                   "ERROR! There is not enough disk space available.",
                   "*************** PROCESS CANCELLED ***************"}),
            Lines(log.begin() + 8, log.end()))
      << "the set ends there: no empty line, and no block for d.doc";
  EXPECT_EQ(2, valid_);
  EXPECT_EQ(1, errors_);

  CMemoryLoadLog fontLog;
  CFontReferenceList fonts;
  int32_t errors = 0, valid = 0;
  EXPECT_TRUE(LoadFileSet(fontLog, errors, fonts, selection, valid, LoadMode::FontFiles));
  EXPECT_EQ(4, valid);
  EXPECT_EQ(0, errors);
}

TEST_F(LoadFileSetTest, StopDuringAParseEndsTheSet) {
  std::string first = DataFile("latin.doc");
  std::string second = Doc("s.doc", kSmall);
  int32_t pumps = 0;
  // The first pump comes before the file; Stop arrives during its parse.
  loadtest::PumpHook hook([&pumps] {
    if (++pumps == 30) SetStopFlag(1);
  });
  EXPECT_FALSE(Load(first + ";" + second + ";"));
  EXPECT_EQ(Lines({"", "Processing: " + first, "*************** PROCESS STOPPED ***************"}),
            Texts(log_));
  EXPECT_EQ(0, valid_);
  EXPECT_EQ(0, errors_);
  // What was read before the stop stays.
  EXPECT_GT(model_.Count(), 0);
  EXPECT_EQ(first, model_.GetCurrentFileName());
}

TEST_F(LoadFileSetTest, FontMapFilesGiveFamiliesAndSizes) {
  const std::string header = "KORVIN Typeswap 1.00 for Interleaf;\r\n";
  std::string good = DataFile("fonts.txt");
  std::string again = Doc("again.txt", header + "Title;;Times;12;;;Mincho;12;;;\r\n"
                                                "Text String Font;;Arial;9;;;Gothic;9;;;\r\n");
  std::string noHeader = Doc("plain.txt", "Heading;;Futura;30;;;\r\n");
  std::string shortLine = Doc("short.txt", header + "Note;;Optima;11;;;\r\nNote;;Frutiger\r\n");
  std::string noSize = Doc("nosize.txt", header + "Chart Font;;Univers;;;;\r\n");
  EXPECT_TRUE(LoadMaps(good + ";" + again + ";" + noHeader + ";" + shortLine + ";" + noSize));

  Lines log = Texts(log_);
  ASSERT_EQ(5u * 5, log.size());
  EXPECT_EQ(Lines({"", "Processing: " + good, "Done!", "", ""}), Lines(log.begin(), log.begin() + 5));
  // A file that is not a map is an error, and says so instead of "Done!".
  EXPECT_EQ(Lines({"", "Processing: " + noHeader,
                   "ERROR! This file is not a valid KORVIN Typeswap font map file.", "", ""}),
            Lines(log.begin() + 10, log.begin() + 15));
  EXPECT_EQ(2, valid_);
  EXPECT_EQ(3, errors_);
  // Chart and text string fonts are named families, the rest defined ones;
  // each once, the newest first. A bad line keeps what came before it.
  Lines defined(model_.DefinedFamilies().begin(), model_.DefinedFamilies().end());
  Lines named(model_.NamedFamilies().begin(), model_.NamedFamilies().end());
  Lines sizes(model_.FontSizes().begin(), model_.FontSizes().end());
  EXPECT_EQ(Lines({"Frutiger", "Optima", "Times"}), defined);
  EXPECT_EQ(Lines({"Univers", "Arial"}), named);
  EXPECT_EQ(Lines({"11", "9", "14", "10", "12"}), sizes);
  EXPECT_EQ(0, model_.Count());
}

TEST_F(LoadFileSetTest, SampleDocuments) {
  // The Japanese samples are read as the Shift-JIS code page reads them.
  int32_t codePage = ProcessCodePage();
  SetProcessCodePage(932);
  std::string sjis = DataFile("sjis.doc");
  std::string tracked = testsupport::SourcePath("examples/tracked.doc").string();
  std::string manual = testsupport::SourcePath("examples/manual-ja.doc").string();
  std::string fonts = testsupport::SourcePath("examples/fonts-ja.doc").string();
  EXPECT_TRUE(Load(sjis + ";" + tracked + ";" + manual + ";" + fonts + ";"));
  SetProcessCodePage(codePage);
  EXPECT_EQ(3, valid_);
  EXPECT_EQ(1, errors_);
  Lines log = Texts(log_);
  ASSERT_GE(log.size(), 9u);
  EXPECT_EQ(Lines({"", "Processing: " + tracked,
                   "ERROR! KORVIN Typeswap does not support revision tracking. Turn off the ",
                   "revision tracking, save the document as Interleaf ASCII and try again.", ""}),
            Lines(log.begin() + 4, log.begin() + 9));
  // The first class name of the Shift-JIS document keeps its bytes (its
  // second byte is a backslash); its diagram fonts are found.
  EXPECT_EQ("\x95\x5c\x8e\xa6", model_.GetAt(2)->GetComponent());
  EXPECT_TRUE(model_.NamedFamilies().Contains("wst:mincho"));
  EXPECT_TRUE(model_.NamedFamilies().Contains("gothic"));
}

TEST_F(LoadFileSetTest, CorpusDocumentsLoadOrLeaveNoTrace) {
  std::filesystem::path corpus = testsupport::CorpusDir();
  if (corpus.empty()) GTEST_SKIP() << "no corpus on this machine";
  ASSERT_TRUE(Load(DataFile("latin.doc")));
  // Most of the corpus predates version 8: give each a version 8 header so
  // that the parse, not the pre-check, meets it.
  const std::regex version("Version = [0-9]+\\.[0-9]+");
  for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
    if (entry.path().extension() != ".doc") continue;
    std::string text = testsupport::ReadFile(entry.path());
    std::string head = std::regex_replace(text.substr(0, 100), version, "Version = 8.0",
                                          std::regex_constants::format_first_only);
    std::string path = Doc(entry.path().filename().string(), head + text.substr(std::min<size_t>(100, text.size())));
    std::string before = Dump(model_);
    int32_t validBefore = valid_;
    EXPECT_TRUE(Load(path)) << path;
    if (valid_ == validBefore) {
      EXPECT_EQ(before, Dump(model_)) << path;
    }
  }
}

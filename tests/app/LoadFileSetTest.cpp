// The loading driver: file blocks in the log, what a failed file leaves in
// the model (nothing), the disk space rule over a set, Stop, font map
// files, the sample documents and the corpus.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <regex>
#include <utility>
#include <vector>

#include "app/LoadFileSet.h"
#include "app/LoadFontMapSet.h"
#include "app/StopFlag.h"
#include "model/CFileTable.h"
#include "model/CFontReferenceList.h"
#include "tests/app/LoadTestSupport.h"
#include "tests/support/CodePageScope.h"
#include "tests/support/TestSupport.h"

using namespace loadtest;

namespace {

const std::string kHeader = "<!OPS, Version = 8.0>\n\n";
const std::string kSmall = kHeader + "<!Font Definitions, F9 = Courier 8>\n<F9>x<F0>\n";
const Lines kRevisionTracking = {"ERROR! KORVIN Typeswap does not support revision tracking. Turn off the ",
                                 "revision tracking, save the document as Interleaf ASCII and try again."};

// The component names of the references read from \p path.
Lines ComponentsOf(const CFontReferenceList& model, const std::string& path) {
  uint32_t file = CFileTable::Process().FileNumberOf(path);
  Lines names;
  for (int32_t i = 0; i < model.Count(); ++i) {
    const CFontReference& r = *model.GetAt(i);
    if (r.GetPiece().GetFileNumber() == file && r.GetKind() != KindNone) names.push_back(r.GetComponent());
  }
  return names;
}

class LoadFileSetTest : public ::testing::Test {
 protected:
  bool Load(const std::string& selection, LoadMode mode = LoadMode::TranslatedFiles) {
    return LoadFileSet(log_, errors_, model_, selection, valid_, mode, ".");
  }
  std::string Doc(const std::string& name, const std::string& text) { return dir_.Write(name, text); }
  static Lines Block(const std::string& path, Lines lines) {
    lines.insert(lines.begin(), {"", "Processing: " + path});
    lines.push_back("");
    return lines;
  }

  testsupport::TempDir dir_;
  CMemoryLoadLog log_;
  CFontReferenceList model_;
  int32_t errors_ = 0, valid_ = 0;
  Stage stage_{1000000};
};

}  // namespace

TEST_F(LoadFileSetTest, FailedFilesLeaveNoTrace) {
  // Both add a definition, a family and a reference before they fail.
  const std::string reads = kHeader + "<!Font Definitions, F40 = Futura 33>\n<F40>x\n";
  std::string tracked = Doc("tracked.doc", reads + "<!Revision Tracking, Enabled = yes>\n");
  std::string broken = Doc("broken.doc", reads + "<!Font Definitions, x>\n");  // invalid token
  std::string latin = DataFile("latin.doc");
  EXPECT_TRUE(Load(tracked + ";" + broken + ";" + latin + ";"));
  Lines expected = Block(tracked, kRevisionTracking);
  for (const Lines& block :
       {Block(broken, {"ERROR! A parser error occurred.", "SSLex0105e: Invalid token, Line 5, Offset 21, x"}),
        Block(latin, {"Done!"})})
    expected.insert(expected.end(), block.begin(), block.end());
  EXPECT_EQ(expected, Texts(log_));
  // Only "Processing:", "Done!" and the closing empty line ask to be shown.
  std::vector<bool> shown;
  for (size_t i = 0; i < 5; ++i) shown.push_back(log_.Lines()[i].shown);
  EXPECT_EQ(std::vector<bool>({false, true, false, false, true}), shown);
  EXPECT_EQ(1, valid_);
  EXPECT_EQ(2, errors_);

  CMemoryLoadLog log;
  CFontReferenceList alone;
  int32_t errors = 0, valid = 0;
  LoadFileSet(log, errors, alone, latin, valid, LoadMode::TranslatedFiles, ".");
  EXPECT_EQ(Dump(alone), Dump(model_));
}

TEST_F(LoadFileSetTest, RejectedFilesGetTheirExactLines) {
  const std::pair<std::string, Lines> cases[] = {
      {kHeader + "<!APage, Number = 2>\n",
       {"ERROR! KORVIN Typeswap does not support split documents.",
        "Save the document as a single Interleaf ASCII file and try again."}},
      {"<!OPS, Version = 8.0 Character Encoding = EUC>\n",
       {"ERROR! This file is a Japanese Interleaf ASCII file that is not Shift-JIS encoded.",
        "Open the document in Interleaf and save it as Shift-JIS encoded and try again."}},
      {kHeader + "<!Include, File = \"a.doc\">\n",
       {"ERROR! KORVIN Typeswap does not support manually edited Interleaf ASCII files. ",
        "Open the document in Interleaf and save it as Interleaf ASCII. Do not make any ",
        "changes to the Interleaf ASCII file before running KORVIN Typeswap."}},
      {"<!ops, Version = 8.0>\n", {"ERROR! This file is not a valid Interleaf ASCII file."}},
      {"<!OPS, Version = 9.0>\n", {"ERROR! Incorrect Interleaf ASCII version (not 8.x)."}},
  };
  for (const auto& [text, lines] : cases) {
    CMemoryLoadLog log;
    int32_t errors = 0, valid = 0;
    std::string path = Doc("bad.doc", text);
    EXPECT_TRUE(LoadFileSet(log, errors, model_, path, valid, LoadMode::TranslatedFiles, "."));
    EXPECT_EQ(Block(path, lines), Texts(log));
    EXPECT_EQ(1, errors) << text;
  }
}

TEST_F(LoadFileSetTest, DiskSpaceGrowsOverTranslatedFilesNotOverFontFiles) {
  // Each small file asks for 1 MB more, and twice the demand must be free:
  // with 5 MB the third translated file (6 MB) is too much.
  Stage disk(5);
  std::string selection;
  for (const char* name : {"a.doc", "b.doc", "c.doc", "d.doc"}) selection += Doc(name, kSmall) + ";";
  EXPECT_FALSE(Load(selection));
  Lines log = Texts(log_);
  ASSERT_EQ(12u, log.size());
  EXPECT_EQ(
      Lines({"", "Processing: " + (dir_.path() / "c.doc").string(), "ERROR! There is not enough disk space available.",
             "*************** PROCESS CANCELLED ***************"}),
      Lines(log.begin() + 8, log.end()))
      << "the set ends there: no empty line, and no block for d.doc";
  EXPECT_EQ(2, valid_);
  EXPECT_EQ(1, errors_);
  EXPECT_TRUE(Load(selection, LoadMode::FontFiles));
  EXPECT_EQ(6, valid_);
}

TEST_F(LoadFileSetTest, StopDuringAParseEndsTheSet) {
  // Stop as soon as the parse has read something, however often or seldom
  // the reader pumps: never before the first file, never after it.
  Stage stage(1000000, [this] {
    if (model_.Count() > 0) SetStopFlag(1);
  });
  std::string latin = DataFile("latin.doc");
  EXPECT_FALSE(Load(latin + ";" + Doc("s.doc", kSmall)));
  EXPECT_EQ(Lines({"", "Processing: " + latin, "*************** PROCESS STOPPED ***************"}), Texts(log_));
  EXPECT_EQ(0, valid_ + errors_);
  EXPECT_GT(model_.Count(), 0) << "what was read before the stop stays";
}

TEST_F(LoadFileSetTest, FontMapFilesGiveFamiliesAndSizes) {
  const std::string header = "KORVIN Typeswap 1.00 for Interleaf;\r\n";
  std::string good = DataFile("fonts.txt");
  std::string again = Doc("again.txt", header + "Text String Font;;Arial;9;;;Gothic;9;;;\r\n");
  std::string plain = Doc("plain.txt", "Heading;;Futura;30;;;\r\n");
  std::string cut = Doc("cut.txt", header + "Note;;Optima;11;;;\r\nNote;;Frutiger\r\n");
  EXPECT_TRUE(LoadFontMapSet(log_, errors_, model_, good + ";" + again + ";" + plain + ";" + cut, valid_));
  Lines log = Texts(log_);
  ASSERT_EQ(20u, log.size());
  EXPECT_EQ(Lines({"", "Processing: " + good, "Done!", "", ""}), Lines(log.begin(), log.begin() + 5));
  // A file that is not a valid map says so instead of "Done!".
  EXPECT_EQ(
      Lines({"", "Processing: " + plain, "ERROR! This file is not a valid KORVIN Typeswap font map file.", "", ""}),
      Lines(log.begin() + 10, log.begin() + 15));
  EXPECT_EQ(2, valid_);
  EXPECT_EQ(2, errors_);
  // Chart and text string fonts are named families, the rest defined ones;
  // each once, the newest first. A bad line keeps what came before it.
  EXPECT_EQ(Lines({"Frutiger", "Optima", "Times"}), model_.DefinedFamilies().ToVector());
  EXPECT_EQ(Lines({"Arial"}), model_.NamedFamilies().ToVector());
  EXPECT_EQ(Lines({"11", "9", "14", "10", "12"}), model_.FontSizes().ToVector());
}

TEST_F(LoadFileSetTest, SampleDocuments) {
  std::string tracked = testsupport::SourcePath("examples/tracked.doc").string();
  {
    testsupport::CodePageScope japanese(932);
    EXPECT_TRUE(Load(DataFile("sjis.doc") + ";" + tracked + ";" +
                     testsupport::SourcePath("examples/manual-ja.doc").string() + ";" +
                     testsupport::SourcePath("examples/fonts-ja.doc").string()));
  }
  EXPECT_EQ(3, valid_);
  EXPECT_EQ(1, errors_);
  Lines log = Texts(log_);
  ASSERT_GE(log.size(), 9u);
  EXPECT_EQ(Block(tracked, kRevisionTracking), Lines(log.begin() + 4, log.begin() + 9));
  // A Shift-JIS class name whose second byte is a backslash keeps its bytes.
  EXPECT_EQ("\x95\x5c\x8e\xa6", model_.GetAt(2)->GetComponent());
  EXPECT_TRUE(model_.NamedFamilies().Contains("wst:mincho"));
}

TEST_F(LoadFileSetTest, ALatinFileAfterAShiftJisOneIsReadAsLatin) {
  // Each file declares its own encoding: a Shift-JIS file read before must
  // not make the next one's <#e9> a Shift-JIS escape.
  testsupport::CodePageScope japanese(932);
  std::string cafe = DataFile("cafe.doc");  // class "caf<#e9>"
  EXPECT_TRUE(Load(DataFile("sjis.doc") + ";" + cafe));
  EXPECT_EQ(2, valid_);
  EXPECT_EQ(Lines({"caf\xe9"}), ComponentsOf(model_, cafe));
  CFontReferenceList alone;
  int32_t errors = 0, valid = 0;
  LoadFileSet(log_, errors, alone, cafe, valid, LoadMode::TranslatedFiles, ".");
  EXPECT_EQ(ComponentsOf(alone, cafe), ComponentsOf(model_, cafe));
}

TEST_F(LoadFileSetTest, CorpusDocumentsLoadOrLeaveNoTrace) {
  const std::vector<std::filesystem::path> documents = testsupport::CorpusDocuments();
  if (documents.empty()) GTEST_SKIP() << "no corpus on this machine";
  ASSERT_TRUE(Load(DataFile("latin.doc")));
  // Most of the corpus predates version 8: a version 8 header lets the
  // parse, not the pre-check, meet each document.
  const std::regex version("Version = [0-9]+\\.[0-9]+");
  for (const std::filesystem::path& path : documents) {
    if (path.extension() != ".doc") continue;
    std::string text = testsupport::ReadFile(path);
    size_t head = std::min<size_t>(100, text.size());
    text = std::regex_replace(text.substr(0, head), version, "Version = 8.0", std::regex_constants::format_first_only) +
           text.substr(head);
    std::string before = Dump(model_);
    int32_t validBefore = valid_;
    EXPECT_TRUE(Load(Doc(path.filename().string(), text))) << path;
    if (valid_ == validBefore) {
      EXPECT_EQ(before, Dump(model_)) << path;
    }
  }
}

TEST_F(LoadFileSetTest, ARecoveryInsideTheFontDefinitionsRefusesTheFile) {
  // The grammar knows no underline: the rest of the tag would be lost.
  std::string underline = Doc("u.doc", kHeader +
                                           "<!Font Definitions,\n\tF2 = Times 10 Underline,\n\tF3 = Courier 9>\n"
                                           "<!Class, \"body\",\n\tFont =\t\tF3>\n");
  std::string latin = DataFile("latin.doc");
  const int32_t before = CFontReferenceList(model_).Count();
  EXPECT_TRUE(Load(underline + ";"));
  EXPECT_EQ(Block(underline, {"ERROR! Line 4, column 16: the font definitions could not be read (\"Underline\"). "
                              "The file was not loaded."}),
            Texts(log_));
  EXPECT_EQ(1, errors_);
  EXPECT_EQ(0, valid_);
  EXPECT_EQ(before, model_.Count());
}

TEST_F(LoadFileSetTest, OtherRecoveriesAndUndefinedFontsAreWarnings) {
  std::string doc = Doc("w.doc", kHeader +
                                     "<!Font Definitions,\n\tF2 = Times 10>\n"
                                     "<!Class, \"body\",\n\tFont =\t\tF7>\n<!End Declarations>\n"
                                     "<Frame, Name = >\n<\"body\">\nok <F2>x<F0> <F9>y<F0>\n");
  EXPECT_TRUE(Load(doc + ";"));
  EXPECT_EQ(Block(doc, {"WARNING! Line 8, column 16: unexpected \">\"; the reader skipped to the next tag.",
                        "WARNING! Line 6, column 11: font F7 is not defined in this file.",
                        "WARNING! Line 10, column 14: font F9 is not defined in this file.", "Done!"}),
            Texts(log_));
  EXPECT_EQ(0, errors_);
  EXPECT_EQ(1, valid_);
}

TEST_F(LoadFileSetTest, EngineErrorsAreLoggedWithAHintForShiftJis) {
  const int32_t saved = ProcessCodePage();
  SetProcessCodePage(1252);
  std::string sjis = Doc("j.doc", kHeader + "\x82\xA0 <F3 @@@\x01\n");
  EXPECT_TRUE(Load(sjis + ";"));
  SetProcessCodePage(saved);
  const Lines log = Texts(log_);
  ASSERT_EQ(6u, log.size());
  EXPECT_EQ("ERROR! A parser error occurred.", log[2]);
  EXPECT_EQ("SSYacc0103e: Attempted read past eof", log[3]);
  EXPECT_EQ(
      "HINT: the file holds Shift-JIS characters. Choose code page 932 (--codepage 932, or "
      "TYPESWAP_CODEPAGE=932) and load it again.",
      log[4]);
}

TEST_F(LoadFileSetTest, ParallelLoadingGivesTheLogAndModelOfOneCore) {
  // Files that depend on the ones before: b.doc uses F3, which only a.doc
  // defines, and its table takes the component a.doc left (the worker's
  // model does not have it, so b.doc is parsed again in turn); c.doc
  // defines F3 anew. Failed files and failed pre-checks sit in between.
  const std::string a = Doc("a.doc", kHeader +
                                         "<!Font Definitions, F3 = Times 10>\n"
                                         "<!Class, \"body\", Font = F3>\n<!End Declarations>\n<\"body\">\nText.\n");
  const std::string b = Doc("b.doc", kHeader + "<Table, Font = F3>\n<F3>x<F0>\n");
  const std::string c = Doc("c.doc", kHeader + "<!Font Definitions, F3 = Courier 8>\n<F3>x<F0>\n");
  const std::string tracked = Doc("tracked.doc", kSmall + "<!Revision Tracking, Enabled = yes>\n");
  const std::string broken = Doc("broken.doc", kHeader + "<!Font Definitions, x>\n");
  const std::string old = Doc("old.doc", "<!OPS, Version = 9.0>\n");
  std::string selection;
  for (const std::string& path : {a, tracked, b, old, DataFile("latin.doc"), broken, c, DataFile("sjis.doc"),
                                  DataFile("cafe.doc"), Doc("small.doc", kSmall), b + ";"}) {
    selection += path + ";";
  }
  struct Result {
    bool finished;
    std::vector<std::pair<std::string, bool>> log;
    int32_t errors = 0, valid = 0;
    std::string model;
  };
  auto load = [&](int32_t threads, std::optional<uint64_t> megabytes) {
    Stage disk(megabytes);
    CMemoryLoadLog log;
    CFontReferenceList model;
    Result result;
    result.finished = LoadFileSetInParallel(log, result.errors, model, selection, result.valid,
                                            LoadMode::TranslatedFiles, ".", threads);
    for (const CMemoryLoadLog::Line& line : log.Lines()) result.log.emplace_back(line.text, line.shown);
    result.model = Dump(model);
    return result;
  };
  // Plenty of disk, and a disk that ends the set at its fifth file.
  for (std::optional<uint64_t> megabytes : {std::optional<uint64_t>(1000000), std::optional<uint64_t>(5)}) {
    const Result one = load(1, megabytes);
    for (int32_t threads : {2, 3}) {
      const Result many = load(threads, megabytes);
      EXPECT_EQ(one.finished, many.finished) << threads;
      EXPECT_EQ(one.log, many.log) << threads;
      EXPECT_EQ(one.errors, many.errors) << threads;
      EXPECT_EQ(one.valid, many.valid) << threads;
      EXPECT_EQ(one.model, many.model) << threads;
    }
  }
}

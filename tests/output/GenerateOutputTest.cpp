// The output run from loaded documents to written copies: what the copies
// hold when they are loaded again, what else changed in them, and what a
// repeated run does.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "app/CLoadSession.h"
#include "app/CMemoryLoadLog.h"
#include "mapping/CMappingJob.h"
#include "mapping/CMappingTable.h"
#include "mapping/CMessageSink.h"
#include "mapping/FontMapFile.h"
#include "output/CErrorReporter.h"
#include "output/COutputObserver.h"
#include "output/CReportSink.h"
#include "output/GenerateOutput.h"
#include "platform/CodePage.h"
#include "tests/support/TestSupport.h"

namespace fs = std::filesystem;

namespace {

using Lines = std::vector<std::string>;

// Documents loaded as the load page loads them.
struct Loaded {
  Loaded(const std::string& translated, const std::string& fonts, const std::string& out)
      : choices(translated, fonts, out, 1), session(choices, log) {
    session.Start(!fonts.empty());
  }
  bool Finished() const { return session.State() == LoadState::Finished; }
  CFontReferenceList& Model() { return session.TranslatedModel(); }

  CWizardChoices choices;
  CMemoryLoadLog log;
  CLoadSession session;
};

// A file's lines without their line ends (CR LF or LF).
Lines LinesOf(const std::string& path) {
  std::istringstream in(testsupport::ReadFile(path));
  Lines lines;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

// \p lines with the text of each of \p references replaced by "#", so that
// two versions compare equal when only font references differ.
Lines WithoutReferences(Lines lines, const std::vector<const CFontReference*>& references) {
  // From the last, so that earlier columns stay where they are.
  for (auto it = references.rbegin(); it != references.rend(); ++it) {
    const CTextPiece& piece = (*it)->GetPiece();
    EXPECT_EQ(piece.GetStartLine(), piece.GetEndLine());
    std::string& line = lines.at(static_cast<size_t>(piece.GetStartLine() - 1));
    line.replace(static_cast<size_t>(piece.GetStartColumn() - 1),
                 static_cast<size_t>(piece.GetEndColumn() - piece.GetStartColumn()), "#");
  }
  return lines;
}

// The references of \p file in list order, leaving out those on lines
// \p first to \p last.
std::vector<const CFontReference*> ReferencesOf(const CFontReferenceList& model, const std::string& file,
                                                int32_t first = 0, int32_t last = -1) {
  std::vector<const CFontReference*> references;
  for (int32_t i = 0; i < model.Count(); ++i) {
    const CFontReference* r = model.GetAt(i);
    const int32_t line = r->GetPiece().GetStartLine();
    if (r->GetPiece().GetFileName() == file && (line < first || line > last)) references.push_back(r);
  }
  return references;
}

struct Font {
  std::string family, size, bold, italic;
  bool operator==(const Font&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Font& f) {
  return out << f.family << "|" << f.size << "|" << f.bold << "|" << f.italic;
}
Font CurrentFont(const CFontReference& r) { return {r.GetFamily(), r.GetSize(), r.GetBold(), r.GetItalic()}; }
// The font a changed reference must show once its output is loaded again.
Font ExpectedFont(const CFontReference& r) {
  if (!r.GetChanged() || r.GetCategory() == "Font Definition") return CurrentFont(r);
  return {r.GetNewFamily().empty() ? r.GetFamily() : r.GetNewFamily(),
          r.GetNewSize().empty() ? r.GetSize() : r.GetNewSize(), r.GetNewBold(), r.GetNewItalic()};
}

class GenerateOutputTest : public ::testing::Test {
 protected:
  GenerateOutputTest() : saved_(ProcessCodePage()) { SetProcessCodePage(932); }
  ~GenerateOutputTest() override { SetProcessCodePage(saved_); }

  CCollectingReportSink reports;
  CErrorReporter reporter{&reports};
  COutputObserver observer;
  testsupport::TempDir dir;

 private:
  int32_t saved_;
};

}  // namespace

TEST_F(GenerateOutputTest, OutputLoadsAgainWithTheNewFontsAndDiffersOnlyInFonts) {
  const std::string brochure = testsupport::SourcePath("examples/brochure.doc").string();
  const std::string manual = testsupport::SourcePath("examples/manual-ja.doc").string();
  const std::string out = (dir.path() / "out").string();
  Loaded input(brochure + ";" + manual + ";", testsupport::SourcePath("examples/fonts-ja.doc").string() + ";", out);
  ASSERT_TRUE(input.Finished());
  CMappingTable table(input.Model());
  table.BuildTable();
  CCollectingMessageSink messages;
  LoadFontMaps({testsupport::SourcePath("examples/demo-map.txt").string()}, table, input.session.FontModel(), messages);
  ASSERT_TRUE(messages.messages.empty());
  // A size alone, taking the family from the current font.
  table.SelectRow(table.FindRow("caption"));
  table.ApplyToSelected(true, NewFontTuple{"", "11", "", "Italic"});

  const std::string highest = input.Model().GetHighestFontNumber();
  std::vector<COutputRecord> written = GenerateOutput(input.Model(), input.choices, {}, reporter, &observer).written;
  ASSERT_EQ(2u, written.size());
  EXPECT_EQ(highest, input.Model().GetHighestFontNumber());
  EXPECT_EQ(0, reporter.ReportCount()) << reports.All();

  const std::string outBrochure = (dir.path() / "out" / "brochure.doc").string();
  const std::string outManual = (dir.path() / "out" / "manual-ja.doc").string();
  Loaded output(outBrochure + ";" + outManual + ";", "", "");
  ASSERT_TRUE(output.Finished());

  // The definition lines inserted after each file's tag: the same ones in
  // both files, numbered above every number defined before.
  Lines inserted;
  int32_t changed = 0;
  for (const auto& [in, copy] : {std::pair{brochure, outBrochure}, std::pair{manual, outManual}}) {
    Lines before = LinesOf(in);
    Lines after = LinesOf(copy);
    auto tag = std::find(before.begin(), before.end(), "<!Font Definitions,");
    ASSERT_NE(tag, before.end());
    // Lines counted from 1: the tag, then the inserted lines.
    const int32_t tagLine = static_cast<int32_t>(tag - before.begin()) + 1;
    const int32_t added = static_cast<int32_t>(after.size() - before.size());
    const Lines lines(after.begin() + tagLine, after.begin() + tagLine + added);
    if (inserted.empty()) inserted = lines;
    EXPECT_EQ(inserted, lines);

    const std::vector<const CFontReference*> ins = ReferencesOf(input.Model(), in);
    const std::vector<const CFontReference*> outs = ReferencesOf(output.Model(), copy, tagLine + 1, tagLine + added);
    after = WithoutReferences(after, outs);
    after.erase(after.begin() + tagLine, after.begin() + tagLine + added);
    EXPECT_EQ(WithoutReferences(before, ins), after) << copy;

    // Reference by reference, in order: the new font where one was chosen,
    // the old one everywhere else.
    ASSERT_EQ(ins.size(), outs.size()) << copy;
    for (size_t i = 0; i < ins.size(); ++i) {
      EXPECT_EQ(ins[i]->GetCategory(), outs[i]->GetCategory());
      EXPECT_EQ(ins[i]->GetComponent(), outs[i]->GetComponent());
      EXPECT_EQ(ExpectedFont(*ins[i]), CurrentFont(*outs[i])) << ins[i]->GetComponent() << " in " << copy;
      if (ExpectedFont(*ins[i]) != CurrentFont(*ins[i])) ++changed;
    }
  }
  EXPECT_GT(changed, 15);
  ASSERT_EQ(11u, inserted.size());
  EXPECT_EQ("\tF10 = Letter Gothic 9,", inserted.front());
  EXPECT_EQ(1, std::count_if(inserted.begin(), inserted.end(),
                             [](const std::string& line) { return line.ends_with(" = Times 11 Italic,"); }));
}

TEST_F(GenerateOutputTest, RepeatedRunsGiveTheSameNumbersAndForgetClearedFonts) {
  const std::string doc = dir.Write("docs/a.doc",
                                    "<!OPS, Version = 8.0>\n\n"
                                    "<!Font Definitions,\n\tF2 = Times 10,\n\tF3 = Courier 9,\n"
                                    "\tF12 = Helvetica 12 Bold>\n\n"
                                    "<!Class, \"body\",\n\tFont =\t\tF2>\n\n"
                                    "<!Class, \"head\",\n\tFont =\t\tF12>\n\n"
                                    "<!End Declarations>\n\n<\"body\">\n\nText <F12>bold<F0> here.\n");
  const std::string fonts = dir.Write("fonts.doc", "<!OPS, Version = 8.0>\n\n<!Font Definitions,\n\tF2 = Mincho 10>\n");
  const std::string copy = (dir.path() / "out" / "a.doc").string();
  Loaded input(doc + ";", fonts + ";", (dir.path() / "out").string());
  ASSERT_TRUE(input.Finished());
  CMappingTable table(input.Model());
  table.BuildTable();
  auto apply = [&](const std::string& name, const std::string& family, const NewFontTuple& font) {
    table.SelectRow(-1);
    for (int32_t row = table.FindRow(name); row >= 0; row = table.FindRow(name, row)) {
      if (table.ColumnText(row, 1) == family) table.SelectRow(row);
    }
    ASSERT_GE(table.GetSelectedRow(), 0) << name << " " << family;
    table.ApplyToSelected(!font.IsEmpty(), font);
  };
  // Two components on one new font share a number; the font change gets
  // the next one.
  apply("body", "Times", {"Mincho", "10", "", ""});
  apply("head", "Helvetica", {"Mincho", "10", "", ""});
  apply("Font Change", "Helvetica", {"Gothic", "12", "Bold", ""});
  const std::string expected =
      "<!OPS, Version = 8.0>\r\n\r\n<!Font Definitions,\r\n\tF13 = Mincho 10,\r\n\tF14 = Gothic 12 Bold,\r\n"
      "\tF2 = Times 10,\r\n\tF3 = Courier 9,\r\n\tF12 = Helvetica 12 Bold>\r\n\r\n"
      "<!Class, \"body\",\r\n\tFont =\t\tF13>\r\n\r\n<!Class, \"head\",\r\n\tFont =\t\tF13>\r\n\r\n"
      "<!End Declarations>\r\n\r\n<\"body\">\r\n\r\nText <F14>bold<F0> here.\r\n";
  EXPECT_EQ(1u, GenerateOutput(input.Model(), input.choices, {}, reporter, &observer).written.size());
  EXPECT_EQ(expected, testsupport::ReadFile(copy));
  EXPECT_EQ(1u, GenerateOutput(input.Model(), input.choices, {}, reporter, &observer).written.size());
  EXPECT_EQ(expected, testsupport::ReadFile(copy));
  EXPECT_EQ("12", input.Model().GetHighestFontNumber());

  // Cleared fonts leave their references as they were read, although the
  // numbers they were given before now go to other fonts.
  apply("body", "Times", {});
  apply("head", "Helvetica", {"Gothic", "12", "Bold", ""});
  EXPECT_EQ(1u, GenerateOutput(input.Model(), input.choices, {}, reporter, &observer).written.size());
  EXPECT_EQ(
      "<!OPS, Version = 8.0>\r\n\r\n<!Font Definitions,\r\n\tF13 = Gothic 12 Bold,\r\n"
      "\tF2 = Times 10,\r\n\tF3 = Courier 9,\r\n\tF12 = Helvetica 12 Bold>\r\n\r\n"
      "<!Class, \"body\",\r\n\tFont =\t\tF2>\r\n\r\n<!Class, \"head\",\r\n\tFont =\t\tF13>\r\n\r\n"
      "<!End Declarations>\r\n\r\n<\"body\">\r\n\r\nText <F13>bold<F0> here.\r\n",
      testsupport::ReadFile(copy));

  // A definition that nothing uses adds a line but no replacement: the
  // file is not written, though an earlier run rewrote it.
  apply("head", "Helvetica", {});
  apply("Font Change", "Helvetica", {});
  apply("Font Definition", "Courier", {"Gothic", "9", "", ""});
  fs::remove(copy);
  EXPECT_TRUE(GenerateOutput(input.Model(), input.choices, {}, reporter, &observer).written.empty());
  EXPECT_FALSE(fs::exists(copy));
  EXPECT_EQ(0, reporter.ReportCount()) << reports.All();
}

namespace {
const char* const kSmallDocument =
    "<!OPS, Version = 8.0>\n\n<!Font Definitions,\n\tF2 = Times 10>\n\n"
    "<!Class, \"body\",\n\tFont =\t\tF2>\n\n<!End Declarations>\n\n<\"body\">\n\nText.\n";

// Changes body's Times to Mincho in the loaded \p input.
void ChangeBody(Loaded& input) {
  CMappingTable table(input.Model());
  table.BuildTable();
  table.SelectRow(table.FindRow("body"));
  ASSERT_GE(table.GetSelectedRow(), 0);
  table.ApplyToSelected(true, NewFontTuple{"Mincho", "10", "", ""});
}
}  // namespace

TEST_F(GenerateOutputTest, WritesNothingWhenACopyWouldReplaceAFileItReads) {
  // The output folder holds a translated file at the place where another
  // translated file's copy goes.
  const std::string a = dir.Write("e/a.doc", kSmallDocument);
  const std::string x = dir.Write("e/sub/x.doc", kSmallDocument);
  const std::string inside = dir.Write("e/o/sub/x.doc", std::string(kSmallDocument) + "\n");
  const std::string fonts = dir.Write("fonts.doc", "<!OPS, Version = 8.0>\n\n<!Font Definitions,\n\tF2 = Mincho 10>\n");
  Loaded input(a + ";" + x + ";" + inside + ";", fonts + ";", (dir.path() / "e" / "o").string());
  ASSERT_TRUE(input.Finished());
  ChangeBody(input);
  GeneratedFiles run = GenerateOutput(input.Model(), input.choices, {}, reporter, &observer);
  ASSERT_TRUE(run.refused.has_value());
  EXPECT_EQ(inside, run.refused->target);
  EXPECT_TRUE(run.written.empty());
  EXPECT_NE(std::string::npos, reports.All().find("which this job reads. Nothing was written.")) << reports.All();
  EXPECT_EQ(std::string(kSmallDocument) + "\n", testsupport::ReadFile(inside));
  EXPECT_FALSE(fs::exists(dir.path() / "e" / "o" / "a.doc"));

  // A map file read by the job is guarded the same way.
  Loaded plain(a + ";", fonts + ";", (dir.path() / "out").string());
  ASSERT_TRUE(plain.Finished());
  ChangeBody(plain);
  const std::string map = dir.Write("out/a.doc", "KORVIN Typeswap 1.00 for Interleaf;\r\n");
  run = GenerateOutput(plain.Model(), plain.choices, {false, {map}}, reporter, &observer);
  ASSERT_TRUE(run.refused.has_value());
  EXPECT_EQ(map, run.refused->input);
  EXPECT_EQ("KORVIN Typeswap 1.00 for Interleaf;\r\n", testsupport::ReadFile(map));
}

TEST_F(GenerateOutputTest, AFileChangedSinceLoadingIsReportedAndNotWritten) {
  const std::string a = dir.Write("docs/a.doc", kSmallDocument);
  const std::string b = dir.Write("docs/b.doc", kSmallDocument);
  const std::string fonts = dir.Write("fonts.doc", "<!OPS, Version = 8.0>\n\n<!Font Definitions,\n\tF2 = Mincho 10>\n");
  Loaded input(a + ";" + b + ";", fonts + ";", (dir.path() / "out").string());
  ASSERT_TRUE(input.Finished());
  ChangeBody(input);
  // Another line at the top: every position read before is off by one.
  dir.Write("docs/a.doc", std::string("<!-- edited -->\n") + kSmallDocument);
  GeneratedFiles run = GenerateOutput(input.Model(), input.choices, {}, reporter, &observer);
  EXPECT_EQ(2, run.expected);
  ASSERT_EQ(1u, run.written.size());
  EXPECT_EQ(b, run.written[0].inputName);
  EXPECT_FALSE(fs::exists(dir.path() / "out" / "a.doc"));
  EXPECT_NE(std::string::npos, reports.All().find("The file " + a + " has changed since it was loaded"))
      << reports.All();
}

namespace {

// Second references, wanting another font, at the places of these
// references of the model before the run.
enum class Copies { kNone, kOfTheLast, kAlsoOfTheFirst };

// What a run over the sample documents reports and writes, written
// \p threads at once.
std::vector<std::string> RunOverSamples(int32_t threads, Copies copies) {
  testsupport::TempDir dir;
  const fs::path out = dir.path() / "out";
  std::string selection;
  for (const char* name : {"brochure.doc", "tracked.doc", "manual-ja.doc"}) {
    selection += testsupport::SourcePath(std::string("examples/") + name).string() + ";";
  }
  CWizardChoices choices(selection, "", out.string(), 1);
  CMemoryLoadLog log;
  CMappingJob job(choices, log);
  EXPECT_TRUE(job.Load(false));
  CCollectingMessageSink messages;
  EXPECT_TRUE(job.BuildTable({testsupport::SourcePath("examples/demo-map.txt").string()}, messages));
  CFontReferenceList& model = job.Session().TranslatedModel();
  // Copies of the last references come right after them, in their file's
  // stretch of references; a copy of the first reference makes its file's
  // references come in two stretches.
  std::vector<int32_t> copied;
  if (copies != Copies::kNone) copied = {model.Count() - 3, model.Count() - 2, model.Count() - 1};
  if (copies == Copies::kAlsoOfTheFirst) copied.push_back(0);
  for (int32_t index : copied) {
    CFontReference copy = *model.GetAt(index);
    copy.SetNewSize("99");
    copy.SetChanged(true);
    model.AddReference(std::move(copy));
  }
  CCollectingReportSink reports;
  CErrorReporter reporter(&reports);
  COutputOptions options;
  options.writeThreads = threads;
  std::vector<std::string> result;
  for (const COutputRecord& record : GenerateOutput(model, choices, options, reporter, nullptr).written) {
    result.push_back(fs::path(record.outputName).filename().string() + ": " + testsupport::ReadFile(record.outputName));
  }
  for (const std::string& text : reports.texts) {
    std::string named = text;
    for (size_t at; (at = named.find(dir.path().string())) != std::string::npos;) {
      named.replace(at, dir.path().string().size(), "<dir>");
    }
    result.push_back(named);
  }
  return result;
}

}  // namespace

TEST_F(GenerateOutputTest, FilesDoneSideBySideReportAndWriteWhatOneThreadDoes) {
  for (Copies copies : {Copies::kNone, Copies::kOfTheLast, Copies::kAlsoOfTheFirst}) {
    const std::vector<std::string> one = RunOverSamples(1, copies);
    ASSERT_GE(one.size(), 3u);
    // The copies are duplicate translations, reported and numbered.
    const size_t reported = std::count_if(one.begin(), one.end(), [](const std::string& text) {
      return text.find("Duplicate translations!") != std::string::npos;
    });
    EXPECT_EQ(copies != Copies::kNone, reported >= 2);
    EXPECT_EQ(one, RunOverSamples(3, copies)) << static_cast<int>(copies);
  }
}

// Font map files: the bytes written, and what loading one applies, adds to
// the family lists and reports.
#include <gtest/gtest.h>

#include "mapping/CMappingTable.h"
#include "mapping/CMessageSink.h"
#include "mapping/FontMapFile.h"
#include "platform/CExclusiveFile.h"
#include "tests/mapping/MappingTestSupport.h"
#include "tests/support/TestSupport.h"

using mappingtest::CModelBuilder;
using testsupport::ReadFile;
using testsupport::TempDir;

namespace {

const std::string kHeader = "KORVIN Typeswap 1.00 for Interleaf;\r\n";

// Body (Times 10) twice, Body+ (Times 10), Heading (Times 12 Bold), a chart
// font, and a prefix component.
void BuildModel(CModelBuilder& model) {
  model.File("map.doc").Define("F1", "Times", "10").Define("F2", "Times", "12", "Bold");
  model.Number("Body", KindComponent, "1").Number("Body", KindComponent, "1");
  model.Number("Body", KindSubcomponent, "1");
  model.Number("Heading", KindComponent, "2");
  model.Named("Chart Font", "Helvetica9");
  model.Number("|:list", KindComponentPrefix, "1");
}

int32_t RowNamed(const CMappingTable& table, std::string_view name) {
  for (int32_t row = 0; row < table.RowCount(); ++row) {
    if (table.ColumnText(row, ColumnComponent) == name) return row;
  }
  return -1;
}

struct SelectionLog : CMappingTableObserver {
  void SelectionChanged(int32_t row) override { rows.push_back(row); }
  std::vector<int32_t> rows;
};

class FontMapFileTest : public ::testing::Test {
 protected:
  FontMapFileTest() : table(model.list) {
    BuildModel(model);
    table.BuildTable();
  }
  // Loads a map file with \p text and returns the outcome.
  FontMapLoad Load(const std::string& text) {
    return LoadFontMap(dir.Write("in.txt", text), table, fonts.list, messages);
  }
  std::string NewFont(std::string_view name) {
    int32_t row = RowNamed(table, name);
    std::string text;
    for (int32_t column = ColumnNewFont; column < kMappingColumnCount; ++column) {
      text += table.ColumnText(row, column) + ";";
    }
    return text;
  }

  TempDir dir;
  CModelBuilder model;
  CModelBuilder fonts;
  CMappingTable table;
  CCollectingMessageSink messages;
};

}  // namespace

TEST_F(FontMapFileTest, SaveWritesOneLinePerChangedReferenceNewestFirst) {
  table.SelectRow(RowNamed(table, "Heading"));
  table.ApplyToSelected(true, {"Mincho", "12", "Bold", ""});
  table.SelectRow(RowNamed(table, "Body"));
  table.ApplyToSelected(true, {"Gothic", "", "", "Italic"});
  table.SelectRow(RowNamed(table, "list Prefix"));
  table.ApplyToSelected(true, {"Gothic", "", "", ""});

  std::string path = dir.path() / "out.txt";
  ASSERT_TRUE(SaveFontMap(path, model.list, messages));
  EXPECT_EQ(kHeader +
                "|:list; Prefix;Times;10;;;Gothic;;;;\r\n"
                "Heading;;Times;12;Bold;;Mincho;12;Bold;;\r\n"
                "Body;+;Times;10;;;Gothic;;;Italic;\r\n"
                "Body;;Times;10;;;Gothic;;;Italic;\r\n"
                "Body;;Times;10;;;Gothic;;;Italic;\r\n",
            ReadFile(path));
  EXPECT_TRUE(messages.messages.empty());
}

TEST_F(FontMapFileTest, SaveWithoutChangesOrReferences) {
  std::string headerOnly = dir.path() / "header.txt";
  ASSERT_TRUE(SaveFontMap(headerOnly, model.list, messages));
  EXPECT_EQ(kHeader, ReadFile(headerOnly));

  // No references at all: an empty file, which loading calls not valid.
  CFontReferenceList none;
  std::string empty = dir.Write("empty.txt", "old content");
  ASSERT_TRUE(SaveFontMap(empty, none, messages));
  EXPECT_EQ("", ReadFile(empty));
  EXPECT_EQ(FontMapStatus::NotValid, LoadFontMap(empty, table, fonts.list, messages).status);
  const FontMapsLoad load = LoadFontMaps({empty, headerOnly, empty}, table, fonts.list, messages);
  EXPECT_FALSE(load.familyAdded);
  EXPECT_EQ(2, load.failed);
  ASSERT_EQ(1u, messages.messages.size());
  EXPECT_EQ("Not a valid map file : " + empty + "\r\nNot a valid map file : " + empty + "\r\n",
            messages.messages[0].text);
  EXPECT_EQ("Error", messages.messages[0].caption);
}

TEST_F(FontMapFileTest, SavedMapAppliesAgainToTheSameFiles) {
  table.SelectRow(RowNamed(table, "Body"));
  table.ApplyToSelected(true, {"Gothic", "10", "", ""});
  table.SelectRow(RowNamed(table, "Heading"));
  table.ApplyToSelected(true, {"Mincho", "", "Bold", ""});
  std::string path = dir.path() / "again.txt";
  ASSERT_TRUE(SaveFontMap(path, model.list, messages));

  table.DeleteAllRows();
  table.BuildTable();
  SelectionLog log;
  table.AddObserver(&log);
  FontMapLoad load = LoadFontMap(path, table, fonts.list, messages);
  table.RemoveObserver(&log);
  EXPECT_EQ(FontMapStatus::Done, load.status);
  EXPECT_EQ("Gothic;10;;;", NewFont("Body"));
  EXPECT_EQ("Mincho;;Bold;;", NewFont("Heading"));
  EXPECT_EQ(";;;;", NewFont("Chart Font"));
  EXPECT_TRUE(model.list.GetAt(2)->GetChanged());  // a merged reference too
  // Newest first: Heading, then Body (Body+ has no row of its own), and row
  // 0 (Body) stays selected at the end.
  EXPECT_EQ((std::vector<int32_t>{RowNamed(table, "Heading"), RowNamed(table, "Body")}), log.rows);
  EXPECT_EQ(0, table.GetSelectedRow());
  EXPECT_TRUE(load.familyAdded);
  EXPECT_EQ((std::vector<std::string>{"Gothic", "Mincho"}), fonts.list.DefinedFamilies().ToVector());
}

TEST_F(FontMapFileTest, NameMatchesWithoutCaseButTheCurrentFontExactly) {
  Load(
      "Typeswap: KORVIN Typeswap 1.00 for Interleaf; extra\r\n"
      "body;+;Times;10;;;Mincho;10;;;\r\n"
      "\r\n"
      "HEADING;;times;12;Bold;;Mincho;12;;;\r\n");
  EXPECT_EQ(";;;;", NewFont("Body"));
  EXPECT_EQ(";;;;", NewFont("Heading"));
  // Body+ joined the row of Body; the row shown as Body+ is found only
  // when the reference stands on its own.
  CModelBuilder alone;
  alone.File("alone-map.doc").Define("F1", "Times", "10").Number("Body", KindSubcomponent, "1");
  CMappingTable aloneTable(alone.list);
  aloneTable.BuildTable();
  std::string path = dir.Write("alone.txt", kHeader + "body;+;Times;10;;;Mincho;10;;;\r\n");
  EXPECT_EQ(FontMapStatus::Done, LoadFontMap(path, aloneTable, fonts.list, messages).status);
  EXPECT_EQ("Mincho", aloneTable.ColumnText(RowNamed(aloneTable, "Body+"), ColumnNewFont));
}

TEST_F(FontMapFileTest, ShortAndOddLinesStillApplyWhatTheyName) {
  FontMapLoad load = Load(kHeader +
                          "Body;;Times;10;;;Mincho\r\n"               // new size and styles missing
                          "|:list; Prefix;Times;10;;;Gothic;;;;\r\n"  // finds no row
                          "A;B;;Times;10;;;X;;;;\r\n"                 // a ";" in the name
                          "Chart Font;;Helvetica;9;;;;;;;\r\n");      // empty new family
  EXPECT_EQ(FontMapStatus::Done, load.status);
  EXPECT_EQ("Mincho;;;;", NewFont("Body"));
  EXPECT_EQ(";;;;", NewFont("list Prefix"));
  EXPECT_EQ(";;;;", NewFont("Chart Font"));
  EXPECT_TRUE(model.list.GetAt(6)->GetChanged());  // the chart font, mapped to nothing
  EXPECT_EQ((std::vector<std::string>{""}), fonts.list.NamedFamilies().ToVector());
  EXPECT_EQ((std::vector<std::string>{"", "Gothic", "Mincho"}), fonts.list.DefinedFamilies().ToVector());
}

TEST_F(FontMapFileTest, FileErrorsAreShownAtOnce) {
  std::string missing = (dir.path() / "missing.txt").string();
  EXPECT_EQ(FontMapStatus::FileError, LoadFontMap(missing, table, fonts.list, messages).status);
  ASSERT_EQ(1u, messages.messages.size());
  EXPECT_EQ("File Error! The file could not be located.\n\rFilename:" + missing, messages.messages[0].text);
  EXPECT_EQ("Error", messages.messages[0].caption);

  // Font map files are read shared with nobody.
  std::string locked = dir.Write("locked.txt", kHeader);
  CExclusiveFile holder(locked);
  EXPECT_EQ(FontMapStatus::FileError, LoadFontMap(locked, table, fonts.list, messages).status);
  EXPECT_EQ("File Error! SHARE.EXE was not loaded, or a shared region was locked.\n\rFilename:" + locked,
            messages.messages.at(1).text);

  std::string nowhere = (dir.path() / "no" / "such" / "map.txt").string();
  EXPECT_FALSE(SaveFontMap(nowhere, model.list, messages));
  EXPECT_EQ("File Error! The file could not be located.\n\rFilename:" + nowhere, messages.messages.at(2).text);
}

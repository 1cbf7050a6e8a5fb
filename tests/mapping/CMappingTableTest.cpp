// The mapping table: rows, their order and merging, the selection, and the
// apply operations with their carry-over from font definitions.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <random>

#include "mapping/CMappingTable.h"
#include "mapping/FoldCase.h"
#include "mapping/MappingRules.h"
#include "mapping/MergeRows.h"
#include "mapping/RowFileNames.h"
#include "platform/CodePage.h"
#include "tests/mapping/MappingTestSupport.h"

using mappingtest::CModelBuilder;

namespace {

// Every row as "column 0|family|size|bold|italic|new family|...", one text
// per row.
std::vector<std::string> Rows(const CMappingTable& table) {
  std::vector<std::string> rows;
  for (int32_t row = 0; row < table.RowCount(); ++row) {
    std::string text = table.ColumnText(row, 0);
    for (int32_t column = 1; column < kMappingColumnCount; ++column) {
      text += "|" + table.ColumnText(row, column);
    }
    rows.push_back(text);
  }
  return rows;
}

struct RecordingObserver : CMappingTableObserver {
  void TableReset() override { events += "reset;"; }
  void RowChanged(int32_t row) override { events += "row" + std::to_string(row) + ";"; }
  void SelectionChanged(int32_t row) override { events += "sel" + std::to_string(row) + ";"; }
  std::string events;
};

const NewFontTuple kMincho{"Mincho", "10", "Bold", ""};

// A row as text, representative and merged positions.
struct ExpectedRow {
  std::string text;
  int32_t item;
  std::vector<int32_t> merged;
  bool operator==(const ExpectedRow&) const = default;
};

std::ostream& operator<<(std::ostream& out, const ExpectedRow& row) {
  out << row.text << "@" << row.item << ":";
  for (int32_t item : row.merged) out << " " << item;
  return out;
}

std::vector<ExpectedRow> RowsOf(const CMappingTable& table) {
  std::vector<ExpectedRow> rows;
  for (int32_t row = 0; row < table.RowCount(); ++row) {
    EXPECT_EQ(table.MergedRows(row), table.Representative(row)->GetMergedRows()) << "row " << row;
    rows.push_back({table.ColumnText(row, ColumnComponent), table.ItemData(row), table.MergedRows(row)});
  }
  return rows;
}

// The rows made one reference at a time: every reference a row, newest
// first, sorted by text keeping equal texts in order, then merged.
std::vector<ExpectedRow> RowsByReference(const CFontReferenceList& list) {
  std::deque<std::string> texts;  // the rows view them
  std::vector<CBuildRow> built;
  for (int32_t item = list.Count() - 1; item >= 0; --item) {
    const CFontReference& reference = *list.GetAt(item);
    const std::string& component = reference.GetComponent();
    texts.push_back((component.find("|:") != std::string::npos ? component.substr(2) : component) +
                    KindMarker(reference.GetKind()));
    built.push_back({texts.back(), item});
  }
  std::stable_sort(built.begin(), built.end(), [](const CBuildRow& a, const CBuildRow& b) { return a.text < b.text; });
  const std::vector<int32_t> joins = FindJoiningRows(built, list);
  std::vector<ExpectedRow> rows;
  std::vector<size_t> rowOf(built.size());
  for (size_t i = 0; i < built.size(); ++i) {
    if (joins[i] < 0) {
      rowOf[i] = rows.size();
      rows.push_back({std::string(built[i].text), built[i].item, {}});
    } else {
      rowOf[i] = rowOf[static_cast<size_t>(joins[i])];
      rows[rowOf[i]].merged.insert(rows[rowOf[i]].merged.begin(), built[i].item);  // the last joined first
    }
  }
  return rows;
}

}  // namespace

TEST(CMappingTable, RowsComeNewestFirstAndSortByteWiseKeepingEqualTextsInOrder) {
  CModelBuilder model;
  model.File("order.doc").Define("F1", "Times", "10").Define("F2", "Times", "12");
  model.Number("Body", KindComponent, "1");       // position 2
  model.Number("body", KindComponent, "1");       // 3: lower case sorts after upper
  model.Number("Zed", KindComponent, "2");        // 4
  model.Number("Body", KindComponent, "2");       // 5: newer than position 2
  model.Number("\xC9t\xE9", KindComponent, "1");  // 6: high bytes after ASCII
  model.Number("Body Text", KindComponent, "1");  // 7: a longer text after its prefix

  CMappingTable table(model.list);
  table.BuildTable();
  EXPECT_EQ((std::vector<std::string>{"Body|Times|12||||||", "Body|Times|10||||||", "Body Text|Times|10||||||",
                                      "Font Definition|Times|12||||||", "Font Definition|Times|10||||||",
                                      "Zed|Times|12||||||", "body|Times|10||||||", "\xC9t\xE9|Times|10||||||"}),
            Rows(table));
  EXPECT_EQ(5, table.ItemData(0));
  EXPECT_EQ(2, table.ItemData(1));
  EXPECT_EQ(0, table.GetSelectedRow());
}

TEST(CMappingTable, KindsMergeOnlyWhereTheRowAcceptsThem) {
  CModelBuilder model;
  model.File("kinds.doc").Define("F1", "Times", "10").Define("F2", "Times", "12");
  model.Number("Body", KindSubcomponent, "1");          // 2: Body+, joins Body (10)
  model.Number("Body", KindComponent, "2");             // 3: Body (12), another font
  model.Number("Body", KindComponent, "1");             // 4: Body (10)
  model.Number("|:Body", KindComponentPrefix, "1");     // 5: Body Prefix
  model.Number("|:Body", KindSubcomponentPrefix, "1");  // 6: Body+ Prefix

  CMappingTable table(model.list);
  table.BuildTable();
  EXPECT_EQ((std::vector<std::string>{"Body|Times|10||||||", "Body|Times|12||||||", "Body Prefix|Times|10||||||",
                                      "Font Definition|Times|12||||||", "Font Definition|Times|10||||||"}),
            Rows(table));
  // Body (10) took Body+ across Body Prefix; Body Prefix took Body+ Prefix.
  EXPECT_EQ((std::vector<int32_t>{2}), table.MergedRows(0));
  EXPECT_EQ((std::vector<int32_t>{6}), table.MergedRows(2));
  EXPECT_EQ(table.MergedRows(0), table.Representative(0)->GetMergedRows());
}

// The table merges groups of alike references at once; this holds it to
// merging reference by reference, also where one text comes from kinds of
// different base names ("A+": component "A+", subcomponent "A"), or where
// two kinds of one text and one base take each other ("+A+").
TEST(CMappingTable, RowsAgreeWithMergingEveryReferenceOnItsOwn) {
  const char* components[] = {"A", "A+", "+A", "+A+", "|:A", "|:A+", "A B"};
  std::mt19937 random(20261209);
  for (int round = 0; round < 300; ++round) {
    CModelBuilder model;
    model.File("groups.doc").Define("F1", "Times", "10").Define("F2", "Times", "12");
    const int count = 2 + static_cast<int>(random() % 80);
    for (int i = 0; i < count; ++i) {
      const char* number = random() % 3 ? "1" : "2";
      if (random() % 10 == 0) {
        model.Change(number);
      } else {
        model.Number(components[random() % 7], static_cast<int32_t>(random() % 4), number);
      }
    }
    CMappingTable table(model.list);
    table.BuildTable();
    ASSERT_EQ(RowsByReference(model.list), RowsOf(table)) << "round " << round;
    table.BuildTable();  // a second build starts afresh
    ASSERT_EQ(RowsByReference(model.list), RowsOf(table)) << "round " << round << ", built again";
  }
}

TEST(CMappingTable, MergeScanStopsAtTheFirstOtherBaseName) {
  CModelBuilder model;
  model.File("stop.doc").Define("F1", "Times", "10");
  model.Number("Body", KindComponent, "1");
  model.Number("Body Text", KindComponent, "1");
  model.Number("Body", KindSubcomponent, "1");  // "Body Text" lies between Body and Body+
  CMappingTable table(model.list);
  table.BuildTable();
  EXPECT_EQ(4, table.RowCount());
}

TEST(CMappingTable, OneRowHoldsEqualUsesFromSeveralFiles) {
  CModelBuilder model;
  model.File("files-a.doc").Define("F1", "Times", "10").Number("Body", KindComponent, "1");
  model.Number("Body", KindComponent, "1");
  model.File("files-b.doc").Define("F1", "Times", "10").Number("Body", KindComponent, "1");
  CMappingTable table(model.list);
  table.BuildTable();
  ASSERT_EQ(2, table.RowCount());  // Body, Font Definition
  EXPECT_EQ("Body", table.ColumnText(0, ColumnComponent));
  EXPECT_EQ((std::vector<int32_t>{1, 2}), table.MergedRows(0));  // last joined first
  EXPECT_EQ((std::vector<std::string>{"files-b.doc", "files-a.doc"}), RowFileNames(table, 0));
}

TEST(CMappingTable, ShownNameDropsTheFirstTwoCharactersOfAPrefixName) {
  CModelBuilder model;
  model.File("prefix.doc").Define("F1", "Times", "10");
  model.Number("|:list", KindComponentPrefix, "1");
  model.Number("|:list", KindSubcomponentPrefix, "1");
  CMappingTable table(model.list);
  table.BuildTable();
  EXPECT_EQ("Font Definition", table.ColumnText(0, 0));
  EXPECT_EQ("list Prefix", table.ColumnText(1, 0));
  EXPECT_EQ(2, table.RowCount());  // the subcomponent prefix joined
}

TEST(CMappingTable, EmptyListGivesAnInertTable) {
  CFontReferenceList empty;
  CMappingTable table(empty);
  RecordingObserver observer;
  table.AddObserver(&observer);
  table.BuildTable();
  table.ApplyNewFont(true, false, kMincho);
  table.ApplyToSelected(true, kMincho);
  EXPECT_EQ(0, table.RowCount());
  EXPECT_EQ(-1, table.GetSelectedRow());
  EXPECT_FALSE(table.GetMappingsChanged());
  EXPECT_EQ("", table.ColumnText(0, 0));
  EXPECT_EQ(nullptr, table.Representative(0));
  EXPECT_EQ("reset;", observer.events);
  table.RemoveObserver(&observer);
}

TEST(CMappingTable, ApplyAndClearReachEveryReferenceOfTheRow) {
  CModelBuilder model;
  model.File("apply.doc").Define("F1", "Times", "10");
  model.Number("Body", KindComponent, "1").Number("Body", KindSubcomponent, "1");
  CMappingTable table(model.list);
  RecordingObserver observer;
  table.AddObserver(&observer);
  table.BuildTable();
  ASSERT_EQ("Body", table.ColumnText(0, 0));

  EXPECT_EQ(NewFontTuple{}, table.SelectedNewFont());
  table.ApplyToSelected(true, kMincho);
  EXPECT_TRUE(table.GetMappingsChanged());
  EXPECT_EQ(kMincho, table.SelectedNewFont());
  EXPECT_EQ("Body|Times|10|||Mincho|10|Bold|", Rows(table)[0]);
  for (int32_t position : {1, 2}) {
    const CFontReference& reference = *model.list.GetAt(position);
    EXPECT_TRUE(reference.GetChanged());
    EXPECT_FALSE(reference.GetChangedToo());
    EXPECT_EQ("Mincho", reference.GetNewFamily());
  }
  EXPECT_FALSE(model.list.GetAt(0)->GetChanged());  // the definition stays

  table.ApplyToSelected(false, NewFontTuple{});  // the Delete key
  EXPECT_EQ("Body|Times|10||||||", Rows(table)[0]);
  EXPECT_FALSE(model.list.GetAt(2)->GetChanged());
  EXPECT_EQ("reset;sel0;row0;row0;", observer.events);
  table.RemoveObserver(&observer);
}

TEST(CMappingTable, DefinitionCarriesItsFontToRowsOfItsOwnFile) {
  CModelBuilder model;
  model.File("def-a.doc").Define("F3", "Times", "10").Define("F4", "Helvetica", "12");
  model.Number("Body", KindComponent, "3").Number("Head", KindComponent, "4");
  model.File("def-b.doc").Define("F3", "Times", "10", "Bold");
  model.Number("Para", KindComponent, "3");
  model.Named("Chart Font", "Times10");  // Times 10 in another file
  CMappingTable table(model.list);
  table.BuildTable();

  int32_t definition = -1;
  for (int32_t row = 0; row < table.RowCount(); ++row) {
    if (table.ColumnText(row, 0) == "Font Definition" && table.ColumnText(row, 1) == "Times" &&
        table.ColumnText(row, 3).empty()) {
      definition = row;
    }
  }
  ASSERT_GE(definition, 0);
  table.SelectRow(definition);
  ASSERT_TRUE(table.IsDefinitionRow(definition));
  table.ApplyToSelected(true, kMincho);

  for (int32_t row = 0; row < table.RowCount(); ++row) {
    const CFontReference& rep = *table.Representative(row);
    bool carried = table.ColumnText(row, 0) == "Body";
    EXPECT_EQ(carried || row == definition, rep.GetChanged()) << table.ColumnText(row, 0);
    EXPECT_EQ(carried, table.ColumnText(row, ColumnNewFont) == "Mincho" && row != definition);
    if (carried) {
      EXPECT_TRUE(rep.GetChangedToo());
    }
  }
  EXPECT_EQ("Mincho", table.ColumnText(definition, ColumnNewFont));
  EXPECT_TRUE(table.GetMappingsChanged());
}

TEST(CMappingTable, DefinitionAloneLeavesMappingsUnchanged) {
  CModelBuilder model;
  model.File("alone.doc").Define("F9", "Courier", "8").Define("F1", "Times", "10");
  model.Number("Body", KindComponent, "1");
  CMappingTable table(model.list);
  table.BuildTable();
  table.SelectRow(2);  // Font Definition Courier 8: no row uses it
  ASSERT_EQ("Courier", table.ColumnText(2, 1));
  table.ApplyToSelected(true, kMincho);
  EXPECT_FALSE(table.GetMappingsChanged());
  EXPECT_TRUE(table.Representative(2)->GetChanged());
  EXPECT_EQ("Mincho", table.ColumnText(2, ColumnNewFont));
}

// A write into one reference of a row, through a definition apply on its
// position, makes the row write all its references at the next apply,
// whether the row is a definition row or not.
TEST(CMappingTable, ApplyAfterADefinitionWriteReachesTheWrittenReferenceAgain) {
  CModelBuilder model;
  model.File("holder-a.doc").Define("F1", "Times", "10").Number("Body", KindComponent, "1");  // 0, 1
  model.File("holder-b.doc").Define("F1", "Times", "10").Number("Body", KindComponent, "1");  // 2, 3
  CMappingTable table(model.list);
  table.BuildTable();
  ASSERT_EQ("Body", table.ColumnText(0, ColumnComponent));
  ASSERT_EQ((std::vector<int32_t>{1}), table.MergedRows(0));
  ASSERT_EQ("Font Definition", table.ColumnText(1, ColumnComponent));
  ASSERT_EQ((std::vector<int32_t>{0}), table.MergedRows(1));

  const NewFontTuple gothic{"Gothic", "12", "", ""};
  for (int32_t position : {1, 0}) {  // a merged reference of Body, then of the definition row
    const int32_t row = position == 1 ? 0 : 1;
    table.SelectRow(row);
    table.ApplyNewFont(true, false, kMincho);
    // No other row of holder-a.doc has the representative's font: only
    // the reference itself changes.
    table.ApplyToDefinition(position, true, gothic);
    ASSERT_EQ("Gothic", model.list.GetAt(position)->GetNewFamily());
    table.ApplyNewFont(true, false, kMincho);
    for (int32_t item : {table.ItemData(row), position}) {
      const CFontReference& reference = *model.list.GetAt(item);
      EXPECT_EQ("Mincho", reference.GetNewFamily()) << "position " << item;
      EXPECT_TRUE(reference.GetChanged());
      EXPECT_FALSE(reference.GetChangedToo());
    }
  }
}

TEST(CMappingTable, RebuildAfterDeletingForgetsMappingsAndMergesOnce) {
  CModelBuilder model;
  model.File("rebuild.doc").Define("F1", "Times", "10");
  model.Number("Body", KindComponent, "1").Number("Body", KindComponent, "1");
  CMappingTable table(model.list);
  table.BuildTable();
  table.ApplyToSelected(true, kMincho);
  table.DeleteAllRows();
  EXPECT_EQ(0, table.RowCount());
  for (int32_t i = 0; i < model.list.Count(); ++i) {
    EXPECT_FALSE(model.list.GetAt(i)->GetChanged());
    EXPECT_EQ("", model.list.GetAt(i)->GetNewFamily());
  }
  table.BuildTable();
  table.BuildTable();
  EXPECT_EQ((std::vector<int32_t>{1}), table.Representative(0)->GetMergedRows());
  EXPECT_EQ("Body|Times|10||||||", Rows(table)[0]);
}

TEST(CMappingTable, FindRowIgnoresCaseAndGoesOnAfterTheLastFind) {
  CModelBuilder model;
  model.File("find.doc").Define("F1", "Times", "10").Define("F2", "Arial", "9");
  model.Number("Body", KindSubcomponent, "1").Number("Body", KindSubcomponent, "2");
  CMappingTable table(model.list);
  table.BuildTable();
  int32_t first = table.FindRow("body+");
  ASSERT_GE(first, 0);
  int32_t second = table.FindRow("BODY+", first);
  EXPECT_GT(second, first);
  EXPECT_EQ(-1, table.FindRow("body+", second));
  EXPECT_EQ(-1, table.FindRow("Body"));
}

TEST(CMappingTable, FindRowsWithFontGivesEveryRowOfTextAndFontTopToBottom) {
  CModelBuilder model;
  model.File("font-rows.doc").Define("F1", "Times", "10").Define("F2", "Times", "12");
  model.Change("1");                                // Font Change, a row of its own kind
  model.Number("Font Change", KindComponent, "1");  // the same text, a component: not merged
  model.Number("Font Change", KindComponent, "2");  // another font
  CMappingTable table(model.list);
  table.BuildTable();
  std::vector<int32_t> expected;
  for (int32_t row = 0; row < table.RowCount(); ++row) {
    if (table.ColumnText(row, ColumnComponent) == "Font Change" && table.ColumnText(row, ColumnSize) == "10") {
      expected.push_back(row);
    }
  }
  ASSERT_EQ(2u, expected.size());
  EXPECT_EQ(expected, table.FindRowsWithFont("FONT change", "Times", "10", "", ""));
  EXPECT_EQ(std::vector<int32_t>{}, table.FindRowsWithFont("Font Change", "times", "10", "", ""));
  EXPECT_EQ(std::vector<int32_t>{}, table.FindRowsWithFont("Font Change", "Times", "10", "", "Italic"));
}

TEST(FoldCase, LeavesTheSecondByteOfADoubleByteCharacterAlone) {
  SetProcessCodePage(932);
  EXPECT_EQ(
      "\x83\x41"
      "abc",
      FoldCase("\x83\x41"
               "ABC"));
  EXPECT_FALSE(EqualIgnoringCase("\x83\x41", "\x83\x61"));
  SetProcessCodePage(1252);
  EXPECT_TRUE(EqualIgnoringCase("Body+", "bODY+"));
}

namespace {

// A model where definitions carry fonts into large merged rows.
void BuildCarryModel(CModelBuilder& model) {
  for (const char* file : {"batch-a.doc", "batch-b.doc"}) {
    model.File(file).Define("F1", "Times", "10").Define("F2", "Arial", "9", "Bold");
    for (int i = 0; i < 5; ++i) {
      model.Change("1").Change("2").Number("Body", KindComponent, "1");
      model.Number("Body", KindSubcomponent, "2");
    }
  }
}

std::string DumpMappings(const CFontReferenceList& list) {
  std::string dump;
  for (int32_t i = 0; i < list.Count(); ++i) {
    const CFontReference& r = *list.GetAt(i);
    dump += std::to_string(r.GetChanged()) + std::to_string(r.GetChangedToo()) + r.GetNewFamily() + "," +
            r.GetNewSize() + "," + r.GetNewBold() + "," + r.GetNewItalic() + ";";
  }
  return dump;
}

// Two models built alike by \p build, each with its table built: one to
// apply to row by row, the other inside a batch.
struct PlainAndBatched {
  template <class Build>
  explicit PlainAndBatched(Build build) {
    build(plainModel);
    build(batchModel);
    plain.BuildTable();
    batched.BuildTable();
  }
  CModelBuilder plainModel, batchModel;
  CMappingTable plain{plainModel.list}, batched{batchModel.list};
};

}  // namespace

TEST(CMappingTable, BatchLeavesTheReferencesAsSingleAppliesDo) {
  PlainAndBatched tables(BuildCarryModel);
  CMappingTable &plain = tables.plain, &batched = tables.batched;
  ASSERT_EQ(Rows(plain), Rows(batched));

  const NewFontTuple fonts[] = {kMincho, {"Gothic", "12", "", "Italic"}, {}};
  uint32_t seed = 7;
  auto next = [&seed](uint32_t bound) { return (seed = seed * 1103515245u + 12345u) / 65536u % bound; };
  {
    CMappingTable::Batch batch(batched);
    CMappingTable::Batch nested(batched);
    for (int step = 0; step < 300; ++step) {
      int32_t row = static_cast<int32_t>(next(static_cast<uint32_t>(plain.RowCount())));
      const NewFontTuple& font = fonts[next(3)];
      bool isMapped = !font.IsEmpty();
      // Callers may also name any row a definition row, or none.
      uint32_t how = next(3);
      for (CMappingTable* table : {&plain, &batched}) {
        table->SelectRow(row);
        if (how == 0) {
          table->ApplyToSelected(isMapped, font);
        } else {
          table->ApplyNewFont(isMapped, how == 1, font);
        }
      }
      ASSERT_EQ(Rows(plain), Rows(batched)) << "step " << step;
    }
  }
  EXPECT_EQ(DumpMappings(tables.plainModel.list), DumpMappings(tables.batchModel.list));
}

// A model of many rows that share fonts and components, each with many
// merged references: every reference ends as applying to its row alone
// leaves it.
TEST(CMappingTable, LargeBatchLeavesTheReferencesAsSingleAppliesDo) {
  auto build = [](CModelBuilder& model) {
    model.File("large.doc").Define("F1", "Times", "10").Define("F2", "Arial", "9", "Bold").Define("F3", "Mincho", "12");
    const char* components[] = {"Body", "Head", "Note", "List"};
    for (int i = 0; i < 40000; ++i) {
      const std::string number = std::to_string(1 + i % 3);
      model.Change(number).Number(components[i % 4], KindComponent, number);
      model.Number(components[(i / 4) % 4], KindSubcomponent, number).Change(i % 7 ? "1" : "2");
    }
  };
  PlainAndBatched tables(build);
  CMappingTable &plain = tables.plain, &batched = tables.batched;
  ASSERT_EQ(Rows(plain), Rows(batched));
  ASSERT_GT(plain.RowCount(), 4);

  const NewFontTuple fonts[] = {kMincho, {"Gothic", "12", "", "Italic"}, {"Arial", "8", "Bold", ""}};
  {
    CMappingTable::Batch batch(batched);
    for (int32_t row = 0; row < plain.RowCount(); ++row) {
      for (CMappingTable* table : {&plain, &batched}) {
        table->SelectRow(row);
        table->ApplyToSelected(true, fonts[row % 3]);
      }
    }
  }
  EXPECT_EQ(DumpMappings(tables.plainModel.list), DumpMappings(tables.batchModel.list));
}

// Multiple change by component and by font: what the dialog offers and
// which rows its OK changes.
#include <gtest/gtest.h>

#include "mapping/CMappingTable.h"
#include "mapping/MultipleChange.h"
#include "tests/mapping/MappingTestSupport.h"

using mappingtest::CModelBuilder;

namespace {

class MultipleChangeTest : public ::testing::Test {
 protected:
  MultipleChangeTest() : table(model.list) {
    model.File("multi-a.doc").Define("F1", "Times", "10", "", "Italic").Define("F2", "Arial", "12");
    model.Number("Body", KindComponent, "1");
    model.Number("Body", KindSubcomponent, "2");  // another font: a row Body+
    model.Number("body", KindComponent, "2");
    model.Number("Font Definition", KindComponent, "2");  // a component with an odd name
    model.Change("1");
    model.File("multi-b.doc").Number("Body", KindComponent, "1");
    model.Named("Chart Font", "Times14");
    table.BuildTable();
  }
  int32_t Row(std::string_view component, std::string_view family) const {
    for (int32_t row = 0; row < table.RowCount(); ++row) {
      if (table.ColumnText(row, 0) == component && table.ColumnText(row, 1) == family) return row;
    }
    return -1;
  }
  std::string NewFont(int32_t row) const {
    return table.ColumnText(row, 5) + "," + table.ColumnText(row, 6) + "," + table.ColumnText(row, 7) + "," +
           table.ColumnText(row, 8);
  }

  CModelBuilder model;
  CMappingTable table;
};

}  // namespace

TEST_F(MultipleChangeTest, OriginalEntriesLeaveOutTheModesCategories) {
  // Rows: Body, Body+, Chart Font, Font Change, Font Definition (the
  // component, whose bare number 2 reads as family "" size 2), Font
  // Definition x2 (definitions), body.
  EXPECT_EQ((std::vector<std::string>{"Body", "Body+", "Font Definition"}),
            OriginalEntries(table, MultipleChangeMode::ByComponent));
  EXPECT_EQ((std::vector<std::string>{"Times", "Arial", ""}), OriginalEntries(table, MultipleChangeMode::ByFont));
}

TEST_F(MultipleChangeTest, NewFontEntriesKeepSimilarFamiliesApart) {
  CModelBuilder fonts;
  fonts.File("fonts.doc").Define("F1", "Times New Roman", "10").Define("F2", "Times", "10");
  fonts.Define("F3", "times", "12");  // the same family in other letters
  fonts.Change("2");
  fonts.Named("Chart Font", "Helvetica9");
  fonts.Named("Diagram Font Empty", "Courier8");
  // Newest first: "times" comes before "Times" and stands for both.
  EXPECT_EQ((std::vector<std::string>{"Courier", "times", "Times New Roman"}), NewFontEntries(fonts.list));
}

TEST_F(MultipleChangeTest, ByComponentChangesExactlyTheChosenTexts) {
  int32_t changed = ApplyMultipleChange(table, MultipleChangeMode::ByComponent, {"Body"}, "Mincho");
  EXPECT_EQ(1, changed);  // both files' Body share one row; body and Body+ stay
  EXPECT_EQ("Mincho,10,,Italic", NewFont(Row("Body", "Times")));
  EXPECT_EQ(",,,", NewFont(Row("Body+", "Arial")));
  EXPECT_EQ(",,,", NewFont(Row("body", "Arial")));
  EXPECT_EQ(Row("Body", "Times"), table.GetSelectedRow());
  EXPECT_EQ(0, ApplyMultipleChange(table, MultipleChangeMode::ByComponent, {}, "Mincho"));
}

TEST_F(MultipleChangeTest, ByFontKeepsEachRowsSizeAndStyle) {
  ApplyMultipleChange(table, MultipleChangeMode::ByFont, {"Arial"}, "Gothic");
  for (const char* component : {"Body+", "body", "Font Definition"}) {
    EXPECT_EQ("Gothic,12,,", NewFont(Row(component, "Arial"))) << component;
  }
  // A font change of Times is changed by choosing Times, whatever its category.
  ApplyMultipleChange(table, MultipleChangeMode::ByFont, {"Times"}, "Mincho");
  EXPECT_EQ("Mincho,10,,Italic", NewFont(Row("Font Change", "Times")));
  EXPECT_EQ("Mincho,14,,", NewFont(Row("Chart Font", "Times")));
}

TEST_F(MultipleChangeTest, AComponentNamedFontDefinitionIsNoDefinitionRow) {
  ApplyMultipleChange(table, MultipleChangeMode::ByComponent, {"Font Definition"}, "Gothic");
  int32_t odd = Row("Font Definition", "");
  ASSERT_GE(odd, 0);
  EXPECT_FALSE(table.IsDefinitionRow(odd));
  EXPECT_EQ("Gothic,2,,", NewFont(odd));
  EXPECT_FALSE(table.Representative(odd)->GetChangedToo());
  // The definition rows showing the same text changed as definitions, and
  // carried their fonts to the rows of their file.
  EXPECT_EQ("Gothic,12,,", NewFont(Row("Body+", "Arial")));
  EXPECT_TRUE(table.Representative(Row("Body+", "Arial"))->GetChangedToo());
}

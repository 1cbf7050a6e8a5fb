// The mapping page's logic without its window: which families and sizes
// the boxes offer per category, what choosing in them does to the selected
// row, typed sizes, Back, re-entering, and the stored control values.
#include <gtest/gtest.h>

#include "app/CWizardChoices.h"
#include "mapping/CMappingPageModel.h"
#include "mapping/CMessageSink.h"
#include "tests/mapping/MappingTestSupport.h"
#include "tests/support/TestSupport.h"

using mappingtest::CModelBuilder;

namespace {

class CMappingPageModelTest : public ::testing::Test {
 protected:
  CMappingPageModelTest() {
    model.File("page-a.doc").Define("F1", "Times", "10").Define("F2", "Arial", "12", "Bold");
    model.Number("Body", KindComponent, "1");
    model.Number("Head", KindComponent, "2");
    model.Change("1");
    model.Named("Chart Font", "Helvetica9");
    model.Named("Text String Font", "Courier8");
    model.Named("Diagram Font Empty", "");
    fonts.DefinedFamilies().AddAtHead("mincho");
    fonts.DefinedFamilies().AddAtHead("Gothic");
    fonts.DefinedFamilies().AddAtHead("Arial");
    fonts.NamedFamilies().AddAtHead("Helvetica");
    fonts.NamedFamilies().AddAtHead("Futura");
    for (const char* size : {"12", "9", "10", "12.0", "7pt"}) fonts.FontSizes().AddAtTail(size);
  }

  // A page opened over the models, as the load page opens it.
  std::unique_ptr<CMappingPageModel> OpenPage() {
    auto page = std::make_unique<CMappingPageModel>(model.list, fonts, choices, messages);
    page->Open();
    return page;
  }
  int32_t Row(const CMappingPageModel& page, std::string_view component, std::string_view family = {}) const {
    const CMappingTable& table = page.Table();
    for (int32_t row = 0; row < table.RowCount(); ++row) {
      if (table.ColumnText(row, 0) == component && (family.empty() || table.ColumnText(row, 1) == family)) {
        return row;
      }
    }
    ADD_FAILURE() << "no row " << component;
    return -1;
  }
  static NewFontTuple NewFont(const CMappingPageModel& page, int32_t row) {
    const CMappingTable& table = page.Table();
    return {table.ColumnText(row, 5), table.ColumnText(row, 6), table.ColumnText(row, 7), table.ColumnText(row, 8)};
  }
  int32_t Index(const std::vector<std::string>& entries, const std::string& text) const {
    auto at = std::find(entries.begin(), entries.end(), text);
    return at == entries.end() ? -1 : static_cast<int32_t>(at - entries.begin());
  }

  CModelBuilder model;
  CFontReferenceList fonts;
  CWizardChoices choices{"page-a.doc;", "fonts.doc;", "/tmp/out", 1};
  CCollectingMessageSink messages;
};

using Entries = std::vector<std::string>;

}  // namespace

TEST_F(CMappingPageModelTest, OpeningOrdersSizesAndFillsTheBoxesForRowZero) {
  auto page = OpenPage();
  // Numeric order; 12.0 has the value of 12 and goes.
  EXPECT_EQ((Entries{"7pt", "9", "10", "12"}), fonts.FontSizes().ToVector());
  EXPECT_EQ(0, page->Table().GetSelectedRow());
  // Rows sort by name: Body first, a Font Number row.
  EXPECT_EQ("Body", page->Table().ColumnText(0, 0));
  EXPECT_EQ((Entries{"Arial", "Gothic", "mincho"}), page->Controls().names);  // sorted as the box sorts
  EXPECT_EQ(-1, page->Controls().nameSelection);
  EXPECT_EQ((Entries{"7pt", "9", "10", "12"}), page->Controls().sizes);
}

TEST_F(CMappingPageModelTest, CategoryGroupsFillTheNameBoxAndRememberTheirChoices) {
  auto page = OpenPage();
  CMappingTable& table = page->Table();
  page->NameChosen(1);  // Gothic for Body
  EXPECT_EQ(1, fonts.GetDefinedFamilyChoice());

  table.SelectRow(Row(*page, "Chart Font"));
  EXPECT_EQ((Entries{"Futura", "Helvetica"}), page->Controls().names);
  EXPECT_EQ(-1, page->Controls().nameSelection);
  page->NameChosen(1);
  page->SizeChosen(Index(page->Controls().sizes, "9"));
  EXPECT_EQ(1, fonts.GetNamedFamilyChoice());
  EXPECT_EQ(1, fonts.GetOtherSizeChoice());

  // Another category of the same group: refilled, with the chart choices.
  table.SelectRow(Row(*page, "Text String Font"));
  EXPECT_EQ((Entries{"Futura", "Helvetica"}), page->Controls().names);
  EXPECT_EQ(1, page->Controls().nameSelection);
  EXPECT_EQ("9", page->Controls().sizeText);

  // Back to a definition-group row: its own remembered choices.
  table.SelectRow(Row(*page, "Head"));
  EXPECT_EQ((Entries{"Arial", "Gothic", "mincho"}), page->Controls().names);
  EXPECT_EQ(1, page->Controls().nameSelection);
  EXPECT_EQ(-1, page->Controls().sizeSelection);

  // Neither group: an empty Name box, nothing remembered for it.
  table.SelectRow(Row(*page, "Diagram Font Empty"));
  EXPECT_TRUE(page->Controls().names.empty());
  page->SizeChosen(0);
  EXPECT_EQ(-1, fonts.GetSizeChoice());
  EXPECT_EQ(1, fonts.GetOtherSizeChoice());
}

TEST_F(CMappingPageModelTest, ChoosingAFamilyResetsSizeBoldAndItalic) {
  auto page = OpenPage();
  const int32_t body = Row(*page, "Body");
  page->NameChosen(0);
  page->SizeChosen(Index(page->Controls().sizes, "10"));
  page->BoldClicked(true);
  page->ItalicClicked(true);
  EXPECT_EQ((NewFontTuple{"Arial", "10", "Bold", "Italic"}), NewFont(*page, body));

  page->NameChosen(2);
  EXPECT_EQ((NewFontTuple{"mincho", "", "", ""}), NewFont(*page, body));
  EXPECT_EQ(-1, page->Controls().sizeSelection);
  EXPECT_EQ("", page->Controls().sizeText);
  EXPECT_FALSE(page->Controls().bold);
  EXPECT_FALSE(page->Controls().italic);
  EXPECT_TRUE(page->BackNeedsQuestion());
}

TEST_F(CMappingPageModelTest, TypedSizesAreCheckedAddedAndChosen) {
  auto page = OpenPage();
  const int32_t body = Row(*page, "Body");
  page->NameChosen(0);

  page->SizeTextEdited("11");
  EXPECT_FALSE(page->DefaultCommand(DefaultCommandFocus::SizeEdit));
  EXPECT_EQ((Entries{"7pt", "9", "10", "11", "12"}), page->Controls().sizes);
  EXPECT_EQ(3, page->Controls().sizeSelection);
  EXPECT_EQ((NewFontTuple{"Arial", "11", "", ""}), NewFont(*page, body));

  // A listed size is chosen as typed, whatever was selected.
  page->SizeTextEdited("9");
  EXPECT_FALSE(page->DefaultCommand(DefaultCommandFocus::SizeEdit));
  EXPECT_EQ("9", NewFont(*page, body).size);

  for (const char* wrong : {"12a", "1.5", "0", "250", "1.2.5"}) {
    page->SizeTextEdited(wrong);
    EXPECT_FALSE(page->DefaultCommand(DefaultCommandFocus::SizeEdit));
    EXPECT_EQ("9", NewFont(*page, body).size) << wrong;
  }
  ASSERT_EQ(5u, messages.messages.size());
  EXPECT_EQ("Please enter a numeric value between 2 and 200.", messages.messages[0].text);
  EXPECT_EQ("Error", messages.messages[0].caption);

  for (const char* bound : {"2", "200"}) {
    page->SizeTextEdited(bound);
    EXPECT_FALSE(page->DefaultCommand(DefaultCommandFocus::SizeEdit));
    EXPECT_EQ(bound, NewFont(*page, body).size);
  }
  EXPECT_EQ((Entries{"2", "7pt", "9", "10", "11", "12", "200"}), page->Controls().sizes);

  // Empty, or Enter elsewhere: only the Available Fonts choice is applied.
  page->SizeTextEdited("");
  EXPECT_FALSE(page->DefaultCommand(DefaultCommandFocus::SizeEdit));
  page->SizeTextEdited("250");
  EXPECT_FALSE(page->DefaultCommand(DefaultCommandFocus::Elsewhere));
  EXPECT_EQ(5u, messages.messages.size());
  EXPECT_EQ((NewFontTuple{"Arial", "200", "", ""}), NewFont(*page, body));

  // Focus on Run: nothing but Run.
  page->NameChosen(1);
  EXPECT_TRUE(page->DefaultCommand(DefaultCommandFocus::RunButton));
}

TEST_F(CMappingPageModelTest, WithoutASelectedRowNothingChangesButChoicesAreRemembered) {
  auto page = OpenPage();
  page->Table().SelectRow(-1);
  page->NameChosen(1);
  page->SizeChosen(2);
  page->BoldClicked(true);
  page->ClearRow();
  page->SizeTextEdited("14");
  EXPECT_FALSE(page->DefaultCommand(DefaultCommandFocus::SizeEdit));
  for (int32_t row = 0; row < page->Table().RowCount(); ++row) {
    EXPECT_EQ(NewFontTuple{}, NewFont(*page, row));
  }
  EXPECT_FALSE(page->BackNeedsQuestion());
  EXPECT_EQ(1, fonts.GetDefinedFamilyChoice());
  EXPECT_EQ(Index(page->Controls().sizes, "14"), fonts.GetSizeChoice());
}

TEST_F(CMappingPageModelTest, BackForgetsMappingsAndReenteringFillsTheBoxes) {
  {
    auto page = OpenPage();
    EXPECT_FALSE(page->BackNeedsQuestion());
    page->NameChosen(1);
    page->Table().SelectRow(Row(*page, "Head"));
    page->ClearRow();  // clearing counts as a change too
    EXPECT_TRUE(page->BackNeedsQuestion());
    page->GoBack();
    EXPECT_EQ("", fonts.GetShownCategory());
  }
  for (int32_t i = 0; i < model.list.Count(); ++i) EXPECT_FALSE(model.list.GetAt(i)->GetChanged());

  auto again = OpenPage();
  EXPECT_FALSE(again->BackNeedsQuestion());
  EXPECT_EQ((Entries{"Arial", "Gothic", "mincho"}), again->Controls().names);
  EXPECT_EQ(-1, again->Controls().nameSelection);
  EXPECT_EQ(4u, again->Controls().sizes.size());
}

TEST_F(CMappingPageModelTest, LoadingMapsPutsTheStoredControlValuesBack) {
  testsupport::TempDir dir;
  auto page = OpenPage();
  page->NameChosen(0);
  page->SizeChosen(1);
  page->BoldClicked(true);
  const std::string map = (dir.path() / "map.txt").string();
  ASSERT_TRUE(page->SaveFontMap(map));

  page->ConvertToEucClicked(true);
  page->SizeTextEdited("33");
  page->ItalicClicked(true);
  const FontMapsLoad load = page->LoadFontMaps({map});
  EXPECT_EQ(0, load.failed);
  EXPECT_FALSE(load.familyAdded);
  // As at the last Name choice: unchecked and empty; the EUC tick stays.
  EXPECT_FALSE(page->Controls().bold);
  EXPECT_FALSE(page->Controls().italic);
  EXPECT_EQ("", page->Controls().sizeText);
  EXPECT_TRUE(page->Controls().convertToEuc);
  EXPECT_EQ(0, page->Table().GetSelectedRow());
  EXPECT_EQ((NewFontTuple{"Arial", "9", "Bold", ""}), NewFont(*page, Row(*page, "Body")));
}

TEST_F(CMappingPageModelTest, RowPositionsNameEveryReference) {
  model.File("page-b.doc").Number("Body", KindComponent, "1");
  auto page = OpenPage();
  const int32_t body = Row(*page, "Body");
  EXPECT_EQ((Entries{"page-b.doc:9:1", "page-a.doc:3:1"}), page->RowPositions(body));
  EXPECT_EQ((Entries{"page-b.doc", "page-a.doc"}), page->RowFileNames(body));
  EXPECT_TRUE(page->RowPositions(-1).empty());
}

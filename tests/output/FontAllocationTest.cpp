// New font keys, definition lines and spelled-out names for changed
// references.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "model/CFontReferenceList.h"
#include "output/FontAllocation.h"

namespace {
class FontAllocationTest : public ::testing::Test {
 protected:
  // Adds a reference as loading does and returns its index. (Adding moves
  // the references, so they are fetched once all are in.)
  int32_t Add(std::string_view category, std::string_view text, int32_t line = 1) {
    CTextPiece piece(text, line, 1, CharsetSingleByte);
    piece.SetFileNumber(1);
    if (category == "Font Number") {
      list.AddReference(CFontReference(KindComponent, "Body", piece, 0, category));
    } else {
      list.AddReference(CFontReference(piece, 0, category));
    }
    return list.Count() - 1;
  }
  CFontReference& At(int32_t index) { return *list.GetAt(index); }
  static void Change(CFontReference& reference, std::string_view family, std::string_view size,
                     std::string_view bold = {}, std::string_view italic = {}) {
    reference.SetNewFamily(family);
    reference.SetNewSize(size);
    reference.SetNewBold(bold);
    reference.SetNewItalic(italic);
    reference.SetChanged(true);
  }

  CFontReferenceList list;
  CNewFontDefinitions definitions;
};
}  // namespace

TEST_F(FontAllocationTest, NumbersFollowTheHighestDefinedAndRepeatForTheSameFont) {
  list.AddFontDefinitionLine("F3", "Times", "10", "", "");
  list.AddFontDefinitionLine("F12", "Helvetica", "12", "", "");
  CFontReference& number = At(Add("Font Number", "3"));
  CFontReference& change = At(Add("Font Change", "<F3", 2));
  CFontReference& other = At(Add("Font Change", "<F12", 3));
  CFontReference& definition = At(Add("Font Definition", "F12", 4));
  ASSERT_EQ("12", list.GetHighestFontNumber());
  Change(number, "Mincho", "10");
  Change(change, "Mincho", "10");
  Change(other, "Gothic", "", "Bold");
  Change(definition, "Ryumin", "9");

  EXPECT_TRUE(BuildNewFontDefinitions(list, definitions));
  EXPECT_EQ("13", number.GetReplacementText());
  EXPECT_EQ("<F13", change.GetReplacementText());
  // The current size stands where no new one was chosen.
  EXPECT_EQ("<F14", other.GetReplacementText());
  // A definition row adds its line but changes no text itself.
  EXPECT_EQ("", definition.GetReplacementText());
  EXPECT_EQ("<!Font Definitions,\n\tF13 = Mincho 10,\n\tF14 = Gothic 12 Bold,\n\tF15 = Ryumin 9,", definitions.Text());
  EXPECT_EQ("15", list.GetHighestFontNumber());
}

TEST_F(FontAllocationTest, DescriptionMustMatchAWholeLine) {
  int32_t first = Add("Font Change", "<F1");
  int32_t second = Add("Font Change", "<F2", 2);
  CFontReference& a = At(first);
  CFontReference& b = At(second);
  Change(a, "New Times", "10");
  Change(b, "Times", "10");
  std::string keyA, keyB;
  EXPECT_TRUE(AllocateFontKey(list, a, definitions, keyA));
  EXPECT_TRUE(AllocateFontKey(list, b, definitions, keyB));
  EXPECT_EQ("F1", keyA);
  EXPECT_EQ("F2", keyB);  // not the key of "New Times 10,"
}

TEST_F(FontAllocationTest, UnchangedFontsGetNothing) {
  CFontReference& reference = At(Add("Font Change", "<F3"));
  std::string key = "stale";
  EXPECT_FALSE(AllocateFontKey(list, reference, definitions, key));
  EXPECT_EQ("", key);
  EXPECT_EQ("", MakeSpelledOutName(reference));
  // Changed with no font chosen: nothing allocated, nothing to write.
  reference.SetChanged(true);
  EXPECT_FALSE(BuildNewFontDefinitions(list, definitions));
  EXPECT_FALSE(definitions.HasLines());
  EXPECT_EQ("0", list.GetHighestFontNumber());
}

TEST_F(FontAllocationTest, SpelledOutNames) {
  int32_t first = Add("Chart Font", "Helvetica10");
  int32_t second = Add("Text String Font", "Times10", 2);
  CFontReference& chart = At(first);
  CFontReference& string = At(second);
  Change(chart, "Helvetica", "12", "Bold", "Italic");
  Change(string, "", "14");
  EXPECT_FALSE(BuildNewFontDefinitions(list, definitions));
  EXPECT_EQ("Helvetica12bi", chart.GetReplacementText());
  EXPECT_EQ("Times14", string.GetReplacementText());
}

TEST_F(FontAllocationTest, KeysAreNumberedInListOrderWhateverTheCategoryThatFirstUsesThem) {
  const int32_t definition = Add("Font Definition", "F1");
  const int32_t chart = Add("Chart Font", "Times10", 2);
  const int32_t unchanged = Add("Font Change", "<F1", 3);
  const int32_t number = Add("Font Number", "1", 4);
  const int32_t change = Add("Font Change", "<F1", 5);
  const int32_t again = Add("Font Change", "<F1", 6);
  Change(At(definition), "Times", "10");
  Change(At(chart), "Times", "10");
  Change(At(number), "Gothic", "9");
  Change(At(change), "Times", "10");
  Change(At(again), "Gothic", "9");

  EXPECT_TRUE(BuildNewFontDefinitions(list, definitions));
  EXPECT_EQ("", At(definition).GetReplacementText());
  EXPECT_EQ("Times10", At(chart).GetReplacementText());  // a name, whatever keys the same font has
  EXPECT_EQ("", At(unchanged).GetReplacementText());
  EXPECT_EQ("2", At(number).GetReplacementText());
  EXPECT_EQ("<F1", At(change).GetReplacementText());
  EXPECT_EQ("<F2", At(again).GetReplacementText());
  EXPECT_EQ("<!Font Definitions,\n\tF1 = Times 10,\n\tF2 = Gothic 9,", definitions.Text());
}

// More pairs of new and current fonts than the allocator keeps at hand,
// all with one new font that leaves the size open, so that the current
// font decides each new text: each text is the one its description was
// first given.
TEST_F(FontAllocationTest, ManyPairsOfFontsEachGetTheKeyOfTheirDescription) {
  constexpr int kFonts = 400;
  for (int font = 1; font <= kFonts; ++font) {
    list.AddFontDefinitionLine("F" + std::to_string(font), "Times", std::to_string(5 + font), "", "");
  }
  std::vector<int32_t> references;
  for (int i = 0; i < 3 * kFonts; ++i) {
    references.push_back(Add("Font Change", "<F" + std::to_string(1 + i % kFonts), i));
  }
  for (int32_t index : references) Change(At(index), "Mincho", "");
  EXPECT_TRUE(BuildNewFontDefinitions(list, definitions));

  std::map<std::string, std::string> keyOf;  // description -> key, first come first numbered
  for (int32_t index : references) {
    const std::string description = NewFontDescription(At(index));
    keyOf.try_emplace(description, "<F" + std::to_string(kFonts + 1 + static_cast<int>(keyOf.size())));
    ASSERT_EQ(keyOf[description], At(index).GetReplacementText()) << "reference " << index << ", " << description;
  }
  EXPECT_EQ(static_cast<size_t>(kFonts), keyOf.size());
}

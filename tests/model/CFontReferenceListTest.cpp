// The document font model: resolving fonts against definitions, the order
// of references, the family and size lists, copies and snapshots.
#include <gtest/gtest.h>

#include <memory>

#include "model/CFontReferenceList.h"

namespace {

CTextPiece PieceOf(std::string_view text, int32_t line = 1, int32_t column = 1) {
  CTextPiece piece(text, line, column, CharsetSingleByte);
  piece.SetFileNumber(1);
  return piece;
}

// Adds a reference the way the parse actions do and returns it.
const CFontReference& Add(CFontReferenceList& list, std::string_view category, std::string_view pieceText,
                          std::string_view component = {}, int32_t kind = KindComponent) {
  if (component.empty()) {
    list.AddReference(CFontReference(PieceOf(pieceText), list.GetIsShiftJis(), category));
  } else {
    list.AddReference(CFontReference(kind, component, PieceOf(pieceText), list.GetIsShiftJis(), category));
  }
  return *list.GetAt(list.Count() - 1);
}

// A font definition element as the parse actions record it: the line first.
const CFontReference& Define(CFontReferenceList& list, std::string_view key, std::string_view family,
                             std::string_view size, std::string_view bold = {}, std::string_view italic = {}) {
  list.AddFontDefinitionLine(key, family, size, bold, italic);
  return Add(list, "Font Definition", key);
}

std::string Joined(const CUniqueTextList& list) {
  std::string out;
  for (const std::string& s : list) out += s + ";";
  return out;
}

// Everything a model shows, in one text, to compare two models.
std::string Dump(const CFontReferenceList& list) {
  std::string out = list.GetFontDefinitionsText() + "|" + list.GetHighestFontNumber() + "|" +
                    list.GetCurrentFileName() + "|" + list.GetCurrentComponent() + "|" +
                    std::to_string(list.GetCurrentKind()) + "|" + std::to_string(list.GetIsShiftJis()) + "|" +
                    Joined(list.DefinedFamilies()) + "|" + Joined(list.NamedFamilies()) + "|" +
                    Joined(list.FontSizes()) + "|" + Joined(list.FilesToRewrite()) + "|" +
                    std::to_string(list.GetFontDefinitionsPieces().size()) + "\n";
  for (int32_t i = 0; i < list.Count(); ++i) {
    const CFontReference& r = *list.GetAt(i);
    out += r.GetCategory() + "," + r.GetComponent() + "," + r.GetPiece().GetText() + "," + r.GetFontKey() + "," +
           r.GetFamily() + "," + r.GetSize() + "," + r.GetBold() + "," + r.GetItalic() + "\n";
  }
  return out;
}

}  // namespace

TEST(CFontReferenceList, StartsEmpty) {
  CFontReferenceList list;
  EXPECT_EQ(0, list.Count());
  EXPECT_EQ(nullptr, list.GetAt(0));
  EXPECT_EQ("0", list.GetHighestFontNumber());
  EXPECT_EQ(-1, list.GetDefinedFamilyChoice());
  EXPECT_EQ(-1, list.GetOtherSizeChoice());
  EXPECT_TRUE(list.DefinedFamilies().empty());
}

TEST(CFontReferenceList, DefinitionLineResolvesFamilySizeAndStyle) {
  CFontReferenceList list;
  const CFontReference& def = Define(list, "F3", "Times New Roman", "10", "Bold");
  EXPECT_EQ("F3 Times New Roman 10 Bold \n", list.GetFontDefinitionsText());
  EXPECT_EQ("F3", def.GetFontKey());
  EXPECT_EQ("Times New Roman", def.GetFamily());
  EXPECT_EQ("10", def.GetSize());
  EXPECT_EQ("Bold", def.GetBold());
  EXPECT_EQ("", def.GetItalic());
  EXPECT_EQ("3", list.GetHighestFontNumber());

  // The family keeps no spaces of the lexer's text around it.
  const CFontReference& spaced = Define(list, "F4", " Times ", "12", "Bold", "Italic");
  EXPECT_EQ("Times", spaced.GetFamily());
  EXPECT_EQ("12", spaced.GetSize());
  EXPECT_EQ("Italic", spaced.GetItalic());
  EXPECT_EQ("Times;Times New Roman;", Joined(list.DefinedFamilies()));
  EXPECT_EQ("12;10;", Joined(list.FontSizes()));
}

TEST(CFontReferenceList, KeysOfEachCategory) {
  CFontReferenceList list;
  Define(list, "F12", "Arial", "9");
  const CFontReference& change = Add(list, "Font Change", "<F12");
  EXPECT_EQ("F12", change.GetFontKey());
  EXPECT_EQ("Arial", change.GetFamily());
  const CFontReference& number = Add(list, "Font Number", "12", "Body");
  EXPECT_EQ("F12", number.GetFontKey());
  EXPECT_EQ("Arial", number.GetFamily());
  EXPECT_EQ("Body", number.GetComponent());
  EXPECT_EQ(KindComponent, number.GetKind());
  // Inside a component named "Font Definition" the bare number stays the key.
  const CFontReference& odd = Add(list, "Font Number", "12", "Font Definition");
  EXPECT_EQ("12", odd.GetFontKey());
}

TEST(CFontReferenceList, MostRecentDefinitionWins) {
  CFontReferenceList list;
  Define(list, "F5", "Arial", "9");
  Define(list, "F6", "Courier", "8");
  Define(list, "F5", "Mincho", "11");
  const CFontReference& r = Add(list, "Font Change", "<F5");
  EXPECT_EQ("Mincho", r.GetFamily());
  EXPECT_EQ("11", r.GetSize());
}

TEST(CFontReferenceList, KeyMatchesOnlyAtTheStartOfADefinitionLine) {
  CFontReferenceList list;
  Define(list, "F2", "Arial", "12");
  Define(list, "F12", "Univers F1 Black", "9");  // a family that contains "F1 "
  const CFontReference& r = Add(list, "Font Change", "<F1");
  EXPECT_EQ("F", r.GetFamily());  // read as a spelled-out name, not as F12
  EXPECT_EQ("1", r.GetSize());
  EXPECT_EQ("12", list.GetHighestFontNumber());
}

TEST(CFontReferenceList, EmptyKeyResolvesToNothing) {
  CFontReferenceList list;
  Define(list, "F2", "Arial", "12");
  const CFontReference& chart = Add(list, "Chart Font Empty", "");
  EXPECT_EQ("", chart.GetFontKey());
  EXPECT_EQ("", chart.GetFamily());
  EXPECT_EQ("", chart.GetSize());
  EXPECT_EQ("Arial;", Joined(list.DefinedFamilies()));
  EXPECT_TRUE(list.NamedFamilies().empty());
  EXPECT_EQ("12;", Joined(list.FontSizes()));
}

TEST(CFontReferenceList, SpelledOutNames) {
  CFontReferenceList list;
  const CFontReference& bi = Add(list, "Chart Font", "Helvetica10bi");
  EXPECT_EQ("Helvetica", bi.GetFamily());
  EXPECT_EQ("10", bi.GetSize());
  EXPECT_EQ("Bold", bi.GetBold());
  EXPECT_EQ("Italic", bi.GetItalic());
  const CFontReference& undefined = Add(list, "Font Change", "<F9");
  EXPECT_EQ("F", undefined.GetFamily());
  EXPECT_EQ("9", undefined.GetSize());
  const CFontReference& noDigits = Add(list, "Text String Font", "Courier");
  EXPECT_EQ("", noDigits.GetFamily());
  EXPECT_EQ("Cour", noDigits.GetSize());
  EXPECT_EQ("", noDigits.GetBold());
  EXPECT_EQ("Italic", noDigits.GetItalic());
  Add(list, "Chart Font", "Helvetica12b");
  EXPECT_EQ(";F;Helvetica;", Joined(list.NamedFamilies()));
  EXPECT_EQ("12;Cour;9;10;", Joined(list.FontSizes()));
  EXPECT_EQ("0", list.GetHighestFontNumber());
}

TEST(CFontReferenceList, HighestFontNumberComparesNumbers) {
  CFontReferenceList list;
  Define(list, "F9", "A", "1");
  Define(list, "F10", "B", "1");
  Define(list, "F2", "C", "1");
  EXPECT_EQ("10", list.GetHighestFontNumber());
}

TEST(CFontReferenceList, GetAtCountsFromTheOldest) {
  CFontReferenceList list;
  Add(list, "Font Change", "<F1");
  Add(list, "Font Change", "<F2");
  Add(list, "Font Change", "<F3");
  ASSERT_EQ(3, list.Count());
  EXPECT_EQ("<F1", list.GetAt(0)->GetPiece().GetText());
  EXPECT_EQ("<F3", list.GetAt(2)->GetPiece().GetText());
  EXPECT_EQ(nullptr, list.GetAt(3));
  EXPECT_EQ(nullptr, list.GetAt(-1));
  list.DeleteAll();
  EXPECT_EQ(0, list.Count());
}

TEST(CFontReferenceList, NamesAreStoredInNormalForm) {
  CFontReferenceList list;
  list.SetIsShiftJis(1);
  const CFontReference& r = Add(list, "Font Number", "1", "Head<#41>|:x", KindComponentPrefix);
  EXPECT_EQ("Head<:r65>|:x", r.GetComponent());
  EXPECT_EQ(" Prefix", r.GetKindSuffix());
  EXPECT_EQ("+", CFontReference(KindSubcomponent, "a", CTextPiece(), 0, "c").GetKindSuffix());
  EXPECT_EQ("+ Prefix", CFontReference(KindSubcomponentPrefix, "a", CTextPiece(), 0, "c").GetKindSuffix());
  EXPECT_EQ("", CFontReference(CTextPiece(), 0, "c").GetKindSuffix());
}

TEST(CFontReferenceList, AssignCopiesAllButTheSavedNumber) {
  CFontReferenceList list;
  Define(list, "F3", "Times", "10");
  Add(list, "Font Number", "3", "Body");
  list.SetCurrentFileName("/d/a.doc");
  list.SetSavedHighestFontNumber("7");
  list.GetAt(0)->SetNewFamily("Mincho");
  list.GetAt(0)->AddMergedRow(4);
  list.GetAt(0)->AddMergedRow(9);
  CFontReferenceList copy(list);
  EXPECT_EQ(Dump(list), Dump(copy));
  EXPECT_EQ("", copy.GetSavedHighestFontNumber());
  EXPECT_EQ("Mincho", copy.GetAt(0)->GetNewFamily());
  EXPECT_EQ((std::vector<int32_t>{9, 4}), copy.GetAt(0)->GetMergedRows());
  // The copy is independent, and lookups in it still work.
  list.GetAt(0)->SetNewFamily("Gothic");
  EXPECT_EQ("Mincho", copy.GetAt(0)->GetNewFamily());
  EXPECT_EQ("Times", Add(copy, "Font Change", "<F3").GetFamily());
}

TEST(CFontReference, SettersChangeOneTextAndEqualFontsAreOneCopy) {
  CFontReferenceList list;
  Define(list, "F3", "Times", "10", "Bold");
  CFontReference a = Add(list, "Font Change", "<F3");
  a.SetSize("12");
  a.SetFamily("Times New  ");
  EXPECT_EQ("F3|Times New|12|Bold|",
            a.GetFontKey() + "|" + a.GetFamily() + "|" + a.GetSize() + "|" + a.GetBold() + "|" + a.GetItalic());
  EXPECT_EQ("10", list.GetAt(0)->GetSize()) << "the font of other references stays";

  a.SetNewFamily("Mincho");
  a.SetNewSize("9");
  CFontReference b = a;
  b.SetNewFont(CFontTexts::Share({}, "Mincho", "9", {}, {}));
  EXPECT_EQ(&a.GetNewFont(), &b.GetNewFont());
  b.SetNewItalic("Italic");
  EXPECT_EQ("Mincho|9||", a.GetNewFamily() + "|" + a.GetNewSize() + "|" + a.GetNewBold() + "|" + a.GetNewItalic());
  EXPECT_EQ("Mincho|9||Italic",
            b.GetNewFamily() + "|" + b.GetNewSize() + "|" + b.GetNewBold() + "|" + b.GetNewItalic());
}

// Merged rows are kept aside from the reference: they must follow it
// through moves and copies, belong to no other reference, and leave with it.
TEST(CFontReference, MergedRowsFollowTheirReference) {
  CFontReferenceList list;
  CFontReference a = Add(list, "Font Change", "<F3", "Body", KindSubcomponent);
  a.SetMergedRows({7, 5});
  a.SetNewFont(CFontTexts::Share({}, "Mincho", "9", {}, {}), true, false);
  CFontReference b = std::move(a);
  EXPECT_EQ((std::vector<int32_t>{7, 5}), b.GetMergedRows());
  EXPECT_TRUE(b.GetChanged());
  EXPECT_FALSE(b.GetChangedToo());
  EXPECT_EQ("Mincho", b.GetNewFamily());
  EXPECT_EQ(KindSubcomponent, b.GetKind());
  EXPECT_EQ("Body", b.GetComponent());

  CFontReference c = Add(list, "Font Change", "<F4");
  c.AddMergedRow(2);
  c = b;
  EXPECT_EQ((std::vector<int32_t>{7, 5}), c.GetMergedRows());
  c.AddMergedRow(1);
  EXPECT_EQ((std::vector<int32_t>{7, 5}), b.GetMergedRows()) << "a copy's rows are its own";
  c.ClearMergedRows();
  EXPECT_TRUE(c.GetMergedRows().empty());
  EXPECT_EQ("Body", c.GetComponent());
  {
    CFontReference gone = b;
    EXPECT_EQ(b.GetMergedRows(), gone.GetMergedRows());
  }
  EXPECT_EQ((std::vector<int32_t>{7, 5}), b.GetMergedRows());

  // A copy of the model, and its deletion, leave the original's rows alone.
  list.GetAt(0)->SetMergedRows({3});
  list.GetAt(1)->SetMergedRows({4});
  CFontReferenceList copy(list);
  copy.DeleteAll();
  EXPECT_EQ((std::vector<int32_t>{3}), list.GetAt(0)->GetMergedRows());
  EXPECT_EQ((std::vector<int32_t>{4}), list.GetAt(1)->GetMergedRows());
}

// What loading a file that then fails does to a model: it must leave no
// trace, whether undone by Assign of a copy or by a checkpoint.
TEST(CFontReferenceList, FailedFileLeavesNoTrace) {
  CFontReferenceList list;
  list.SetCurrentFileName("/d/a.doc");
  list.AddFontDefinitionsPiece(PieceOf("<!Font Definitions,"));
  Define(list, "F3", "Times", "10");
  Add(list, "Font Number", "3", "Body");
  list.SetCurrentKind(KindComponent);
  const std::string before = Dump(list);

  auto loadBadFile = [](CFontReferenceList& model) {
    model.SetCurrentFileName("/d/b.doc");
    model.SetIsShiftJis(1);
    model.AddFontDefinitionsPiece(PieceOf("<!Font Definitions,"));
    Define(model, "F3", "Gothic", "14", "Bold");
    Define(model, "F40", "Arial", "8");
    model.SetCurrentComponent("Head");
    model.SetCurrentKind(KindSubcomponent);
    Add(model, "Font Number", "3", "Head");
    Add(model, "Chart Font", "Univers9b");
  };

  CFontReferenceList snapshot(list);
  loadBadFile(list);
  ASSERT_NE(before, Dump(list));
  list.Assign(snapshot);
  EXPECT_EQ(before, Dump(list));

  CFontReferenceList::Checkpoint mark = list.MakeCheckpoint();
  loadBadFile(list);
  list.RollBack(mark);
  EXPECT_EQ(before, Dump(list));
  // The definition lines of the failed file no longer resolve anything.
  EXPECT_EQ("Times", Add(list, "Font Change", "<F3").GetFamily());
  EXPECT_EQ("F", Add(list, "Font Change", "<F40").GetFamily());
}

TEST(CFontReferenceList, ListsKeepEachTextOnce) {
  CFontReferenceList list;
  Define(list, "F1", "Arial", "10");
  Define(list, "F2", "Arial", "10", "Bold");
  Define(list, "F3", "arial", "10");
  EXPECT_EQ("arial;Arial;", Joined(list.DefinedFamilies()));
  EXPECT_EQ("10;", Joined(list.FontSizes()));
  list.AddFileToRewrite("/a");
  list.AddFileToRewrite("/b");
  list.AddFileToRewrite("/a");
  EXPECT_EQ("/b;/a;", Joined(list.FilesToRewrite()));
}

// Families and sizes a font once put in the lists go in again when they
// have left the lists since, however they left; its number likewise.
TEST(CFontReferenceList, FamiliesAndSizesComeBackAfterLeaving) {
  CFontReferenceList list;
  Define(list, "F3", "Times", "10");
  Add(list, "Chart Font", "Univers9b");
  list.DefinedFamilies().Clear();
  list.FontSizes().RemoveHead();  // 9
  Add(list, "Font Change", "<F3");
  Add(list, "Chart Font", "Univers9b");
  EXPECT_EQ("Times;", Joined(list.DefinedFamilies()));
  EXPECT_EQ("9;10;", Joined(list.FontSizes()));

  CUniqueTextList taken = std::move(list.NamedFamilies());
  EXPECT_EQ("Univers;", Joined(taken));
  list.FontSizes() = CUniqueTextList();
  Add(list, "Chart Font", "Univers9b");
  EXPECT_EQ("Univers;", Joined(list.NamedFamilies()));
  EXPECT_EQ("9;", Joined(list.FontSizes()));

  // So does a font's number when the highest number was set below it.
  Add(list, "Font Change", "<F3");
  list.SetHighestFontNumber("1");
  Add(list, "Font Change", "<F3");
  EXPECT_EQ("3", list.GetHighestFontNumber());
}

TEST(CUniqueTextList, AnswersPresenceAndCanBeReordered) {
  CUniqueTextList list;
  EXPECT_TRUE(list.AddAtHead("b"));
  EXPECT_TRUE(list.AddAtHead("a"));
  EXPECT_FALSE(list.AddAtHead("b"));
  EXPECT_TRUE(list.AddAtTail("c"));
  EXPECT_EQ("a;b;c;", Joined(list));
  list.Assign({"c", "a", "c", "b"});
  EXPECT_EQ("c;a;b;", Joined(list));
  CUniqueTextList copy(list);
  list.RemoveHead();
  EXPECT_FALSE(list.Contains("c"));
  EXPECT_TRUE(copy.Contains("c"));
  EXPECT_TRUE(copy.AddAtHead("d"));
  EXPECT_EQ("d;c;a;b;", Joined(copy));
}

TEST(CFontReferenceList, TakenReferencesResolveAsIfAddedOneByOne) {
  // The file's own list resolved <F5 and 5 against a definition the list
  // they go to reads only after the first of them.
  auto fileList = [] {
    auto file = std::make_unique<CFontReferenceList>();
    file->AddFontDefinitionLine("F5", "Arial", "9", {}, {});
    Add(*file, "Font Change", "<F5");
    Add(*file, "Font Number", "5", "Body");
    Add(*file, "Chart Font", "Univers9b");
    return file;
  };
  auto defineBefore = [](CFontReferenceList& to, int32_t i) {
    if (i == 1) to.AddFontDefinitionLine("F5", "Mincho", "11", "Bold", {});
  };
  for (bool startEmpty : {true, false}) {
    CFontReferenceList expected;
    CFontReferenceList taken;
    for (CFontReferenceList* to : {&expected, &taken}) {
      if (!startEmpty) Define(*to, "F2", "Courier", "8");
    }
    std::unique_ptr<CFontReferenceList> one = fileList();
    for (int32_t i = 0; i < one->Count(); ++i) {
      defineBefore(expected, i);
      expected.AddReference(std::move(*one->GetAt(i)));
    }
    std::unique_ptr<CFontReferenceList> other = fileList();
    taken.TakeReferences(*other, [&](int32_t i) { defineBefore(taken, i); });
    EXPECT_EQ(0, other->Count());
    EXPECT_EQ(Dump(expected), Dump(taken)) << (startEmpty ? "into an empty list" : "after references");
    EXPECT_EQ("F", taken.GetAt(taken.Count() - 3)->GetFamily());
    EXPECT_EQ("Mincho", taken.GetAt(taken.Count() - 2)->GetFamily());
  }
}

// The mapping page's logic: the Available Fonts boxes, their remembered
// choices, and what the page's events apply to the selected row.
#include "mapping/CMappingPageModel.h"

#include <algorithm>

#include "mapping/CMessageSink.h"
#include "mapping/FoldCase.h"
#include "mapping/FontSizes.h"
#include "mapping/MappingRules.h"
#include "mapping/RowFileNames.h"
#include "model/CFontReferenceList.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"

namespace {

// \p index when \p entries has such an entry, else -1 (no selection).
int32_t ValidIndex(int32_t index, const std::vector<std::string>& entries) {
  return index >= 0 && index < static_cast<int32_t>(entries.size()) ? index : -1;
}

// The Name box sorts its entries as a sorted combo box does.
std::vector<std::string> SortedAsTheBox(const CUniqueTextList& families) {
  std::vector<std::string> names = families.ToVector();
  SortIgnoringCase(names);
  return names;
}

// Where a category group finds its families and keeps its remembered Name
// and Size box indices in the font files' list.
struct GroupFields {
  const CUniqueTextList& (CFontReferenceList::*families)() const;
  int32_t (CFontReferenceList::*nameChoice)() const;
  void (CFontReferenceList::*setNameChoice)(int32_t);
  int32_t (CFontReferenceList::*sizeChoice)() const;
  void (CFontReferenceList::*setSizeChoice)(int32_t);
};

constexpr GroupFields kDefinitionGroup{&CFontReferenceList::DefinedFamilies,
                                       &CFontReferenceList::GetDefinedFamilyChoice,
                                       &CFontReferenceList::SetDefinedFamilyChoice, &CFontReferenceList::GetSizeChoice,
                                       &CFontReferenceList::SetSizeChoice};
constexpr GroupFields kChartGroup{&CFontReferenceList::NamedFamilies, &CFontReferenceList::GetNamedFamilyChoice,
                                  &CFontReferenceList::SetNamedFamilyChoice, &CFontReferenceList::GetOtherSizeChoice,
                                  &CFontReferenceList::SetOtherSizeChoice};

// The fields of \p group; null for categories of neither group.
const GroupFields* FieldsOf(CategoryGroup group) {
  switch (group) {
    case CategoryGroup::FontDefinition:
      return &kDefinitionGroup;
    case CategoryGroup::Chart:
      return &kChartGroup;
    case CategoryGroup::None:
      break;
  }
  return nullptr;
}

}  // namespace

CategoryGroup GroupOfCategory(const std::string& category) {
  for (int32_t id : {IdsCategoryFontDefinition, IdsCategoryFontNumber, IdsCategoryFontChange}) {
    if (category == CategoryText(id)) return CategoryGroup::FontDefinition;
  }
  for (int32_t id : {IdsCategoryChartFont, IdsCategoryTextStringFont}) {
    if (category == CategoryText(id)) return CategoryGroup::Chart;
  }
  return CategoryGroup::None;
}

CMappingPageModel::CMappingPageModel(CFontReferenceList& translated, CFontReferenceList& fontFiles,
                                     const CWizardChoices& choices, CMessageSink& messages)
    : translated_(translated), fontFiles_(fontFiles), choices_(choices), messages_(messages), table_(translated) {
  table_.AddObserver(this);
}

CMappingPageModel::~CMappingPageModel() { table_.RemoveObserver(this); }

void CMappingPageModel::Open() {
  OrderFontSizes(fontFiles_.FontSizes());
  table_.BuildTable();  // selects row 0, which fills the boxes
  FillNameBox();
  FillSizeBox();
  controls_.nameSelection = -1;
  Changed();
}

// ---- the boxes ------------------------------------------------------------

CategoryGroup CMappingPageModel::ShownGroup() const { return GroupOfCategory(fontFiles_.GetShownCategory()); }

void CMappingPageModel::FillNameBox() {
  if (fontFiles_.GetPreviousCategory() == fontFiles_.GetShownCategory()) return;
  controls_.names.clear();
  controls_.nameSelection = -1;
  if (const GroupFields* group = FieldsOf(ShownGroup())) {
    controls_.names = SortedAsTheBox((fontFiles_.*group->families)());
    controls_.nameSelection = ValidIndex((fontFiles_.*group->nameChoice)(), controls_.names);
  }
  Changed();
}

void CMappingPageModel::FillSizeBox() {
  if (fontFiles_.GetPreviousCategory() == fontFiles_.GetShownCategory()) return;
  controls_.sizes = fontFiles_.FontSizes().ToVector();
  const GroupFields* group = FieldsOf(ShownGroup());
  controls_.sizeSelection = group ? ValidIndex((fontFiles_.*group->sizeChoice)(), controls_.sizes) : -1;
  controls_.sizeText = controls_.sizeSelection >= 0 ? controls_.sizes[controls_.sizeSelection] : std::string();
  Changed();
}

NewFontTuple CMappingPageModel::ReadAvailableFonts() const {
  NewFontTuple font;
  if (controls_.nameSelection >= 0) font.family = controls_.names[controls_.nameSelection];
  if (controls_.sizeSelection >= 0) font.size = controls_.sizes[controls_.sizeSelection];
  // The words the documents' font descriptions use, not texts to translate.
  if (controls_.bold) font.bold = "Bold";
  if (controls_.italic) font.italic = "Italic";
  return font;
}

void CMappingPageModel::ApplyAvailableFonts() { table_.ApplyToSelected(true, ReadAvailableFonts()); }

void CMappingPageModel::ApplyFieldChange(Field field) {
  if (table_.GetSelectedRow() < 0) return;
  NewFontTuple font = table_.SelectedNewFont();
  const NewFontTuple controls = ReadAvailableFonts();
  switch (field) {
    case Field::Size:
      font.size = controls.size;
      break;
    case Field::Bold:
      font.bold = controls.bold;
      break;
    case Field::Italic:
      font.italic = controls.italic;
      break;
  }
  table_.ApplyToSelected(true, font);
}

void CMappingPageModel::StoreControls() {
  boldChecked_ = controls_.bold;
  italicChecked_ = controls_.italic;
  typedSize_ = controls_.sizeText;
}

void CMappingPageModel::Changed() {
  if (listener_) listener_();
}

// ---- events -----------------------------------------------------------------

void CMappingPageModel::RowSelected(int32_t row) {
  const CFontReference* representative = table_.Representative(row);
  if (!representative) return;
  fontFiles_.SetPreviousCategory(fontFiles_.GetShownCategory());
  fontFiles_.SetShownCategory(representative->GetCategory());
  FillNameBox();
  FillSizeBox();
}

void CMappingPageModel::NameChosen(int32_t index) {
  controls_.nameSelection = ValidIndex(index, controls_.names);
  controls_.sizeSelection = -1;
  controls_.sizeText.clear();
  controls_.bold = false;
  controls_.italic = false;
  StoreControls();
  if (const GroupFields* group = FieldsOf(ShownGroup())) (fontFiles_.*group->setNameChoice)(controls_.nameSelection);
  SizeChosen(-1);
  ApplyAvailableFonts();
  Changed();
}

void CMappingPageModel::SizeChosen(int32_t index) {
  controls_.sizeSelection = ValidIndex(index, controls_.sizes);
  if (controls_.sizeSelection >= 0) controls_.sizeText = controls_.sizes[controls_.sizeSelection];
  if (const GroupFields* group = FieldsOf(ShownGroup())) (fontFiles_.*group->setSizeChoice)(controls_.sizeSelection);
  ApplyFieldChange(Field::Size);
  Changed();
}

void CMappingPageModel::BoldClicked(bool checked) {
  controls_.bold = checked;
  ApplyFieldChange(Field::Bold);
  Changed();
}

void CMappingPageModel::ItalicClicked(bool checked) {
  controls_.italic = checked;
  ApplyFieldChange(Field::Italic);
  Changed();
}

void CMappingPageModel::ConvertToEucClicked(bool checked) { controls_.convertToEuc = checked; }

void CMappingPageModel::SizeTextEdited(const std::string& text) { controls_.sizeText = text; }

void CMappingPageModel::ClearRow() { table_.ApplyToSelected(false, NewFontTuple{}); }

bool CMappingPageModel::DefaultCommand(DefaultCommandFocus focus) {
  if (focus == DefaultCommandFocus::RunButton) return true;
  ApplyAvailableFonts();
  if (focus == DefaultCommandFocus::SizeEdit) CheckTypedSize();
  return false;
}

void CMappingPageModel::CheckTypedSize() {
  const std::string typed = controls_.sizeText;
  if (!IsValidTypedSize(typed)) {
    if (!typed.empty()) messages_.ShowMessage(LoadResString(IdsTypedSizeOutOfRange), LoadResString(IdsCaptionError));
    return;
  }
  if (InsertFontSize(fontFiles_.FontSizes(), typed)) {
    fontFiles_.SetPreviousCategory(std::string());  // so that the box is filled again
    FillSizeBox();
  }
  // The entry typed, not only the first that begins with its text: typing
  // 12 where 12 is listed chooses 12 whatever was selected before.
  auto entry = std::find(controls_.sizes.begin(), controls_.sizes.end(), typed);
  SizeChosen(static_cast<int32_t>(entry - controls_.sizes.begin()));
}

void CMappingPageModel::GoBack() {
  if (table_.GetMappingsChanged()) table_.DeleteAllRows();
  fontFiles_.SetShownCategory(std::string());
}

// ---- commands ---------------------------------------------------------------

FontMapsLoad CMappingPageModel::LoadFontMaps(const std::vector<std::string>& paths) {
  // Every line selects its rows, which refills the boxes each time; the
  // window is told once, at the end.
  std::function<void()> listener = std::move(listener_);
  listener_ = nullptr;
  loadedMaps_.insert(loadedMaps_.end(), paths.begin(), paths.end());
  FontMapsLoad load = ::LoadFontMaps(paths, table_, fontFiles_, messages_);
  if (load.familyAdded) FillNameBox();
  // The controls take the values stored at the last Name choice. Convert
  // to EUC keeps what the user ticked: loading a map is no reason to write
  // other bytes than asked for.
  controls_.bold = boldChecked_;
  controls_.italic = italicChecked_;
  controls_.sizeText = typedSize_;
  listener_ = std::move(listener);
  Changed();
  return load;
}

bool CMappingPageModel::SaveFontMap(const std::string& path) { return ::SaveFontMap(path, translated_, messages_); }

std::vector<std::string> CMappingPageModel::RowFileNames(int32_t row) const { return ::RowFileNames(table_, row); }

std::vector<std::string> CMappingPageModel::RowPositions(int32_t row) const {
  std::vector<std::string> positions;
  const CFontReference* representative = table_.Representative(row);
  if (!representative) return positions;
  auto add = [&positions](const CFontReference& reference) {
    const CTextPiece& piece = reference.GetPiece();
    positions.push_back(piece.GetFileName() + ':' + std::to_string(piece.GetStartLine()) + ':' +
                        std::to_string(piece.GetStartColumn()));
  };
  add(*representative);
  for (int32_t position : table_.MergedRows(row)) {
    const CFontReference* merged = translated_.GetAt(position);
    if (!merged) break;
    add(*merged);
  }
  return positions;
}

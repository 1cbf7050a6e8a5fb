// Allocation of new font keys and names for changed references.
#include "output/FontAllocation.h"

#include <charconv>
#include <cstdint>
#include <functional>

#include "model/CFontReference.h"
#include "model/CFontReferenceList.h"
#include "model/CStringPool.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"

namespace {
// Font numbers are decimal text; anything else counts as 0.
int64_t NumberOf(const std::string& text) {
  int64_t value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() ? value : 0;
}

const std::string& Either(const std::string& chosen, const std::string& current) {
  return chosen.empty() ? current : chosen;
}

bool HasNewFont(const CFontReference& reference) {
  return !reference.GetNewFamily().empty() || !reference.GetNewSize().empty() || !reference.GetNewBold().empty() ||
         !reference.GetNewItalic().empty();
}
}  // namespace

std::string NewFontDescription(const CFontReference& reference) {
  std::string description = Either(reference.GetNewFamily(), reference.GetFamily());
  description += ' ';
  description += Either(reference.GetNewSize(), reference.GetSize());
  // The old bold and italic are not carried over: the new font says all.
  if (!reference.GetNewBold().empty()) description += ' ' + reference.GetNewBold();
  if (!reference.GetNewItalic().empty()) description += ' ' + reference.GetNewItalic();
  description += ',';
  return description;
}

bool AllocateFontKey(CFontReferenceList& list, const CFontReference& reference, CNewFontDefinitions& definitions,
                     std::string& key) {
  key.clear();
  if (!HasNewFont(reference)) return false;
  std::string description = NewFontDescription(reference);
  key = definitions.KeyOf(description);
  if (key.empty()) {
    // Numbers above every one defined, so no definition read is shadowed.
    std::string number = std::to_string(NumberOf(list.GetHighestFontNumber()) + 1);
    list.SetHighestFontNumber(number);
    key = "F" + number;
    definitions.Add(key, description);
  }
  return true;
}

std::string MakeSpelledOutName(const CFontReference& reference) {
  if (!HasNewFont(reference)) return std::string();
  std::string name = Either(reference.GetNewFamily(), reference.GetFamily());
  name += Either(reference.GetNewSize(), reference.GetSize());
  if (!reference.GetNewBold().empty()) name += 'b';
  if (!reference.GetNewItalic().empty()) name += 'i';
  return name;
}

CNewFontAllocator::CNewFontAllocator(CFontReferenceList& list, CNewFontDefinitions& definitions)
    : list_(list), definitions_(definitions) {
  auto shared = [](int32_t id) { return CStringPool::Intern(LoadResString(id)); };
  fontDefinition_ = shared(IdsCategoryFontDefinition);
  fontNumber_ = shared(IdsCategoryFontNumber);
  fontChange_ = shared(IdsCategoryFontChange);
  chartFont_ = shared(IdsCategoryChartFont);
  textStringFont_ = shared(IdsCategoryTextStringFont);
}

void CNewFontAllocator::AllocateKey(UseTexts& found, const CFontReference& reference) {
  found.hasKey = true;
  std::string key;
  AllocateFontKey(list_, reference, definitions_, key);
  if (!key.empty()) found.key = {CStringPool::Intern("<" + key), CStringPool::Intern(key.substr(1))};
}

void CNewFontAllocator::AllocateOther(CFontReference& reference) {
  const std::string* category = &reference.GetCategory();
  if (category == fontDefinition_ || category == fontNumber_) {
    UseTexts& found = TextsOf(reference);
    if (!found.hasKey) AllocateKey(found, reference);
    if (found.key.change == nullptr) return;  // no new font
    allocated_ = true;
    // A definition only contributes its line; a number becomes the bare number.
    if (category == fontNumber_) reference.SetSharedReplacementText(found.key.number);
  } else if (category == textStringFont_ || category == chartFont_) {
    UseTexts& found = TextsOf(reference);
    if (!found.hasName) {
      found.hasName = true;
      std::string name = MakeSpelledOutName(reference);
      if (!name.empty()) found.name = CStringPool::Intern(name);
    }
    if (found.name != nullptr) reference.SetSharedReplacementText(found.name);
  }
}

bool BuildNewFontDefinitions(CFontReferenceList& list, CNewFontDefinitions& definitions) {
  CNewFontAllocator allocator(list, definitions);
  for (int32_t i = 0; i < list.Count(); ++i) allocator.Allocate(*list.GetAt(i));
  return allocator.Allocated();
}

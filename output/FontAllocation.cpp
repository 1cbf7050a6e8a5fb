// Allocation of new font keys and names for changed references.
#include "output/FontAllocation.h"

#include <charconv>
#include <cstdint>

#include "model/CFontReference.h"
#include "model/CFontReferenceList.h"
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
  return !reference.GetNewFamily().empty() || !reference.GetNewSize().empty() ||
         !reference.GetNewBold().empty() || !reference.GetNewItalic().empty();
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

bool AllocateFontKey(CFontReferenceList& list, const CFontReference& reference,
                     CNewFontDefinitions& definitions, std::string& key) {
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

bool BuildNewFontDefinitions(CFontReferenceList& list, CNewFontDefinitions& definitions) {
  const std::string fontDefinition = LoadResString(IdsCategoryFontDefinition);
  const std::string fontNumber = LoadResString(IdsCategoryFontNumber);
  const std::string fontChange = LoadResString(IdsCategoryFontChange);
  const std::string chartFont = LoadResString(IdsCategoryChartFont);
  const std::string textStringFont = LoadResString(IdsCategoryTextStringFont);

  bool allocated = false;
  for (int32_t i = 0; i < list.Count(); ++i) {
    CFontReference& reference = *list.GetAt(i);
    if (!reference.GetChanged()) continue;
    const std::string& category = reference.GetCategory();
    if (category == fontDefinition || category == fontNumber || category == fontChange) {
      std::string key;
      if (AllocateFontKey(list, reference, definitions, key)) allocated = true;
      if (key.empty()) continue;
      if (category == fontChange) {
        reference.SetReplacementText("<" + key);
      } else if (category == fontNumber) {
        reference.SetReplacementText(key.substr(1));  // the bare number
      }
    } else if (category == textStringFont || category == chartFont) {
      std::string name = MakeSpelledOutName(reference);
      if (!name.empty()) reference.SetReplacementText(name);
    }
  }
  return allocated;
}

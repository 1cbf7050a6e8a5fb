// Allocation of new font keys and names for changed references.
#include "output/FontAllocation.h"

#include <charconv>
#include <cstdint>
#include <functional>
#include <unordered_map>

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

// What the new text of a changed reference depends on. Texts are shared
// copies, one for each distinct text, so their addresses stand for them.
struct FontUse {
  const CFontTexts* newFont;
  const std::string* family;
  const std::string* size;
  bool operator==(const FontUse&) const = default;
};

struct FontUseHash {
  size_t operator()(const FontUse& use) const noexcept {
    std::hash<const void*> hash;
    return (hash(use.newFont) * 1000003u ^ hash(use.family)) * 1000003u ^ hash(use.size);
  }
};

// The replacement texts of one key, a font change's and a font number's,
// as shared copies that the references take over as they are; null
// without a key.
struct KeyTexts {
  const std::string* change = nullptr;
  const std::string* number = nullptr;
};

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
  // Shared copies, as the references' categories are: a category is one of
  // these texts exactly when it is this copy.
  auto shared = [](int32_t id) { return CStringPool::Intern(LoadResString(id)); };
  const std::string* fontDefinition = shared(IdsCategoryFontDefinition);
  const std::string* fontNumber = shared(IdsCategoryFontNumber);
  const std::string* fontChange = shared(IdsCategoryFontChange);
  const std::string* chartFont = shared(IdsCategoryChartFont);
  const std::string* textStringFont = shared(IdsCategoryTextStringFont);

  // A reference's key or name follows from its new font and its current
  // family and size alone, and references repeat a handful of those: each
  // is worked out once, in the order met, which allocates the same numbers.
  std::unordered_map<FontUse, KeyTexts, FontUseHash> keys;
  std::unordered_map<FontUse, const std::string*, FontUseHash> names;  // null: no name
  bool allocated = false;
  for (int32_t i = 0; i < list.Count(); ++i) {
    CFontReference& reference = *list.GetAt(i);
    if (!reference.GetChanged()) continue;
    const FontUse use{&reference.GetNewFont(), &reference.GetFamily(), &reference.GetSize()};
    const std::string* category = &reference.GetCategory();
    if (category == fontDefinition || category == fontNumber || category == fontChange) {
      auto [found, added] = keys.try_emplace(use);
      KeyTexts& texts = found->second;
      if (added) {
        std::string key;
        AllocateFontKey(list, reference, definitions, key);
        if (!key.empty()) texts = {CStringPool::Intern("<" + key), CStringPool::Intern(key.substr(1))};
      }
      if (texts.change == nullptr) continue;  // no new font
      allocated = true;
      if (category == fontChange) {
        reference.SetSharedReplacementText(texts.change);
      } else if (category == fontNumber) {
        reference.SetSharedReplacementText(texts.number);  // the bare number
      }
    } else if (category == textStringFont || category == chartFont) {
      auto [found, added] = names.try_emplace(use, nullptr);
      if (added) {
        std::string name = MakeSpelledOutName(reference);
        if (!name.empty()) found->second = CStringPool::Intern(name);
      }
      if (found->second != nullptr) reference.SetSharedReplacementText(found->second);
    }
  }
  return allocated;
}

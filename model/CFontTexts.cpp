// The process-wide set of shared font texts.
#include "model/CFontTexts.h"

#include <functional>

#include "model/CSharedValues.h"
#include "model/CStringPool.h"

namespace {

struct FontTextsHash {
  size_t operator()(const CFontTexts& texts) const noexcept {
    std::hash<const void*> hash;
    size_t h = hash(texts.key);
    for (const std::string* part : {texts.family, texts.size, texts.bold, texts.italic}) h = h * 1000003u ^ hash(part);
    return h;
  }
};

CSharedValues<CFontTexts, FontTextsHash>& Pool() {
  static auto* pool = new CSharedValues<CFontTexts, FontTextsHash>;  // outlives every model, never destroyed
  return *pool;
}

}  // namespace

const CFontTexts* CFontTexts::Share(const CFontTexts& texts) { return Pool().Share(texts); }

const CFontTexts* CFontTexts::Share(std::string_view key, std::string_view family, std::string_view size,
                                    std::string_view bold, std::string_view italic) {
  return Share(CFontTexts{CStringPool::Intern(key), CStringPool::Intern(family), CStringPool::Intern(size),
                          CStringPool::Intern(bold), CStringPool::Intern(italic)});
}

const CFontTexts* CFontTexts::Empty() {
  static const CFontTexts* empty = Share({}, {}, {}, {}, {});
  return empty;
}

const CFontTexts* CFontTexts::With(const CFontTexts& from, const std::string* CFontTexts::*field,
                                   std::string_view text) {
  CFontTexts texts = from;
  texts.*field = CStringPool::Intern(text);
  return Share(texts);
}

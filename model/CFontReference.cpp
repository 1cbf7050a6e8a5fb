// Font references: construction in normal form, and their setters.
#include "model/CFontReference.h"

#include <functional>
#include <unordered_map>

#include "model/CStringPool.h"
#include "model/InterleafText.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"

namespace {

// Categories and component names repeat from reference to reference; their
// normal form is worked out once per text.
const std::string* NormalForm(std::string_view text, int32_t isShiftJis) {
  struct Hash {
    using is_transparent = void;
    size_t operator()(std::string_view s) const noexcept { return std::hash<std::string_view>()(s); }
  };
  using Cache = std::unordered_map<std::string, const std::string*, Hash, std::equal_to<>>;
  // A reference asks for its category and often its component, and runs of
  // references ask for the same ones: the last two answers are compared
  // before the text is hashed.
  struct Recent {
    std::string_view text;  // a key of the cache, which stays put
    const std::string* form = nullptr;
  };
  thread_local Cache caches[2];
  thread_local Recent recent[2][2];
  const int set = isShiftJis != 0 ? 1 : 0;
  Recent* last = recent[set];
  for (int i = 0; i < 2; ++i) {
    if (last[i].form != nullptr && last[i].text == text) return last[i].form;
  }
  Cache& cache = caches[set];
  auto it = cache.find(text);
  if (it == cache.end()) {
    it = cache.emplace(text, CStringPool::Intern(NormaliseInterleafText(text, isShiftJis))).first;
  }
  last[1] = last[0];
  last[0] = {it->first, it->second};
  return it->second;
}

bool IsWhiteSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

}  // namespace

std::string_view TrimRight(std::string_view text) {
  while (!text.empty() && IsWhiteSpace(text.back())) text.remove_suffix(1);
  return text;
}

std::string_view TrimLeft(std::string_view text) {
  while (!text.empty() && IsWhiteSpace(text.front())) text.remove_prefix(1);
  return text;
}

CFontReference::CFontReference(CTextPiece piece, int32_t isShiftJis, std::string_view category)
    : CFontReference(KindNone, category, std::move(piece), isShiftJis, category) {}

CFontReference::CFontReference(int32_t kind, std::string_view componentName, CTextPiece piece, int32_t isShiftJis,
                               std::string_view category)
    : piece_(std::move(piece)),
      font_(CFontTexts::Empty()),
      newFont_(CFontTexts::Empty()),
      replacementText_(CStringPool::Empty()),
      kind_(kind) {
  category_ = NormalForm(category, isShiftJis);
  component_ = componentName == category ? category_ : NormalForm(componentName, isShiftJis);
}

CFontReference::CFontReference(int32_t kind, const std::string* normalComponent, const std::string* normalCategory,
                               CTextPiece piece)
    : piece_(std::move(piece)),
      category_(normalCategory),
      component_(normalComponent),
      font_(CFontTexts::Empty()),
      newFont_(CFontTexts::Empty()),
      replacementText_(CStringPool::Empty()),
      kind_(kind) {}

const std::string* CFontReference::NormalText(std::string_view text, int32_t isShiftJis) {
  return NormalForm(text, isShiftJis);
}

// A large model holds half a million references: every eight bytes more
// is four megabytes more to fill, page in and walk.
static_assert(sizeof(void*) != 8 || sizeof(CFontReference) <= 96, "a reference has grown");

CFontReference::CFontReference(const CFontReference& other)
    : piece_(other.piece_),
      category_(other.category_),
      component_(other.component_),
      font_(other.font_),
      newFont_(other.newFont_),
      replacementText_(other.replacementText_),
      mergedRows_(other.mergedRows_ ? std::make_unique<std::vector<int32_t>>(*other.mergedRows_) : nullptr),
      changed_(other.changed_),
      changedToo_(other.changedToo_),
      kind_(other.kind_) {}

CFontReference& CFontReference::operator=(const CFontReference& other) {
  if (this != &other) *this = CFontReference(other);
  return *this;
}

const std::vector<int32_t>& CFontReference::GetMergedRows() const noexcept {
  static const std::vector<int32_t> none;
  return mergedRows_ ? *mergedRows_ : none;
}

void CFontReference::AddMergedRow(int32_t position) {
  if (!mergedRows_) mergedRows_ = std::make_unique<std::vector<int32_t>>();
  mergedRows_->insert(mergedRows_->begin(), position);
}

void CFontReference::SetMergedRows(std::vector<int32_t> positions) {
  if (positions.empty()) {
    mergedRows_.reset();
  } else {
    mergedRows_ = std::make_unique<std::vector<int32_t>>(std::move(positions));
  }
}

void CFontReference::ClearMergedRows() { mergedRows_.reset(); }

void CFontReference::SetFamily(std::string_view family) {
  font_ = CFontTexts::With(*font_, &CFontTexts::family, TrimRight(family));
}
void CFontReference::SetSize(std::string_view size) { font_ = CFontTexts::With(*font_, &CFontTexts::size, size); }
void CFontReference::SetBold(std::string_view bold) { font_ = CFontTexts::With(*font_, &CFontTexts::bold, bold); }
void CFontReference::SetItalic(std::string_view italic) {
  font_ = CFontTexts::With(*font_, &CFontTexts::italic, italic);
}
void CFontReference::SetFontKey(std::string_view key) { font_ = CFontTexts::With(*font_, &CFontTexts::key, key); }
void CFontReference::SetReplacementText(std::string_view text) { replacementText_ = CStringPool::Intern(text); }
void CFontReference::SetNewFamily(std::string_view family) {
  newFont_ = CFontTexts::With(*newFont_, &CFontTexts::family, family);
}
void CFontReference::SetNewSize(std::string_view size) {
  newFont_ = CFontTexts::With(*newFont_, &CFontTexts::size, size);
}
void CFontReference::SetNewBold(std::string_view bold) {
  newFont_ = CFontTexts::With(*newFont_, &CFontTexts::bold, bold);
}
void CFontReference::SetNewItalic(std::string_view italic) {
  newFont_ = CFontTexts::With(*newFont_, &CFontTexts::italic, italic);
}

std::string CFontReference::GetKindSuffix() const {
  switch (kind_) {
    case KindSubcomponent:
      return LoadResString(IdsKindSubcomponent);
    case KindComponentPrefix:
      return LoadResString(IdsKindComponentPrefix);
    case KindSubcomponentPrefix:
      return LoadResString(IdsKindSubcomponentPrefix);
    default:
      return {};
  }
}

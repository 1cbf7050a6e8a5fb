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
    size_t operator()(std::string_view s) const noexcept {
      return std::hash<std::string_view>()(s);
    }
  };
  using Cache = std::unordered_map<std::string, const std::string*, Hash, std::equal_to<>>;
  thread_local Cache caches[2];
  Cache& cache = caches[isShiftJis != 0 ? 1 : 0];
  auto it = cache.find(text);
  if (it == cache.end()) {
    it = cache.emplace(text, CStringPool::Intern(NormaliseInterleafText(text, isShiftJis))).first;
  }
  return it->second;
}

bool IsWhiteSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

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

CFontReference::CFontReference(int32_t kind, std::string_view componentName, CTextPiece piece,
                               int32_t isShiftJis, std::string_view category)
    : piece_(std::move(piece)), kind_(kind) {
  category_ = NormalForm(category, isShiftJis);
  component_ = componentName == category ? category_ : NormalForm(componentName, isShiftJis);
  fontKey_ = family_ = size_ = bold_ = italic_ = CStringPool::Empty();
}

CFontReference::CFontReference(const CFontReference& other)
    : piece_(other.piece_),
      category_(other.category_),
      component_(other.component_),
      fontKey_(other.fontKey_),
      family_(other.family_),
      size_(other.size_),
      bold_(other.bold_),
      italic_(other.italic_),
      mapping_(other.mapping_ ? std::make_unique<MappingState>(*other.mapping_) : nullptr),
      changed_(other.changed_),
      changedToo_(other.changedToo_),
      kind_(other.kind_) {}

CFontReference& CFontReference::operator=(const CFontReference& other) {
  if (this != &other) *this = CFontReference(other);
  return *this;
}

CFontReference::MappingState& CFontReference::Mapping() {
  if (!mapping_) {
    const std::string* empty = CStringPool::Empty();
    mapping_.reset(new MappingState{{}, empty, empty, empty, empty, empty});
  }
  return *mapping_;
}

const std::vector<int32_t>& CFontReference::GetMergedRows() const noexcept {
  static const std::vector<int32_t> none;
  return mapping_ ? mapping_->mergedRows : none;
}

void CFontReference::AddMergedRow(int32_t position) {
  std::vector<int32_t>& rows = Mapping().mergedRows;
  rows.insert(rows.begin(), position);
}

void CFontReference::SetMergedRows(std::vector<int32_t> positions) {
  if (positions.empty() && !mapping_) return;
  Mapping().mergedRows = std::move(positions);
}

void CFontReference::ClearMergedRows() {
  if (mapping_) mapping_->mergedRows.clear();
}

const std::string& CFontReference::GetReplacementText() const noexcept {
  return mapping_ ? *mapping_->replacementText : *CStringPool::Empty();
}
const std::string& CFontReference::GetNewFamily() const noexcept {
  return mapping_ ? *mapping_->newFamily : *CStringPool::Empty();
}
const std::string& CFontReference::GetNewSize() const noexcept {
  return mapping_ ? *mapping_->newSize : *CStringPool::Empty();
}
const std::string& CFontReference::GetNewBold() const noexcept {
  return mapping_ ? *mapping_->newBold : *CStringPool::Empty();
}
const std::string& CFontReference::GetNewItalic() const noexcept {
  return mapping_ ? *mapping_->newItalic : *CStringPool::Empty();
}

void CFontReference::SetFamily(std::string_view family) {
  family_ = CStringPool::Intern(TrimRight(family));
}
void CFontReference::SetSize(std::string_view size) { size_ = CStringPool::Intern(size); }
void CFontReference::SetBold(std::string_view bold) { bold_ = CStringPool::Intern(bold); }
void CFontReference::SetItalic(std::string_view italic) { italic_ = CStringPool::Intern(italic); }
void CFontReference::SetFontKey(std::string_view key) { fontKey_ = CStringPool::Intern(key); }
void CFontReference::SetReplacementText(std::string_view text) {
  Mapping().replacementText = CStringPool::Intern(text);
}
void CFontReference::SetNewFamily(std::string_view family) {
  Mapping().newFamily = CStringPool::Intern(family);
}
void CFontReference::SetNewSize(std::string_view size) {
  Mapping().newSize = CStringPool::Intern(size);
}
void CFontReference::SetNewBold(std::string_view bold) {
  Mapping().newBold = CStringPool::Intern(bold);
}
void CFontReference::SetNewItalic(std::string_view italic) {
  Mapping().newItalic = CStringPool::Intern(italic);
}

std::string CFontReference::GetKindSuffix() const {
  switch (kind_) {
    case KindSubcomponent: return LoadResString(IdsKindSubcomponent);
    case KindComponentPrefix: return LoadResString(IdsKindComponentPrefix);
    case KindSubcomponentPrefix: return LoadResString(IdsKindSubcomponentPrefix);
    default: return {};
  }
}

// Font references: construction in normal form, and their setters.
#include "model/CFontReference.h"

#include "model/CStringPool.h"
#include "model/InterleafText.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"

namespace {

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

CFontReference::CFontReference(const CTextPiece& piece, int32_t isShiftJis,
                               std::string_view category)
    : CFontReference(KindNone, category, piece, isShiftJis, category) {}

CFontReference::CFontReference(int32_t kind, std::string_view componentName,
                               const CTextPiece& piece, int32_t isShiftJis,
                               std::string_view category)
    : piece_(piece), kind_(kind) {
  category_ = CStringPool::Intern(NormaliseInterleafText(category, isShiftJis));
  component_ = componentName == category
                   ? category_
                   : CStringPool::Intern(NormaliseInterleafText(componentName, isShiftJis));
  const std::string* empty = CStringPool::Empty();
  fontKey_ = family_ = size_ = bold_ = italic_ = replacementText_ = empty;
  newFamily_ = newSize_ = newBold_ = newItalic_ = empty;
}

void CFontReference::SetFamily(std::string_view family) {
  family_ = CStringPool::Intern(TrimRight(family));
}
void CFontReference::SetSize(std::string_view size) { size_ = CStringPool::Intern(size); }
void CFontReference::SetBold(std::string_view bold) { bold_ = CStringPool::Intern(bold); }
void CFontReference::SetItalic(std::string_view italic) { italic_ = CStringPool::Intern(italic); }
void CFontReference::SetFontKey(std::string_view key) { fontKey_ = CStringPool::Intern(key); }
void CFontReference::SetReplacementText(std::string_view text) {
  replacementText_ = CStringPool::Intern(text);
}
void CFontReference::SetNewFamily(std::string_view family) {
  newFamily_ = CStringPool::Intern(family);
}
void CFontReference::SetNewSize(std::string_view size) { newSize_ = CStringPool::Intern(size); }
void CFontReference::SetNewBold(std::string_view bold) { newBold_ = CStringPool::Intern(bold); }
void CFontReference::SetNewItalic(std::string_view italic) {
  newItalic_ = CStringPool::Intern(italic);
}

std::string CFontReference::GetKindSuffix() const {
  switch (kind_) {
    case KindSubcomponent: return LoadResString(IdsKindSubcomponent);
    case KindComponentPrefix: return LoadResString(IdsKindComponentPrefix);
    case KindSubcomponentPrefix: return LoadResString(IdsKindSubcomponentPrefix);
    default: return {};
  }
}

// Text pieces: end positions from token text, and comparisons of pieces.
#include "model/CTextPiece.h"

#include <functional>

#include "model/CFileTable.h"
#include "model/CSharedValues.h"
#include "model/CStringPool.h"

CTextPiece::CTextPiece(std::string_view tokenText, int32_t line, int32_t column, int32_t charset)
    : text_(nullptr), startLine_(line), startColumn_(column), endLine_(line), charset_(charset) {
  const CStringPool::Interned text = CStringPool::InternNotingBreaks(tokenText);
  text_ = TextBits(text.copy);
  // Walk the line breaks inside the text: CR LF counts once, and a lone CR
  // or LF once each. The walk goes by whole characters, as the lexer reads
  // them, so a break is never taken for the second byte of a character.
  const std::string_view bytes = tokenText;
  // Most pieces (font keys, names) hold no break at all: then no byte can
  // be one, whatever the characters. The pool remembers which texts do.
  if (!text.hasLineBreak) {
    endColumn_ = column + static_cast<int32_t>(bytes.size());
    return;
  }
  const LeadByteTable& leads = LeadBytesOfCharset(charset);
  size_t restStart = 0;
  bool sawBreak = false;
  for (size_t i = 0; i < bytes.size();) {
    unsigned char c = static_cast<unsigned char>(bytes[i]);
    if (c == '\r' || c == '\n') {
      sawBreak = true;
      ++endLine_;
      i += (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ? 2 : 1;
      restStart = i;
    } else {
      i += (leads[c] && i + 1 < bytes.size()) ? 2 : 1;
    }
  }
  endColumn_ =
      sawBreak ? static_cast<int32_t>(bytes.size() - restStart) + 1 : column + static_cast<int32_t>(bytes.size());
}

void CTextPiece::SetText(const CCharsetString& text) {
  text_.SetTexts(CStringPool::Intern(text.GetText()), &text_.AuxText());
  charset_ = text.GetCharset();
  text_.Set(TextBits::kCountChars, text.GetCountChars());
}

void CTextPiece::SetPosition(int32_t startLine, int32_t startColumn, int32_t endLine, int32_t endColumn) {
  startLine_ = startLine;
  startColumn_ = startColumn;
  endLine_ = endLine;
  endColumn_ = endColumn;
}

const std::string* CTextPiece::EmptyText() { return CStringPool::Empty(); }

void CTextPiece::SetAuxText(std::string_view text) { text_.SetTexts(&text_.Text(), CStringPool::Intern(text)); }

void CTextPiece::TextBits::SetTexts(const std::string* text, const std::string* aux) {
  const uintptr_t flags = bits_ & (kCountChars | kAuxFlag);
  if (aux == EmptyText()) {
    bits_ = reinterpret_cast<uintptr_t>(text) | flags;
  } else {
    bits_ = reinterpret_cast<uintptr_t>(Share(text, aux)) | kHasAux | flags;
  }
}

const CTextPiece::TextBits::TextPair* CTextPiece::TextBits::Share(const std::string* text, const std::string* aux) {
  // Pairs are as rare as aux texts: one lock per pair made is cheap.
  struct Hash {
    size_t operator()(const TextPair& pair) const noexcept {
      std::hash<const void*> hash;
      return hash(pair.text) * 1000003u ^ hash(pair.aux);
    }
  };
  static auto* pairs = new CSharedValues<TextPair, Hash>;  // outlives every piece, never destroyed
  return pairs->Share({text, aux});
}

std::string CTextPiece::GetFileName() const { return CFileTable::Process().FileNameOf(fileNumber_); }

namespace {

// Positions compare as unsigned numbers, so a negative value sorts last.
uint32_t U(int32_t v) { return static_cast<uint32_t>(v); }

// The overlap test for a piece `a` that starts on an earlier line than `b`,
// or on the same line at a smaller column.
bool StartsFirstAndReaches(const CTextPiece& a, const CTextPiece& b) {
  if (U(a.GetStartLine()) < U(b.GetStartLine())) {
    if (U(a.GetEndLine()) > U(b.GetStartLine())) return true;
    if (U(a.GetEndLine()) < U(b.GetStartLine())) return false;
    return U(a.GetEndColumn()) > U(b.GetStartColumn());
  }
  // Same start line, a at the smaller column.
  if (U(a.GetEndLine()) > U(a.GetStartLine())) return true;
  return U(a.GetEndColumn()) > U(b.GetStartColumn());
}

}  // namespace

bool CTextPiece::Overlaps(const CTextPiece& other) const {
  if (fileNumber_ != other.fileNumber_) return false;
  if (IsEmpty() != other.IsEmpty()) return false;
  if (U(startLine_) < U(other.startLine_)) return StartsFirstAndReaches(*this, other);
  if (U(other.startLine_) < U(startLine_)) return StartsFirstAndReaches(other, *this);
  if (startColumn_ == other.startColumn_) return true;
  if (U(startColumn_) < U(other.startColumn_)) return StartsFirstAndReaches(*this, other);
  return StartsFirstAndReaches(other, *this);
}

bool CTextPiece::IsBefore(const CTextPiece& other) const {
  if (IsEmpty() && other.IsEmpty() && startLine_ == other.startLine_ && startColumn_ == other.startColumn_) {
    return true;
  }
  if (Overlaps(other)) return false;
  if (U(startLine_) != U(other.startLine_)) return U(startLine_) < U(other.startLine_);
  if (U(startColumn_) < U(other.startColumn_)) return true;
  return startColumn_ == other.startColumn_ && IsEmpty();
}

bool CTextPiece::IsAfter(const CTextPiece& other) const {
  if (Overlaps(other)) return false;
  return !IsBefore(other);
}

bool CTextPiece::HasValidPosition() const {
  if (fileNumber_ == 0 || startLine_ == 0 || endLine_ == 0 || startColumn_ == 0 || endColumn_ == 0) {
    return false;
  }
  if (U(endLine_) < U(startLine_)) return false;
  return endLine_ != startLine_ || U(endColumn_) >= U(startColumn_);
}

// Replacements of output.
#include "output/CReplacePiece.h"

#include "model/CStringPool.h"

CReplacePiece::CReplacePiece(const CTextPiece& replaced, std::string_view replacementText)
    : CReplacePiece(replaced, CStringPool::Intern(replacementText)) {}

CReplacePiece::CReplacePiece(const CTextPiece& replaced, const std::string* sharedReplacementText)
    : CTextPiece(replaced), replacement_(sharedReplacementText) {}

CTextPiece CReplacePiece::GetReplacement() const {
  CTextPiece replacement;
  replacement.SetText(CCharsetString(*replacement_));
  return replacement;
}

bool SamePosition(const CTextPiece& a, const CTextPiece& b) {
  return a.GetFileNumber() == b.GetFileNumber() && a.GetStartLine() == b.GetStartLine() &&
         a.GetStartColumn() == b.GetStartColumn() && a.GetEndLine() == b.GetEndLine() &&
         a.GetEndColumn() == b.GetEndColumn();
}

bool CReplacePiece::SamePosition(const CTextPiece& other) const { return ::SamePosition(*this, other); }

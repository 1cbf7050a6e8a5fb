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

bool CReplacePiece::SamePosition(const CTextPiece& other) const {
  return GetFileNumber() == other.GetFileNumber() && GetStartLine() == other.GetStartLine() &&
         GetStartColumn() == other.GetStartColumn() && GetEndLine() == other.GetEndLine() &&
         GetEndColumn() == other.GetEndColumn();
}

// Replacements of output.
#include "output/CReplacePiece.h"

CReplacePiece::CReplacePiece(const CTextPiece& replaced, const std::string& replacementText)
    : CTextPiece(replaced) {
  replacement_.SetText(CCharsetString(replacementText));
}

bool CReplacePiece::SamePosition(const CTextPiece& other) const {
  return GetFileNumber() == other.GetFileNumber() && GetStartLine() == other.GetStartLine() &&
         GetStartColumn() == other.GetStartColumn() && GetEndLine() == other.GetEndLine() &&
         GetEndColumn() == other.GetEndColumn();
}

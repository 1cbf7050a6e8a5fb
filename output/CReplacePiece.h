// One replacement of output: a piece of an input file and the text that is
// written in its place.
#pragma once

#include <string>
#include <string_view>

#include "model/CTextPiece.h"

/// Whether \p a and \p b cover exactly the same place of the same file.
bool SamePosition(const CTextPiece& a, const CTextPiece& b);

/// A replaced piece (the CTextPiece part: text, position and file as read)
/// with its replacement. The replacement has no position or file. Final:
/// lists hold pieces by value, and nothing derives from them.
class CReplacePiece final : public CTextPiece {
 public:
  CReplacePiece(const CTextPiece& replaced, std::string_view replacementText);
  /// As above, with the replacement a CStringPool copy, taken as it is.
  CReplacePiece(const CTextPiece& replaced, const std::string* sharedReplacementText);

  /// A copy of the text written instead of the piece.
  virtual std::string GetReplacementText() const { return *replacement_; }
  /// The text written instead of the piece.
  const std::string& ReplacementText() const { return *replacement_; }
  /// The replacement as a piece, for reports that name it.
  CTextPiece GetReplacement() const;

  /// Whether both pieces cover exactly the same place of the same file.
  bool SamePosition(const CTextPiece& other) const;

 private:
  // A run holds one piece per changed reference, hundreds of thousands of
  // them, with a handful of different texts: each piece points at the one
  // shared copy of its text.
  const std::string* replacement_;
};

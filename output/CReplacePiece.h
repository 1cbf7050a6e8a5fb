// One replacement of output: a piece of an input file and the text that is
// written in its place.
#pragma once

#include <string>

#include "model/CTextPiece.h"

/// A replaced piece (the CTextPiece part: text, position and file as read)
/// with its replacement. The replacement has no position or file.
class CReplacePiece : public CTextPiece {
 public:
  CReplacePiece(const CTextPiece& replaced, const std::string& replacementText);

  /// A copy of the text written instead of the piece.
  virtual std::string GetReplacementText() const { return replacement_.GetText(); }
  /// The replacement as a piece, for reports that name it.
  const CTextPiece& GetReplacement() const { return replacement_; }

  /// Whether both pieces cover exactly the same place of the same file.
  bool SamePosition(const CTextPiece& other) const;

 private:
  CTextPiece replacement_;
};

// A place in a document named inside an error report of output.
#pragma once

#include <cstdint>
#include <string>

#include "model/CTextPiece.h"

/// A copy of a piece that a report refers to, with what kind of piece it is.
class CErrorRef : public CTextPiece {
 public:
  /// Kinds of reference.
  enum Kind : int32_t {
    kReplaced = 0,     ///< a piece of the input that is replaced
    kReplacement = 1,  ///< the new text written instead
    kNone = 5,         ///< passed to a report: no reference given
  };

  CErrorRef(const CTextPiece& piece, int32_t kind) : CTextPiece(piece), kind_(kind) {}

  int32_t GetKind() const noexcept { return kind_; }

  /// One line's worth of description: the file name and position of a piece
  /// read from a file, or just the text of one that has no position (a
  /// replacement).
  std::string Description() const;

 private:
  int32_t kind_;
};

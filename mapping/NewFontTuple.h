// The new font chosen for a mapping row: family, size, bold and italic.
#pragma once

#include <string>

/// Four texts in the order family, size, bold, italic; an empty text means
/// the field has no value. Bold is "Bold" or empty, italic "Italic" or empty.
struct NewFontTuple {
  std::string family;
  std::string size;
  std::string bold;
  std::string italic;

  /// True when no field has a value (the tuple that clears a mapping).
  bool IsEmpty() const { return family.empty() && size.empty() && bold.empty() && italic.empty(); }
  friend bool operator==(const NewFontTuple&, const NewFontTuple&) = default;
};

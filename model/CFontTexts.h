// The texts that name one font (key, family, size, bold, italic), held once
// for the whole process, so that every reference to a font holds one pointer.
#pragma once

#include <string>
#include <string_view>

/// Five shared copies (CStringPool). Equal texts are one copy, so two
/// values are equal exactly when their texts are.
struct CFontTexts {
  const std::string* key;
  const std::string* family;
  const std::string* size;
  const std::string* bold;
  const std::string* italic;

  bool operator==(const CFontTexts&) const = default;

  /// The process's one copy of \p texts: the same pointer for equal
  /// values, valid until the process ends.
  static const CFontTexts* Share(const CFontTexts& texts);
  /// The shared copy of the five given texts.
  static const CFontTexts* Share(std::string_view key, std::string_view family, std::string_view size,
                                 std::string_view bold, std::string_view italic);
  /// The shared copy whose five texts are empty.
  static const CFontTexts* Empty();
  /// The shared copy of \p from with the text \p field replaced by \p text.
  static const CFontTexts* With(const CFontTexts& from, const std::string* CFontTexts::*field, std::string_view text);
};

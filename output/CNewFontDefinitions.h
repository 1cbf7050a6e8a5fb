// The font definition lines that an output run adds to every rewritten
// document, and the key each new font received.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

/// The text inserted in place of each "<!Font Definitions," tag: the tag
/// itself followed by one line per new font, "\n\t<key> = <description>".
/// A description names one font ("Mincho 10 Bold,") and receives one key.
class CNewFontDefinitions {
 public:
  CNewFontDefinitions();

  /// The tag and every line added so far.
  const std::string& Text() const { return text_; }

  /// The key of the line whose whole description is \p description, or an
  /// empty text. "Times 10," does not find the line of "New Times 10,".
  std::string KeyOf(std::string_view description) const;

  /// Adds the line for \p key and \p description.
  void Add(const std::string& key, const std::string& description);

  /// Whether any line was added.
  bool HasLines() const { return !keys_.empty(); }

 private:
  std::string text_;
  std::unordered_map<std::string, std::string> keys_;  // description -> key
};

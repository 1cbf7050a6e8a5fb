// The reader's parser as the loading driver runs it: it also notes where
// syntax errors were recovered and which font numbers the file defines and
// uses, so that the driver can judge what the recovery left.
#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "reader/CInterleafParser.h"

/// CInterleafParser with the driver's observations; parsing is unchanged.
class CLoadingParser : public CInterleafParser {
 public:
  /// A token's place and text.
  struct Place {
    int32_t line = 0;
    int32_t column = 0;
    std::string text;
  };

  /// As CInterleafParser.
  CLoadingParser(CFontReferenceList& model, CParseHost& host);

  int32_t TokenHook(const SSTokenView& token) override;
  bool Error() override;

  /// Where the first recovery that started inside the font definitions tag
  /// started: that tag's definitions are then lost.
  const std::optional<Place>& BrokenDefinitions() const noexcept { return brokenDefinitions_; }
  /// Where every other recovery started, in file order.
  const std::vector<Place>& Recoveries() const noexcept { return recoveries_; }
  /// The font changes and component fonts whose number no definition of
  /// the file defines, in file order; the text is the number.
  std::vector<Place> UndefinedFonts() const;

 private:
  bool insideDefinitions_ = false;
  std::optional<std::pair<int32_t, int32_t>> definitionsEnd_;  // line and column of the closing '>'
  bool afterFont_ = false;
  // The font numbers the file defines. Every font change looks its number
  // up, so plain decimal numbers (no leading zero) are kept as flags by
  // value; any other spelling goes to the set.
  static constexpr size_t kFlaggedNumbers = 10000;
  std::vector<bool> definedNumbers_ = std::vector<bool>(kFlaggedNumbers);
  std::set<std::string, std::less<>> definedOthers_;
  void Define(std::string_view number);
  /// What TokenHook notes of a token that may matter.
  void Observe(const SSTokenView& token);
  bool IsDefined(std::string_view number) const;
  // Uses of numbers not defined when met: definitions only grow, so a use
  // of a number already defined needs no place kept (a document uses its
  // fonts hundreds of thousands of times).
  std::vector<Place> used_;
  std::optional<Place> brokenDefinitions_;
  std::vector<Place> recoveries_;
};

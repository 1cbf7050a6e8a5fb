// What the loading driver notes while the reader parses.
#include "app/CLoadingParser.h"

#include <algorithm>
#include <array>
#include <optional>

#include "reader/InterleafTokens.h"
#include "reader/SSTokenView.h"

namespace {
bool IsDefinitionElement(int32_t id) {
  using namespace InterleafToken;
  switch (id) {
    case FONT_DEFINITION_ELEMENT_START:
    case FONT_DEFINITION_ELEMENT_EQUAL:
    case FONT_DEFINITION_ELEMENT_BOLD:
    case FONT_DEFINITION_ELEMENT_ITALIC:
    case FONT_DEFINITION_ELEMENT_UNDERLINE:
    case FONT_DEFINITION_ELEMENT_COMMA:
    case FONT_DEFINITION_ELEMENT_WORD:
    case FONT_DEFINITION_ELEMENT_SIZE:
      return true;
    default:
      return false;
  }
}

// The value of \p text when it is a decimal number below \p limit spelled
// without a leading zero, else -1: one spelling per value, so that a flag
// per value stands for the text.
int64_t PlainNumber(std::string_view text, size_t limit) {
  if (text.empty() || (text[0] == '0' && text.size() > 1)) return -1;
  size_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return -1;
    value = value * 10 + static_cast<size_t>(c - '0');
    if (value >= limit) return -1;
  }
  return static_cast<int64_t>(value);
}

// The tokens that start an observation, by id: TokenHook sees only these,
// and every token while an observation goes on.
constexpr int32_t kStartIds[] = {InterleafToken::FONT_DEFINITIONS_START, InterleafToken::FONT_CHANGE_START,
                                 InterleafToken::FONT};
constexpr size_t kStartIdLimit = [] {
  int32_t highest = 0;
  for (int32_t id : kStartIds) highest = std::max(highest, id);
  return static_cast<size_t>(highest) + 1;
}();
constexpr std::array<bool, kStartIdLimit> kStartTokens = [] {
  std::array<bool, kStartIdLimit> starts{};
  for (int32_t id : kStartIds) starts[static_cast<size_t>(id)] = true;
  return starts;
}();
}  // namespace

CLoadingParser::CLoadingParser(CFontReferenceList& model, CParseHost& host) : CInterleafParser(model, host) {
  SetTokenHookFilter(kStartTokens);
}

void CLoadingParser::Define(std::string_view number) {
  const int64_t value = PlainNumber(number, kFlaggedNumbers);
  if (value >= 0) {
    definedNumbers_[static_cast<size_t>(value)] = true;
  } else {
    definedOthers_.emplace(number);
  }
}

bool CLoadingParser::IsDefined(std::string_view number) const {
  const int64_t value = PlainNumber(number, kFlaggedNumbers);
  return value >= 0 ? definedNumbers_[static_cast<size_t>(value)] : definedOthers_.count(number) != 0;
}

int32_t CLoadingParser::TokenHook(const SSTokenView& token) {
  // The engine brings only the tokens that start an observation, and every
  // token while one goes on (see the constructor and Observe); any other
  // token would leave Observe's state as it is.
  Observe(token);
  return CInterleafParser::TokenHook(token);
}

void CLoadingParser::Observe(const SSTokenView& token) {
  using namespace InterleafToken;
  const int32_t id = token.Id();
  const std::string_view text = token.View();
  if (id == FONT_DEFINITIONS_START) {
    insideDefinitions_ = true;
  } else if (insideDefinitions_ && !IsDefinitionElement(id)) {
    insideDefinitions_ = false;
    if (id == TAG_END) {
      const SSTextPlace at = token.Place();
      definitionsEnd_ = {at.line, at.column};
    }
  } else if (insideDefinitions_ && id == FONT_DEFINITION_ELEMENT_START && text.size() > 1) {
    Define(text.substr(1));  // "F12"
  }
  std::optional<std::string_view> number;
  if (id == FONT_CHANGE_START && text.size() > 2) {
    number = text.substr(2);  // "<F12"
  } else if (afterFont_ && id == NUMBER) {
    number = text;
  }
  if (number && !IsDefined(*number)) {
    const SSTextPlace at = token.Place();
    used_.push_back({at.line, at.column, std::string(*number)});
  }
  afterFont_ = id == FONT;
  HookEveryToken(insideDefinitions_ || afterFont_);
}

bool CLoadingParser::Error() {
  if (const SSTokenView* at = Lookahead()) {
    const SSTextPlace where = at->Place();
    Place place{where.line, where.column, std::string(at->View())};
    // The '>' that closed the tag was read before the error showed.
    const bool inDefinitions =
        insideDefinitions_ || (definitionsEnd_ && *definitionsEnd_ == std::pair(where.line, where.column));
    if (!inDefinitions) {
      recoveries_.push_back(std::move(place));
    } else if (!brokenDefinitions_) {
      brokenDefinitions_ = std::move(place);
    }
  }
  return CInterleafParser::Error();
}

std::vector<CLoadingParser::Place> CLoadingParser::UndefinedFonts() const {
  std::vector<Place> undefined;
  for (const Place& place : used_) {
    // F0 is the document's default font, defined by no tag.
    if (place.text != "0" && !IsDefined(place.text)) undefined.push_back(place);
  }
  return undefined;
}

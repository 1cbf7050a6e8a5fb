// What the loading driver notes while the reader parses.
#include "app/CLoadingParser.h"

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
}  // namespace

int32_t CLoadingParser::TokenHook(const SSTokenView& token) {
  using namespace InterleafToken;
  const int32_t id = token.Id();
  const std::string_view text = token.View();
  if (id == FONT_DEFINITIONS_START) {
    insideDefinitions_ = true;
  } else if (insideDefinitions_ && !IsDefinitionElement(id)) {
    insideDefinitions_ = false;
    if (id == TAG_END) definitionsEnd_ = {token.Line(), token.Column()};
  } else if (insideDefinitions_ && id == FONT_DEFINITION_ELEMENT_START && text.size() > 1) {
    defined_.emplace(text.substr(1));  // "F12"
  }
  std::optional<std::string_view> number;
  if (id == FONT_CHANGE_START && text.size() > 2) {
    number = text.substr(2);  // "<F12"
  } else if (afterFont_ && id == NUMBER) {
    number = text;
  }
  if (number && defined_.find(*number) == defined_.end()) {
    used_.push_back({token.Line(), token.Column(), std::string(*number)});
  }
  afterFont_ = id == FONT;
  return CInterleafParser::TokenHook(token);
}

bool CLoadingParser::Error() {
  if (const SSTokenView* at = Lookahead()) {
    Place place{at->Line(), at->Column(), std::string(at->View())};
    // The '>' that closed the tag was read before the error showed.
    const bool inDefinitions = insideDefinitions_ ||
                               (definitionsEnd_ && *definitionsEnd_ == std::pair(at->Line(), at->Column()));
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
    if (place.text != "0" && defined_.count(place.text) == 0) undefined.push_back(place);
  }
  return undefined;
}

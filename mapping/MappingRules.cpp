// Kind markers, base names and the joining rules of mapping rows.
#include "mapping/MappingRules.h"

#include <array>
#include <map>

#include "platform/StringIds.h"
#include "platform/StringTable.h"

const std::string& KindMarker(int32_t kind) {
  static const std::string none;
  static const std::array<std::string, 4> markers = {"", LoadResString(IdsKindSubcomponent),
                                                     LoadResString(IdsKindComponentPrefix),
                                                     LoadResString(IdsKindSubcomponentPrefix)};
  if (kind < 0 || kind >= static_cast<int32_t>(markers.size())) return none;
  return markers[static_cast<size_t>(kind)];
}

std::string_view BaseName(std::string_view text, int32_t kind) {
  const std::string& marker = KindMarker(kind);
  if (marker.empty()) return text;
  size_t at = text.find(marker);
  if (at == std::string_view::npos || at == 0) return text;
  return text.substr(0, at);
}

bool SameCurrentFont(const CFontReference& a, const CFontReference& b) {
  return a.GetFamily() == b.GetFamily() && a.GetSize() == b.GetSize() && a.GetBold() == b.GetBold() &&
         a.GetItalic() == b.GetItalic();
}

bool KindAccepts(int32_t rowKind, int32_t other) {
  // Rows by kind, and the kinds of references each takes, both in the
  // order None, Component, Subcomponent, Component prefix, Subcomponent prefix.
  static constexpr bool kAccepts[5][5] = {
      {true, false, false, false, false},  // None
      {false, true, true, false, false},   // Component: itself and subcomponents
      {false, false, true, false, false},  // Subcomponent
      {false, false, false, true, true},   // Component prefix: and subcomponent prefixes
      {false, false, false, false, true},  // Subcomponent prefix
  };
  auto index = [](int32_t kind) { return static_cast<size_t>(kind - KindNone); };
  if (rowKind < KindNone || rowKind > KindSubcomponentPrefix || other < KindNone || other > KindSubcomponentPrefix) {
    return false;
  }
  return kAccepts[index(rowKind)][index(other)];
}

const std::string& CategoryText(int32_t id) {
  static std::map<int32_t, std::string> texts;  // one thread; a handful of ids
  auto it = texts.find(id);
  if (it == texts.end()) it = texts.emplace(id, LoadResString(id)).first;
  return it->second;
}

bool HasCategory(const CFontReference& reference, int32_t id) { return reference.GetCategory() == CategoryText(id); }

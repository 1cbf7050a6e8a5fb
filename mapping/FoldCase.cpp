// Case folding that respects double-byte characters.
#include "mapping/FoldCase.h"

#include <algorithm>

#include "platform/CodePage.h"

void AppendFolded(std::string& to, std::string_view text) {
  const size_t start = to.size();
  to.append(text);
  for (size_t i = start; i < to.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(to[i]);
    if (IsLeadByte(c)) {
      ++i;  // its follower may look like a letter but is not one
    } else if (c >= 'A' && c <= 'Z') {
      to[i] = static_cast<char>(c - 'A' + 'a');
    }
  }
}

std::string FoldCase(std::string_view text) {
  std::string folded;
  AppendFolded(folded, text);
  return folded;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && FoldCase(a) == FoldCase(b);
}

void SortIgnoringCase(std::vector<std::string>& texts) {
  std::vector<std::pair<std::string, std::string>> keyed;  // folded text, text
  keyed.reserve(texts.size());
  for (std::string& text : texts) keyed.emplace_back(FoldCase(text), std::move(text));
  std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  for (size_t i = 0; i < texts.size(); ++i) texts[i] = std::move(keyed[i].second);
}

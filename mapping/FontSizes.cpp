// Numeric order of font sizes.
#include "mapping/FontSizes.h"

#include <algorithm>
#include <charconv>
#include <string>
#include <vector>

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Length of the number at the start of text: digits, then a point and
// digits; 0 when there is no digit in it.
size_t LeadingNumberLength(std::string_view text) {
  size_t at = 0;
  bool digits = false;
  while (at < text.size() && IsDigit(text[at])) ++at, digits = true;
  if (at < text.size() && text[at] == '.') {
    size_t fraction = at + 1;
    while (fraction < text.size() && IsDigit(text[fraction])) ++fraction, digits = true;
    if (fraction > at + 1) at = fraction;
  }
  return digits ? at : 0;
}

}  // namespace

double FontSizeValue(std::string_view text) {
  size_t length = LeadingNumberLength(text);
  if (length == 0) return 0;
  // from_chars does not depend on the locale, which a window system may set.
  double value = 0;
  std::from_chars(text.data(), text.data() + length, value, std::chars_format::fixed);
  return value;
}

void OrderFontSizes(CUniqueTextList& sizes) {
  struct Entry {
    double value;
    std::string text;
  };
  std::vector<Entry> entries;
  entries.reserve(sizes.size());
  for (const std::string& size : sizes) entries.push_back({FontSizeValue(size), size});
  std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.value < b.value; });
  std::vector<std::string> ordered;
  ordered.reserve(entries.size());
  for (size_t i = 0; i < entries.size(); ++i) {
    if (i > 0 && entries[i].value == entries[i - 1].value) continue;  // first in list order wins
    ordered.push_back(std::move(entries[i].text));
  }
  sizes.Assign(ordered);
}

bool IsValidTypedSize(std::string_view text) {
  if (text.empty()) return false;
  if (text.find_first_not_of("0123456789.") != std::string_view::npos) return false;
  // "1.2.5" would pass the character test and end up in a font definition.
  if (std::count(text.begin(), text.end(), '.') > 1) return false;
  double value = FontSizeValue(text);
  return value >= 2 && value <= 200;
}

bool InsertFontSize(CUniqueTextList& sizes, std::string_view size) {
  if (sizes.Contains(size)) return false;
  double value = FontSizeValue(size);
  std::vector<std::string> texts = sizes.ToVector();
  auto place = std::find_if(texts.begin(), texts.end(),
                            [value](const std::string& entry) { return FontSizeValue(entry) > value; });
  texts.insert(place, std::string(size));
  sizes.Assign(texts);
  return true;
}

// Line-break cleaning of system message texts.
#include "CleanLineBreaks.h"

void CleanLineBreaks(std::u16string& text) {
  auto isBreak = [](char16_t c) { return c == u'\r' || c == u'\n'; };
  while (!text.empty() && isBreak(text.back())) text.pop_back();
  std::u16string out;
  out.reserve(text.size());
  for (char16_t c : text) {
    if (!isBreak(c))
      out += c;
    else if (out.empty() || out.back() != u' ')
      out += u' ';
  }
  text = out;
}

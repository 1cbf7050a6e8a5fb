// printf-style formatting of texts into a std::string, for the numbered
// texts of the string table and output's reports.
#pragma once

#include <cstdio>
#include <string>
#include <type_traits>

namespace formattext_detail {
template <class T>
decltype(auto) PrintfArg(const T& value) {
  if constexpr (std::is_same_v<T, std::string>) {
    return value.c_str();
  } else {
    return value;
  }
}
}  // namespace formattext_detail

/// Fills a printf-style \p format; std::string arguments may be passed as
/// they are. Texts of any length are formatted whole.
template <class... Args>
std::string FormatText(const char* format, const Args&... args) {
  int size = std::snprintf(nullptr, 0, format, formattext_detail::PrintfArg(args)...);
  if (size <= 0) return std::string();
  std::string text(static_cast<size_t>(size) + 1, '\0');
  std::snprintf(text.data(), text.size(), format, formattext_detail::PrintfArg(args)...);
  text.resize(static_cast<size_t>(size));
  return text;
}

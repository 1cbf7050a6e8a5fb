// Converting 8-bit texts between character sets with iconv: a document's
// code page to the terminal's, or to UTF-8.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

/// The iconv name of a Windows code page: "CP932", "CP1252", ...
std::string IconvNameOfCodePage(int32_t codePage);

/// The character set of the environment's locale (LC_ALL, LC_CTYPE, LANG),
/// as iconv names it, such as "UTF-8" or "ANSI_X3.4-1968". The process's
/// own locale is left as it was: the core's case rules must not follow
/// the user's locale.
std::string LocaleCharset();

/// Converts texts from one character set to another. Not copyable; one
/// converter serves many texts.
class CCodePageConverter {
 public:
  CCodePageConverter(const std::string& from, const std::string& to);
  ~CCodePageConverter();
  CCodePageConverter(const CCodePageConverter&) = delete;
  CCodePageConverter& operator=(const CCodePageConverter&) = delete;

  /// False when iconv knows one of the two character sets not.
  bool Usable() const { return handle_ != nullptr; }

  /// Appends \p text, converted, to \p out. False, with \p out as it was,
  /// when the text holds a byte sequence that is invalid in the source or
  /// has no equivalent in the target (nothing is transliterated).
  [[nodiscard]] bool Convert(std::string_view text, std::string& out) const;

 private:
  void* handle_ = nullptr;  // iconv_t
};

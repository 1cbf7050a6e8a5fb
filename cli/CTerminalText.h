// How typeswap-cli prints texts from documents: in the terminal's
// character set, escaped where it cannot show them.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/CodePageConverter.h"

/// Converts document texts (in the process code page) for printing. Text
/// that the target character set cannot show, or every text when escaping
/// is forced, is written with the escapes of AppendEscaped instead.
class CTerminalText {
 public:
  /// Texts for the locale's character set; \p forceEscape: escaped always.
  explicit CTerminalText(bool forceEscape);
  /// Texts for \p charset (an iconv name).
  CTerminalText(const std::string& charset, bool forceEscape);

  /// Appends one field: backslash, tab, LF, CR and other control bytes are
  /// escaped in any case, so a field never breaks a line or a column.
  void AppendField(std::string& out, std::string_view text) const;
  /// Appends one line of a document: as a field, but tabs are kept.
  void AppendLine(std::string& out, std::string_view line) const;

 private:
  void Append(std::string& out, std::string_view text, bool keepTabs) const;

  std::unique_ptr<CCodePageConverter> converter_;  ///< null: always escape
};

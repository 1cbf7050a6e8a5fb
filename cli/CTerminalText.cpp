// Printing document texts in the terminal's character set.
#include "cli/CTerminalText.h"

#include "cli/CliArgs.h"
#include "platform/CodePage.h"

CTerminalText::CTerminalText(bool forceEscape) : CTerminalText(LocaleCharset(), forceEscape) {}

CTerminalText::CTerminalText(const std::string& charset, bool forceEscape) {
  if (forceEscape) return;
  auto converter = std::make_unique<CCodePageConverter>(IconvNameOfCodePage(ProcessCodePage()), charset);
  if (converter->Usable()) converter_ = std::move(converter);
}

void CTerminalText::AppendField(std::string& out, std::string_view text) const { Append(out, text, false); }

void CTerminalText::AppendLine(std::string& out, std::string_view line) const { Append(out, line, true); }

void CTerminalText::Append(std::string& out, std::string_view text, bool keepTabs) const {
  bool plain = true;  // ASCII without control bytes needs no conversion
  for (char ch : text) {
    const unsigned char c = static_cast<unsigned char>(ch);
    if (c >= 0x7F || (c < 0x20 && !(keepTabs && c == '\t'))) {
      plain = false;
      break;
    }
  }
  std::string converted;
  if (!plain && !(converter_ && converter_->Convert(text, converted))) {
    // The whole text escaped: a half-converted text would mix two encodings.
    for (char ch : text) {
      if (keepTabs && ch == '\t')
        out += ch;
      else
        AppendEscaped(out, std::string_view(&ch, 1));
    }
    return;
  }
  const std::string_view shown = plain ? text : std::string_view(converted);
  for (char ch : shown) {
    const unsigned char c = static_cast<unsigned char>(ch);
    if (c == '\\' || c == 0x7F || (c < 0x20 && !(keepTabs && c == '\t')))
      AppendEscaped(out, std::string_view(&ch, 1));
    else
      out += ch;
  }
}

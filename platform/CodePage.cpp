// The process-wide ANSI code page and its lead-byte test.
#include "platform/CodePage.h"

#include <iconv.h>

#include <cstdlib>
#include <string>

namespace {

struct ProcessCodePageState {
  int32_t codePage;
  LeadByteTable leadBytes;
  CodePageOrigin origin;
};

ProcessCodePageState& State() {
  static ProcessCodePageState state = [] {
    // An unknown TYPESWAP_CODEPAGE is refused by the front ends before
    // anything is read; here it falls back to the default.
    std::optional<int32_t> fromEnvironment = CodePageFromEnvironment();
    const char* text = std::getenv("TYPESWAP_CODEPAGE");
    bool chosen = fromEnvironment && text != nullptr && *text != '\0';
    int32_t cp = fromEnvironment.value_or(kDefaultCodePage);
    return ProcessCodePageState{cp, LeadBytesOf(cp), chosen ? CodePageOrigin::Environment : CodePageOrigin::Default};
  }();
  return state;
}

void MarkRange(LeadByteTable& table, int low, int high) {
  for (int b = low; b <= high; ++b) table[b] = true;
}

}  // namespace

bool ParseCodePage(const char* text, int32_t& codePage) {
  if (text == nullptr || *text == '\0') return false;
  int64_t value = 0;
  for (const char* p = text; *p; ++p) {
    if (*p < '0' || *p > '9') return false;
    value = value * 10 + (*p - '0');
    if (value > INT32_MAX) return false;
  }
  if (value == 0) return false;
  codePage = static_cast<int32_t>(value);
  return true;
}

std::optional<int32_t> CodePageFromEnvironment() {
  const char* text = std::getenv("TYPESWAP_CODEPAGE");
  if (text == nullptr || *text == '\0') return kDefaultCodePage;
  int32_t cp = 0;
  if (!ParseCodePage(text, cp) || !IsKnownCodePage(cp)) return std::nullopt;
  return cp;
}

bool IsKnownCodePage(int32_t codePage) {
  const std::string name = "CP" + std::to_string(codePage);
  iconv_t converter = ::iconv_open("UTF-8", name.c_str());
  if (converter == reinterpret_cast<iconv_t>(-1)) return false;
  ::iconv_close(converter);
  return true;
}

LeadByteTable LeadBytesOf(int32_t codePage) {
  LeadByteTable table{};
  switch (codePage) {
    case 932:
      MarkRange(table, 0x81, 0x9F);
      MarkRange(table, 0xE0, 0xFC);
      break;
    case 936:
    case 949:
    case 950:
      MarkRange(table, 0x81, 0xFE);
      break;
    default:
      break;
  }
  return table;
}

int32_t ProcessCodePage() { return State().codePage; }

CodePageOrigin ProcessCodePageOrigin() { return State().origin; }

void SetProcessCodePage(int32_t codePage, CodePageOrigin origin) {
  State() = ProcessCodePageState{codePage, LeadBytesOf(codePage), origin};
}

const LeadByteTable& ProcessLeadBytes() { return State().leadBytes; }

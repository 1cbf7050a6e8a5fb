// The process-wide ANSI code page and its lead-byte test.
#include "platform/CodePage.h"

#include <cstdlib>

namespace {

struct ProcessCodePageState {
  int32_t codePage;
  LeadByteTable leadBytes;
  CodePageOrigin origin;
};

ProcessCodePageState& State() {
  static ProcessCodePageState state = [] {
    int32_t cp = kDefaultCodePage;
    bool chosen = ParseCodePage(std::getenv("TYPESWAP_CODEPAGE"), cp);
    if (!chosen) cp = kDefaultCodePage;
    return ProcessCodePageState{cp, LeadBytesOf(cp),
                                chosen ? CodePageOrigin::Environment : CodePageOrigin::Default};
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

int32_t CodePageFromEnvironment() {
  int32_t cp = kDefaultCodePage;
  if (!ParseCodePage(std::getenv("TYPESWAP_CODEPAGE"), cp)) cp = kDefaultCodePage;
  return cp;
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

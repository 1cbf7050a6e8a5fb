// CT_StringConvert: iconv for the code pages, CT_UTF for UTF-7 and UTF-8.
#include "CT_StringConvert.h"

#include <iconv.h>

#include <atomic>
#include <bit>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <utility>

#include "CT_CString.h"
#include "CT_ErrorManager.h"
#include "CT_UString.h"
#include "CT_UTF.h"

namespace {

constexpr uint32_t kAll = 0xFFFFFFFFu;
constexpr uint32_t kUtf7 = 65000;
constexpr uint32_t kUtf8 = 65001;
const char kLocation[] = "Source\\Foundation\\System\\String\\StringConvert";
// Lines of the failure reports, one per conversion that can fail.
constexpr uint32_t kLineMultiToWide = 143;
constexpr uint32_t kLineWideToMulti = 196;
constexpr uint32_t kLineWideToUTF7 = 422;
constexpr uint32_t kLineWideToUTF8 = 567;

const char* Utf16Name() { return std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE"; }

// The iconv encoding of a Windows code page, or null.
const char* EncodingOf(uint32_t cp) {
  static const char* const kIso[] = {"ISO-8859-1", "ISO-8859-2", "ISO-8859-3", "ISO-8859-4", "ISO-8859-5",
                                     "ISO-8859-6", "ISO-8859-7", "ISO-8859-8", "ISO-8859-9"};
  static const char* const kWindows[] = {"CP1250", "CP1251", "CP1252", "CP1253", "CP1254",
                                         "CP1255", "CP1256", "CP1257", "CP1258"};
  switch (cp) {
    case 932:
      return "CP932";
    case 936:
      return "CP936";
    case 949:
      return "CP949";
    case 950:
      return "CP950";
    case 874:
      return "CP874";
    case 20127:
      return "ASCII";
    case 20932:
    case 51932:
      return "EUC-JP";
    default:
      break;
  }
  if (cp >= 1250 && cp <= 1258) return kWindows[cp - 1250];
  if (cp >= 28591 && cp <= 28599) return kIso[cp - 28591];
  return nullptr;
}

// Open conversion descriptors of this thread, by code page and direction.
class Converters {
 public:
  ~Converters() {
    for (auto& [key, cd] : m_open)
      if (cd != iconv_t(-1)) iconv_close(cd);
  }
  /// The descriptor, or (iconv_t)-1 when the system cannot convert.
  iconv_t Get(uint32_t cp, bool toWide) {
    auto [it, added] = m_open.try_emplace({cp, toWide}, iconv_t(-1));
    if (added) {
      const char* name = EncodingOf(cp);
      if (name) it->second = toWide ? iconv_open(Utf16Name(), name) : iconv_open(name, Utf16Name());
    }
    if (it->second != iconv_t(-1)) iconv(it->second, nullptr, nullptr, nullptr, nullptr);
    return it->second;
  }

 private:
  std::map<std::pair<uint32_t, bool>, iconv_t> m_open;
};

Converters& ThreadConverters() {
  thread_local Converters converters;
  return converters;
}

// Set by the program that links the library; read by every thread.
std::atomic<CT_StringConvert::CodePageSource> processCodePageSource{nullptr};

uint32_t ProcessCodePage() {
  if (CT_StringConvert::CodePageSource source = processCodePageSource.load(std::memory_order_acquire)) {
    return source();
  }
  static const uint32_t cp = [] {
    const char* text = std::getenv("TYPESWAP_CODEPAGE");
    char* end = nullptr;
    unsigned long value = text && *text ? std::strtoul(text, &end, 10) : 0;
    if (value == 0 || value > 0xFFFFFFFFul || (end && *end)) return 1252u;
    return uint32_t(value);
  }();
  return cp;
}

bool Known(uint32_t cp, bool toWide) {
  return cp == kUtf7 || cp == kUtf8 || ThreadConverters().Get(cp, toWide) != iconv_t(-1);
}

uint32_t Resolve(uint32_t cp, bool toWide) {
  if (cp != 0 && Known(cp, toWide)) return cp;
  cp = ProcessCodePage();
  return Known(cp, toWide) ? cp : 1252;
}

// Records a failed conversion: the system's error when none is being
// recorded yet, then where it happened.
void RecordFailure(uint32_t line) {
  CT_ErrorManager* manager = CT_ErrorManager::spco_Get();
  if (!manager) return;
  if (!manager->b_IsSetError()) manager->v_SetSystemError();
  manager->v_AddLocation(kLocation, line);
}

uint32_t Units(const char16_t* text, uint32_t count) {
  if (count != kAll) return count;
  uint32_t n = 0;
  while (text[n]) ++n;
  return n + 1;
}

int32_t IconvToWide(char16_t* target, uint32_t room, const char* text, uint32_t length, uint32_t cp) {
  iconv_t cd = ThreadConverters().Get(cp, true);
  char* in = const_cast<char*>(text);
  size_t inLeft = length;
  char* out = reinterpret_cast<char*>(target);
  size_t outLeft = size_t(room) * 2;
  while (inLeft > 0) {
    if (iconv(cd, &in, &inLeft, &out, &outLeft) != size_t(-1)) break;
    if (errno == E2BIG || outLeft < 2) return 0;
    // A byte the code page does not define: "?" and go on.
    *reinterpret_cast<char16_t*>(out) = u'?';
    out += 2;
    outLeft -= 2;
    if (errno == EINVAL) break;  // a character cut off at the end
    ++in;
    --inLeft;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  return int32_t((reinterpret_cast<char16_t*>(out) - target));
}

int32_t IconvToMulti(char* target, uint32_t room, const char16_t* text, uint32_t count, uint32_t cp,
                     const char* defaultChar, bool* usedDefault) {
  iconv_t cd = ThreadConverters().Get(cp, false);
  char* in = reinterpret_cast<char*>(const_cast<char16_t*>(text));
  size_t inLeft = size_t(count) * 2;
  char* out = target;
  size_t outLeft = room;
  char fallback = defaultChar && *defaultChar ? *defaultChar : '?';
  while (inLeft > 0) {
    if (iconv(cd, &in, &inLeft, &out, &outLeft) != size_t(-1)) break;
    if (errno == E2BIG || outLeft < 1) return 0;
    // No equivalent in the code page: the default character stands in.
    *out++ = fallback;
    --outLeft;
    if (usedDefault) *usedDefault = true;
    size_t skip = 2;
    auto unit = *reinterpret_cast<const char16_t*>(in);
    if (unit >= 0xD800 && unit < 0xDC00 && inLeft >= 4) {
      auto next = *reinterpret_cast<const char16_t*>(in + 2);
      if (next >= 0xDC00 && next < 0xE000) skip = 4;
    }
    if (inLeft < skip) break;
    in += skip;
    inLeft -= skip;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  return int32_t(out - target);
}

int32_t MultiToWide(char16_t* target, uint32_t room, const char* text, uint32_t length, uint32_t codePage) {
  if (target) target[0] = 0;
  if (length == 0) return 0;
  if (length == kAll) length = uint32_t(std::strlen(text)) + 1;
  uint32_t cp = Resolve(codePage, true);
  int32_t n;
  if (cp == kUtf7) {
    CT_UTF::sv_UTF7ToWideInit();
    n = CT_UTF::si_UTF7ToWide(target, text, length);
  } else if (cp == kUtf8) {
    CT_UTF::sv_UTF8ToWideInit();
    n = CT_UTF::si_UTF8ToWide(target, text, length);
  } else {
    n = IconvToWide(target, room, text, length, cp);
    // A lone character that came out as zero was not understood.
    if (n == 1 && target[0] == 0 && text[0] != 0) target[0] = u'?';
  }
  if (n == 0 && cp != kUtf7) RecordFailure(kLineMultiToWide);
  return n;
}

int32_t WideToMulti(char* target, uint32_t room, const char16_t* text, uint32_t count, uint32_t codePage,
                    const char* defaultChar, bool* usedDefault) {
  if (usedDefault) *usedDefault = false;
  if (count == 0) return 0;
  bool withZero = count == kAll;
  count = Units(text, count);
  uint32_t cp = Resolve(codePage, false);
  int32_t n;
  if (cp == kUtf7) {
    return CT_StringConvert::si_WideToUTF7(target, text, count);
  } else if (cp == kUtf8) {
    n = CT_UTF::si_WideToUTF8(target, text, count);
    if (n == 0 && text[0] == 0) return withZero ? 1 : 0;
    if (withZero) ++n;  // the zero written after the text is part of a -1 count
  } else {
    n = IconvToMulti(target, room, text, count, cp, defaultChar, usedDefault);
  }
  if (n == 0) RecordFailure(kLineWideToMulti);
  return n;
}

// The string forms: convert into a worst-case area, then set the target.
template <typename Convert>
int32_t IntoWide(CT_UString* target, uint32_t length, Convert convert) {
  std::u16string area(size_t(length) + 2, u'\0');
  int32_t n = length ? convert(area.data()) : 0;
  target->v_Set(area.data(), uint32_t(n));
  return n;
}

template <typename Convert>
int32_t IntoMulti(CT_CString* target, uint32_t count, uint32_t codePage, Convert convert) {
  std::string area(size_t(count) * 3 + 4, '\0');
  int32_t n = count ? convert(area.data(), uint32_t(area.size())) : 0;
  target->v_Set(area.data(), uint32_t(n), codePage);
  return n;
}

uint32_t TextLength(const char* text, uint32_t length) { return length == kAll ? uint32_t(std::strlen(text)) : length; }

uint32_t TextLength(const char16_t* text, uint32_t count) { return count == kAll ? Units(text, count) - 1 : count; }

}  // namespace

void CT_StringConvert::sv_SetProcessCodePageSource(CodePageSource source) {
  processCodePageSource.store(source, std::memory_order_release);
}

uint32_t CT_StringConvert::sn_ResolveCodePage(uint32_t codePage) { return Resolve(codePage, true); }

int32_t CT_StringConvert::si_MultiToWide(char16_t* target, const char* text, uint32_t length, uint32_t codePage) {
  uint32_t room = length == kAll ? uint32_t(std::strlen(text)) + 1 : length;
  return MultiToWide(target, room, text, length, codePage);
}

int32_t CT_StringConvert::si_MultiToWide(CT_UString* target, const char* text, uint32_t length, uint32_t codePage) {
  length = TextLength(text, length);
  return IntoWide(target, length,
                  [&](char16_t* area) { return MultiToWide(area, length + 1, text, length, codePage); });
}

int32_t CT_StringConvert::si_MultiToWide(CT_UString* target, const CT_CString* source) {
  return si_MultiToWide(target, source->qccz_Get(), source->vn_GetLength(), source->n_GetCodePage());
}

int32_t CT_StringConvert::si_MultiToWideANSI(char16_t* target, const char* text, uint32_t length) {
  return si_MultiToWide(target, text, length, 0);
}

int32_t CT_StringConvert::si_MultiToWideANSI(CT_UString* target, const char* text, uint32_t length) {
  return si_MultiToWide(target, text, length, 0);
}

int32_t CT_StringConvert::si_WideToMulti(char* target, const char16_t* text, uint32_t count, uint32_t codePage,
                                         const char* defaultChar, bool* usedDefault) {
  uint32_t room = Units(text, count) * 2;
  return WideToMulti(target, room, text, count, codePage, defaultChar, usedDefault);
}

int32_t CT_StringConvert::si_WideToMulti(CT_CString* target, const char16_t* text, uint32_t count, uint32_t codePage,
                                         const char* defaultChar, bool* usedDefault) {
  count = TextLength(text, count);
  if (usedDefault) *usedDefault = false;
  return IntoMulti(target, count, codePage, [&](char* area, uint32_t room) {
    return WideToMulti(area, room, text, count, codePage, defaultChar, usedDefault);
  });
}

int32_t CT_StringConvert::si_WideToMulti(CT_CString* target, const CT_UString* source) {
  return si_WideToMulti(target, source->qcuz_Get(), source->vn_GetLength(), target->n_GetCodePage());
}

int32_t CT_StringConvert::si_WideToMultiANSI(char* target, const char16_t* text, uint32_t count) {
  return si_WideToMulti(target, text, count, 0);
}

int32_t CT_StringConvert::si_WideToMultiANSI(CT_CString* target, const char16_t* text, uint32_t count) {
  return si_WideToMulti(target, text, count, 0);
}

char16_t CT_StringConvert::sus_MultiToWide(char character, uint32_t codePage) {
  char16_t unit[2] = {0, 0};
  return si_MultiToWide(unit, &character, 1, codePage) > 0 ? unit[0] : 0;
}

char CT_StringConvert::sc_WideToMulti(char16_t character, uint32_t codePage) {
  char bytes[8] = {};
  return si_WideToMulti(bytes, &character, 1, codePage) > 0 ? bytes[0] : 0;
}

int32_t CT_StringConvert::si_UTF7ToWide(char16_t* target, const char* text, uint32_t length) {
  CT_UTF::sv_UTF7ToWideInit();
  int32_t n = CT_UTF::si_UTF7ToWide(target, text, length);
  target[n] = 0;
  return n;
}

int32_t CT_StringConvert::si_UTF7ToWide(CT_UString* target, const char* text, uint32_t length) {
  length = TextLength(text, length);
  return IntoWide(target, length, [&](char16_t* area) { return si_UTF7ToWide(area, text, length); });
}

int32_t CT_StringConvert::si_WideToUTF7(char* target, const char16_t* text, uint32_t count) {
  CT_UTF::sv_WideToUTF7Init();
  int32_t n = CT_UTF::si_WideToUTF7(target, text, count);
  n += CT_UTF::si_WideToUTF7Exit(target + n);
  if (n == 0 && count != 0 && text[0] != 0) RecordFailure(kLineWideToUTF7);
  return n;
}

int32_t CT_StringConvert::si_WideToUTF7(CT_CString* target, const char16_t* text, uint32_t count) {
  count = TextLength(text, count);
  return IntoMulti(target, count, kUtf7, [&](char* area, uint32_t) { return si_WideToUTF7(area, text, count); });
}

int32_t CT_StringConvert::si_UTF8ToWide(char16_t* target, const char* text, uint32_t length) {
  if (length == 0 || (length == kAll && text[0] == 0)) return 0;
  CT_UTF::sv_UTF8ToWideInit();  // a cut sequence of an earlier text must not leak in
  return CT_UTF::si_UTF8ToWide(target, text, length);
}

int32_t CT_StringConvert::si_UTF8ToWide(CT_UString* target, const char* text, uint32_t length) {
  length = TextLength(text, length);
  return IntoWide(target, length, [&](char16_t* area) { return si_UTF8ToWide(area, text, length); });
}

int32_t CT_StringConvert::si_WideToUTF8(char* target, const char16_t* text, uint32_t count) {
  int32_t n = CT_UTF::si_WideToUTF8(target, text, count);
  if (n == 0 && count != 0 && text[0] != 0) RecordFailure(kLineWideToUTF8);
  return n;
}

int32_t CT_StringConvert::si_WideToUTF8(CT_CString* target, const char16_t* text, uint32_t count) {
  count = TextLength(text, count);
  return IntoMulti(target, count, kUtf8, [&](char* area, uint32_t) { return si_WideToUTF8(area, text, count); });
}

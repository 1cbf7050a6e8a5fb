// CT_UTF: UTF-7 and UTF-8 coders with per-thread states.
#include "CT_UTF.h"

#include <cstring>
#include <mutex>

namespace {

constexpr uint32_t kAll = 0xFFFFFFFFu;
constexpr char16_t kReplacement = 0xFFFD;

const char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
const char kDirect[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789'(),-./:? \t\r\n";

bool sab_MustShift[128];
uint8_t sac_Base64Inverse[128];
std::once_flag so_Tables;

// The states are per thread: the library's strings convert on any thread,
// and one thread's half-finished text must not leak into another's.
struct Utf7Encoder {
  bool inRun = false;
  uint32_t bits = 0;
  uint32_t bitCount = 0;
};
struct Utf7Decoder {
  bool inRun = false;
  bool afterPlus = false;
  bool produced = false;
  uint32_t bits = 0;
  uint32_t bitCount = 0;
  char lastChar = 0;
};
struct Utf8Decoder {
  uint32_t pending = 0;   // continuation bytes still expected
  uint32_t expected = 0;  // continuation bytes of the whole sequence
  uint32_t value = 0;
};
thread_local Utf7Encoder so_Utf7Out;
thread_local Utf7Decoder so_Utf7In;
thread_local Utf8Decoder so_Utf8In;

uint32_t TextLength(const char* text, uint32_t length) {
  return length == kAll ? uint32_t(std::strlen(text)) + 1 : length;
}

// Writes every complete group of six bits as a base64 character.
int32_t FlushGroups(char* target, Utf7Encoder& s) {
  int32_t n = 0;
  while (s.bitCount >= 6) {
    s.bitCount -= 6;
    target[n++] = kBase64[(s.bits >> s.bitCount) & 0x3F];
  }
  s.bits &= (1u << s.bitCount) - 1;
  return n;
}

// One unit through the encoder; returns the bytes written.
int32_t EncodeUnit(char* target, char16_t u, Utf7Encoder& s) {
  bool shift = u != 0 && (u > 127 || sab_MustShift[u]);
  int32_t n = 0;
  if (!s.inRun && shift) {
    target[n++] = '+';
    if (u == u'+') {
      target[n++] = '-';
      return n;
    }
    s.inRun = true;
  }
  if (s.inRun) {
    if (shift) {
      s.bits = (s.bits << 16) | u;
      s.bitCount += 16;
    } else if (s.bitCount % 6) {
      s.bits <<= 6 - s.bitCount % 6;
      s.bitCount += 6 - s.bitCount % 6;
    }
    n += FlushGroups(target + n, s);
    if (!shift) {
      target[n++] = '-';
      s.inRun = false;
    }
  }
  if (!shift) target[n++] = char(u);
  return n;
}

}  // namespace

void CT_UTF::sv_InitTables() {
  std::call_once(so_Tables, [] {
    for (int c = 0; c < 128; ++c) {
      sab_MustShift[c] = c == 0 || !std::strchr(kDirect, c);
      sac_Base64Inverse[c] = 0xFF;
    }
    for (int i = 0; i < 64; ++i) sac_Base64Inverse[uint8_t(kBase64[i])] = uint8_t(i);
  });
}

void CT_UTF::sv_WideToUTF7Init() { so_Utf7Out = Utf7Encoder(); }

int32_t CT_UTF::si_WideToUTF7(char* target, const char16_t* text, uint32_t count) {
  int32_t n = 0;
  for (uint32_t i = 0; i < count; ++i) {
    n += EncodeUnit(target + n, text[i], so_Utf7Out);
    if (text[i] == 0) break;
  }
  return n;
}

int32_t CT_UTF::si_WideToUTF7Exit(char* target) {
  int32_t n = EncodeUnit(target, 0, so_Utf7Out);
  return n - 1;  // the zero byte is not counted
}

void CT_UTF::sv_UTF7ToWideInit() { so_Utf7In = Utf7Decoder(); }

int32_t CT_UTF::si_UTF7ToWide(char16_t* target, const char* text, uint32_t length) {
  Utf7Decoder& s = so_Utf7In;
  int32_t n = 0;
  for (uint32_t i = 0, end = TextLength(text, length); i < end; ++i) {
    auto c = static_cast<unsigned char>(text[i]);
    s.lastChar = char(c);
    if (!s.inRun) {
      if (c == '+') {
        s = Utf7Decoder{true, true, false, 0, 0, char(c)};
      } else {
        target[n++] = c;
      }
      continue;
    }
    bool first = s.afterPlus;
    s.afterPlus = false;
    if (first && c == '-') {  // "+-" is the plus sign itself
      s.inRun = false;
      target[n++] = u'+';
      continue;
    }
    uint8_t value = c < 128 ? sac_Base64Inverse[c] : 0xFF;
    if (value != 0xFF) {
      s.bits = (s.bits << 6) | value;
      s.bitCount += 6;
      if (s.bitCount >= 16) {
        s.bitCount -= 16;
        target[n++] = char16_t(s.bits >> s.bitCount);
        s.bits &= (1u << s.bitCount) - 1;
        s.produced = true;
      }
      continue;
    }
    // The run ends; bits left over are dropped, a closing "-" too.
    s.inRun = false;
    s.bits = s.bitCount = 0;
    if (c != '-') target[n++] = c;
  }
  return n;
}

int32_t CT_UTF::si_WideToUTF8(char* target, const char16_t* text, uint32_t count) {
  int32_t n = 0;
  for (uint32_t i = 0; i < count && text[i]; ++i) {
    char16_t u = text[i];
    if (u < 0x80) {
      target[n++] = char(u);
    } else if (u < 0x800) {
      target[n++] = char(0xC0 | (u >> 6));
      target[n++] = char(0x80 | (u & 0x3F));
    } else {
      target[n++] = char(0xE0 | (u >> 12));
      target[n++] = char(0x80 | ((u >> 6) & 0x3F));
      target[n++] = char(0x80 | (u & 0x3F));
    }
  }
  target[n] = 0;
  return n;
}

void CT_UTF::sv_UTF8ToWideInit() { so_Utf8In = Utf8Decoder(); }

int32_t CT_UTF::si_UTF8ToWide(char16_t* target, const char* text, uint32_t length) {
  static constexpr uint32_t kMinimum[] = {0, 0x80, 0x800, 0x10000};
  Utf8Decoder& s = so_Utf8In;
  int32_t n = 0;
  for (uint32_t i = 0, end = TextLength(text, length); i < end; ++i) {
    auto c = static_cast<unsigned char>(text[i]);
    if (s.pending) {
      if ((c & 0xC0) == 0x80) {
        s.value = (s.value << 6) | (c & 0x3F);
        if (--s.pending) continue;
        uint32_t v = s.value;
        if (v < kMinimum[s.expected] || v > 0x10FFFF) {
          target[n++] = kReplacement;  // overlong or out of range
        } else if (v >= 0x10000) {
          v -= 0x10000;
          target[n++] = char16_t(0xD800 | (v >> 10));
          target[n++] = char16_t(0xDC00 | (v & 0x3FF));
        } else {
          target[n++] = char16_t(v);
        }
        continue;
      }
      // A sequence cut short: mark it, then read this byte afresh.
      s.pending = 0;
      target[n++] = kReplacement;
    }
    if (c < 0x80) {
      target[n++] = c;
    } else if (c >= 0xC2 && c <= 0xF4) {
      s.expected = s.pending = c < 0xE0 ? 1 : c < 0xF0 ? 2 : 3;
      s.value = c & (0x3F >> s.pending);
    } else {
      target[n++] = kReplacement;  // a stray continuation or an impossible lead byte
    }
  }
  return n;
}

// The lead bytes of a code page as at most two ranges, for tests of sixteen
// bytes at a time, as the lexer scans its runs.
#pragma once

#include <array>
#include <cstdint>

#include "platform/CodePage.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

/// Each range as its lowest byte and its span above it, sixteen times
/// over; a second range repeats the first when there is only one.
struct LeadByteRanges {
  /// How many ranges the lead bytes form: the vector tests serve 1 or 2.
  unsigned count = 0;
  std::array<uint8_t, 16> ranges[4] = {};

  explicit LeadByteRanges(const LeadByteTable& lead) {
    for (unsigned b = 0; b < 256; ++b) {
      if (!lead[b] || (b > 0 && lead[b - 1])) continue;
      unsigned last = b;
      while (last < 255 && lead[last + 1]) ++last;
      for (unsigned i = count; i < 2 && count < 2; ++i) {
        ranges[2 * i].fill(static_cast<uint8_t>(b));
        ranges[2 * i + 1].fill(static_cast<uint8_t>(last - b));
      }
      ++count;
    }
  }
  LeadByteRanges() = default;

  /// Whether the vector tests serve these lead bytes (and there are some).
  bool Vector() const { return count == 1 || count == 2; }

#ifdef __SSE2__
  /// Which of the sixteen bytes \p v are lead bytes: 0xFF each, else 0.
  /// Only when Vector().
  __attribute__((always_inline)) __m128i In(__m128i v) const {
    const auto in = [&](int i) {
      const auto load = [](const std::array<uint8_t, 16>& a) {
        return _mm_loadu_si128(reinterpret_cast<const __m128i*>(a.data()));
      };
      const __m128i offset = _mm_sub_epi8(v, load(ranges[2 * i]));
      return _mm_cmpeq_epi8(_mm_min_epu8(offset, load(ranges[2 * i + 1])), offset);
    };
    return _mm_or_si128(in(0), in(1));
  }
#endif
};

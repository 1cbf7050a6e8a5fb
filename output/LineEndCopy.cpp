// Text-mode copies, a block of 16 bytes at a time.
#include "output/LineEndCopy.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#if defined(__SSE2__)
namespace {

// One step of a text-mode copy. Most lines are far longer than a block of
// 16 bytes, so whole blocks are copied at once, and a block holding a line
// feed is copied up to it and taken up again after it: the block at \p in
// is stored at \p to whole, and both move past its first line feed before
// \p end, written as CR LF (true), else past the block or to \p end
// (false); what the store put beyond is written over later. 16 bytes at
// \p in must be readable.
__attribute__((always_inline)) inline bool CopyBlock(const char*& in, const char* end, char*& to, __m128i lf) {
  const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(to), block);
  unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, lf)));
  const size_t left = static_cast<size_t>(end - in);
  if (left < 16) mask &= (1u << left) - 1;
  if (mask == 0) {
    const size_t step = std::min<size_t>(left, 16);
    in += step;
    to += step;
    return false;
  }
  const unsigned at = static_cast<unsigned>(__builtin_ctz(mask));
  to += at;
  *to++ = '\r';
  *to++ = '\n';
  in += at + 1;
  return true;
}

}  // namespace
#endif

// A last block shorter than 16 bytes goes the same way as the others where
// it may be read whole, its line feeds beyond the end left out.
size_t ExpandLineEnds(const char* in, size_t size, char* out, size_t readable) {
  const char* end = in + size;
  char* to = out;
#if defined(__SSE2__)
  const char* readableEnd = in + readable;
  const __m128i lf = _mm_set1_epi8('\n');
  while (in < end && readableEnd - in >= 16) CopyBlock(in, end, to, lf);
#else
  (void)readable;
#endif
  for (; in < end; ++in) {
    if (*in == '\n') *to++ = '\r';
    *to++ = *in;
  }
  return static_cast<size_t>(to - out);
}

std::optional<CopiedSpan> CopyToPosition(const char* in, size_t size, char* out, int32_t lines, size_t columns) {
  const char* from = in;
  const char* end = in + size;
  char* to = out;
#if defined(__SSE2__)
  const __m128i lf = _mm_set1_epi8('\n');
  // The lines: as ExpandLineEnds, counting the line feeds.
  while (lines > 0) {
    if (from >= end) return std::nullopt;
    if (CopyBlock(from, end, to, lf)) --lines;
  }
  // The columns: copied whole, as long as they hold no line feed.
  if (columns > static_cast<size_t>(end - from)) return std::nullopt;
  const char* stop = from + columns;
  while (from < stop) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(to), block);
    unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, lf)));
    const size_t left = static_cast<size_t>(stop - from);
    if (left < 16) mask &= (1u << left) - 1;
    if (mask != 0) return std::nullopt;
    const size_t step = std::min<size_t>(left, 16);
    from += step;
    to += step;
  }
#else
  for (; lines > 0; ++from) {
    if (from >= end) return std::nullopt;
    if (*from == '\n') {
      *to++ = '\r';
      --lines;
    }
    *to++ = *from;
  }
  if (columns > static_cast<size_t>(end - from)) return std::nullopt;
  for (const char* stop = from + columns; from < stop; ++from) {
    if (*from == '\n') return std::nullopt;
    *to++ = *from;
  }
#endif
  return CopiedSpan{static_cast<size_t>(from - in), static_cast<size_t>(to - out)};
}

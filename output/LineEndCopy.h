// The copies of text into an output buffer that write each line feed as
// carriage return plus line feed, the way a text-mode copy is written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "platform/CodePage.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

/// Copies \p size bytes from \p in to \p out with every line feed written
/// as carriage return plus line feed; returns the bytes written. \p out
/// has room for twice \p size and 16 bytes more; \p readable bytes from
/// \p in may be read (at least \p size).
size_t ExpandLineEnds(const char* in, size_t size, char* out, size_t readable);

/// What CopyToPosition read and wrote.
struct CopiedSpan {
  size_t read;
  size_t written;
};

/// Copies from \p in as ExpandLineEnds does, up to just past its \p lines-th
/// line feed and then \p columns bytes further; every byte counts as a
/// character. Nothing, when fewer than \p size bytes do not reach there or
/// the last \p columns bytes hold a line feed (\p out then holds bytes of no
/// meaning). \p out has room for twice \p size and 16 bytes more; 16 bytes
/// past the \p size bytes of \p in may be read.
std::optional<CopiedSpan> CopyToPosition(const char* in, size_t size, char* out, int32_t lines, size_t columns);

/// CopyToPosition in a code page with \p leadBytes: a line feed right
/// after a lead byte ends no line (see Note [line ends after lead bytes] in
/// CRCFile.cpp), though it is written as CR LF all the same. \p trailNext
/// tells whether the first byte of \p in ends a character begun before
/// it; on success it tells the same of the byte after the copy, otherwise
/// it is left as it was. The text copied counts columns in bytes.
std::optional<CopiedSpan> CopyToPosition(const char* in, size_t size, char* out, int32_t lines, size_t columns,
                                         const LeadByteTable& leadBytes, bool& trailNext);

/// The first line feed among the \p size bytes at \p data, or null; 16
/// bytes past them may be read. Mostly a few bytes: kept inline.
inline const char* FindLineFeed(const char* data, size_t size) {
#if defined(__SSE2__)
  const __m128i lf = _mm_set1_epi8('\n');
  for (size_t from = 0; from < size; from += 16) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + from));
    unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, lf)));
    if (size - from < 16) mask &= (1u << (size - from)) - 1;
    if (mask != 0) return data + from + __builtin_ctz(mask);
  }
  return nullptr;
#else
  for (size_t at = 0; at < size; ++at) {
    if (data[at] == '\n') return data + at;
  }
  return nullptr;
#endif
}

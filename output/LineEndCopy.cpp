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
// \p end, written as CR LF, else past the block or to \p end; what the
// store put beyond is written over later. Returns the line feed passed,
// or null. 16 bytes at \p in must be readable.
__attribute__((always_inline)) inline const char* CopyBlock(const char*& in, const char* end, char*& to, __m128i lf) {
  const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(to), block);
  unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, lf)));
  const size_t left = static_cast<size_t>(end - in);
  if (left < 16) mask &= (1u << left) - 1;
  if (mask == 0) {
    const size_t step = std::min<size_t>(left, 16);
    in += step;
    to += step;
    return nullptr;
  }
  const unsigned at = static_cast<unsigned>(__builtin_ctz(mask));
  to += at;
  *to++ = '\r';
  *to++ = '\n';
  const char* passed = in + at;
  in += at + 1;
  return passed;
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

namespace {

// Every line feed ends a line.
struct SingleByteLines {
  static bool EndsLine(const char*) { return true; }
};

// A line feed ends a line unless it is the second byte of a character;
// see Note [line ends after lead bytes] in CRCFile.cpp.
class DoubleByteLines {
 public:
  DoubleByteLines(const LeadByteTable& leadBytes, const char* in, bool trailFirst)
      : leadBytes_(leadBytes), boundary_(trailFirst ? in + 1 : in) {}
  // Line feeds come in order: a character starts after each of them.
  bool EndsLine(const char* lf) {
    const bool trail = TrailAt(lf);
    boundary_ = lf + 1;
    return !trail;
  }
  // Whether the byte at \p at, not before the last line feed given,
  // ends a character; before boundary_ lies only a first byte that does.
  bool TrailAt(const char* at) const { return at < boundary_ || IsTrailByteAt(leadBytes_, boundary_, at); }

 private:
  const LeadByteTable& leadBytes_;
  const char* boundary_;  // where a character starts for certain
};

// CopyToPosition, with \p lineEnds telling which line feeds end lines.
// Every line feed, line end or not, is written as CR LF.
template <class LineEnds>
std::optional<CopiedSpan> CopyLinesAndColumns(const char* in, size_t size, char* out, int32_t lines, size_t columns,
                                              LineEnds& lineEnds) {
  const char* from = in;
  const char* end = in + size;
  char* to = out;
#if defined(__SSE2__)
  const __m128i lf = _mm_set1_epi8('\n');
  // The lines: as ExpandLineEnds, counting the line ends.
  while (lines > 0) {
    if (from >= end) return std::nullopt;
    if (const char* passed = CopyBlock(from, end, to, lf); passed != nullptr && lineEnds.EndsLine(passed)) --lines;
  }
  // The columns: copied whole, as long as no line ends among them (when
  // one does, what was stored is of no meaning).
  if (columns > static_cast<size_t>(end - from)) return std::nullopt;
  const char* stop = from + columns;
  while (from < stop) {
    if (const char* passed = CopyBlock(from, stop, to, lf); passed != nullptr && lineEnds.EndsLine(passed)) {
      return std::nullopt;
    }
  }
#else
  for (; lines > 0; ++from) {
    if (from >= end) return std::nullopt;
    if (*from == '\n') {
      *to++ = '\r';
      if (lineEnds.EndsLine(from)) --lines;
    }
    *to++ = *from;
  }
  if (columns > static_cast<size_t>(end - from)) return std::nullopt;
  for (const char* stop = from + columns; from < stop; ++from) {
    if (*from == '\n') {
      if (lineEnds.EndsLine(from)) return std::nullopt;
      *to++ = '\r';
    }
    *to++ = *from;
  }
#endif
  return CopiedSpan{static_cast<size_t>(from - in), static_cast<size_t>(to - out)};
}

}  // namespace

std::optional<CopiedSpan> CopyToPosition(const char* in, size_t size, char* out, int32_t lines, size_t columns) {
  SingleByteLines lineEnds;
  return CopyLinesAndColumns(in, size, out, lines, columns, lineEnds);
}

std::optional<CopiedSpan> CopyToPosition(const char* in, size_t size, char* out, int32_t lines, size_t columns,
                                         const LeadByteTable& leadBytes, bool& trailNext) {
  DoubleByteLines lineEnds(leadBytes, in, trailNext);
  const std::optional<CopiedSpan> copied = CopyLinesAndColumns(in, size, out, lines, columns, lineEnds);
  if (copied) trailNext = lineEnds.TrailAt(in + copied->read);
  return copied;
}

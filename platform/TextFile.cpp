// Whole-file reading with Windows text-mode semantics.
#include "platform/TextFile.h"

#include <algorithm>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "platform/HugePages.h"
#include "platform/TextModeReader.h"

size_t ApplyTextMode(char* data, size_t size) {
  if (const void* eof = std::memchr(data, 0x1A, size)) {
    size = static_cast<size_t>(static_cast<const char*>(eof) - data);
  }
  return CollapseCrLf(data, size);
}

size_t CollapseCrLf(char* data, size_t size) {
  char* cr = static_cast<char*>(std::memchr(data, '\r', size));
  if (cr == nullptr) return size;
  // Compact from the first CR on; most files have none, and those that do
  // have one per line, so a plain forward copy is the cheap way.
  char* out = cr;
  const char* in = cr;
  const char* end = data + size;
  while (in < end) {
    const char* next = static_cast<const char*>(std::memchr(in, '\r', end - in));
    if (next == nullptr) next = end;
    if (out != in) std::memmove(out, in, next - in);
    out += next - in;
    in = next;
    if (in < end) {  // at a CR
      if (in + 1 < end && in[1] == '\n') {
        *out++ = '\n';
        in += 2;
      } else {
        *out++ = '\r';
        in += 1;
      }
    }
  }
  return static_cast<size_t>(out - data);
}

size_t FindTextModeByte(const char* data, size_t size) {
  size_t at = 0;
#ifdef __SSE2__
  // One pass for both bytes, sixty-four at a time.
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i eof = _mm_set1_epi8(0x1A);
  for (; at + 64 <= size; at += 64) {
    const auto hits = [&](size_t offset) {
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at + offset));
      return _mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, eof));
    };
    const __m128i any = _mm_or_si128(_mm_or_si128(hits(0), hits(16)), _mm_or_si128(hits(32), hits(48)));
    if (_mm_movemask_epi8(any) != 0) break;  // the bytes below find where
  }
#endif
  for (; at < size; ++at) {
    if (data[at] == '\r' || data[at] == 0x1A) return at;
  }
  return size;
}

TextFileRead ReadTextFile(const std::string& path, std::string& text) {
  text.clear();
  TextFileRead result;
  CTextModeReader file(CTextModeReader::Extent::kOpenLength);
  if ((result.error = file.Open(path)) != 0) return result;
  result.fileLength = file.FileLength();
  // Room for the whole file and one byte more, so that a read always has
  // the two bytes it takes at least.
  const size_t room = file.FileLength() + 1;
  text.reserve(room);
  // A 40 MB document otherwise takes ten thousand page faults to read.
  if (room >= kHugePageSize) AdviseHugePages(text.data(), room);
  text.resize(room);
  // Blocks small enough to be in cache still when text mode searches them.
  constexpr size_t kReadBlock = size_t{256} << 10;
  size_t got = 0;
  while (!file.Ended()) {
    size_t delivered = 0;
    if ((result.error = file.Read(text.data() + got, std::min(kReadBlock, room - got), delivered)) != 0) break;
    got += delivered;
  }
  text.resize(got);
  return result;
}

// The lexer's input buffer and its line and column count.
#include "reader/SSLexConsumer.h"

#include <string.h>  // memrchr

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "reader/SSException.h"

SSLexConsumer::SSLexConsumer(const std::string& fileName) : name_(fileName) {
  TextFileRead read = ReadTextFile(fileName, file_);
  if (read.error != 0 && read.fileLength == 0) {
    throw SSException(SSCode::kLexOpenFile, "SSLex0101e: Error opening file, %s, %ld", fileName.c_str(),
                      static_cast<long>(read.error));
  }
  if (read.error != 0 || read.fileLength == 0) {
    throw SSException(SSCode::kLexFileLength, "SSLex0102e: Invalid file length or read error, %s, %ld",
                      fileName.c_str(), static_cast<long>(read.fileLength));
  }
  data_ = file_.data();
  length_ = file_.size();
  TakeCodePage();
}

SSLexConsumer::SSLexConsumer(std::string text, std::string name) : text_(std::move(text)), name_(std::move(name)) {
  data_ = text_.data();
  length_ = text_.size();
  TakeCodePage();
}

void SSLexConsumer::TakeCodePage() {
  leadBytes_ = ProcessLeadBytes();
  for (bool lead : leadBytes_) hasLeadBytes_ = hasLeadBytes_ || lead;
}

// Note [places on demand]: a token's line and column used to be counted as
// the mark moved, at every token: a tenth of the lexer's time, most of it
// in mispredicted branches where a token crossed a line end. The parse
// actions want the place of one token in a dozen or so. The consumer keeps
// the last place asked for and counts the line ends between it and the
// next, sixty-four bytes a step; a place before it is counted back from
// it. A load takes about as long as before, lexing alone a tenth less.

SSTextPlace SSLexConsumer::PlaceAt(size_t offset) const {
  if (offset > length_) offset = length_;
  size_t last = SIZE_MAX;
  if (offset >= placed_) {
    if (const size_t ends = CountLineEnds(placed_, offset, last)) {
      placedLine_ += static_cast<int32_t>(ends);
      placedLineStart_ = last + 1;
    }
  } else {
    placedLine_ -= static_cast<int32_t>(CountLineEnds(offset, placed_, last));
    // Where the line of offset starts: after the last line end before it.
    placedLineStart_ = 0;
    for (size_t end = offset; end > 0;) {
      const void* lf = ::memrchr(Data(), '\n', end);
      if (lf == nullptr) break;
      const size_t at = static_cast<size_t>(static_cast<const unsigned char*>(lf) - Data());
      if (EndsLine(at, 0)) {
        placedLineStart_ = at + 1;
        break;
      }
      end = at;
    }
  }
  placed_ = offset;
  return {placedLine_, static_cast<int32_t>(offset - placedLineStart_) + 1};
}

bool SSLexConsumer::EndsLine(size_t at, size_t boundary) const {
  return !hasLeadBytes_ || !IsTrailByteAt(leadBytes_, data_ + boundary, data_ + at);
}

namespace {

// How many bits of \p x are set, without a call: x86-64 as such has no
// popcount instruction.
inline unsigned CountBits(uint64_t x) {
  x = x - ((x >> 1) & 0x5555555555555555u);
  x = (x & 0x3333333333333333u) + ((x >> 2) & 0x3333333333333333u);
  x = (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0Fu;
  return static_cast<unsigned>((x * 0x0101010101010101u) >> 56);
}

}  // namespace

size_t SSLexConsumer::CountLineEnds(size_t from, size_t to, size_t& last) const {
  const unsigned char* const data = Data();
  size_t ends = 0;
  size_t i = from;
#ifdef __SSE2__
  // Sixty-four bytes a step, one bit each for their line feeds: most spans
  // between two places asked for take one or two steps, without a branch
  // on what they hold.
  const __m128i lineFeed = _mm_set1_epi8('\n');
  const auto lineFeeds = [&](size_t at) {
    const auto bits = [&](size_t k) {
      const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at + 16 * k));
      return static_cast<uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, lineFeed))));
    };
    return bits(0) | bits(1) << 16 | bits(2) << 32 | bits(3) << 48;
  };
  for (; i < to && i + 64 <= length_; i += 64) {
    uint64_t bits = lineFeeds(i);
    if (to - i < 64) bits &= (uint64_t{1} << (to - i)) - 1;
    if (hasLeadBytes_) {
      // A line feed right after a lead byte may be the second byte of a
      // character: such spans are counted the exact way.
      for (uint64_t b = bits; b != 0; b &= b - 1) {
        const size_t at = i + static_cast<size_t>(__builtin_ctzll(b));
        if (at > from && leadBytes_[data[at - 1]]) return ends + CountEachLineEnd(i, to, last, from);
      }
    }
    ends += CountBits(bits);
    last = bits != 0 ? i + 63 - static_cast<size_t>(__builtin_clzll(bits | 1)) : last;
  }
  if (i >= to) return ends;
#endif
  return ends + CountEachLineEnd(i, to, last, from);
}

size_t SSLexConsumer::CountEachLineEnd(size_t from, size_t to, size_t& last, size_t boundary) const {
  const unsigned char* const data = Data();
  size_t ends = 0;
  // Each line feed is checked back to the byte after the one before it,
  // which ends a character either way.
  for (size_t i = from; i < to; ++i) {
    if (data[i] != '\n') continue;
    if (EndsLine(i, boundary)) {
      ++ends;
      last = i;
    }
    boundary = i + 1;
  }
  return ends;
}

// The lexer's input buffer and its line and column count.
#include "reader/SSLexConsumer.h"

#include <string.h>  // memrchr

#include <algorithm>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "platform/HugePages.h"
#include "reader/SSException.h"

// Note [input window]: a file is not mapped nor read whole. The first touch
// of each small page of fresh memory, or of a mapping, costs more on the
// virtual machines we measure than reading the page; a buffer of a quarter
// megabyte, read into again and again, stays in cache and is touched once.
// The lexer asks for more when a match reaches the end of the window, and
// then matches that token again over the longer window. What goes at a
// slide is what nobody can ask for again: the bytes before the mark and
// before the oldest token the parser still holds (SetKeepFrom), whose
// texts and places are taken from the window. A token longer than half
// the window, or one held for long (a whole frame), makes it grow.
SSLexConsumer::SSLexConsumer(const std::string& fileName, size_t window) : name_(fileName) {
  if (const int error = file_.Open(fileName)) {
    throw SSException(SSCode::kLexOpenFile, "SSLex0101e: Error opening file, %s, %ld", fileName.c_str(),
                      static_cast<long>(error));
  }
  length_ = file_.FileLength();
  if (length_ == 0) {
    throw SSException(SSCode::kLexFileLength, "SSLex0102e: Invalid file length or read error, %s, %ld",
                      fileName.c_str(), 0L);
  }
  // A small file is read whole, in one read.
  Reserve(std::clamp(length_, size_t{2}, std::max(window, size_t{2})));
  more_ = true;
  ReadMore(true);
  TakeCodePage();
}

SSLexConsumer::SSLexConsumer(std::string text, std::string name) : text_(std::move(text)), name_(std::move(name)) {
  data_ = text_.data();
  size_ = length_ = text_.size();
  TakeCodePage();
}

SSLexConsumer::Buffer::~Buffer() { FreeHugePages(bytes, capacity + 1); }

// On huge pages once large: the first touch of each small page of fresh
// memory costs several microseconds on the virtual machines we measure.
void SSLexConsumer::Reserve(size_t capacity) {
  char* larger = static_cast<char*>(AllocateHugePages(capacity + 1));
  if (size_ > 0) std::memcpy(larger, buffer_.bytes, size_);
  FreeHugePages(buffer_.bytes, buffer_.capacity + 1);
  buffer_.bytes = larger;
  buffer_.capacity = capacity;
  data_ = larger;
}

void SSLexConsumer::ReadMore(bool first) {
  // A read takes at least two bytes: a CR held back from the last one and
  // what follows it.
  while (more_ && buffer_.capacity - size_ >= 2) {
    size_t delivered = 0;
    if (file_.Read(buffer_.bytes + size_, buffer_.capacity - size_, delivered) != 0) {
      if (first) {
        throw SSException(SSCode::kLexFileLength, "SSLex0102e: Invalid file length or read error, %s, %ld",
                          name_.c_str(), static_cast<long>(length_));
      }
      cut_ = true;
      more_ = false;
      break;
    }
    size_ += delivered;
    more_ = !file_.Ended();
  }
  buffer_.bytes[size_] = '\0';
  data_ = buffer_.bytes;
}

bool SSLexConsumer::Refill() {
  if (!more_) return false;
  size_t keep = origin_ + mark_;
  if (keepFrom_) keep = std::max(origin_, std::min(keep, keepFrom_()));
  const size_t drop = keep - origin_;
  const size_t kept = size_ - drop;
  if (drop > 0) {
    // The line ends before the first byte kept are counted while they are
    // there, and the line that holds it may begin before the window.
    if (placed_ < keep) PlaceAt(keep);
    windowLineStart_ = LineStartOf(keep);
    std::memmove(buffer_.bytes, buffer_.bytes + drop, kept);
  }
  // Each slide must read at least half a window to stay linear. When it
  // cannot, a token is held for long (a whole frame of nested groups): the
  // window becomes room for the rest of the file at once, so that it never
  // grows again, nor holds more than the file.
  if (kept > buffer_.capacity / 2) Reserve(std::max(2 * buffer_.capacity, length_ - keep + 2));
  origin_ = keep;
  size_ = kept;
  mark_ -= drop;
  ReadMore(false);
  return size_ > kept;
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
  // Offsets outside the window are no place anybody can ask for; they are
  // taken as its nearest end.
  offset = std::clamp(offset, origin_, origin_ + size_);
  size_t last = SIZE_MAX;
  if (offset >= placed_) {
    if (const size_t ends = CountLineEnds(placed_ - origin_, offset - origin_, last)) {
      placedLine_ += static_cast<int32_t>(ends);
      placedLineStart_ = origin_ + last + 1;
    }
  } else {
    placedLine_ -= static_cast<int32_t>(CountLineEnds(offset - origin_, placed_ - origin_, last));
    placedLineStart_ = LineStartOf(offset);
  }
  placed_ = offset;
  return {placedLine_, static_cast<int32_t>(offset - placedLineStart_) + 1};
}

size_t SSLexConsumer::LineStartOf(size_t offset) const {
  // After the last line end before it, or where the window's first line
  // starts.
  for (size_t end = offset - origin_; end > 0;) {
    const void* lf = ::memrchr(Data(), '\n', end);
    if (lf == nullptr) break;
    const size_t at = static_cast<size_t>(static_cast<const unsigned char*>(lf) - Data());
    if (EndsLine(at, 0)) return origin_ + at + 1;
    end = at;
  }
  return windowLineStart_;
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

// Inline in PlaceAt, its only caller, which every font reference's piece
// goes through.
__attribute__((always_inline)) inline size_t SSLexConsumer::CountLineEnds(size_t from, size_t to, size_t& last) const {
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
  for (; i < to && i + 64 <= size_; i += 64) {
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

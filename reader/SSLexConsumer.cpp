// The lexer's input buffer and its line and column count.
#include "reader/SSLexConsumer.h"

#include <string.h>  // memrchr

#include <algorithm>
#include <cstring>

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
  leadRanges_ = LeadByteRanges(leadBytes_);
}

// Note [places on demand]: a token's line and column used to be counted as
// the mark moved, at every token. That cost the lexer a tenth of its time,
// most of it in mispredicted branches where a token crossed a line end,
// for places that the parse actions ask of one token in several. The
// consumer keeps the last place asked for instead and counts the line
// ends between it and the next, sixteen bytes a step; a place before the
// last one is counted back from it.

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

size_t SSLexConsumer::CountLineEnds(size_t from, size_t to, size_t& last) const {
#ifdef __SSE2__
  size_t ends = 0;
  if (!hasLeadBytes_ && CountLineFeeds<false>(from, to, last, ends)) return ends;
  if (hasLeadBytes_ && leadRanges_.Vector() && CountLineFeeds<true>(from, to, last, ends)) return ends;
#endif
  return CountEachLineEnd(from, to, last);
}

#ifdef __SSE2__
template <bool kDoubleByte>
bool SSLexConsumer::CountLineFeeds(size_t from, size_t to, size_t& last, size_t& ends) const {
  const unsigned char* const data = Data();
  const auto load = [data](size_t at) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at)); };
  const __m128i lineFeed = _mm_set1_epi8('\n');
  // Each byte lane counts its line feeds; the lanes are added up before
  // one can overflow. In double-byte input, the line feeds that follow a
  // lead byte are gathered too: any of them sends the count to the exact
  // path. The byte before from is no part of the count (from starts a
  // character), hence the zero shifted in before the first step's bytes.
  __m128i suspects = _mm_setzero_si128();
  const auto lineFeeds = [&](size_t at, __m128i keep) {
    const __m128i bytes = load(at);
    const __m128i hits = _mm_and_si128(_mm_cmpeq_epi8(bytes, lineFeed), keep);
    if (kDoubleByte) {
      const __m128i before = at == from ? _mm_slli_si128(bytes, 1) : load(at - 1);
      suspects = _mm_or_si128(suspects, _mm_and_si128(hits, leadRanges_.In(before)));
    }
    return hits;
  };
  const __m128i all = _mm_set1_epi8(-1);
  const auto addUp = [&ends](__m128i lanes) {
    const __m128i sums = _mm_sad_epu8(lanes, _mm_setzero_si128());
    ends += static_cast<size_t>(_mm_cvtsi128_si64(sums)) +
            static_cast<size_t>(_mm_cvtsi128_si64(_mm_unpackhi_epi64(sums, sums)));
  };
  ends = 0;
  size_t i = from;
  while (i + 16 <= to) {
    __m128i lanes = _mm_setzero_si128();
    for (const size_t stop = std::min(to, i + 255 * 16); i + 16 <= stop; i += 16)
      lanes = _mm_sub_epi8(lanes, lineFeeds(i, all));
    addUp(lanes);
  }
  // The last few bytes in one more step when the input goes on past them.
  if (i < to && i + 16 <= length_) {
    const __m128i byteIndex = _mm_setr_epi8(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
    addUp(_mm_sub_epi8(_mm_setzero_si128(),
                       lineFeeds(i, _mm_cmplt_epi8(byteIndex, _mm_set1_epi8(static_cast<char>(to - i))))));
    i = to;
  }
  for (; i < to; ++i) {
    if (data[i] != '\n') continue;
    if (kDoubleByte && i > from && leadBytes_[data[i - 1]]) return false;
    ++ends;
  }
  if (kDoubleByte && _mm_movemask_epi8(suspects) != 0) return false;
  if (ends != 0) last = static_cast<size_t>(static_cast<const unsigned char*>(::memrchr(data, '\n', to)) - data);
  return true;
}
#endif

size_t SSLexConsumer::CountEachLineEnd(size_t from, size_t to, size_t& last) const {
  const unsigned char* const data = Data();
  size_t ends = 0;
  // Each line feed is checked back to the byte after the one before it,
  // which ends a character either way.
  for (const unsigned char* at = data + from; at < data + to; ++at) {
    at = static_cast<const unsigned char*>(std::memchr(at, '\n', static_cast<size_t>(data + to - at)));
    if (at == nullptr) break;
    const auto lf = static_cast<size_t>(at - data);
    if (EndsLine(lf, from)) {
      ++ends;
      last = lf;
    }
    from = lf + 1;
  }
  return ends;
}

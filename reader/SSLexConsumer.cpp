// The lexer's input buffer and its line and column count.
#include "reader/SSLexConsumer.h"

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
  nextLineFeed_ = FindLineFeed(0);
}

size_t SSLexConsumer::FindLineFeed(size_t from) const {
#ifdef __SSE2__
  // Lines are a few dozen bytes: their ends are found here sooner than a
  // call of memchr gets going, which is left for long lines.
  const __m128i lineFeed = _mm_set1_epi8('\n');
  for (const size_t near = from + 64; from + 16 <= Length() && from < near; from += 16) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Data() + from));
    if (const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, lineFeed)))) {
      return from + static_cast<size_t>(__builtin_ctz(mask));
    }
  }
#endif
  const void* lf = from < Length() ? std::memchr(Data() + from, '\n', Length() - from) : nullptr;
  return lf ? static_cast<size_t>(static_cast<const unsigned char*>(lf) - Data()) : Length();
}

void SSLexConsumer::MoveMarkAcrossLines(size_t end) {
  const unsigned char* const data = Data();
  if (!hasLeadBytes_) {
    // Every byte is one character, every line feed byte a line end. The
    // search that passes end finds the first line feed after it.
    size_t lf = nextLineFeed_;
    for (; lf < end; lf = FindLineFeed(lf + 1)) {
      ++line_;
      lineStart_ = lf + 1;
    }
    mark_ = end;
    nextLineFeed_ = lf;
    return;
  }
  // A lead byte takes the next byte with it, even a line feed; a lead byte
  // that ends the input is a character by itself.
  const size_t length = Length();
  for (size_t i = mark_; i < end;) {
    if (leadBytes_[data[i]] && i + 1 < length) {
      i += 2;
    } else if (data[i++] == '\n') {
      ++line_;
      lineStart_ = i;
    }
  }
  mark_ = end;
  nextLineFeed_ = FindLineFeed(end);
}

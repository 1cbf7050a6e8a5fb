// Buffering and text mode in front of the safe-file writer.
#include "output/COutputFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {
constexpr size_t kBufferSize = 256 * 1024;
}  // namespace

int COutputFile::Open(const std::string& path, bool textMode) {
  Discard();
  textMode_ = textMode;
  if (int err = file_.Create(path)) return err;
  buffer_.resize(kBufferSize);
  return 0;
}

int COutputFile::WriteRaw(const char* data, size_t size) {
  if (size >= buffer_.size() - used_) {
    if (int err = Flush()) return err;
    // Large blocks go straight to the file.
    if (size >= buffer_.size()) return file_.Write(std::string_view(data, size));
  }
  std::memcpy(buffer_.data() + used_, data, size);
  used_ += size;
  return 0;
}

namespace {

// Copies \p size bytes from \p in to \p out with every line feed written as
// carriage return plus line feed; returns the bytes written. \p out has
// room for twice \p size. Most lines are far longer than a block of 16
// bytes, so whole blocks are copied at once, and a block holding a line
// feed is copied up to it and taken up again after it.
size_t ExpandLineEnds(const char* in, size_t size, char* out) {
  const char* end = in + size;
  char* to = out;
#if defined(__SSE2__)
  const __m128i lf = _mm_set1_epi8('\n');
  // Each block is stored whole; what follows its line feed is written over.
  while (end - in >= 16) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(to), block);
    const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, lf)));
    if (mask == 0) {
      in += 16;
      to += 16;
      continue;
    }
    const unsigned at = static_cast<unsigned>(__builtin_ctz(mask));
    to += at;
    *to++ = '\r';
    *to++ = '\n';
    in += at + 1;
  }
#endif
  for (; in < end; ++in) {
    if (*in == '\n') *to++ = '\r';
    *to++ = *in;
  }
  return static_cast<size_t>(to - out);
}

}  // namespace

int COutputFile::Write(std::string_view text) {
  if (!file_.IsOpen()) return file_.Write(text);  // the failure it had, or EBADF
  if (!textMode_) return WriteRaw(text.data(), text.size());
  // In parts that fit the buffer even if every byte were a line feed.
  while (!text.empty()) {
    if (buffer_.size() - used_ < 2 * std::min(text.size(), kBufferSize / 4)) {
      if (int err = Flush()) return err;
    }
    const size_t part = std::min(text.size(), (buffer_.size() - used_) / 2);
    used_ += ExpandLineEnds(text.data(), part, buffer_.data() + used_);
    text.remove_prefix(part);
  }
  return 0;
}

int COutputFile::Flush() {
  int err = file_.Write(std::string_view(buffer_.data(), used_));
  used_ = 0;
  return err;
}

int COutputFile::Commit() {
  int err = file_.IsOpen() ? Flush() : 0;
  // After a failed write Commit refuses and removes the temporary.
  const int commit = file_.Commit();
  if (err == 0) err = commit;
  buffer_ = std::vector<char>();
  return err;
}

void COutputFile::Discard() {
  file_.Discard();
  used_ = 0;
}

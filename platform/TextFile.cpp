// Whole-file reading with Windows text-mode semantics.
#include "platform/TextFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <utility>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "platform/HugePages.h"
#include "platform/OpenForReading.h"

size_t ApplyTextMode(char* data, size_t size) {
  if (const void* eof = std::memchr(data, 0x1A, size)) {
    size = static_cast<size_t>(static_cast<const char*>(eof) - data);
  }
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

namespace {

// How much one read asks for: small enough that the block is still in the
// cache when it is searched.
constexpr size_t kReadBlock = size_t{256} << 10;
// From this size on, a file the lexer reads whole is mapped rather than
// read (Note [mapped input]); below it, a read costs less than a mapping.
constexpr size_t kMapFrom = size_t{1} << 20;

// Opens \p path for reading; the open descriptor in \p fd, the file's
// length in the result.
TextFileRead OpenWhole(const std::string& path, int& fd) {
  TextFileRead result;
  fd = -1;
  if ((result.error = OpenForReading(path, fd)) != 0) return result;
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    result.error = errno;
    ::close(fd);
    fd = -1;
    return result;
  }
  result.fileLength = static_cast<size_t>(st.st_size);
  return result;
}

// Reads the open file \p fd whole in text mode into the buffer that
// room(length) gives for its length, and closes it; the bytes delivered in
// \p delivered.
template <class Room>
void ReadOpen(int fd, TextFileRead& result, Room room, size_t& delivered) {
  delivered = 0;
  char* const data = room(result.fileLength);
  // Read in blocks, each searched for the bytes text mode acts on while
  // it is still in the cache: searching the whole file after reading it
  // would fetch it from memory twice more. Most files hold neither byte.
  size_t got = 0;
  size_t plain = SIZE_MAX;  // where the first CR or 0x1A is, once found
  while (got < result.fileLength) {
    ssize_t n = ::read(fd, data + got, std::min(kReadBlock, result.fileLength - got));
    if (n < 0) {
      if (errno == EINTR) continue;
      result.error = errno;
      break;
    }
    if (n == 0) break;  // the file shrank while we read it
    if (plain == SIZE_MAX) {
      const size_t first = FindTextModeByte(data + got, static_cast<size_t>(n));
      if (first < static_cast<size_t>(n)) plain = got + first;
    }
    got += static_cast<size_t>(n);
  }
  ::close(fd);
  // Everything before the first CR or 0x1A comes through as it is.
  delivered = plain >= got ? got : plain + ApplyTextMode(data + plain, got - plain);
}

}  // namespace

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
  size_t delivered = 0;
  int fd = -1;
  TextFileRead result = OpenWhole(path, fd);
  if (fd < 0) return result;
  ReadOpen(
      fd, result,
      [&text](size_t length) {
        text.reserve(length);
        // A 40 MB document otherwise takes ten thousand page faults to read.
        if (length >= kHugePageSize) AdviseHugePages(text.data(), length);
        text.resize(length);
        return text.data();
      },
      delivered);
  text.resize(delivered);
  return result;
}

CFileBytes::CFileBytes(CFileBytes&& other) noexcept
    : mapping_(std::move(other.mapping_)),
      data_(std::exchange(other.data_, nullptr)),
      size_(std::exchange(other.size_, 0)),
      capacity_(std::exchange(other.capacity_, 0)) {}

CFileBytes& CFileBytes::operator=(CFileBytes&& other) noexcept {
  if (this != &other) {
    Free();
    mapping_ = std::move(other.mapping_);
    data_ = std::exchange(other.data_, nullptr);
    size_ = std::exchange(other.size_, 0);
    capacity_ = std::exchange(other.capacity_, 0);
  }
  return *this;
}

CFileBytes::~CFileBytes() { Free(); }

char* CFileBytes::Allocate(size_t capacity) {
  Free();
  data_ = static_cast<char*>(AllocateHugePages(capacity + 1));
  capacity_ = capacity;
  data_[0] = '\0';
  return data_;
}

void CFileBytes::SetSize(size_t size) noexcept {
  if (data_ == nullptr) return;
  size_ = size < capacity_ ? size : capacity_;
  data_[size_] = '\0';
}

void CFileBytes::Free() noexcept {
  mapping_.Unmap();
  FreeHugePages(data_, capacity_ + 1);
  data_ = nullptr;
  size_ = capacity_ = 0;
}

namespace {

// Maps the open file \p fd of \p length bytes when it is large enough for
// a mapping to be cheaper than a read, and text mode leaves the whole file
// as it is: its bytes are then what a text-mode read delivers.
bool MapPlainTextFile(int fd, size_t length, CFileMapping& mapping) {
  if (length < kMapFrom || !mapping.Map(fd, length)) return false;
  // A file cut short since it was measured is read as a read sees it.
  if (FindTextModeByte(mapping.data(), length) == length && !mapping.Cut()) return true;
  mapping.Unmap();
  return false;
}

}  // namespace

TextFileRead ReadTextFile(const std::string& path, CFileBytes& bytes) {
  bytes.Free();
  int fd = -1;
  TextFileRead result = OpenWhole(path, fd);
  if (fd < 0) return result;
  // Most files hold no byte that text mode changes, and are seen as they
  // are; the others are read, which changes them.
  if (MapPlainTextFile(fd, result.fileLength, bytes.mapping_)) {
    ::close(fd);
    return result;
  }
  size_t delivered = 0;
  ReadOpen(
      fd, result, [&bytes](size_t length) { return bytes.Allocate(length); }, delivered);
  bytes.SetSize(delivered);
  return result;
}

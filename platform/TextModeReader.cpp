// Block reading with text-mode translation.
#include "platform/TextModeReader.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/OpenForReading.h"
#include "platform/TextFile.h"

int CTextModeReader::Open(const std::string& path) {
  Close();
  int fd = -1;
  if (int error = OpenForReading(path, fd)) return error;
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    const int error = errno;
    ::close(fd);
    return error;
  }
  fd_ = fd;
  length_ = static_cast<size_t>(st.st_size);
  offset_ = 0;
  ended_ = false;
  carriedCr_ = false;
  return 0;
}

void CTextModeReader::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

int CTextModeReader::Read(char* into, size_t capacity, size_t& delivered) {
  delivered = 0;
  if (fd_ < 0) return EBADF;
  while (delivered == 0 && !ended_) {
    size_t start = 0;
    if (carriedCr_) {
      into[0] = '\r';
      start = 1;
      carriedCr_ = false;
    }
    size_t ask = capacity - start;
    if (extent_ == Extent::kOpenLength) ask = std::min(ask, length_ - std::min(offset_, length_));
    ssize_t n = ask == 0 ? 0 : ::read(fd_, into + start, ask);
    if (n < 0) {
      carriedCr_ = start == 1;
      if (errno == EINTR) continue;
      return errno;
    }
    offset_ += static_cast<size_t>(n);
    // A file cut short while it is read would otherwise be taken as if
    // whole, only shorter.
    if (n == 0 && offset_ < length_) return EIO;
    size_t size = start + static_cast<size_t>(n);
    if (n == 0 || (extent_ == Extent::kOpenLength && offset_ >= length_)) ended_ = true;
    // Most blocks hold neither byte that text mode acts on.
    const size_t first = FindTextModeByte(into, size);
    if (first == size) {
      delivered = size;
      continue;
    }
    if (const void* eof = std::memchr(into + first, 0x1A, size - first)) {
      size = static_cast<size_t>(static_cast<const char*>(eof) - into);
      ended_ = true;
    }
    // A CR at the end of a block may be the first half of a CR LF pair.
    if (!ended_ && size > 0 && into[size - 1] == '\r') {
      carriedCr_ = true;
      --size;
    }
    // The block is cut at its 0x1A already.
    delivered = size > first ? first + CollapseCrLf(into + first, size - first) : size;
  }
  return 0;
}

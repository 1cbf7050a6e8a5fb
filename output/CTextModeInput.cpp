// Block reading with text-mode translation.
#include "output/CTextModeInput.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/OpenForReading.h"
#include "platform/TextFile.h"

CTextModeInput::~CTextModeInput() { Close(); }

int CTextModeInput::Open(const std::string& path) {
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
  pos_ = end_ = 0;
  ended_ = false;
  carriedCr_ = false;
  buffer_.resize(kBlockSize + kReadSlack);
  return 0;
}

void CTextModeInput::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  pos_ = end_ = 0;
}

int CTextModeInput::Fill() {
  if (pos_ < end_) return 0;
  pos_ = end_ = 0;
  if (fd_ < 0) return EBADF;
  while (end_ == 0 && !ended_) {
    size_t start = 0;
    if (carriedCr_) {
      buffer_[0] = '\r';
      start = 1;
      carriedCr_ = false;
    }
    ssize_t n = ::read(fd_, buffer_.data() + start, kBlockSize - start);
    if (n < 0) {
      if (errno == EINTR) {
        carriedCr_ = start == 1;
        continue;
      }
      return errno;
    }
    offset_ += static_cast<size_t>(n);
    // A file cut short while it is read would otherwise be copied as if
    // whole, only shorter.
    if (n == 0 && offset_ < length_) return EIO;
    size_t size = start + static_cast<size_t>(n);
    if (n == 0) ended_ = true;
    // Most blocks hold neither byte that text mode acts on.
    const size_t first = FindTextModeByte(buffer_.data(), size);
    if (first == size) {
      end_ = size;
      continue;
    }
    if (const void* eof = std::memchr(buffer_.data() + first, 0x1A, size - first)) {
      size = static_cast<size_t>(static_cast<const char*>(eof) - buffer_.data());
      ended_ = true;
    }
    // A CR at the end of a block may be the first half of a CR LF pair.
    if (!ended_ && size > 0 && buffer_[size - 1] == '\r') {
      carriedCr_ = true;
      --size;
    }
    end_ = size > first ? first + ApplyTextMode(buffer_.data() + first, size - first) : size;
  }
  return 0;
}

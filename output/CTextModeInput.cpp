// Block reading with text-mode translation.
#include "output/CTextModeInput.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/OpenForReading.h"
#include "platform/TextFile.h"

namespace {
constexpr size_t kBlockSize = 64 * 1024;
// The stretch of a mapping looked at at once: well within the cache.
constexpr size_t kMappedStretch = 256 * 1024;
}  // namespace

CTextModeInput::~CTextModeInput() { Close(); }

int CTextModeInput::Open(const std::string& path) {
  Close();
  int fd = -1;
  if (int error = OpenForReading(path, fd)) return error;
  pos_ = end_ = 0;
  ended_ = false;
  carriedCr_ = false;
  fd_ = fd;
  struct stat st {};
  if (::fstat(fd, &st) == 0 && MapLargeTextFile(fd, static_cast<size_t>(st.st_size), mapping_, kReadSlack)) {
    block_ = mapping_.data();
    plainEnd_ = mapping_.size();
    return 0;
  }
  buffer_.resize(kBlockSize + kReadSlack);
  block_ = buffer_.data();
  return 0;
}

bool CTextModeInput::DeliverMapped() {
  if (end_ >= plainEnd_) return false;
  const size_t to = std::min(plainEnd_, end_ + kMappedStretch);
  const size_t found = end_ + FindTextModeByte(block_ + end_, to - end_);
  if (found < to) plainEnd_ = found;
  end_ = found;
  return pos_ < end_;
}

int CTextModeInput::LeaveMapping() {
  if (::lseek(fd_, static_cast<off_t>(plainEnd_), SEEK_SET) < 0) return errno;
  mapping_.Unmap();
  buffer_.resize(kBlockSize + kReadSlack);
  block_ = buffer_.data();
  pos_ = end_ = 0;
  return 0;
}

void CTextModeInput::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  mapping_.Unmap();
  plainEnd_ = 0;
  block_ = "";
  pos_ = end_ = 0;
}

int CTextModeInput::Fill() {
  if (pos_ < end_) return 0;
  if (mapping_.data() != nullptr) {
    if (DeliverMapped()) return 0;
    // The bytes of a file cut short were zeros from its new end on: what
    // was delivered is not the file.
    if (mapping_.Cut()) return EIO;
    if (plainEnd_ == mapping_.size()) return 0;  // the end of the input
    if (int error = LeaveMapping()) return error;
  }
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
    size_t size = start + static_cast<size_t>(n);
    if (n == 0) ended_ = true;
    if (const void* eof = std::memchr(buffer_.data(), 0x1A, size)) {
      size = static_cast<size_t>(static_cast<const char*>(eof) - buffer_.data());
      ended_ = true;
    }
    // A CR at the end of a block may be the first half of a CR LF pair.
    if (!ended_ && size > 0 && buffer_[size - 1] == '\r') {
      carriedCr_ = true;
      --size;
    }
    end_ = ApplyTextMode(buffer_.data(), size);
  }
  return 0;
}

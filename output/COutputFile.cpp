// The temporary-file writer behind every output file.
#include "output/COutputFile.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {
constexpr size_t kBufferSize = 256 * 1024;

// Temporary names are unique within the process by a counter and between
// processes by the process id; O_EXCL settles any remaining clash.
std::string TemporaryNameFor(const std::string& path, unsigned attempt) {
  static std::atomic<unsigned> counter{0};
  char suffix[48];
  std::snprintf(suffix, sizeof suffix, ".tstmp%ld.%u", static_cast<long>(::getpid()),
                counter.fetch_add(1) + attempt);
  return path + suffix;
}
}  // namespace

COutputFile::~COutputFile() { Discard(); }

int COutputFile::Open(const std::string& path, bool textMode) {
  Discard();
  path_ = path;
  textMode_ = textMode;
  error_ = 0;
  used_ = 0;
  for (unsigned attempt = 0; attempt < 100; ++attempt) {
    std::string temp = TemporaryNameFor(path, attempt);
    // 0666 lets the umask decide, as for any file the user creates.
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      fd_ = fd;
      tempPath_ = std::move(temp);
      buffer_.resize(kBufferSize);
      return 0;
    }
    if (errno != EEXIST) return errno;
  }
  return EEXIST;
}

int COutputFile::WriteRaw(const char* data, size_t size) {
  if (size >= buffer_.size() - used_) {
    if (int err = Flush()) return err;
    // Large blocks go straight to the file.
    if (size >= buffer_.size()) return WriteFully(data, size);
  }
  std::memcpy(buffer_.data() + used_, data, size);
  used_ += size;
  return 0;
}

int COutputFile::Write(std::string_view text) {
  if (fd_ < 0) return error_ ? error_ : EBADF;
  if (error_) return error_;
  if (!textMode_) return WriteRaw(text.data(), text.size());
  const char* p = text.data();
  const char* end = p + text.size();
  while (p < end) {
    const char* lf = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
    if (lf == nullptr) return WriteRaw(p, static_cast<size_t>(end - p));
    const size_t line = static_cast<size_t>(lf - p);
    if (buffer_.size() - used_ > line + 2) {
      // The usual case, a line that fits the buffer, goes straight in.
      std::memcpy(buffer_.data() + used_, p, line);
      buffer_[used_ + line] = '\r';
      buffer_[used_ + line + 1] = '\n';
      used_ += line + 2;
    } else {
      if (int err = WriteRaw(p, line)) return err;
      if (int err = WriteRaw("\r\n", 2)) return err;
    }
    p = lf + 1;
  }
  return 0;
}

int COutputFile::Flush() {
  if (int err = WriteFully(buffer_.data(), used_)) return err;
  used_ = 0;
  return 0;
}

int COutputFile::WriteFully(const char* data, size_t size) {
  while (size > 0) {
    ssize_t n = ::write(fd_, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return error_ = errno;
    }
    data += n;
    size -= static_cast<size_t>(n);
  }
  return 0;
}

int COutputFile::Commit() {
  if (fd_ < 0) return error_ ? error_ : EBADF;
  int err = error_ ? error_ : Flush();
  // close() can be where a full disk or a network file system shows up.
  if (::close(fd_) != 0 && err == 0) err = errno;
  fd_ = -1;
  if (err == 0 && ::rename(tempPath_.c_str(), path_.c_str()) != 0) err = errno;
  if (err != 0) {
    ::unlink(tempPath_.c_str());
    error_ = err;
  }
  tempPath_.clear();
  buffer_ = std::vector<char>();
  return err;
}

void COutputFile::Discard() {
  if (fd_ >= 0) {
    ::close(fd_);
    fd_ = -1;
  }
  if (!tempPath_.empty()) {
    ::unlink(tempPath_.c_str());
    tempPath_.clear();
  }
  used_ = 0;
}

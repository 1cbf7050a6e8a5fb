// Exclusive opening through an advisory lock.
#include "platform/CExclusiveFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/FileException.h"
#include "platform/OpenForReading.h"

CExclusiveFile::CExclusiveFile(const std::string& path) : path_(path) {
  if (int error = OpenForReading(path, fd_)) CFileException::ThrowErrno(error, path);
  if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
    int error = errno;  // EWOULDBLOCK: someone else holds it
    ::close(fd_);
    fd_ = -1;
    CFileException::ThrowErrno(error, path);
  }
}

CExclusiveFile::~CExclusiveFile() { Close(); }

size_t CExclusiveFile::Read(void* buffer, size_t count) {
  if (fd_ < 0) CFileException::ThrowErrno(EBADF, path_);
  size_t done = 0;
  while (done < count) {
    ssize_t n = ::read(fd_, static_cast<char*>(buffer) + done, count - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      CFileException::ThrowErrno(errno, path_);
    }
    if (n == 0) break;
    done += static_cast<size_t>(n);
  }
  return done;
}

uint64_t CExclusiveFile::Length() const {
  struct stat st {};
  if (fd_ < 0) CFileException::ThrowErrno(EBADF, path_);
  if (::fstat(fd_, &st) != 0) CFileException::ThrowErrno(errno, path_);
  return static_cast<uint64_t>(st.st_size);
}

void CExclusiveFile::Close() {
  if (fd_ < 0) return;
  ::flock(fd_, LOCK_UN);
  ::close(fd_);
  fd_ = -1;
}

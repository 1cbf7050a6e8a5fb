// Whole-file writes through a temporary file and a rename.
#include "mapping/ReplaceFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "platform/FileException.h"

namespace {

// Opens a new file next to path; its name is returned in tempPath.
int CreateBeside(const std::string& path, std::string& tempPath) {
  static unsigned counter = 0;
  for (int attempt = 0; attempt < 100; ++attempt) {
    tempPath = path + "." + std::to_string(::getpid()) + "." + std::to_string(++counter) + ".tmp";
    // 0666 so that the result gets the permissions a plain create gives.
    int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

int WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return 0;
}

}  // namespace

void ReplaceFile(const std::string& path, std::string_view bytes) {
  // A file the user may not write stays refused, as creating it would be.
  struct stat st {};
  std::string target = path;
  if (::stat(path.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) CFileException::ThrowErrno(EISDIR, path);
    if (::access(path.c_str(), W_OK) != 0) CFileException::ThrowErrno(errno, path);
    // Through a link the file it names is replaced, not the link.
    if (char* resolved = ::realpath(path.c_str(), nullptr)) {
      target = resolved;
      std::free(resolved);
    }
  }
  std::string tempPath;
  int fd = CreateBeside(target, tempPath);
  if (fd < 0) CFileException::ThrowErrno(errno, path);
  int error = WriteAll(fd, bytes);
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error == 0 && ::rename(tempPath.c_str(), target.c_str()) != 0) error = errno;
  if (error != 0) {
    ::unlink(tempPath.c_str());
    CFileException::ThrowErrno(error, path);
  }
}

// Open, then look at what was opened before anything is read.
#include "platform/OpenForReading.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

int OpenForReading(const std::string& path, int& fd) {
  // Non-blocking, so that opening a FIFO without a writer returns at once.
  int opened = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (opened < 0) return errno;
  struct stat st {};
  int error = 0;
  if (::fstat(opened, &st) != 0) {
    error = errno;
  } else if (S_ISDIR(st.st_mode)) {
    error = EISDIR;
  } else if (!S_ISREG(st.st_mode)) {
    error = EACCES;
  } else if (::fcntl(opened, F_SETFL, ::fcntl(opened, F_GETFL) & ~O_NONBLOCK) != 0) {
    error = errno;
  }
  if (error != 0) {
    ::close(opened);
    return error;
  }
  fd = opened;
  return 0;
}

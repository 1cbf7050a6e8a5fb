// Writing the load log to a file.
#include "app/SaveLoadLog.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

#include "app/CLoadLog.h"
#include "app/SharedOperations.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"

namespace {

void WriteAll(int fd, const std::string& bytes, const std::string& path) {
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      int error = errno;
      ::close(fd);
      CFileException::ThrowErrno(error, path);
    }
    done += static_cast<size_t>(n);
  }
}

}  // namespace

void SaveLoadLog(const CLoadLog& log, const std::string& path) {
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) CFileException::ThrowErrno(errno, path);
  // The count is read again before each line, as the log may still grow.
  for (int32_t i = 0; i < log.GetLineCount(); ++i) WriteAll(fd, log.GetLine(i) + "\r\n", path);
  if (::close(fd) != 0) CFileException::ThrowErrno(errno, path);
}

std::string SaveFailureText(const CFileException& failure, const std::string& path) {
  return FileErrorText(failure) + "\n\r" + LoadResString(IdsFileNameLabel) + path;
}

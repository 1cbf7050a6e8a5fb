// File failures: the mapping of system errors to cause codes.
#include "platform/FileException.h"

#include <cerrno>
#include <cstring>

CFileException::CFileException(int32_t cause, int osError, std::string fileName)
    : cause_(cause), osError_(osError), fileName_(std::move(fileName)) {
  what_ = Message();
  if (!fileName_.empty()) what_ += ": " + fileName_;
}

void CFileException::ThrowErrno(int osError, const std::string& fileName) {
  throw CFileException(CauseFromErrno(osError), osError, fileName);
}

int32_t CFileException::CauseFromErrno(int osError) {
  switch (osError) {
    case 0:
      return none;
    case ENOENT:
      return fileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
      return badPath;
    case EMFILE:
    case ENFILE:
      return tooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case EEXIST:
      return accessDenied;
    case EBADF:
      return invalidFile;
    case EBUSY:
      return removeCurrentDir;
    case ESPIPE:
      return badSeek;
    case EIO:
    case ENXIO:
    case ENODEV:
      return hardIO;
#if EAGAIN != EWOULDBLOCK
    case EAGAIN:
#endif
    case EWOULDBLOCK:
    case ETXTBSY:
      return sharingViolation;
    case ENOLCK:
    case EDEADLK:
      return lockViolation;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return diskFull;
    default:
      return genericException;
  }
}

std::string CFileException::Message() const {
  if (osError_ != 0) return std::strerror(osError_);
  switch (cause_) {
    case none:
      return "No error";
    case endOfFile:
      return "Unexpected end of file";
    case directoryFull:
      return "No more directory entries";
    default:
      return "Unknown error";
  }
}

// File failures as the program reports them: a cause code 0-14 with the
// system error behind it and the file concerned.
#pragma once

#include <cstdint>
#include <exception>
#include <string>

/// A failed file operation. Cause codes, and the errno values mapped to them:
///   0 none                      (errno 0)
///   1 generic                   (every errno not listed here)
///   2 file not found            ENOENT
///   3 bad path                  ENOTDIR, ENAMETOOLONG, ELOOP
///   4 too many open files       EMFILE, ENFILE
///   5 access denied             EACCES, EPERM, EROFS, EISDIR, EEXIST
///   6 invalid file handle       EBADF
///   7 cannot remove current dir EBUSY
///   8 directory full            (no errno: Linux reports ENOSPC)
///   9 seek error                ESPIPE
///  10 hardware error            EIO, ENXIO, ENODEV
///  11 sharing violation         EWOULDBLOCK/EAGAIN (a lock held elsewhere), ETXTBSY
///  12 lock violation            ENOLCK, EDEADLK
///  13 disk full                 ENOSPC, EDQUOT, EFBIG
///  14 end of file               (no errno: raised when a read ends early)
class CFileException : public std::exception {
 public:
  /// The cause codes.
  enum Cause : int32_t {
    none = 0,
    genericException = 1,
    fileNotFound = 2,
    badPath = 3,
    tooManyOpenFiles = 4,
    accessDenied = 5,
    invalidFile = 6,
    removeCurrentDir = 7,
    directoryFull = 8,
    badSeek = 9,
    hardIO = 10,
    sharingViolation = 11,
    lockViolation = 12,
    diskFull = 13,
    endOfFile = 14,
  };

  /// A failure of \p cause, from system error \p osError (0 for none),
  /// concerning \p fileName.
  explicit CFileException(int32_t cause, int osError = 0, std::string fileName = {});

  /// A failure of the system error \p osError on \p fileName.
  [[noreturn]] static void ThrowErrno(int osError, const std::string& fileName);

  /// The cause code for a system error number.
  static int32_t CauseFromErrno(int osError);

  int32_t GetCause() const noexcept { return cause_; }
  const std::string& FileName() const noexcept { return fileName_; }
  /// The system's own description of the failure (not a string-table text).
  std::string Message() const;
  const char* what() const noexcept override { return what_.c_str(); }

 private:
  int32_t cause_;
  int osError_;
  std::string fileName_;
  std::string what_;
};

// Whole-file writes through the safe-file writer.
#include "mapping/ReplaceFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/CSafeFileWriter.h"
#include "platform/FileException.h"

void ReplaceFile(const std::string& path, std::string_view bytes) {
  // A file the user may not write stays refused, as creating it would be.
  struct stat st {};
  std::string target = path;
  const bool exists = ::stat(path.c_str(), &st) == 0;
  if (exists) {
    if (S_ISDIR(st.st_mode)) CFileException::ThrowErrno(EISDIR, path);
    if (::access(path.c_str(), W_OK) != 0) CFileException::ThrowErrno(errno, path);
    // Through a link the file it names is replaced, not the link.
    if (char* resolved = ::realpath(path.c_str(), nullptr)) {
      target = resolved;
      std::free(resolved);
    }
  }
  CSafeFileWriter file;
  int error = file.Create(target);
  // The new version keeps the permissions of the one it replaces.
  if (error == 0 && exists) error = file.CopyPermissionsFrom(target);
  if (error == 0) error = file.Write(bytes);
  if (error == 0) error = file.Commit();
  if (error != 0) CFileException::ThrowErrno(error, path);
}

// Whether two paths name one file, decided by the file system rather than
// by comparing the texts.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <optional>
#include <string>

/// A file as the file system knows it: its device and inode.
struct CFileIdentity {
  dev_t device = 0;
  ino_t inode = 0;
  bool operator==(const CFileIdentity&) const = default;
};

/// The identity of the file at \p path, symbolic links followed; nothing
/// when the path names nothing.
std::optional<CFileIdentity> IdentityOf(const std::string& path);

/// \p path made absolute, with ".", ".." and the symbolic links of its
/// existing part resolved; the text as given when even that fails. Case is
/// kept: "a.doc" and "A.doc" are two files here.
std::string CanonicalPath(const std::string& path);

/// A text that is equal for two paths exactly when they name one file: the
/// device and inode of an existing file, the canonical path of anything
/// else. For keys of maps and sets.
std::string FileKey(const std::string& path);

/// True when \p a and \p b name one file: by device and inode when both
/// exist, by canonical path otherwise. Never ignores case.
bool SameFile(const std::string& a, const std::string& b);

/// What tells whether a file changed: its identity, size and modification
/// time (to the nanosecond).
struct CFileStamp {
  CFileIdentity identity;
  off_t size = 0;
  int64_t modifiedSeconds = 0;
  int64_t modifiedNanoseconds = 0;
  bool operator==(const CFileStamp&) const = default;
};

/// The stamp of the file at \p path now; nothing when it names nothing.
std::optional<CFileStamp> StampOf(const std::string& path);
/// The stamp of the open file \p fd; nothing when fstat fails.
std::optional<CFileStamp> StampOfOpenFile(int fd);

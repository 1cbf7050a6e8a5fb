// File identity through stat and the canonical path.
#include "platform/FileIdentity.h"

#include <sys/stat.h>

#include <filesystem>

std::optional<CFileIdentity> IdentityOf(const std::string& path) {
  struct stat st {};
  if (path.empty() || ::stat(path.c_str(), &st) != 0) return std::nullopt;
  return CFileIdentity{st.st_dev, st.st_ino};
}

std::string CanonicalPath(const std::string& path) {
  if (path.empty()) return path;
  std::error_code error;
  std::filesystem::path canonical = std::filesystem::weakly_canonical(path, error);
  return error ? path : canonical.string();
}

std::string FileKey(const std::string& path) {
  if (std::optional<CFileIdentity> id = IdentityOf(path)) {
    return std::to_string(id->device) + ':' + std::to_string(id->inode);
  }
  return '/' + CanonicalPath(path);  // cannot look like device:inode
}

bool SameFile(const std::string& a, const std::string& b) {
  std::optional<CFileIdentity> ia = IdentityOf(a);
  std::optional<CFileIdentity> ib = IdentityOf(b);
  if (ia && ib) return *ia == *ib;
  if (ia || ib) return false;
  return CanonicalPath(a) == CanonicalPath(b);
}

namespace {
CFileStamp StampFrom(const struct stat& st) {
  return CFileStamp{{st.st_dev, st.st_ino}, st.st_size, st.st_mtim.tv_sec, st.st_mtim.tv_nsec};
}
}  // namespace

std::optional<CFileStamp> StampOf(const std::string& path) {
  struct stat st {};
  if (path.empty() || ::stat(path.c_str(), &st) != 0) return std::nullopt;
  return StampFrom(st);
}

std::optional<CFileStamp> StampOfOpenFile(int fd) {
  struct stat st {};
  if (::fstat(fd, &st) != 0) return std::nullopt;
  return StampFrom(st);
}

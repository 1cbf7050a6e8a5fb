// Helpers for the output tests: a file-size limit that makes writes fail
// part-way, and listing what a directory holds.
#pragma once

#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <set>
#include <string>

namespace outputtest {

/// While alive, no file of the process may grow beyond \p bytes: writes
/// past it fail with EFBIG, as they would on a full disk.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    ::getrlimit(RLIMIT_FSIZE, &old_);
    rlimit limit = old_;
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, oldHandler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit old_{};
  void (*oldHandler_)(int) = nullptr;
};

/// The names of the entries of \p dir, sorted.
inline std::set<std::string> Entries(const std::filesystem::path& dir) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

}  // namespace outputtest

// The fuzzer's scratch directory and the files written into it.
#include "fuzz/FuzzScratchFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <map>

namespace {

// Never destroyed: the exit handler still needs it after static destructors.
const std::filesystem::path* scratchDir = nullptr;

// Where the scratch directory goes: in memory when the system has a place
// for that. Each input rewrites the file, and on a disk file system that
// costs more than the input itself (ext4 writes a file truncated and
// rewritten back to the disk when it is closed).
std::filesystem::path ScratchParent() {
  std::error_code error;
  const std::filesystem::path shm = "/dev/shm";
  if (std::filesystem::is_directory(shm, error) && ::access(shm.c_str(), W_OK | X_OK) == 0) return shm;
  return std::filesystem::temp_directory_path();
}

const std::filesystem::path& ScratchDir() {
  if (scratchDir == nullptr) {
    scratchDir = new std::filesystem::path(ScratchParent() / ("typeswap-fuzz-" + std::to_string(::getpid())));
    std::filesystem::create_directories(*scratchDir);
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(*scratchDir, ignored);
    });
  }
  return *scratchDir;
}

// A scratch file, open for writing for as long as the process runs: each
// input is two system calls (write, truncate) instead of an open, a write
// through a stdio buffer and a close.
struct ScratchFile {
  std::string path;
  int fd = -1;
};

}  // namespace

const std::string& WriteScratchFile(const std::string& name, const uint8_t* data, size_t size) {
  // Never destroyed, as the directory: the files stay open until exit.
  static auto* files = new std::map<std::string, ScratchFile>;
  ScratchFile& file = (*files)[name];
  if (file.fd < 0) {
    file.path = (ScratchDir() / name).string();
    file.fd = ::open(file.path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (file.fd < 0) std::abort();
  }
  for (size_t done = 0; done < size;) {
    const ssize_t wrote = ::pwrite(file.fd, data + done, size - done, static_cast<off_t>(done));
    if (wrote <= 0) std::abort();
    done += static_cast<size_t>(wrote);
  }
  if (::ftruncate(file.fd, static_cast<off_t>(size)) != 0) std::abort();
  return file.path;
}

// The fuzzer's scratch directory and the files written into it.
#include "fuzz/FuzzScratchFile.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

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

}  // namespace

std::string WriteScratchFile(const std::string& name, const uint8_t* data, size_t size) {
  std::string path = (ScratchDir() / name).string();
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) std::abort();
  if (size > 0 && std::fwrite(data, 1, size, f) != size) std::abort();
  std::fclose(f);
  return path;
}

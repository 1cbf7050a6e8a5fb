// The fuzzer's scratch directory and the files written into it.
#include "fuzz/FuzzScratchFile.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace {

// Never destroyed: the exit handler still needs it after static destructors.
const std::filesystem::path* scratchDir = nullptr;

const std::filesystem::path& ScratchDir() {
  if (scratchDir == nullptr) {
    scratchDir = new std::filesystem::path(std::filesystem::temp_directory_path() /
                                           ("typeswap-fuzz-" + std::to_string(::getpid())));
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

// bench_baselines: what the shell's tools take on the same documents, the
// bars the other benchmarks are set beside: `cat FILE > /dev/null` (merely
// reading the file) and `sed -e 's/<F3/<F13/g' FILE > OUT` (the job a user
// might try instead: far less, and wrongly).
#include <unistd.h>

#include <filesystem>
#include <string>

#include "bench/BenchSupport.h"

namespace fs = std::filesystem;

int main(int argc, char** argv) {
  const fs::path out = fs::temp_directory_path() / ("bench_baselines." + std::to_string(getpid()));
  for (const bench::BenchFile& f : bench::BenchFiles(argc, argv, "bench_baselines")) {
    const std::string name = fs::path(f.path).filename().string();
    const uint64_t bytes = fs::file_size(f.path);
    bench::Report("cat", name, bytes, bench::BestCommand(3, "cat '" + f.path + "' > /dev/null"));
    bench::Report("sed", name, bytes,
                  bench::BestCommand(3, "sed -e 's/<F3/<F13/g' '" + f.path + "' > '" + out.string() + "'"));
  }
  fs::remove(out);
  return 0;
}

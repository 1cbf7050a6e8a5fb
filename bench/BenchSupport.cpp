// Shared pieces of the benchmarks.
#include "bench/BenchSupport.h"

#include <cstdio>
#include <cstdlib>
#include <limits>

namespace bench {

double BestSeconds(int runs, const std::function<void()>& work) {
  double best = std::numeric_limits<double>::max();
  for (int i = 0; i < runs; ++i) {
    auto start = std::chrono::steady_clock::now();
    work();
    std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    best = std::min(best, took.count());
  }
  return best;
}

double CatSeconds(const std::string& file) {
  const std::string command = "cat '" + file + "' > /dev/null";
  return BestSeconds(3, [&] {
    if (std::system(command.c_str()) != 0) std::fprintf(stderr, "%s failed\n", command.c_str());
  });
}

void Report(const std::string& what, const std::string& file, uint64_t bytes, double seconds, double catSeconds,
            const std::string& note) {
  const double mb = static_cast<double>(bytes) / (1024.0 * 1024.0);
  std::printf("%-22s %-14s %8.1f MB  %8.3f s  %8.1f MB/s   (cat: %.3f s)%s%s\n", what.c_str(), file.c_str(), mb,
              seconds, mb / seconds, catSeconds, note.empty() ? "" : "  ", note.c_str());
  std::fflush(stdout);
}

std::vector<BenchFile> BenchFiles(int argc, char** argv, const char* program) {
  std::vector<BenchFile> files;
  int32_t codePage = 1252;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--codepage" && i + 1 < argc) {
      codePage = std::atoi(argv[++i]);
    } else if (arg.rfind("--", 0) == 0) {
      files.clear();
      break;
    } else {
      files.push_back({arg, codePage});
    }
  }
  if (files.empty()) {
    std::fprintf(stderr, "usage: %s [--codepage N] FILE...\n", program);
    std::exit(2);
  }
  return files;
}

}  // namespace bench

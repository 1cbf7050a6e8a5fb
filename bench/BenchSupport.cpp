// Shared pieces of the benchmarks.
#include "bench/BenchSupport.h"

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <limits>

namespace bench {

double ThreadCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

long PeakKilobytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

Timing Best(int runs, const std::function<void()>& work) {
  Timing best{std::numeric_limits<double>::max(), std::numeric_limits<double>::max()};
  for (int i = 0; i < runs; ++i) {
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = ThreadCpuSeconds();
    work();
    const double cpu = ThreadCpuSeconds() - cpuStart;
    const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;
    best.wall = std::min(best.wall, wall.count());
    best.cpu = std::min(best.cpu, cpu);
  }
  return best;
}

double BestSeconds(int runs, const std::function<void()>& work) { return Best(runs, work).wall; }

double CatSeconds(const std::string& file) {
  const std::string command = "cat '" + file + "' > /dev/null";
  return Best(3, [&] {
           if (std::system(command.c_str()) != 0) std::fprintf(stderr, "%s failed\n", command.c_str());
         }).wall;
}

void Report(const std::string& what, const std::string& file, uint64_t bytes, Timing timing, double catSeconds,
            const std::string& note) {
  const double mb = static_cast<double>(bytes) / (1024.0 * 1024.0);
  std::printf("%-16s %-10s %6.1f MB  %7.1f MB/s  (%.3f s; wall %.3f s, %.1f MB/s)  cat: %.3f s%s%s\n",
              what.c_str(), file.c_str(), mb, mb / timing.cpu, timing.cpu, timing.wall, mb / timing.wall,
              catSeconds, note.empty() ? "" : "  ", note.c_str());
  std::fflush(stdout);
}

void Report(const std::string& what, const std::string& file, uint64_t bytes, double seconds, double catSeconds,
            const std::string& note) {
  Report(what, file, bytes, Timing{seconds, seconds}, catSeconds, note);
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

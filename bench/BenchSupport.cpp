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
  return Best(
      runs, [] {}, work);
}

Timing Best(int runs, const std::function<void()>& setup, const std::function<void()>& work) {
  Timing best{std::numeric_limits<double>::max(), std::numeric_limits<double>::max()};
  for (int i = 0; i < runs; ++i) {
    setup();
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

Timing BestCommand(int runs, const std::string& command) {
  Timing best{std::numeric_limits<double>::max(), std::numeric_limits<double>::max()};
  for (int i = 0; i < runs; ++i) {
    rusage before{}, after{};
    getrusage(RUSAGE_CHILDREN, &before);
    const auto start = std::chrono::steady_clock::now();
    if (std::system(command.c_str()) != 0) std::fprintf(stderr, "%s failed\n", command.c_str());
    const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;
    getrusage(RUSAGE_CHILDREN, &after);
    auto seconds = [](const timeval& t) {
      return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6;
    };
    const double cpu =
        seconds(after.ru_utime) - seconds(before.ru_utime) + seconds(after.ru_stime) - seconds(before.ru_stime);
    best.wall = std::min(best.wall, wall.count());
    best.cpu = std::min(best.cpu, cpu);
  }
  return best;
}

void Report(const std::string& what, const std::string& file, uint64_t bytes, Timing timing, double peakRatio,
            const std::string& note) {
  std::printf("ROW\t%s\t%s\t%llu\t%.6f\t%.6f\t%.3f\t%s\n", what.c_str(), file.c_str(),
              static_cast<unsigned long long>(bytes), timing.cpu, timing.wall, peakRatio, note.c_str());
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

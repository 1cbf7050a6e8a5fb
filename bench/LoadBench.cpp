// bench_load: the whole loading driver (pre-check, lexer, parser, parse
// actions, model) on documents, with the peak memory a load takes. Every
// load runs in a process of its own, so that no run's peak hides another's.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>

#include "app/CMemoryLoadLog.h"
#include "app/LoadFileSet.h"
#include "bench/BenchSupport.h"
#include "model/CFontReferenceList.h"
#include "platform/CodePage.h"
#include "platform/HeapPages.h"

namespace {

constexpr int kRuns = 3;

// The measuring process: loads \p path once and prints its wall and
// processor seconds, the peak before and after loading (kB), references,
// valid files and errors.
int MeasureOnce(int32_t codePage, const std::string& path) {
  SetProcessCodePage(codePage);
  long before = bench::PeakKilobytes();
  CMemoryLoadLog log;
  CFontReferenceList model;
  int32_t errors = 0, valid = 0;
  auto start = std::chrono::steady_clock::now();
  double cpuStart = bench::ThreadCpuSeconds();
  bool ok = LoadFileSet(log, errors, model, path + ";", valid, LoadMode::TranslatedFiles, ".");
  double cpu = bench::ThreadCpuSeconds() - cpuStart;
  std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  std::printf("%.6f %.6f %ld %ld %d %d %d\n", took.count(), cpu, before, bench::PeakKilobytes(), model.Count(), valid,
              ok ? errors : errors + 1000);
  return 0;
}

struct Measurement {
  bench::Timing timing{0, 0};
  long before = 0, peak = 0;
  int references = 0, valid = 0, errors = 0;
};

bool RunChild(int32_t codePage, const std::string& path, Measurement& m) {
  const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
  const std::string command = "'" + self + "' --measure-once " + std::to_string(codePage) + " '" + path + "'";
  FILE* child = popen(command.c_str(), "r");
  if (!child) return false;
  int fields = std::fscanf(child, "%lf %lf %ld %ld %d %d %d", &m.timing.wall, &m.timing.cpu, &m.before, &m.peak,
                           &m.references, &m.valid, &m.errors);
  return pclose(child) == 0 && fields == 7;
}

}  // namespace

int main(int argc, char** argv) {
  PrepareHeap();  // as the programs do
  if (argc == 4 && std::string(argv[1]) == "--measure-once") {
    return MeasureOnce(std::atoi(argv[2]), argv[3]);
  }
  for (const bench::BenchFile& f : bench::BenchFiles(argc, argv, "bench_load")) {
    const std::string name = std::filesystem::path(f.path).filename().string();
    const uint64_t bytes = std::filesystem::file_size(f.path);
    Measurement best;
    for (int run = 0; run < kRuns; ++run) {
      Measurement m;
      if (!RunChild(f.codePage, f.path, m)) {
        std::fprintf(stderr, "%s: the measuring process failed\n", f.path.c_str());
        return 1;
      }
      if (run == 0 || m.timing.wall < best.timing.wall) best.timing.wall = m.timing.wall;
      if (run == 0 || m.timing.cpu < best.timing.cpu) best.timing.cpu = m.timing.cpu;
      best.peak = std::max(best.peak, m.peak);
      best.before = m.before;
      best.references = m.references;
      best.valid = m.valid;
      best.errors = m.errors;
    }
    const double documentMb = static_cast<double>(bytes) / (1024.0 * 1024.0);
    const double peakMb = static_cast<double>(best.peak) / 1024.0;
    char note[200];
    std::snprintf(note, sizeof note, "peak %.1f MB (%.1f MB before loading), %d references, %s", peakMb,
                  static_cast<double>(best.before) / 1024.0, best.references,
                  best.valid == 1 && best.errors == 0 ? "loaded" : "NOT LOADED");
    bench::Report("load (driver)", name, bytes, best.timing, peakMb / documentMb, note);
  }
  return 0;
}

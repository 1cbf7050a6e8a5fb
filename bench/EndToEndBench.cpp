// bench_end_to_end: the whole job on documents, as `typeswap-cli run` does
// it: load, build the mapping table, apply a font map that changes every
// font, write the output. It sets it beside the bar a user would compare
// with, `sed -e 's/<F3/<F13/g' FILE > OUT`, which does far less (and
// wrongly), run in turns with it: the machine's speed drifts over seconds,
// and the ratio of the two is what bench/run.sh judges. Every job runs in
// a process of its own, so that its peak memory is its own.
//
// With --job, the files are one job of several files, loaded on every core
// as the command line loads them; its row (wall time) stands beside sed run
// over the same files one after the other.
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "app/CLoadSession.h"
#include "app/CMemoryLoadLog.h"
#include "bench/BenchSupport.h"
#include "mapping/CMappingTable.h"
#include "mapping/CMessageSink.h"
#include "mapping/FontMapFile.h"
#include "output/CErrorReporter.h"
#include "output/CReportSink.h"
#include "output/GenerateOutput.h"
#include "platform/CodePage.h"
#include "platform/HeapPages.h"

namespace fs = std::filesystem;

namespace {

constexpr int kRuns = 3;

double WallSeconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// The processor time of every thread of the process so far.
double ProcessCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// A font map with one line per row of \p table, giving every row another
// family and size one point larger: every reference of the documents then
// changes.
std::string MapChangingEveryFont(const CMappingTable& table) {
  std::string map = "KORVIN Typeswap 1.00 for Interleaf;\r\n";
  for (int32_t row = 0; row < table.RowCount(); ++row) {
    const std::string& size = table.ColumnText(row, 2);
    const std::string newSize = std::to_string(std::atoi(size.c_str()) + 1);
    map += table.ColumnText(row, 0) + ";;";
    for (int32_t column = 1; column <= 4; ++column) map += table.ColumnText(row, column) + ";";
    map += table.ColumnText(row, 1) + "X;" + newSize + ";" + table.ColumnText(row, 3) + ";" + table.ColumnText(row, 4) +
           ";\r\n";
  }
  return map;
}

// The measuring process: the whole job once on \p paths, written below
// \p outDir, loaded on \p threads cores. Prints the processor seconds of
// load, table, map and write (this thread's), the whole job's wall and
// processor seconds (every thread's: passes over a large model use every
// core even when the files are loaded on one),
// the peak before and after (kB), references, rows, references changed and
// files written.
int MeasureOnce(int32_t codePage, const std::vector<std::string>& paths, const std::string& outDir, int32_t threads) {
  SetProcessCodePage(codePage);
  const long before = bench::PeakKilobytes();
  // Phases are timed in processor seconds: steadier than wall time on a busy machine.
  const double cpuStart = bench::ThreadCpuSeconds();
  const double processCpuStart = ProcessCpuSeconds();
  const double start = WallSeconds();

  std::string selection;
  for (const std::string& path : paths) selection += path + ";";
  CWizardChoices choices(selection, std::string(), outDir, 1);
  CMemoryLoadLog log;
  CLoadSession session(choices, log);
  session.SetLoadThreads(threads);
  session.Start(false);
  const double loaded = bench::ThreadCpuSeconds();
  if (session.State() != LoadState::Finished) return 1;

  CFontReferenceList& model = session.TranslatedModel();
  CMappingTable table(model);
  table.BuildTable();
  const double built = bench::ThreadCpuSeconds();
  const double builtWall = WallSeconds();

  // Writing the map file is the user's part of the job, not ours.
  const std::string mapPath = outDir + "/every-font.txt";
  {
    std::ofstream map(mapPath, std::ios::binary);
    map << MapChangingEveryFont(table);
  }
  const double mapStart = bench::ThreadCpuSeconds();
  const double mapStartWall = WallSeconds();
  CCollectingMessageSink messages;
  LoadFontMaps({mapPath}, table, session.FontModel(), messages);
  const double mapped = bench::ThreadCpuSeconds();
  fs::remove(mapPath);

  CCollectingReportSink reports;
  CErrorReporter reporter(&reports);
  const size_t written = GenerateOutput(model, choices, {}, reporter, nullptr).written.size();
  const double end = bench::ThreadCpuSeconds();
  const double endWall = WallSeconds();
  const double cpu = ProcessCpuSeconds() - processCpuStart - (mapStart - built);

  int changed = 0;
  for (int32_t i = 0; i < model.Count(); ++i) changed += model.GetAt(i)->GetChanged() ? 1 : 0;
  std::printf("%.6f %.6f %.6f %.6f %.6f %.6f %ld %ld %d %d %d %zu\n", loaded - cpuStart, built - loaded,
              mapped - mapStart, end - mapped, (endWall - start) - (mapStartWall - builtWall), cpu, before,
              bench::PeakKilobytes(), model.Count(), table.RowCount(), changed, written);
  return messages.messages.empty() && reporter.ReportCount() == 0 ? 0 : 1;
}

struct Measurement {
  double load = 0, table = 0, map = 0, write = 0;
  bench::Timing whole{0, 0};
  long before = 0, peak = 0;
  int references = 0, rows = 0, changed = 0;
  size_t written = 0;
};

bool RunChild(int32_t codePage, const std::vector<std::string>& paths, int32_t threads, const std::string& outDir,
              Measurement& m) {
  const std::string self = fs::read_symlink("/proc/self/exe").string();
  std::string command =
      "'" + self + "' --measure-once " + std::to_string(codePage) + " " + std::to_string(threads) + " '" + outDir + "'";
  for (const std::string& path : paths) command += " '" + path + "'";
  FILE* child = popen(command.c_str(), "r");
  if (!child) return false;
  int fields =
      std::fscanf(child, "%lf %lf %lf %lf %lf %lf %ld %ld %d %d %d %zu", &m.load, &m.table, &m.map, &m.write,
                  &m.whole.wall, &m.whole.cpu, &m.before, &m.peak, &m.references, &m.rows, &m.changed, &m.written);
  return pclose(child) == 0 && fields == 12;
}

void KeepBest(double& best, double value, int run) {
  if (run == 0 || value < best) best = value;
}

// The best of kRuns runs of the whole job on \p paths in processes of their
// own; false when a run failed. Before each, \p beside (a shell command)
// runs once, and its best time goes to \p besideBest: the two are measured
// in turns, so that their ratio does not depend on how busy the machine
// was when each was measured.
bool MeasureBest(int32_t codePage, const std::vector<std::string>& paths, int32_t threads, const fs::path& outDir,
                 Measurement& best, const std::string& beside, bench::Timing& besideBest) {
  for (int run = 0; run < kRuns; ++run) {
    const bench::Timing besideRun = bench::BestCommand(1, beside);
    KeepBest(besideBest.cpu, besideRun.cpu, run);
    KeepBest(besideBest.wall, besideRun.wall, run);
    // Every run writes into an empty folder, as the first does: copies
    // that replace those of the run before cost the file system more.
    fs::remove_all(outDir);
    fs::create_directories(outDir);
    Measurement m;
    if (!RunChild(codePage, paths, threads, outDir.string(), m) || m.written != paths.size()) {
      std::fprintf(stderr, "%s: the measuring process failed\n", paths.front().c_str());
      fs::remove_all(outDir);
      return false;
    }
    KeepBest(best.load, m.load, run);
    KeepBest(best.table, m.table, run);
    KeepBest(best.map, m.map, run);
    KeepBest(best.write, m.write, run);
    KeepBest(best.whole.wall, m.whole.wall, run);
    KeepBest(best.whole.cpu, m.whole.cpu, run);
    best.peak = std::max(best.peak, m.peak);
    best.before = m.before;
    best.references = m.references;
    best.rows = m.rows;
    best.changed = m.changed;
  }
  fs::remove_all(outDir);
  return true;
}

std::string Note(const Measurement& best) {
  char note[400];
  std::snprintf(note, sizeof note,
                "cpu: load %.3f s, table %.3f s (%d references, %d rows: %.3f s per 100,000), map %.3f s "
                "(%d changed), write %.3f s; peak %.1f MB",
                best.load, best.table, best.references, best.rows,
                best.references ? best.table * 100000.0 / best.references : 0.0, best.map, best.changed, best.write,
                static_cast<double>(best.peak) / 1024.0);
  return note;
}

// The bar the whole job is set beside: sed on \p path, written to \p out.
std::string SedCommand(const std::string& path, const fs::path& out) {
  return "sed -e 's/<F3/<F13/g' '" + path + "' > '" + out.string() + "'";
}

// One job of all \p paths on every core, read in \p codePage, beside sed
// over the same files one after the other.
int MeasureJob(int32_t codePage, const std::vector<std::string>& paths, const fs::path& outDir,
               const fs::path& sedOut) {
  const int32_t threads = static_cast<int32_t>(std::max(1u, std::thread::hardware_concurrency()));
  uint64_t bytes = 0;
  std::string cat, sed;
  for (const std::string& path : paths) {
    bytes += fs::file_size(path);
    cat += (cat.empty() ? "" : " && ") + ("cat '" + path + "' > /dev/null");
    sed += (sed.empty() ? "" : " && ") + SedCommand(path, sedOut);
  }
  const std::string name = "job of " + std::to_string(paths.size()) + " files";
  bench::Report("cat", name, bytes, bench::BestCommand(kRuns, cat));
  Measurement best;
  bench::Timing sedBest{0, 0};
  if (!MeasureBest(codePage, paths, threads, outDir, best, sed, sedBest)) return 1;
  bench::Report("sed", name, bytes, sedBest, 0, "in turns with the job");
  const double documentMb = static_cast<double>(bytes) / (1024.0 * 1024.0);
  bench::Report("end to end (job)", name, bytes, best.whole, static_cast<double>(best.peak) / 1024.0 / documentMb,
                std::to_string(threads) + " cores, processor time of all threads; " + Note(best));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  PrepareHeap();  // as the programs do
  if (argc >= 6 && std::string(argv[1]) == "--measure-once") {
    return MeasureOnce(std::atoi(argv[2]), std::vector<std::string>(argv + 5, argv + argc), argv[4],
                       std::atoi(argv[3]));
  }
  const std::string tag = "bench_end_to_end." + std::to_string(getpid());
  const fs::path outDir = fs::temp_directory_path() / tag;
  // sed writes beside the job's folder, which every run of the job empties.
  const fs::path sedOut = fs::temp_directory_path() / (tag + ".sed.out");
  struct RemoveSedOut {
    const fs::path& path;
    ~RemoveSedOut() {
      std::error_code ignored;
      fs::remove(path, ignored);
    }
  } removeSedOut{sedOut};
  if (argc >= 3 && std::string(argv[1]) == "--job") {
    // "--job [--codepage N] FILE...": one job, in the code page of its first file.
    std::vector<std::string> paths;
    const std::vector<bench::BenchFile> files = bench::BenchFiles(argc - 1, argv + 1, "bench_end_to_end --job");
    for (const bench::BenchFile& f : files) paths.push_back(f.path);
    return MeasureJob(files.front().codePage, paths, outDir, sedOut);
  }
  for (const bench::BenchFile& f : bench::BenchFiles(argc, argv, "bench_end_to_end")) {
    const std::string name = fs::path(f.path).filename().string();
    const uint64_t bytes = fs::file_size(f.path);
    Measurement best;
    bench::Timing sedBest{0, 0};
    if (!MeasureBest(f.codePage, {f.path}, 1, outDir, best, SedCommand(f.path, sedOut), sedBest)) return 1;
    const double documentMb = static_cast<double>(bytes) / (1024.0 * 1024.0);
    const double peakMb = static_cast<double>(best.peak) / 1024.0;
    bench::Report("sed beside the job", name, bytes, sedBest, 0, "in turns with the job");
    bench::Report("end to end", name, bytes, best.whole, peakMb / documentMb, Note(best));
  }
  return 0;
}

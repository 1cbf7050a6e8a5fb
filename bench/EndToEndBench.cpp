// bench_end_to_end: the whole job on documents, as `typeswap-cli run` does
// it: load, build the mapping table, apply a font map that changes every
// font, write the output. bench/run.sh sets it beside the bar a user would
// compare with, `sed -e 's/<F3/<F13/g' FILE > OUT` (bench_baselines), which
// does far less (and wrongly). Every job runs in a process of its own, so
// that its peak memory is its own.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>

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

namespace fs = std::filesystem;

namespace {

constexpr int kRuns = 3;

double WallSeconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
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
    map += table.ColumnText(row, 1) + "X;" + newSize + ";" + table.ColumnText(row, 3) + ";" +
           table.ColumnText(row, 4) + ";\r\n";
  }
  return map;
}

// The measuring process: the whole job once on \p path, written below
// \p outDir. Prints the processor seconds of load, table, map and write, the
// whole job's wall and processor seconds, the peak before and after (kB),
// references, rows, references changed and files written.
int MeasureOnce(int32_t codePage, const std::string& path, const std::string& outDir) {
  SetProcessCodePage(codePage);
  const long before = bench::PeakKilobytes();
  // Phases are timed in processor seconds: steadier than wall time on a busy machine.
  const double cpuStart = bench::ThreadCpuSeconds();
  const double start = WallSeconds();

  CWizardChoices choices(path + ";", std::string(), outDir, 1);
  CMemoryLoadLog log;
  CLoadSession session(choices, log);
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
  const double cpu = end - cpuStart - (mapStart - built);

  int changed = 0;
  for (int32_t i = 0; i < model.Count(); ++i) changed += model.GetAt(i)->GetChanged() ? 1 : 0;
  std::printf("%.6f %.6f %.6f %.6f %.6f %.6f %ld %ld %d %d %d %zu\n", loaded - cpuStart, built - loaded,
              mapped - mapStart, end - mapped, (endWall - start) - (mapStartWall - builtWall), cpu, before, bench::PeakKilobytes(),
              model.Count(), table.RowCount(), changed, written);
  return messages.messages.empty() && reporter.ReportCount() == 0 ? 0 : 1;
}

struct Measurement {
  double load = 0, table = 0, map = 0, write = 0;
  bench::Timing whole{0, 0};
  long before = 0, peak = 0;
  int references = 0, rows = 0, changed = 0;
  size_t written = 0;
};

bool RunChild(int32_t codePage, const std::string& path, const std::string& outDir, Measurement& m) {
  const std::string self = fs::read_symlink("/proc/self/exe").string();
  const std::string command = "'" + self + "' --measure-once " + std::to_string(codePage) + " '" + path + "' '" +
                              outDir + "'";
  FILE* child = popen(command.c_str(), "r");
  if (!child) return false;
  int fields = std::fscanf(child, "%lf %lf %lf %lf %lf %lf %ld %ld %d %d %d %zu", &m.load, &m.table, &m.map,
                           &m.write, &m.whole.wall, &m.whole.cpu, &m.before, &m.peak, &m.references, &m.rows,
                           &m.changed, &m.written);
  return pclose(child) == 0 && fields == 12;
}

void KeepBest(double& best, double value, int run) {
  if (run == 0 || value < best) best = value;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 5 && std::string(argv[1]) == "--measure-once") {
    return MeasureOnce(std::atoi(argv[2]), argv[3], argv[4]);
  }
  const fs::path outDir = fs::temp_directory_path() / ("bench_end_to_end." + std::to_string(getpid()));
  for (const bench::BenchFile& f : bench::BenchFiles(argc, argv, "bench_end_to_end")) {
    const std::string name = fs::path(f.path).filename().string();
    const uint64_t bytes = fs::file_size(f.path);
    fs::create_directories(outDir);
    Measurement best;
    for (int run = 0; run < kRuns; ++run) {
      Measurement m;
      if (!RunChild(f.codePage, f.path, outDir.string(), m) || m.written != 1) {
        std::fprintf(stderr, "%s: the measuring process failed\n", f.path.c_str());
        fs::remove_all(outDir);
        return 1;
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

    const double documentMb = static_cast<double>(bytes) / (1024.0 * 1024.0);
    const double peakMb = static_cast<double>(best.peak) / 1024.0;
    char note[400];
    std::snprintf(note, sizeof note,
                  "cpu: load %.3f s, table %.3f s (%d references, %d rows: %.3f s per 100,000), map %.3f s "
                  "(%d changed), write %.3f s; peak %.1f MB",
                  best.load, best.table, best.references, best.rows,
                  best.references ? best.table * 100000.0 / best.references : 0.0, best.map, best.changed,
                  best.write, peakMb);
    bench::Report("end to end", name, bytes, best.whole, peakMb / documentMb, note);
  }
  return 0;
}

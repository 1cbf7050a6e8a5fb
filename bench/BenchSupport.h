// Shared pieces of the benchmarks: timing, shell baselines, and one result
// row per measurement, which bench/run.sh gathers into one table.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace bench {

/// How long a piece of work took, in seconds.
struct Timing {
  double wall;
  double cpu;  ///< this thread's processor time: steadier than wall time on a busy machine
};

/// This thread's processor time so far, in seconds.
double ThreadCpuSeconds();
/// The process's peak resident memory so far, in kilobytes.
long PeakKilobytes();

/// The best of \p runs calls of \p work (each of wall and processor time).
Timing Best(int runs, const std::function<void()>& work);
/// The same, calling \p setup untimed before each call of \p work.
Timing Best(int runs, const std::function<void()>& setup, const std::function<void()>& work);
/// The best of \p runs runs of the shell command \p command: wall time and
/// the processor time of the processes it started.
Timing BestCommand(int runs, const std::string& command);

/// Prints one result row for bench/run.sh: what was measured, on which
/// file of how many bytes, its processor and wall time, its peak memory as
/// a multiple of the file's size (0 when not measured) and a note. Fields
/// are separated by tabs.
void Report(const std::string& what, const std::string& file, uint64_t bytes, Timing timing, double peakRatio = 0,
            const std::string& note = "");

/// A benchmark's command line: files, each with the code page given by the
/// last --codepage N before it (1252 by default).
struct BenchFile {
  std::string path;
  int32_t codePage;
};
/// Reads "[--codepage N] FILE..." from \p argv; exits with a usage message
/// naming \p program when it is malformed.
std::vector<BenchFile> BenchFiles(int argc, char** argv, const char* program);

}  // namespace bench

// Shared pieces of the benchmarks: timing, the `cat FILE > /dev/null`
// baseline, and one result line per measurement.
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
/// The best wall-clock time of \p runs calls of \p work, in seconds.
double BestSeconds(int runs, const std::function<void()>& work);

/// Best time of `cat FILE > /dev/null` over three runs: what merely reading
/// the file costs on this machine.
double CatSeconds(const std::string& file);

/// Prints one result line: what was measured, on which file, its speed in
/// MB/s (by processor time, and by wall time) beside the time cat takes for
/// the same file.
void Report(const std::string& what, const std::string& file, uint64_t bytes, Timing timing, double catSeconds,
            const std::string& note = "");
/// As above, for a wall-clock time alone.
void Report(const std::string& what, const std::string& file, uint64_t bytes, double seconds, double catSeconds,
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

// typeswap-cli run: the whole job without a window. Page A's checks, the
// load page's loading, the mapping page's map files and Save As..., and
// its Run: rewritten copies of the translated files in the output
// directory, each read again and checked, converted to EUC when asked; or,
// with --dry-run, the differences those copies would have.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/CWizardChoices.h"
#include "app/CheckSelections.h"
#include "app/NextField.h"
#include "cli/CTerminalText.h"
#include "cli/CliArgs.h"
#include "cli/CliConsole.h"
#include "cli/CliSelection.h"
#include "cli/CliTableLoad.h"
#include "cli/Commands.h"
#include "mapping/FontMapFile.h"
#include "output/OutputJob.h"
#include "output/WriteTargets.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"

namespace {

// Paths typed on a command line are relative to the working directory,
// while output takes a relative output directory below the translated
// files' directory: the output directory is made absolute, and so are the
// selections that the checks compare with it.
std::string AbsolutePath(const std::string& path) {
  if (path.empty()) return path;
  std::error_code error;
  std::filesystem::path absolute = std::filesystem::absolute(path, error);
  return error ? path : absolute.lexically_normal().string();
}

std::string AbsoluteSelection(const std::string& selection) {
  std::string absolute;
  std::string rest = selection;
  std::string field;
  while (NextField(";", field, rest)) absolute += AbsolutePath(field) + ';';
  return absolute;
}

// A dry run's differences as unified diffs on stdout, document lines in
// the terminal's character set.
void PrintDifferences(const std::vector<COutputDifference>& differences, const CTerminalText& terminal) {
  for (const COutputDifference& difference : differences) {
    std::string out = "--- a/" + difference.name + "\n+++ b/" + difference.name + "\n";
    for (const DiffHunk& hunk : difference.hunks) {
      out += HunkHeader(hunk);
      out += '\n';
      for (const DiffLine& line : hunk.lines) {
        out += line.op;
        terminal.AppendLine(out, line.text);
        out += '\n';
      }
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
  }
}

}  // namespace

int RunRunCommand(std::span<char* const> args) {
  CCliArgs cli(args, {"translated", "fonts", "font-type", "out", "map", "save-map", "family", "component"},
               {"euc", "dry-run", "no-verify", "quiet", "escape"});
  if (!cli.ok()) return CliUsageError("run", cli.error());
  if (!cli.Positional().empty()) return CliUsageError("run", "unexpected argument");
  int32_t fontType = 0;
  if (!CliFontType(cli, fontType)) return CliUsageError("run", "--font-type must be 0, 1 or 2");
  std::vector<BatchChange> changes;
  if (auto problem = CliBatchChanges(cli, changes)) return CliUsageError("run", *problem);
  const bool quiet = cli.Has("quiet");
  const bool dryRun = cli.Has("dry-run");

  const std::string translated = CliSelection(cli, "translated");
  const std::string fonts = CliSelection(cli, "fonts");
  const std::string out = AbsolutePath(cli.Value("out"));
  if (auto problem = CheckSelections(AbsoluteSelection(translated), AbsoluteSelection(fonts), out)) {
    PrintMessage(LoadResString(problem->message));
    return kCliUsage;
  }

  const CWizardChoices choices(translated, fonts, out, fontType);
  // Refused before anything is loaded or written: no write of the job may
  // land on a file that it reads.
  const std::vector<std::string> maps = cli.Values("map");
  std::vector<std::string> saveMap;
  if (cli.Has("save-map")) saveMap.push_back(cli.Value("save-map"));
  if (auto conflict = CheckJobWrites(choices, saveMap, maps)) {
    PrintMessage(WriteConflictText(*conflict));
    return kCliUsage;
  }
  // A dry run keeps stdout for its differences.
  CPrintingLoadLog log(!quiet && !dryRun);
  CCliMappingJob job(choices, log, !quiet);
  if (!job.Load(true)) {
    // Unprinted, the log still tells why, on stderr.
    if (quiet || dryRun)
      for (const CMemoryLoadLog::Line& line : log.Lines()) PrintMessage(line.text);
    return kCliFailed;
  }
  CStderrMessageSink messages;
  if (!job.BuildTable(cli, changes, messages)) return kCliFailed;
  CFontReferenceList& model = job.Job().Session().TranslatedModel();
  if (cli.Has("save-map")) {
    if (dryRun)
      PrintMessage("typeswap-cli run: --dry-run writes no font map; --save-map ignored");
    else if (!SaveFontMap(cli.Value("save-map"), model, messages))
      return kCliFailed;
  }

  // Output's reports: printed as they come, unless stdout is for a dry
  // run's differences or --quiet asks for silence; then they are shown
  // only when something failed.
  CStdoutReportSink printedReports;
  CCollectingReportSink keptReports;
  CConsoleOutputObserver observer(quiet);
  OutputJobOptions options;
  options.convertToEuc = cli.Has("euc");
  options.reports = quiet || dryRun ? static_cast<CReportSink*>(&keptReports) : &printedReports;
  options.observer = &observer;
  options.otherFilesRead = maps;
  options.verify = !cli.Has("no-verify");
  options.dryRun = dryRun;
  const OutputSummary summary = RunOutputJob(model, choices, options);
  if (dryRun) PrintDifferences(summary.differences, CTerminalText(cli.Has("escape")));
  if (!summary.Complete() && (quiet || dryRun)) PrintMessage(keptReports.All());
  // A file left out was reported, and the run still says it finished, but
  // does not claim success; nor does a run with a file that failed to
  // load.
  if (!quiet && !dryRun) std::printf("%s\n", LoadResString(IdsFinishedProcessing).c_str());
  return summary.Complete() && !job.Job().Session().AnyFileFailed() ? kCliOk : kCliFailed;
}

// typeswap-cli run: the whole job without a window. Page A's checks, the
// load page's loading, the mapping page's map files and Save As..., and
// its Run: rewritten copies of the translated files in the output
// directory, converted to EUC when asked.
#include <cstdio>
#include <filesystem>
#include <string>

#include "app/CheckSelections.h"
#include "app/CWizardChoices.h"
#include "app/SharedOperations.h"
#include "cli/CliArgs.h"
#include "cli/CliConsole.h"
#include "cli/CliSelection.h"
#include "cli/Commands.h"
#include "mapping/CMappingJob.h"
#include "mapping/FontMapFile.h"
#include "output/OutputJob.h"
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

}  // namespace

int RunRunCommand(std::span<char* const> args) {
  CCliArgs cli(args, {"translated", "fonts", "font-type", "out", "map", "save-map"}, {"euc"});
  if (!cli.ok()) return CliUsageError("run", cli.error());
  if (!cli.Positional().empty()) return CliUsageError("run", "unexpected argument");
  int32_t fontType = 0;
  if (!CliFontType(cli, fontType)) return CliUsageError("run", "--font-type must be 0, 1 or 2");

  const std::string translated = CliSelection(cli, "translated");
  const std::string fonts = CliSelection(cli, "fonts");
  const std::string out = AbsolutePath(cli.Value("out"));
  if (auto problem = CheckSelections(AbsoluteSelection(translated), AbsoluteSelection(fonts), out)) {
    PrintMessage(LoadResString(problem->message));
    return kCliUsage;
  }

  const CWizardChoices choices(translated, fonts, out, fontType);
  CPrintingLoadLog log;
  CMappingJob job(choices, log);
  if (!job.Load(true)) return kCliFailed;
  CStderrMessageSink messages;
  if (!job.BuildTable(cli.Values("map"), messages)) return kCliFailed;
  CFontReferenceList& model = job.Session().TranslatedModel();
  if (cli.Has("save-map") && !SaveFontMap(cli.Value("save-map"), model, messages)) return kCliFailed;

  CStdoutReportSink reports;
  CConsoleOutputObserver observer;
  OutputJobOptions options;
  options.convertToEuc = cli.Has("euc");
  options.reports = &reports;
  options.observer = &observer;
  const OutputSummary summary = RunOutputJob(model, choices, options);
  // A file left out was reported, and the run still says it finished, but
  // does not claim success.
  std::printf("%s\n", LoadResString(IdsFinishedProcessing).c_str());
  return summary.Complete() ? kCliOk : kCliFailed;
}

// typeswap-cli run: the whole job without a window. Page A's checks, the
// load page's loading, the mapping page's map files and Save As..., and
// its Run: rewritten copies of the translated files in the output
// directory, converted to EUC when asked.
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>

#include "app/CheckSelections.h"
#include "app/CWizardChoices.h"
#include "app/SharedOperations.h"
#include "cli/CliArgs.h"
#include "cli/CliConsole.h"
#include "cli/CliMappingJob.h"
#include "cli/Commands.h"
#include "mapping/FontMapFile.h"
#include "model/CFontReferenceList.h"
#include "output/CErrorReporter.h"
#include "output/GenerateOutput.h"
#include "output/OutputPaths.h"
#include "output/OutputTexts.h"
#include "output/ShiftJisToEuc.h"
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

// Upper-cased names of the files that received a replacement: the files the
// run had to write.
std::set<std::string> FilesToWrite(const CFontReferenceList& translated) {
  std::set<std::string> files;
  for (int32_t i = 0; i < translated.Count(); ++i) {
    const CFontReference& reference = *translated.GetAt(i);
    if (!reference.GetReplacementText().empty() && !reference.GetFontKey().empty()) {
      files.insert(UpperCaseName(reference.GetPiece().GetFileName()));
    }
  }
  return files;
}

// Counts the messages of a step while showing them.
class CCountingObserver : public COutputObserver {
 public:
  explicit CCountingObserver(COutputObserver& target) : target_(target) {}
  void ShowProgress(const std::string& fileName, int32_t currentPercent, int32_t totalPercent) override {
    target_.ShowProgress(fileName, currentPercent, totalPercent);
  }
  void ShowMessage(const std::string& text, const std::string& caption) override {
    ++count;
    target_.ShowMessage(text, caption);
  }
  int32_t count = 0;

 private:
  COutputObserver& target_;
};

// Converts the written files to EUC; true when every written file was
// converted. The conversion also names each translated file that the run
// did not write (it had no replacement): that is no failure.
bool ConvertToEuc(const std::string& translatedFiles, const std::vector<COutputRecord>& written,
                  COutputObserver& observer) {
  CCountingObserver counting(observer);
  ConvertOutputToEuc(translatedFiles, written, counting);
  std::set<std::string> writtenInputs;
  for (const COutputRecord& record : written) writtenInputs.insert(UpperCaseName(record.inputName));
  int32_t notWritten = 0;
  std::string rest = translatedFiles;
  std::string field;
  while (NextField(";", field, rest)) {
    if (!field.empty() && writtenInputs.count(UpperCaseName(field)) == 0) ++notWritten;
  }
  return counting.count == notWritten;
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
  CCliMappingJob job(choices, log);
  if (!job.Load(true)) return kCliFailed;
  CStderrMessageSink messages;
  if (!job.BuildTable(cli.Values("map"), messages)) return kCliFailed;
  CFontReferenceList& model = job.Session().TranslatedModel();
  if (cli.Has("save-map") && !SaveFontMap(cli.Value("save-map"), model, messages)) return kCliFailed;

  CStdoutReportSink reports;
  CErrorReporter reporter(&reports);
  CConsoleOutputObserver observer;
  const std::vector<COutputRecord> written = GenerateOutput(model, choices, reporter, &observer);
  // Every file with a replacement must have been written; a file left out
  // was reported, and the run still says it finished.
  bool complete = written.size() == FilesToWrite(model).size();
  if (cli.Has("euc") && !ConvertToEuc(choices.GetTranslatedFiles(), written, observer)) complete = false;
  observer.ShowProgress(std::string(), 0, 0);
  std::printf("%s\n", outputtext::kFinishedProcessing);
  return complete ? kCliOk : kCliFailed;
}

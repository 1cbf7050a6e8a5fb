// Batch changes, loading with progress, and the table of table and report.
#include "cli/CliTableLoad.h"

#include <algorithm>
#include <thread>

#include "app/CWizardChoices.h"
#include "cli/CliArgs.h"
#include "cli/CliSelection.h"
#include "cli/Commands.h"
#include "cli/ProcessEnd.h"

std::optional<std::string> CliBatchChanges(const CCliArgs& cli, std::vector<BatchChange>& changes) {
  for (const auto& [option, value] : cli.InOrder({"family", "component"})) {
    // The last "=": component names may hold one, families hardly.
    const size_t equals = value.rfind('=');
    if (equals == std::string::npos || equals == 0) return "--" + option + " needs OLD=NEW, not '" + value + "'";
    changes.push_back({option == "family" ? MultipleChangeMode::ByFont : MultipleChangeMode::ByComponent,
                       value.substr(0, equals), value.substr(equals + 1)});
  }
  return std::nullopt;
}

int32_t CliLoadThreads() { return static_cast<int32_t>(std::max(1u, std::thread::hardware_concurrency())); }

CCliMappingJob::CCliMappingJob(const CWizardChoices& choices, CLoadLog& log, bool progress)
    : progressLog_(log, {choices.GetTranslatedFiles(), choices.GetFontFiles()}, progress),
      job_(std::make_unique<CMappingJob>(choices, progressLog_)) {
  job_->Session().SetLoadThreads(CliLoadThreads());
}

// The job holds no file open once loaded: its destructor would only free
// the models and the table.
CCliMappingJob::~CCliMappingJob() { LeaveToProcessEnd(std::move(job_)); }

bool CCliMappingJob::Load(bool withFontFiles) {
  const bool loaded = job_->Load(withFontFiles);
  progressLog_.Clear();
  return loaded;
}

bool CCliMappingJob::BuildTable(const CCliArgs& cli, const std::vector<BatchChange>& changes, CMessageSink& messages) {
  const bool mapped = job_->BuildTable(cli.Values("map"), messages);
  (void)job_->ApplyBatchChanges(changes, messages);
  return mapped;
}

CCliTableLoad::CCliTableLoad(const CCliArgs& cli, std::string_view command) : status_(kCliUsage) {
  int32_t fontType = 0;
  std::vector<BatchChange> changes;
  if (!cli.Positional().empty()) {
    (void)CliUsageError(command, "unexpected argument");
  } else if (!cli.Has("translated")) {
    (void)CliUsageError(command, "--translated is needed");
  } else if (!CliFontType(cli, fontType)) {
    (void)CliUsageError(command, "--font-type must be 0, 1 or 2");
  } else if (auto problem = CliBatchChanges(cli, changes)) {
    (void)CliUsageError(command, *problem);
  } else {
    const CWizardChoices choices(CliSelection(cli, "translated"), CliSelection(cli, "fonts"), std::string(), fontType);
    job_ = std::make_unique<CCliMappingJob>(choices, log_, !cli.Has("quiet"));
    if (!job_->Load(cli.Has("fonts"))) {
      for (const CMemoryLoadLog::Line& line : log_.Lines()) PrintMessage(line.text);
      job_.reset();
      status_ = kCliFailed;
      return;
    }
    CStderrMessageSink messages;
    const bool mapped = job_->BuildTable(cli, changes, messages);
    // A file that failed to load is missing from the table: no success,
    // and the log on stderr says which.
    const bool allLoaded = !job_->Job().Session().AnyFileFailed();
    if (!allLoaded)
      for (const CMemoryLoadLog::Line& line : log_.Lines()) PrintMessage(line.text);
    status_ = mapped && allLoaded ? kCliOk : kCliFailed;
  }
}

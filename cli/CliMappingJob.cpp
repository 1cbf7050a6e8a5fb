// Loading, the mapping table and map files for the table and run commands.
#include "cli/CliMappingJob.h"

#include "cli/CliArgs.h"
#include "cli/Commands.h"
#include "mapping/CMessageSink.h"
#include "mapping/FontMapFile.h"
#include "mapping/MultipleChange.h"

#include <algorithm>

std::string CliSelection(const CCliArgs& cli, std::string_view option) {
  std::string selection;
  for (const std::string& value : cli.Values(option)) {
    selection += value;
    if (!value.empty() && value.back() != ';') selection += ';';
  }
  return selection;
}

bool CliFontType(const CCliArgs& cli, int32_t& type) {
  const std::string text = cli.Value("font-type", "0");
  if (text != "0" && text != "1" && text != "2") return false;
  type = text[0] - '0';
  return true;
}

std::optional<std::string> CliBatchChangeProblem(const CCliArgs& cli) {
  for (const auto& [option, value] : cli.InOrder({"family", "component"})) {
    const size_t equals = value.rfind('=');
    if (equals == std::string::npos || equals == 0) return "--" + option + " needs OLD=NEW, not '" + value + "'";
  }
  return std::nullopt;
}

CCliMappingJob::CCliMappingJob(const CWizardChoices& choices, CLoadLog& log, bool progress)
    : progressLog_(log, {choices.GetTranslatedFiles(), choices.GetFontFiles()}, progress),
      session_(choices, progressLog_),
      table_(session_.TranslatedModel()) {}

bool CCliMappingJob::Load(bool withFontFiles) {
  session_.Start(withFontFiles);
  progressLog_.Clear();
  return session_.State() == LoadState::Finished;
}

bool CCliMappingJob::BuildTable(const CCliArgs& cli, CMessageSink& messages) {
  const bool mapped = BuildTable(cli.Values("map"), messages);
  return ApplyBatchChanges(cli.InOrder({"family", "component"}), messages) && mapped;
}

namespace {
// Counts what passes through: map loading only speaks when something failed.
class CCountingMessageSink : public CMessageSink {
 public:
  explicit CCountingMessageSink(CMessageSink& target) : target_(target) {}
  void ShowMessage(std::string_view text, std::string_view caption) override {
    ++count;
    target_.ShowMessage(text, caption);
  }
  int count = 0;

 private:
  CMessageSink& target_;
};
}  // namespace

bool CCliMappingJob::BuildTable(const std::vector<std::string>& maps, CMessageSink& messages) {
  table_.BuildTable();
  if (maps.empty()) return true;
  CCountingMessageSink counting(messages);
  (void)LoadFontMaps(maps, table_, session_.FontModel(), counting);
  return counting.count == 0;
}

bool CCliMappingJob::ApplyBatchChanges(const std::vector<std::pair<std::string, std::string>>& changes,
                                       CMessageSink& messages) {
  for (const auto& [option, value] : changes) {
    const size_t equals = value.rfind('=');
    if (equals == std::string::npos) return false;
    const std::string chosen = value.substr(0, equals);
    const MultipleChangeMode mode = option == "family" ? MultipleChangeMode::ByFont : MultipleChangeMode::ByComponent;
    const std::vector<std::string> offered = OriginalEntries(table_, mode);
    if (std::find(offered.begin(), offered.end(), chosen) == offered.end()) {
      messages.ShowMessage("--" + option + " " + value + ": no row offers \"" + chosen + "\"", {});
      continue;
    }
    (void)ApplyMultipleChange(table_, mode, {chosen}, std::string_view(value).substr(equals + 1));
  }
  return true;
}

CCliTableLoad::CCliTableLoad(const CCliArgs& cli, std::string_view command) : status_(kCliUsage) {
  int32_t fontType = 0;
  if (!cli.Positional().empty()) {
    (void)CliUsageError(command, "unexpected argument");
  } else if (!cli.Has("translated")) {
    (void)CliUsageError(command, "--translated is needed");
  } else if (!CliFontType(cli, fontType)) {
    (void)CliUsageError(command, "--font-type must be 0, 1 or 2");
  } else if (auto problem = CliBatchChangeProblem(cli)) {
    (void)CliUsageError(command, *problem);
  } else {
    const CWizardChoices choices(CliSelection(cli, "translated"), CliSelection(cli, "fonts"), std::string(),
                                 fontType);
    job_ = std::make_unique<CCliMappingJob>(choices, log_, !cli.Has("quiet"));
    if (!job_->Load(cli.Has("fonts"))) {
      for (const CMemoryLoadLog::Line& line : log_.Lines()) PrintMessage(line.text);
      job_.reset();
      status_ = kCliFailed;
      return;
    }
    CStderrMessageSink messages;
    status_ = job_->BuildTable(cli, messages) ? kCliOk : kCliFailed;
  }
}

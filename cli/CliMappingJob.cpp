// Loading, the mapping table and map files for the table and run commands.
#include "cli/CliMappingJob.h"

#include "cli/CliArgs.h"
#include "mapping/CMessageSink.h"
#include "mapping/FontMapFile.h"

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

CCliMappingJob::CCliMappingJob(const CWizardChoices& choices, CLoadLog& log)
    : session_(choices, log), table_(session_.TranslatedModel()) {}

bool CCliMappingJob::Load(bool withFontFiles) {
  session_.Start(withFontFiles);
  return session_.State() == LoadState::Finished;
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

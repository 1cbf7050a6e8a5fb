// Loading, the mapping table and map files, without a page.
#include "mapping/CMappingJob.h"

#include <algorithm>

#include "mapping/CMessageSink.h"
#include "mapping/FontMapFile.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"

CMappingJob::CMappingJob(const CWizardChoices& choices, CLoadLog& log)
    : session_(choices, log), table_(session_.TranslatedModel()) {}

bool CMappingJob::Load(bool withFontFiles) {
  session_.Start(withFontFiles);
  return session_.State() == LoadState::Finished;
}

bool CMappingJob::BuildTable(const std::vector<std::string>& maps, CMessageSink& messages) {
  table_.BuildTable();
  if (maps.empty()) return true;
  return LoadFontMaps(maps, table_, session_.FontModel(), messages).failed == 0;
}

int32_t CMappingJob::ApplyBatchChanges(const std::vector<BatchChange>& changes, CMessageSink& messages) {
  int32_t unmatched = 0;
  for (const BatchChange& change : changes) {
    const std::vector<std::string> offered = OriginalEntries(table_, change.mode);
    if (std::find(offered.begin(), offered.end(), change.chosen) == offered.end()) {
      std::string text = LoadResString(IdsBatchChangeUnmatched);
      for (const std::string* value : {&change.chosen, &change.family})
        if (auto at = text.find("%s"); at != std::string::npos) text.replace(at, 2, *value);
      messages.ShowMessage(text, LoadResString(IdsCaptionWarning));
      ++unmatched;
      continue;
    }
    (void)ApplyMultipleChange(table_, change.mode, {change.chosen}, change.family);
  }
  return unmatched;
}

// Loading, the mapping table and map files, without a page.
#include "mapping/CMappingJob.h"

#include "mapping/FontMapFile.h"

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

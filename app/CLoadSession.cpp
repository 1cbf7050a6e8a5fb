// The steps of the load page's Start and Stop.
#include "app/CLoadSession.h"

#include "app/AppendLogLine.h"
#include "app/CLoadLog.h"
#include "app/JobCodePage.h"
#include "app/LoadFileSet.h"
#include "app/LoadFontMapSet.h"
#include "app/StopFlag.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"

CLoadSession::CLoadSession(const CWizardChoices& choices, CLoadLog& log) : choices_(choices), log_(log) {}

void CLoadSession::Start(bool withFontFiles) {
  if (state_ != LoadState::Opening) return;
  SetStopFlag(0);
  SetState(LoadState::Busy);
  ChooseJobCodePage(log_, choices_.GetTranslatedFiles());
  bool ok = LoadTranslatedFiles();
  if (GetStopFlag() != 1 && ok && withFontFiles) ok = LoadFontFiles();
  // A Stop whose files then all failed their pre-checks reached no parse
  // that would have ended the section: the session still ends stopped.
  if (GetStopFlag() == 1) {
    if (state_ != LoadState::Failed) SetState(LoadState::Failed);
    return;
  }
  if (ok) SetState(LoadState::Finished);
}

void CLoadSession::Stop() {
  if (state_ != LoadState::Busy) return;
  SetStopFlag(1);
  SetState(LoadState::Finished);
}

bool CLoadSession::LoadTranslatedFiles() {
  errorCount_ = 0;
  int32_t valid = 0;
  AppendLogLine(log_, LoadResString(IdsLogLoadingTranslatedFiles));
  const bool ok = LoadFileSetInParallel(log_, errorCount_, translated_, choices_.GetTranslatedFiles(), valid,
                                        LoadMode::TranslatedFiles, OutputFolder(), threads_);
  failedFiles_ += errorCount_;
  if (!ok) {
    SetState(LoadState::Failed);
    return false;
  }
  return Summarize(valid, IdsLogNoTranslatedFiles, IdsLogFinishedTranslatedFiles);
}

bool CLoadSession::LoadFontFiles() {
  errorCount_ = 0;
  int32_t valid = 0;
  log_.AppendPlain(LoadResString(IdsLogLoadingFontFiles));
  bool ok = choices_.GetFontFileType() == FontFilesMapFiles
                ? LoadFontMapSet(log_, errorCount_, fonts_, choices_.GetFontFiles(), valid)
                : LoadFileSetInParallel(log_, errorCount_, fonts_, choices_.GetFontFiles(), valid, LoadMode::FontFiles,
                                        OutputFolder(), threads_);
  failedFiles_ += errorCount_;
  // Font files loaded before a cancelled one still count.
  if (!ok) SetState(LoadState::Failed);
  return Summarize(valid, IdsLogNoFontFiles, IdsLogFinishedFontFiles);
}

bool CLoadSession::Summarize(int32_t valid, int32_t noFileId, int32_t closingLineId) {
  if (valid == 0) {
    FatalSummary(noFileId, closingLineId);
    return false;
  }
  if (errorCount_ > 0) AppendLogLine(log_, LoadResString(IdsLogErrorsFound));
  AppendLogLine(log_, LoadResString(closingLineId));
  return true;
}

void CLoadSession::FatalSummary(int32_t messageId, int32_t closingLineId) {
  log_.AppendPlain(LoadResString(messageId));
  SetState(LoadState::Failed);
  log_.AppendPlain(LoadResString(closingLineId));
  log_.AppendPlain(LoadResString(IdsLogCannotContinue));
  log_.AppendPlain(LoadResString(IdsLogCannotMap));
}

std::string CLoadSession::OutputFolder() const {
  const std::string& out = choices_.GetOutputDirectory();
  if (!out.empty() && out.front() == '/') return out;
  // A relative output folder lies below the translated files' folder.
  const std::string source = choices_.GetSourceDirectory();
  return source.empty() ? out : source + "/" + out;
}

void CLoadSession::SetState(LoadState state) {
  state_ = state;
  if (listener_) listener_(state);
}

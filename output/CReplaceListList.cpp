// The lists of one output run and the run over them.
#include "output/CReplaceListList.h"

#include <exception>

#include "output/COutputObserver.h"
#include "output/OutputPaths.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"

CReplaceListList::CReplaceListList(CErrorReporter& reporter, COutputObserver* observer)
    : reporter_(reporter), observer_(observer) {}

CReplaceList& CReplaceListList::ListFor(const std::string& fileName) {
  std::unique_ptr<CReplaceList>& list = lists_[fileName];
  if (!list) {
    list = std::make_unique<CReplaceList>(fileName, reporter_);
    list->SetOwner(this);
  }
  return *list;
}

CReplaceList* CReplaceListList::Find(const std::string& fileName) const {
  auto found = lists_.find(fileName);
  return found == lists_.end() ? nullptr : found->second.get();
}

bool CReplaceListList::Add(std::unique_ptr<CReplacePiece> piece) {
  if (!piece) return false;
  CReplaceList& list = ListFor(piece->GetFileName());
  bool kept = list.Add(std::move(piece));
  if (kept) ++totalPieces_;
  return kept;
}

void CReplaceListList::ReportProgress(const std::string& fileName, int32_t done, int32_t count) {
  int64_t total = totalPieces_ == 0 ? 100 : (int64_t{done} + piecesDone_) * 100 / totalPieces_;
  int64_t current = count == 0 ? 100 : int64_t{done} * 100 / count;
  if (lastTotalPercent_ >= total && lastCurrentPercent_ >= current) return;
  lastTotalPercent_ = static_cast<int32_t>(total);
  lastCurrentPercent_ = static_cast<int32_t>(current);
  ShowProgress(fileName, lastCurrentPercent_, lastTotalPercent_);
}

void CReplaceListList::ShowProgress(const std::string& fileName, int32_t currentPercent, int32_t totalPercent) {
  if (observer_ != nullptr) observer_->ShowProgress(fileName, currentPercent, totalPercent);
}

std::optional<CWriteConflict> CReplaceListList::WriteAll(const std::string& outputDirectory) {
  written_.clear();
  if (inputRoot_.empty()) {
    if (lists_.empty()) return std::nullopt;
    inputRoot_ = DirectoryPart(lists_.begin()->second->GetFileName());
  }
  inputRoot_ = WithTrailingSlash(inputRoot_);
  const std::string outputRoot = ResolveOutputDirectory(inputRoot_, outputDirectory);
  piecesDone_ = 0;
  lastCurrentPercent_ = 0;
  lastTotalPercent_ = 0;

  // Every target is checked against every file read before anything is
  // written, so that no copy replaces an input, whatever its path says.
  std::vector<std::string> targets;
  std::vector<std::string> reads = filesRead_;
  for (const auto& [key, list] : lists_) {
    reads.push_back(list->GetFileName());
    if (std::optional<std::string> target = OutputPathFor(inputRoot_, outputRoot, list->GetFileName())) {
      targets.push_back(std::move(*target));
    }
  }
  if (std::optional<CWriteConflict> conflict = FindWriteConflict(targets, reads)) {
    reporter_.ReportError(WriteConflictText(*conflict));
    return conflict;
  }

  for (const auto& [key, list] : lists_) {
    if (!writeEmptyLists_ && list->GetCount() == 0) continue;
    const std::string& inputName = list->GetFileName();
    std::optional<std::string> outputName = OutputPathFor(inputRoot_, outputRoot, inputName);
    if (!outputName) {
      if (observer_ != nullptr) {
        observer_->ShowMessage(FormatText(outputtext::kNotInPath, inputName, inputRoot_),
                               LoadResString(IdsApplicationTitle));
      }
      continue;
    }
    reporter_.ReportLine(FormatText(outputtext::kCreatingFile, *outputName));
    list->SetConvertToEuc(convertToEuc_);
    try {
      if (list->WriteFile(inputName, *outputName)) written_.push_back({inputName, *outputName, StampOf(*outputName)});
      piecesDone_ += static_cast<int32_t>(list->GetCount());
    } catch (const std::exception& failure) {
      reporter_.ReportError(FormatText(outputtext::kFileError, failure.what()));
    }
  }
  if (written_.size() > 1) {
    reporter_.ReportLine(FormatText(outputtext::kFilesCreated, static_cast<int>(written_.size())));
  }
  return std::nullopt;
}

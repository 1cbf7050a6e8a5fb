// The lists of one output run and the run over them.
#include "output/CReplaceListList.h"

#include <algorithm>
#include <exception>
#include <limits>
#include <thread>

#include "output/COutputObserver.h"
#include "output/CParallelWrites.h"
#include "output/OutputPaths.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"

namespace {
constexpr int32_t kNotWorkedOut = std::numeric_limits<int32_t>::min();
}  // namespace

CReplaceListList::CReplaceListList(CErrorReporter& reporter, COutputObserver* observer)
    : writeThreads_(static_cast<int32_t>(std::max(1u, std::thread::hardware_concurrency()))),
      reporter_(reporter),
      observer_(observer) {}

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

int32_t CReplaceListList::ReportProgress(const std::string& fileName, int32_t done, int32_t count) {
  int64_t total = totalPieces_ == 0 ? 100 : (int64_t{done} + piecesDone_) * 100 / totalPieces_;
  int64_t current = count == 0 ? 100 : int64_t{done} * 100 / count;
  if (lastTotalPercent_ < total || lastCurrentPercent_ < current) {
    lastTotalPercent_ = static_cast<int32_t>(total);
    lastCurrentPercent_ = static_cast<int32_t>(current);
    ShowProgress(fileName, lastCurrentPercent_, lastTotalPercent_);
  }
  // Callers skip the counts before the one returned: a file's write
  // reaches every piece, and the figures are worked out only where one of
  // them grows.
  return static_cast<int32_t>(std::min<int64_t>(std::max<int64_t>(NextProgress(count), int64_t{done} + 1),
                                                std::numeric_limits<int32_t>::max()));
}

int32_t CReplaceListList::NextProgress(int32_t count) const {
  // Past 0 the percentages are floors of non-negative quotients, which grow
  // with the count: the least count at which one passes what was shown
  // follows from the shown figure.
  if (count <= 0 || totalPieces_ <= 0 || piecesDone_ < 0) return kNotWorkedOut;
  auto passing = [](int64_t shown, int64_t whole) -> int64_t {
    return shown < 0 ? 0 : ((shown + 1) * whole + 99) / 100;  // least n with n * 100 / whole > shown
  };
  const int64_t next =
      std::min(passing(lastCurrentPercent_, count), passing(lastTotalPercent_, totalPieces_) - piecesDone_);
  return static_cast<int32_t>(std::clamp<int64_t>(next, 0, std::numeric_limits<int32_t>::max()));
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

  std::vector<FileToWrite> files;
  std::vector<std::string> written;  // the targets of the files written
  for (const auto& [key, list] : lists_) {
    if (!writeEmptyLists_ && list->GetCount() == 0) continue;
    FileToWrite& file =
        files.emplace_back(FileToWrite{list.get(), OutputPathFor(inputRoot_, outputRoot, list->GetFileName())});
    if (!file.outputName) continue;
    list->SetConvertToEuc(convertToEuc_);
    written.push_back(*file.outputName);
  }
  // Two copies onto one target must land in the order of their files.
  std::sort(written.begin(), written.end());
  const bool oneEach = std::adjacent_find(written.begin(), written.end()) == written.end();
  const int32_t threads =
      static_cast<int32_t>(std::min<size_t>(static_cast<size_t>(std::max(writeThreads_, 1)), written.size()));
  if (threads > 1 && oneEach) {
    WriteInParallel(files, threads);
  } else {
    for (const FileToWrite& file : files) {
      if (!Announce(file)) continue;
      CReplaceList::OwnerProgress progress(*file.list);
      Finish(file, WriteOne(*file.list, *file.outputName, reporter_, progress));
    }
  }
  if (written_.size() > 1) {
    reporter_.ReportLine(FormatText(outputtext::kFilesCreated, static_cast<int>(written_.size())));
  }
  return std::nullopt;
}

bool CReplaceListList::Announce(const FileToWrite& file) {
  if (!file.outputName) {
    if (observer_ != nullptr) {
      observer_->ShowMessage(FormatText(outputtext::kNotInPath, file.list->GetFileName(), inputRoot_),
                             LoadResString(IdsApplicationTitle));
    }
    return false;
  }
  reporter_.ReportLine(FormatText(outputtext::kCreatingFile, *file.outputName));
  return true;
}

CReplaceListList::WriteOutcome CReplaceListList::WriteOne(CReplaceList& list, const std::string& outputName,
                                                          CErrorReporter& reporter, CFileProgress& progress) {
  WriteOutcome outcome;
  const std::string& inputName = list.GetFileName();
  try {
    if (list.WriteFile(inputName, outputName, reporter, progress)) {
      outcome.written = COutputRecord{inputName, outputName, StampOf(outputName)};
    }
    outcome.counted = true;
  } catch (const std::exception& failure) {
    outcome.failure = failure.what();
  }
  return outcome;
}

void CReplaceListList::Finish(const FileToWrite& file, WriteOutcome outcome) {
  if (outcome.written) written_.push_back(std::move(*outcome.written));
  if (outcome.counted) {
    piecesDone_ += static_cast<int32_t>(file.list->GetCount());
  } else {
    reporter_.ReportError(FormatText(outputtext::kFileError, outcome.failure));
  }
}

void CReplaceListList::WriteInParallel(const std::vector<FileToWrite>& files, int32_t threads) {
  std::vector<const FileToWrite*> writes;  // the files with a target, in order
  for (const FileToWrite& file : files) {
    if (file.outputName) writes.push_back(&file);
  }
  // Each worker fills the outcome of its own file; Follow hands it over.
  std::vector<WriteOutcome> outcomes(writes.size());
  CParallelWrites workers(writes.size(), threads, [&](size_t index, CErrorReporter& reporter, CFileProgress& progress) {
    outcomes[index] = WriteOne(*writes[index]->list, *writes[index]->outputName, reporter, progress);
  });
  // What each file told is told again here, where one thread would have:
  // numbered by this run's reporter, and progress worked out for every
  // piece the file reached.
  size_t index = 0;
  for (const FileToWrite& file : files) {
    if (!Announce(file)) continue;
    const std::string& fileName = file.list->GetFileName();
    const int32_t count = static_cast<int32_t>(file.list->GetCount());
    int32_t reached = 0;
    WriteOutcome outcome;
    try {
      workers.Follow(index, [&](const CParallelWrites::Event& event) {
        if (event.Retell(reporter_)) return;
        while (reached < event.value) {
          // The counts before the next one returned would show nothing.
          const int32_t next = ReportProgress(fileName, reached + 1, count);
          reached = std::min(event.value, next - 1);
        }
      });
      outcome = std::move(outcomes[index]);
    } catch (const std::exception& failure) {
      // Thrown where the file's write told it, so thrown by the write, as
      // on one thread: the file is dropped and the next one written.
      outcome.failure = failure.what();
    }
    Finish(file, std::move(outcome));
    ++index;
  }
}

// All replacement lists of one output run, keyed by file, and the run that
// writes every file into the output directory.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "output/CErrorReporter.h"
#include "output/COutputRecord.h"
#include "output/CReplaceList.h"
#include "output/WriteTargets.h"

class CFileProgress;
class COutputObserver;

/// The replacement lists of one run, one per input file, keyed by the name
/// the file table gives the file (one name per file).
class CReplaceListList {
 public:
  explicit CReplaceListList(CErrorReporter& reporter, COutputObserver* observer = nullptr);
  virtual ~CReplaceListList() = default;
  CReplaceListList(const CReplaceListList&) = delete;
  CReplaceListList& operator=(const CReplaceListList&) = delete;

  /// The list of \p fileName, made (owned by this run) when there is none.
  CReplaceList& ListFor(const std::string& fileName);
  /// The list of \p fileName, or nullptr.
  CReplaceList* Find(const std::string& fileName) const;
  /// Adds \p piece to the list of its file; counts it in the total pieces
  /// when the list kept it. Returns what the list's Add returned.
  bool Add(std::unique_ptr<CReplacePiece> piece);

  /// Writes every list into \p outputDirectory (absolute, or relative to the
  /// input root): each input file's copy goes to the output directory plus
  /// the file's path below the input root. Files outside the input root
  /// are refused with a message. Reports "Creating file:" per file and
  /// "%d files created." when more than one file was written. When a copy
  /// would land on a file the run reads (any list's file, or one given to
  /// SetFilesRead), nothing at all is written: the conflict is reported and
  /// returned.
  std::optional<CWriteConflict> WriteAll(const std::string& outputDirectory);

  /// Files the run reads besides the lists' own: no copy may replace one.
  void SetFilesRead(std::vector<std::string> files) { filesRead_ = std::move(files); }
  /// Converts every copy from Shift-JIS to EUC-JP as it is written.
  void SetConvertToEuc(bool convert) { convertToEuc_ = convert; }

  /// How many files WriteAll writes at once (1: each in turn on the
  /// calling thread). Whatever the number, the run reports, shows and
  /// writes the same as with one. Defaults to one per core.
  void SetWriteThreads(int32_t threads) { writeThreads_ = threads; }
  int32_t GetWriteThreads() const { return writeThreads_; }

  /// Progress of the list of \p fileName: \p done of its \p count pieces.
  /// Shows it when either percentage grew. Returns the least \p done at
  /// which one would grow (more than \p done).
  int32_t ReportProgress(const std::string& fileName, int32_t done, int32_t count);

  const std::string& GetInputRoot() const { return inputRoot_; }
  void SetInputRoot(std::string root) { inputRoot_ = std::move(root); }
  bool GetWriteEmptyLists() const { return writeEmptyLists_; }
  void SetWriteEmptyLists(bool write) { writeEmptyLists_ = write; }
  int32_t GetTotalPieces() const { return totalPieces_; }
  void SetTotalPieces(int32_t total) { totalPieces_ = total; }
  int32_t GetPiecesDone() const { return piecesDone_; }
  size_t GetCount() const { return lists_.size(); }

  /// The files the last WriteAll wrote completely, in the order written.
  const std::vector<COutputRecord>& GetWrittenFiles() const { return written_; }

 protected:
  /// Shows progress figures; forwards to the observer.
  virtual void ShowProgress(const std::string& fileName, int32_t currentPercent, int32_t totalPercent);

 private:
  // A file to write, or to pass over with a message: it lies outside the
  // input root.
  struct FileToWrite {
    CReplaceList* list;
    std::optional<std::string> outputName;
  };
  // What became of one file's write.
  struct WriteOutcome {
    std::optional<COutputRecord> written;  // written completely
    bool counted = false;                  // its pieces count as done
    std::string failure;                   // what escaped the write
  };
  // Writes one file; WriteAll's calling thread and its workers alike.
  static WriteOutcome WriteOne(CReplaceList& list, const std::string& outputName, CErrorReporter& reporter,
                               CFileProgress& progress);
  // Says that \p file is written, or shows why it is not; false then.
  bool Announce(const FileToWrite& file);
  // Counts and reports what became of a file, in the order of the files.
  void Finish(const FileToWrite& file, WriteOutcome outcome);
  // The files of WriteAll, written side by side on workers.
  void WriteInParallel(const std::vector<FileToWrite>& files, int32_t threads);
  // The least count of a list of \p count at which a percentage shown
  // would grow; the least int32_t when that is not worked out.
  int32_t NextProgress(int32_t count) const;

  std::map<std::string, std::unique_ptr<CReplaceList>> lists_;  // key: upper-cased file name
  std::string inputRoot_;
  int32_t piecesDone_ = 0;
  int32_t lastTotalPercent_ = 0;
  int32_t lastCurrentPercent_ = 0;
  int32_t totalPieces_ = 0;
  int32_t writeThreads_;
  bool writeEmptyLists_ = true;
  bool convertToEuc_ = false;
  std::vector<std::string> filesRead_;
  std::vector<COutputRecord> written_;
  CErrorReporter& reporter_;
  COutputObserver* observer_;
};

// Pre-check, parse, and keep or take back each Interleaf ASCII file of a set.
#include "app/LoadFileSet.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <system_error>
#include <unordered_set>

#include "app/AppendLogLine.h"
#include "app/CLoadLog.h"
#include "app/NextField.h"
#include "app/ParseFile.h"
#include "app/Precheck.h"
#include "platform/FileIdentity.h"
#include "platform/HeapPages.h"
#include "platform/MessagePump.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"

std::vector<std::string> SelectedFiles(std::string_view selection) {
  std::vector<std::string> files;
  std::string rest(selection);
  std::string path;
  std::unordered_set<std::string> seen;
  while (NextField(";", path, rest)) {
    // A file listed twice, under any spelling, is one file: loading it again
    // would double its references.
    if (!path.empty() && !seen.insert(FileKey(path)).second) continue;
    files.push_back(path);
  }
  return files;
}

void UseHugePagesForFiles(const std::vector<std::string>& paths) {
  uint64_t total = 0;
  for (const std::string& path : paths) {
    std::error_code error;
    const uintmax_t size = std::filesystem::file_size(path, error);
    if (!error) total += size;
  }
  UseHugePagesForHeap(total);
}

int32_t StartFileBlock(CLoadLog& log, const std::string& path, LoadMode mode, const std::string& outputFolder,
                       int32_t& requiredSpace) {
  if (mode == LoadMode::FontFiles) requiredSpace = 0;
  PumpOneMessage();
  log.AppendPlain("");
  AppendLogLine(log, LoadResString(IdsLogProcessing) + path);
  return PrecheckFile(log, path, outputFolder, requiredSpace);
}

bool FailedPrecheck(CLoadLog& log, int32_t code, int32_t& errorCount) {
  // A file that drops out of the set is an error of the set.
  ++errorCount;
  switch (code) {
    case PrecheckNoDiskSpace:
      log.AppendPlain(LoadResString(IdsLogNoDiskSpace));
      log.AppendPlain(LoadResString(IdsLogCancelled));
      return false;
    case PrecheckNoHeader:
      log.AppendPlain(LoadResString(IdsLogNotInterleaf));
      break;
    case PrecheckWrongVersion:
      log.AppendPlain(LoadResString(IdsLogWrongVersion));
      break;
    default:  // unreadable: the pre-check has logged why
      break;
  }
  return true;
}

void EndFileBlock(CLoadLog& log, bool loaded) {
  if (loaded) AppendLogLine(log, LoadResString(IdsLogDone));
  AppendLogLine(log, "");
}

bool EndParsedFile(CLoadLog& log, ParseOutcome outcome, int32_t& valid, int32_t& errorCount) {
  switch (outcome) {
    case ParseOutcome::Loaded:
      ++valid;
      break;
    case ParseOutcome::Failed:
      ++errorCount;
      break;
    case ParseOutcome::Stopped:
      return false;
  }
  EndFileBlock(log, outcome == ParseOutcome::Loaded);
  return true;
}

bool LoadFileSet(CLoadLog& log, int32_t& errorCount, CFontReferenceList& model, std::string_view selection,
                 int32_t& valid, LoadMode mode, const std::string& outputFolder) {
  int32_t requiredSpace = 0;
  const std::vector<std::string> paths = SelectedFiles(selection);
  UseHugePagesForFiles(paths);
  for (const std::string& path : paths) {
    const int32_t code = StartFileBlock(log, path, mode, outputFolder, requiredSpace);
    if (code == PrecheckPassed) {
      StampLoadedFile(path);
      if (!EndParsedFile(log, ParseFile(log, model, path), valid, errorCount)) return false;
    } else if (!FailedPrecheck(log, code, errorCount)) {
      return false;  // no further file, and no empty line
    } else {
      EndFileBlock(log, false);
    }
  }
  return true;
}

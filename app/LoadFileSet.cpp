// Pre-check, parse, and keep or take back each Interleaf ASCII file of a set.
#include "app/LoadFileSet.h"

#include <exception>
#include <fstream>
#include <optional>
#include <string>
#include <unordered_set>

#include "app/AppendLogLine.h"
#include "app/CLoadLog.h"
#include "app/CLoadingParser.h"
#include "app/CLogParseHost.h"
#include "app/NextField.h"
#include "app/Precheck.h"
#include "app/StopFlag.h"
#include "model/CFileTable.h"
#include "model/CFontReferenceList.h"
#include "platform/CodePage.h"
#include "platform/FileIdentity.h"
#include "platform/FormatText.h"
#include "platform/MessagePump.h"
#include "platform/Resources.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"
#include "reader/SSLex.h"

namespace {

enum class ParseOutcome { Loaded, Failed, Stopped };

// The log line \p id ("Line %d, column %d: ... %s") for \p place.
std::string PlaceText(int32_t id, const CLoadingParser::Place& place) {
  return FormatText(LoadResString(id).c_str(), place.line, place.column, place.text);
}

// Whether the file holds a byte that only Shift-JIS uses to begin a
// double-byte character: then code page 932 is what it needs.
bool HoldsShiftJisLeadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  char block[65536];
  while (in.read(block, sizeof block) || in.gcount() > 0) {
    for (std::streamsize i = 0; i < in.gcount(); ++i) {
      const auto b = static_cast<unsigned char>(block[i]);
      if ((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC)) return true;
    }
  }
  return false;
}

// Parses the file at \p path into \p model. A failed file is taken back
// out of the model; a stopped one keeps what was read.
ParseOutcome ParseFile(CLoadLog& log, CFontReferenceList& model, const std::string& path) {
  // A checkpoint stands for a full copy of the model: parsing only adds.
  CFontReferenceList::Checkpoint before = model.MakeCheckpoint();
  model.SetCurrentFileName(path);
  model.SetIsShiftJis(0);
  CLogParseHost host(log);
  // Output checks that the file it rewrites is still the one parsed here.
  if (std::optional<CFileStamp> stamp = StampOf(path)) {
    CFileTable::Process().SetStamp(CFileTable::Process().FileNumberOf(path), *stamp);
  }
  // The lexer and the tables are made inside the handler too: a file that
  // vanished or changed since its pre-check must fail alone, not end the
  // whole load.
  try {
    CLoadingParser parser(model, host);
    parser.LoadTable(CResourceModule::Embedded(), "TYPESWAP", "YaccTable");
    SSLex lex(CResourceModule::Embedded(), path);
    parser.SetLex(lex);
    parser.Parse();
    if (parser.Aborted() && GetStopFlag() == 1) return ParseOutcome::Stopped;
    // A recovery inside the font definitions drops the rest of them: every
    // later reference would resolve to nonsense, and output would reuse
    // numbers the file already gives to other fonts.
    if (const std::optional<CLoadingParser::Place>& broken = parser.BrokenDefinitions()) {
      model.RollBack(before);
      log.AppendPlain(PlaceText(IdsLogDefinitionsUnreadable, *broken));
      return ParseOutcome::Failed;
    }
    for (const CLoadingParser::Place& place : parser.Recoveries()) {
      log.AppendPlain(PlaceText(IdsLogSkippedToNextTag, place));
    }
    if (parser.ErrorCount() == 0) {
      for (const CLoadingParser::Place& place : parser.UndefinedFonts()) {
        log.AppendPlain(PlaceText(IdsLogFontNotDefined, place));
      }
      return ParseOutcome::Loaded;
    }
  } catch (const std::exception& failure) {
    // Engine errors (SSException) and the model running out of memory.
    model.RollBack(before);
    log.AppendPlain(LoadResString(IdsLogParserError));
    log.AppendPlain(failure.what());
    if (ProcessCodePage() != 932 && HoldsShiftJisLeadBytes(path)) {
      log.AppendPlain(LoadResString(IdsLogHintCodePage932));
    }
    return ParseOutcome::Failed;
  }
  model.RollBack(before);
  return ParseOutcome::Failed;
}

}  // namespace

bool LoadFileSet(CLoadLog& log, int32_t& errorCount, CFontReferenceList& model,
                 std::string_view selection, int32_t& valid, LoadMode mode, const std::string& outputFolder) {
  int32_t requiredSpace = 0;
  std::string rest(selection);
  std::string path;
  std::unordered_set<std::string> seen;
  while (NextField(";", path, rest)) {
    // A file listed twice, under any spelling, is one file: loading it again
    // would double its references.
    if (!path.empty() && !seen.insert(FileKey(path)).second) continue;
    if (mode == LoadMode::FontFiles) requiredSpace = 0;
    PumpOneMessage();
    log.AppendPlain("");
    AppendLogLine(log, LoadResString(IdsLogProcessing) + path);

    bool loaded = false;
    switch (PrecheckFile(log, path, outputFolder, requiredSpace)) {
      case PrecheckPassed:
        switch (ParseFile(log, model, path)) {
          case ParseOutcome::Loaded:
            ++valid;
            loaded = true;
            break;
          case ParseOutcome::Failed:
            ++errorCount;
            break;
          case ParseOutcome::Stopped:
            return false;
        }
        break;
      case PrecheckNoDiskSpace:
        ++errorCount;
        log.AppendPlain(LoadResString(IdsLogNoDiskSpace));
        log.AppendPlain(LoadResString(IdsLogCancelled));
        return false;
      case PrecheckNoHeader:
        ++errorCount;
        log.AppendPlain(LoadResString(IdsLogNotInterleaf));
        break;
      case PrecheckWrongVersion:
        ++errorCount;
        log.AppendPlain(LoadResString(IdsLogWrongVersion));
        break;
      default:  // unreadable: the pre-check has logged why
        // A file that drops out of the set is an error of the set.
        ++errorCount;
        break;
    }
    if (loaded) AppendLogLine(log, LoadResString(IdsLogDone));
    AppendLogLine(log, "");
  }
  return true;
}

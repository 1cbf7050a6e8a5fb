// Parsing one pre-checked file, and taking a failed one back out.
#include "app/ParseFile.h"

#include <exception>
#include <fstream>
#include <memory>
#include <optional>
#include <string>

#include "app/CLoadLog.h"
#include "app/CLoadingParser.h"
#include "app/CLogParseHost.h"
#include "app/StopFlag.h"
#include "model/CFileTable.h"
#include "model/CFontReferenceList.h"
#include "platform/CodePage.h"
#include "platform/FileIdentity.h"
#include "platform/FormatText.h"
#include "platform/Resources.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"
#include "reader/SSLex.h"

namespace {

// The log line \p id ("Line %d, column %d: ... %s") for \p place.
std::string PlaceText(int32_t id, const CLoadingParser::Place& place) {
  return FormatText(LoadResString(id).c_str(), place.line, place.column, place.text);
}

// Whether the file holds a byte that only Shift-JIS uses to begin a
// double-byte character: then code page 932 is what it needs.
bool HoldsShiftJisLeadBytes(const std::string& path) {
  const LeadByteTable lead = LeadBytesOf(932);
  std::ifstream in(path, std::ios::binary);
  char block[65536];
  while (in.read(block, sizeof block) || in.gcount() > 0) {
    for (std::streamsize i = 0; i < in.gcount(); ++i) {
      if (lead[static_cast<unsigned char>(block[i])]) return true;
    }
  }
  return false;
}

}  // namespace

void StampLoadedFile(const std::string& path) {
  // The file gets its number here, in the order the files are parsed on
  // one core, even when it cannot be stamped.
  const uint32_t number = CFileTable::Process().FileNumberOf(path);
  if (std::optional<CFileStamp> stamp = StampOf(path)) CFileTable::Process().SetStamp(number, *stamp);
}

ParseOutcome ParseFile(CLoadLog& log, CFontReferenceList& model, const std::string& path, CParseRecord* record) {
  // A checkpoint stands for a full copy of the model: parsing only adds.
  CFontReferenceList::Checkpoint before = model.MakeCheckpoint();
  model.SetCurrentFileName(path);
  model.SetIsShiftJis(0);
  CLogParseHost host(log);
  // The lexer and the tables are made inside the handler too: a file that
  // vanished or changed since its pre-check must fail alone, not end the
  // whole load.
  try {
    std::unique_ptr<CLoadingParser> made = record != nullptr ? std::make_unique<CRecordingParser>(model, host)
                                                             : std::make_unique<CLoadingParser>(model, host);
    CLoadingParser& parser = *made;
    parser.LoadTable(CResourceModule::Embedded(), "TYPESWAP", "YaccTable");
    SSLex lex(CResourceModule::Embedded(), path);
    parser.SetLex(lex);
    parser.Parse();
    if (record != nullptr) {
      const auto& recording = static_cast<const CRecordingParser&>(parser);
      *record = {recording.Definitions(), recording.OrderUnknown()};
    }
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

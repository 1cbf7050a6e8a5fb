// One Interleaf ASCII file parsed into a document model, as the loading
// drivers do it after the file's pre-check.
#pragma once

#include <string>
#include <vector>

#include "app/CRecordingParser.h"

class CFontReferenceList;
class CLoadLog;

enum class ParseOutcome { Loaded, Failed, Stopped };

/// What a parse with recording noted besides the model (see
/// CRecordingParser).
struct CParseRecord {
  std::vector<CRecordingParser::DefinitionsAdded> definitions;
  bool orderUnknown = false;
};

/// Gives the file at \p path its number in the file table, and notes its
/// present state there, so that output can tell whether the file it
/// rewrites is still the one parsed.
void StampLoadedFile(const std::string& path);

/// Parses the file at \p path into \p model, writing its log lines to
/// \p log. A failed file is taken back out of the model; a stopped one
/// keeps what was read. With \p record, the parse also notes where the
/// file's definition lines fell between its references.
ParseOutcome ParseFile(CLoadLog& log, CFontReferenceList& model, const std::string& path,
                       CParseRecord* record = nullptr);

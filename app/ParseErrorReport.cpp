// The log lines of each parse error code.
#include "app/ParseErrorReport.h"

#include <array>

#include "app/CLoadLog.h"
#include "platform/MessagePump.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"

namespace {

struct ParseErrorLines {
  int32_t code;
  std::array<int32_t, 3> lines;  // string ids, 0 where the message ends
};

constexpr ParseErrorLines kReports[] = {
    {ParseErrorNotInterleaf, {IdsLogNotInterleafParse, 0, 0}},
    {ParseErrorRevisionTracking, {IdsLogRevisionTracking, IdsLogTurnOffRevisionTracking, 0}},
    {ParseErrorSplitDocument, {IdsLogSplitDocument, IdsLogSaveAsSingleFile, 0}},
    {ParseErrorNotShiftJis, {IdsLogNotShiftJis, IdsLogSaveAsShiftJis, 0}},
    {ParseErrorClassDefaults, {IdsLogManuallyEdited, IdsLogSaveAsInterleafAscii, IdsLogNoChangesBeforeRunning}},
    {ParseErrorManualComment, {IdsLogManuallyEdited, IdsLogSaveAsInterleafAscii, IdsLogNoChangesBeforeRunning}},
    {ParseErrorIncludeDeclarations, {IdsLogManuallyEdited, IdsLogSaveAsInterleafAscii, IdsLogNoChangesBeforeRunning}},
    {ParseErrorInclude, {IdsLogManuallyEdited, IdsLogSaveAsInterleafAscii, IdsLogNoChangesBeforeRunning}},
};

}  // namespace

bool ReportParseError(int32_t code, CLoadLog& log) {
  PumpOneMessage();
  for (const ParseErrorLines& report : kReports) {
    if (report.code != code) continue;
    for (int32_t id : report.lines) {
      if (id != 0) log.AppendPlain(LoadResString(id));
    }
    return false;
  }
  return true;
}

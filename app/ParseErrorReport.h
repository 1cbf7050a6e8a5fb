// What the load log says when the parse finds a construct the program does
// not support.
#pragma once

#include <cstdint>

class CLoadLog;

/// Codes the parse actions report a rejected file with.
enum ParseErrorCode : int32_t {
  ParseErrorNotInterleaf = 1000,
  ParseErrorRevisionTracking = 1030,
  ParseErrorSplitDocument = 1040,
  ParseErrorNotShiftJis = 1070,
  ParseErrorClassDefaults = 1080,
  ParseErrorManualComment = 1090,
  ParseErrorIncludeDeclarations = 1100,
  ParseErrorInclude = 1110,
};

/// Lets the user interface breathe once, then adds the log lines of
/// \p code plainly (without scrolling to them). Returns false when it wrote
/// lines, true for a code it does not know (nothing is written).
bool ReportParseError(int32_t code, CLoadLog& log);

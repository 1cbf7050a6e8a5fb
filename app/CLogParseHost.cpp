// A parse host over the load log and the stop flag.
#include "app/CLogParseHost.h"

#include "app/CLoadLog.h"
#include "app/ParseErrorReport.h"
#include "app/StopFlag.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"

void CLogParseHost::ReportParseError(int32_t code) { ::ReportParseError(code, log_); }

void CLogParseHost::LogStopped() { log_.AppendPlain(LoadResString(IdsLogStopped)); }

bool CLogParseHost::StopRequested() { return GetStopFlag() == 1; }

const std::atomic<uint8_t>* CLogParseHost::StopFlag() { return &stop_detail::stopFlag; }

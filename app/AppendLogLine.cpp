// Adding a shown line to the load log.
#include "app/AppendLogLine.h"

#include "app/CLoadLog.h"

int32_t AppendLogLine(CLoadLog& log, std::string_view text) { return log.AppendShown(text); }

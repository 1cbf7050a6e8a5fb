// Adding a shown line to the load log.
#pragma once

#include <cstdint>
#include <string_view>

class CLoadLog;

/// Adds \p text at the end of \p log and asks for it to be shown; returns
/// the new line's index.
int32_t AppendLogLine(CLoadLog& log, std::string_view text);

// Small operations the pages, the pre-checks and the loading code share:
// adding a log line, cutting separated fields, turning file failures into
// text, and the stop flag.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/FileException.h"

class CLoadLog;

/// Adds \p text at the end of \p log and asks for it to be shown; returns
/// the new line's index.
int32_t AppendLogLine(CLoadLog& log, std::string_view text);

/// Cuts the next field from \p rest: the text before the first
/// \p separator (the separator is dropped), or all of rest when there is
/// none. Returns false, changing nothing, when rest is empty. So "A;B;"
/// yields A, B and then false; "A;;B" yields A, an empty field, and B.
[[nodiscard]] bool NextField(std::string_view separator, std::string& field, std::string& rest);

/// The message for a file failure's cause ("File Error! ..."); causes
/// outside 0-14 give the unspecified-error text.
std::string FileErrorText(const CFileException& failure);

/// The process-wide stop flag: 1 once the user has pressed Stop while
/// loading, 0 otherwise. Loading reads it between steps.
uint8_t GetStopFlag();
void SetStopFlag(uint8_t value);

// The line-break cleaning of system message texts, which end in CR LF and
// may break lines in the middle.
#pragma once

#include <string>

/// Removes trailing carriage returns and line feeds; then every other one
/// is removed when a blank precedes it and becomes a blank otherwise.
void CleanLineBreaks(std::u16string& text);

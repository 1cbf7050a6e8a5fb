// Comparing texts without regard to case, as the list controls of the
// mapping page do: only single-byte letters fold, never the bytes of a
// double-byte character.
#pragma once

#include <string>
#include <string_view>
#include <vector>

/// \p text with the letters A-Z lowered; the second byte of a double-byte
/// character of the process code page is left alone.
std::string FoldCase(std::string_view text);
/// Appends FoldCase(\p text) to \p to.
void AppendFolded(std::string& to, std::string_view text);

/// True when the two texts are equal without regard to case.
bool EqualIgnoringCase(std::string_view a, std::string_view b);

/// Sorts \p texts as a sorted list or combo box keeps its entries: without
/// regard to case, equal texts in the order given.
void SortIgnoringCase(std::vector<std::string>& texts);

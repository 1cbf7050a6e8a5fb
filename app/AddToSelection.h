// Building a selection text (paths each followed by ";") from the files
// chosen in an open dialog, as page A does after each Browse.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

/// The selection text made of the fields of \p kept (the current text when
/// the user appends, empty when replacing) and the \p chosen paths: sorted
/// in ascending byte order, each path once, each followed by ";".
std::string AddToSelection(const std::string& kept, const std::vector<std::string>& chosen);

/// Whether font files of the type \p chosenType (the filter index chosen
/// in the open dialog) may join a selection of type \p currentType
/// (0 when never browsed): font map files are never mixed with Interleaf
/// ASCII font files.
bool FontAppendAllowed(int32_t currentType, int32_t chosenType);

// The list of font sizes offered on the mapping page: its numeric order,
// and the check and placement of a size the user types.
#pragma once

#include <string_view>

#include "model/CUniqueTextList.h"

/// The value of the decimal number at the start of \p text ("10" 10,
/// "10.5" 10.5, "12pt" 12); 0 when the text does not start with one.
double FontSizeValue(std::string_view text);

/// Puts \p sizes into ascending numeric order. Entries are taken in list
/// order; one whose value equals that of an entry already taken is dropped.
void OrderFontSizes(CUniqueTextList& sizes);

/// True when \p text is a size the user may type: digits with at most one
/// decimal point, of a value from 2 to 200.
bool IsValidTypedSize(std::string_view text);

/// Adds \p size to \p sizes at its numeric place, before the first entry
/// of a greater value; returns false, changing nothing, when the exact text
/// is there already.
bool InsertFontSize(CUniqueTextList& sizes, std::string_view size);

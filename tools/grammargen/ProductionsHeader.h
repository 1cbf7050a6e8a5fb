// The C++ header the grammar generator writes beside its table: the
// numbers of the labelled productions and the lengths of all right sides.
#pragma once

#include <string>

#include "tools/grammargen/Grammar.h"

namespace grammargen {

/// The header's text: in namespace `productions`, `kName` for every
/// production labelled [Name], and `RightLength(p)`, the number of symbols
/// on the right side of production p (after fields(...) expansion), usable
/// in constant expressions. \p source names the grammar in its first line.
std::string WriteProductionsHeader(const Grammar& g, const std::string& source);

}  // namespace grammargen

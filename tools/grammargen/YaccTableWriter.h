// Phase 7 of the grammar generator: the YaccTable binary.
#pragma once

#include <vector>

#include "tools/grammargen/Actions.h"

namespace grammargen {

/// The table bytes in the layout of reader/YaccTableFormat.h.
std::vector<unsigned char> WriteYaccTable(const Grammar& g, const std::vector<StateActions>& rows);

}  // namespace grammargen

// Phase 1 of the grammar generator: reads a grammar file into a Grammar.
#pragma once

#include <string>

#include "tools/grammargen/Grammar.h"

namespace grammargen {

/// Parses the text of a grammar file (the format is described at the top
/// of resources/interleaf.grammar). Problems go to \p diag with their line;
/// the result is only meaningful when \p diag has no errors.
Grammar ParseGrammar(const std::string& text, Diagnostics& diag);

}  // namespace grammargen

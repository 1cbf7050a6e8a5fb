// Phase 1 of the grammar generator: reads a grammar file into a Grammar.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "tools/grammargen/Grammar.h"

namespace grammargen {

/// The id of a token the grammar uses without declaring it (a quoted name
/// is passed without its quotes), or nothing when there is no such token.
using TokenLookup = std::function<std::optional<int32_t>(std::string_view name)>;

/// Parses the text of a grammar file (the format is described at the top
/// of resources/interleaf.grammar). Terminals are those of %token lines and
/// those that \p tokens knows. Problems go to \p diag with their line; the
/// result is only meaningful when \p diag has no errors.
Grammar ParseGrammar(const std::string& text, Diagnostics& diag, const TokenLookup& tokens = nullptr);

}  // namespace grammargen

// Cutting separated fields, one at a time, from a selection text.
#pragma once

#include <string>
#include <string_view>

/// Cuts the next field from \p rest: the text before the first
/// \p separator (the separator is dropped), or all of rest when there is
/// none. Returns false, changing nothing, when rest is empty. So "A;B;"
/// yields A, B and then false; "A;;B" yields A, an empty field, and B.
[[nodiscard]] bool NextField(std::string_view separator, std::string& field, std::string& rest);

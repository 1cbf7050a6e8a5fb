// Interleaf's escape notation: the normal form of component names and
// categories, and the small text helpers it is built from.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

/// The normal form of a name read from a document: doubled quotation marks
/// become one, characters that cannot stand plainly in an Interleaf name
/// become "<:...>" escapes, and hexadecimal references "<#..>" are replaced
/// by the character or escape they stand for. \p isShiftJis selects the
/// reading of references for Shift-JIS documents.
std::string NormaliseInterleafText(std::string_view text, int32_t isShiftJis);

/// Replaces every occurrence of \p find in \p text, scanning on after each
/// inserted replacement; returns the number of replacements. An empty
/// \p find replaces nothing.
int32_t ReplaceAll(std::string& text, std::string_view find, std::string_view replacement);

/// Replaces the first occurrence of \p find; returns 1, or -1 when there
/// is none.
int32_t ReplaceFirst(std::string& text, std::string_view find, std::string_view replacement);

/// The value of hexadecimal \p digits (either case), wrapping at 32 bits.
/// Characters that are not hexadecimal digits count by the same arithmetic
/// as the digits (their distance from '0' or from 'A' - 10).
uint32_t ParseHex(std::string_view digits);

// New font numbers and spelled-out names for the references whose font the
// user changed.
#pragma once

#include <string>

#include "output/CNewFontDefinitions.h"

class CFontReference;
class CFontReferenceList;

/// The description of \p reference's new font as a definition line names
/// it: family and size (the current ones where no new one was chosen), then
/// the new bold and italic words when given, then ",".
std::string NewFontDescription(const CFontReference& reference);

/// Gives \p reference's new font a key: the key of the new line that
/// already describes the same font, or "F" followed by the next number
/// above \p list's highest font number (which then grows), with a new line
/// added to \p definitions. False, with \p key empty, when no new font was
/// chosen.
bool AllocateFontKey(CFontReferenceList& list, const CFontReference& reference,
                     CNewFontDefinitions& definitions, std::string& key);

/// The spelled-out name of \p reference's new font, such as
/// "Helvetica12bi"; empty when no new font was chosen.
std::string MakeSpelledOutName(const CFontReference& reference);

/// Allocates keys or spelled-out names for every changed reference of
/// \p list, oldest first, and sets the replacement text of each reference
/// whose text changes: "<F13" for a font change, "13" for a component's
/// font number, the new name for a chart or text string font. A font
/// definition only contributes its line. Returns true when at least one
/// key was allocated, that is when \p definitions must be written.
bool BuildNewFontDefinitions(CFontReferenceList& list, CNewFontDefinitions& definitions);

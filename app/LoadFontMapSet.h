// The loading driver for font map files chosen as font files: only their
// family names and sizes are taken.
#pragma once

#include <cstdint>
#include <string_view>

class CFontReferenceList;
class CLoadLog;

/// Reads every font map file of \p selection (paths each followed by ";")
/// into the family and size lists of \p model, with a file block in \p log
/// for each. A file that lacks the header line or has a line without a
/// family or a size adds 1 to \p errorCount and gets an error line in its
/// block; what was read before the bad line stays in the model. A good file
/// adds 1 to \p valid and gets "Done!". Returns false when the user stopped
/// loading (checked after each file), true otherwise.
bool LoadFontMapSet(CLoadLog& log, int32_t& errorCount, CFontReferenceList& model, std::string_view selection,
                    int32_t& valid);

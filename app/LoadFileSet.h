// The loading driver for Interleaf ASCII files: one selection of files
// into one document model, with a file block in the load log for each.
#pragma once

#include <cstdint>
#include <string_view>

class CFontReferenceList;
class CLoadLog;

/// How a set's disk space demand is counted: over the whole set for the
/// translated files (they are all rewritten), file by file for font files.
enum class LoadMode { TranslatedFiles, FontFiles };

/// Loads every file of \p selection (paths each followed by ";") into
/// \p model. Each file is pre-checked and parsed; a file that fails leaves
/// the model as it was before it, adds 1 to \p errorCount and gets its
/// reasons in \p log; a file loaded without error adds 1 to \p valid and
/// gets "Done!". Returns false when the set was cancelled for lack of disk
/// space or stopped by the user (the stop flag); the rest of the set is
/// then not handled, and a stopped file keeps what was read of it. Free
/// space is measured on the file system of \p outputFolder.
bool LoadFileSet(CLoadLog& log, int32_t& errorCount, CFontReferenceList& model,
                 std::string_view selection, int32_t& valid, LoadMode mode, const std::string& outputFolder);

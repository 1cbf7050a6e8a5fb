// The loading driver for Interleaf ASCII files: one selection of files
// into one document model, with a file block in the load log for each.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class CFontReferenceList;
class CLoadLog;
enum class ParseOutcome;

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
bool LoadFileSet(CLoadLog& log, int32_t& errorCount, CFontReferenceList& model, std::string_view selection,
                 int32_t& valid, LoadMode mode, const std::string& outputFolder);

/// LoadFileSet with the files parsed side by side on up to \p threads
/// cores, each into a model of its own, and added to \p model in selection
/// order; the log, the model and the numbering of the files are exactly
/// those of LoadFileSet. A file whose parse read what the files before it
/// left in the model is parsed again in turn. Only for callers that run no
/// message pump and take no Stop while loading (the command line): with a
/// pump installed, one file or one thread it is LoadFileSet.
bool LoadFileSetInParallel(CLoadLog& log, int32_t& errorCount, CFontReferenceList& model, std::string_view selection,
                           int32_t& valid, LoadMode mode, const std::string& outputFolder, int32_t threads);

// ---- the steps both drivers share ---------------------------------------

/// The fields of \p selection, each file once (under any spelling).
std::vector<std::string> SelectedFiles(std::string_view selection);
/// Puts the heap on huge pages when the files of \p paths are large
/// together (see Note [heap on huge pages] in platform/HeapPages.h).
void UseHugePagesForFiles(const std::vector<std::string>& paths);
/// Starts the file block of \p path: one message, an empty line, the
/// "Processing" line, and the pre-check, whose result it returns.
int32_t StartFileBlock(CLoadLog& log, const std::string& path, LoadMode mode, const std::string& outputFolder,
                       int32_t& requiredSpace);
/// Logs and counts a pre-check that did not pass with \p code; false when
/// the set ends there (no disk space: no further file, no empty line).
bool FailedPrecheck(CLoadLog& log, int32_t code, int32_t& errorCount);
/// Ends a file block: "Done!" for a file loaded without error, then an
/// empty line.
void EndFileBlock(CLoadLog& log, bool loaded);
/// Counts a parse's \p outcome (a file loaded or failed) and ends its
/// block; false, with the block left open, when the parse was stopped.
bool EndParsedFile(CLoadLog& log, ParseOutcome outcome, int32_t& valid, int32_t& errorCount);

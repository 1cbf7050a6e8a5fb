// The output run of the mapping page's Run: new font numbers and names,
// the replacement lists of every changed file, and the written copies.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "output/COutputRecord.h"
#include "output/WriteTargets.h"

class CErrorReporter;
class CFontReferenceList;
class COutputObserver;
class CWizardChoices;

/// What a run needs beyond the choices.
struct COutputOptions {
  bool convertToEuc = false;                ///< "&Convert to EUC": copies are written in EUC-JP
  std::vector<std::string> otherFilesRead;  ///< e.g. map files: no copy may replace one
  /// Files written at once (0: one per core); the run tells and writes the
  /// same whatever the number.
  int32_t writeThreads = 0;
};

/// What one output run wrote.
struct GeneratedFiles {
  /// The files written completely, in the order written.
  std::vector<COutputRecord> written;
  /// The files that had a replacement and so had to be written.
  int32_t expected = 0;
  /// Set when a copy would have replaced a file the job reads: then
  /// nothing was written.
  std::optional<CWriteConflict> refused;
};

/// Writes a rewritten copy of every translated file that has a changed font
/// reference into the output directory of \p choices (absolute, or below
/// the directory of the first translated file). Each changed reference of
/// \p translated is given a new font number or spelled-out name, and every
/// rewritten file receives all new definition lines right after its font
/// definitions tag. Files without a replacement are not written, nor is a
/// file changed since it was loaded. When any copy would replace a file
/// that the job reads (translated, font or \p options' files), nothing is
/// written. Reports go to \p reporter, progress and messages to
/// \p observer (may be null). The highest font number is left as it was,
/// so a repeated run allocates the same numbers.
GeneratedFiles GenerateOutput(CFontReferenceList& translated, const CWizardChoices& choices,
                              const COutputOptions& options, CErrorReporter& reporter, COutputObserver* observer);

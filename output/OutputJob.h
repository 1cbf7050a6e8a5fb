// The whole output job of Run, for every front end: rewritten copies of the
// translated files, each checked by reading it again, their EUC conversion
// when asked, and what became of each file; or a dry run's differences.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "output/COutputRecord.h"
#include "output/LineDiff.h"
#include "output/WriteTargets.h"

class CFontReferenceList;
class COutputObserver;
class CReportSink;
class CWizardChoices;

/// How an output job runs and where it speaks.
struct OutputJobOptions {
  /// Convert every written file from Shift-JIS to EUC ("Convert to EUC").
  bool convertToEuc = false;
  /// Output's numbered reports and log lines ("Creating file: ..."); none
  /// when null.
  CReportSink* reports = nullptr;
  /// Progress while files are written, and the messages a window shows in
  /// message boxes; none when null. The job ends with empty progress
  /// (no file name, 0 and 0), so that a window resets its bars.
  COutputObserver* observer = nullptr;
  /// Files the job reads besides the translated and font files (map
  /// files): no copy may replace one.
  std::vector<std::string> otherFilesRead;
  /// Read every written file again, before any conversion, and check that
  /// it names the fonts asked for (VerifyOutput). A file that fails is
  /// shown to the observer as a message with the caption "Error", and the
  /// job is not complete.
  bool verify = true;
  /// Write nothing: the copies are made in a scratch folder, compared line
  /// by line with their inputs into the summary's differences, and removed
  /// with the folder; no conversion and no check.
  bool dryRun = false;
  /// Files written at once (0: one per core); the job tells and writes the
  /// same whatever the number.
  int32_t writeThreads = 0;
};

/// What a dry run would change in one file.
struct COutputDifference {
  /// The copy's path below the output directory, with "/" between folders.
  std::string name;
  std::vector<DiffHunk> hunks;
};

/// What an output job did.
struct OutputSummary {
  /// Files that had a replacement and so had to be written.
  int32_t filesExpected = 0;
  /// Files written completely.
  int32_t filesWritten = 0;
  /// Files that had to be written and were not (each was reported).
  int32_t filesFailed = 0;
  /// Written files converted to EUC (0 unless conversion was asked for).
  int32_t filesConverted = 0;
  /// Written files whose check failed (each was shown).
  int32_t filesUnverified = 0;
  /// Conversion to EUC was asked for.
  bool eucRequested = false;
  /// The files written, in the order written (a dry run: where they would
  /// have been written).
  std::vector<COutputRecord> written;
  /// Set when a copy would have replaced a file the job reads: then
  /// nothing was written.
  std::optional<CWriteConflict> refused;
  /// A dry run's differences, one per file it would write, in that order.
  std::vector<COutputDifference> differences;

  /// Every file that had to be written was, passed its check when checked,
  /// and was converted when asked.
  bool Complete() const {
    return !refused && filesFailed == 0 && filesUnverified == 0 && (!eucRequested || filesConverted == filesWritten);
  }
};

/// Writes the rewritten copies of \p translated's files into the output
/// directory of \p choices, converted to EUC as they are written when
/// asked. A failed file is reported and the others are still written; a
/// copy that would replace a file the job reads stops the job before it
/// writes anything. The summary tells whether the job was complete.
/// directory of \p choices, checks them, then converts them to EUC when
/// asked (or, for a dry run, only works out what would change). A failed
/// file is reported and the others are still written; the summary tells
/// whether the job was complete.
OutputSummary RunOutputJob(CFontReferenceList& translated, const CWizardChoices& choices,
                           const OutputJobOptions& options);

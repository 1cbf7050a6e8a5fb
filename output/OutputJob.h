// The whole output job of Run, for every front end: rewritten copies of the
// translated files, their EUC conversion when asked, and what became of
// each file.
#pragma once

#include <cstdint>
#include <vector>

#include "output/COutputRecord.h"

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
  /// Conversion to EUC was asked for.
  bool eucRequested = false;
  /// The files written, in the order written.
  std::vector<COutputRecord> written;

  /// Every file that had to be written was, and converted when asked.
  bool Complete() const {
    return filesFailed == 0 && (!eucRequested || filesConverted == filesWritten);
  }
};

/// Writes the rewritten copies of \p translated's files into the output
/// directory of \p choices, then converts them to EUC when asked. A failed
/// file is reported and the others are still written; the summary tells
/// whether the job was complete.
OutputSummary RunOutputJob(CFontReferenceList& translated, const CWizardChoices& choices,
                           const OutputJobOptions& options);

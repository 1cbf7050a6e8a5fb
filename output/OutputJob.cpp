// The output job: generate, write, convert, and count what became of it.
#include "output/OutputJob.h"

#include <string>

#include "app/CWizardChoices.h"
#include "output/CErrorReporter.h"
#include "output/COutputObserver.h"
#include "output/GenerateOutput.h"
#include "output/ShiftJisToEuc.h"

OutputSummary RunOutputJob(CFontReferenceList& translated, const CWizardChoices& choices,
                           const OutputJobOptions& options) {
  COutputObserver silent;  // when the caller watches nothing
  COutputObserver& observer = options.observer != nullptr ? *options.observer : silent;
  CErrorReporter reporter(options.reports);
  GeneratedFiles generated = GenerateOutput(translated, choices, reporter, &observer);

  OutputSummary summary;
  summary.filesExpected = generated.expected;
  summary.filesWritten = static_cast<int32_t>(generated.written.size());
  summary.filesFailed = summary.filesExpected - summary.filesWritten;
  summary.eucRequested = options.convertToEuc;
  // The conversion also names each translated file that the run did not
  // write (it had no replacement): that is no failure of the job, which
  // counts the written files converted.
  if (options.convertToEuc) {
    summary.filesConverted = ConvertOutputToEuc(choices.GetTranslatedFiles(), generated.written, observer);
  }
  summary.written = std::move(generated.written);
  observer.ShowProgress(std::string(), 0, 0);
  return summary;
}

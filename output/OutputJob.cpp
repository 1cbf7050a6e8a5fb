// The output job: generate, write, convert, and count what became of it.
#include "output/OutputJob.h"

#include <filesystem>
#include <string>

#include "app/CWizardChoices.h"
#include "output/CErrorReporter.h"
#include "output/COutputObserver.h"
#include "output/CScratchFolder.h"
#include "output/GenerateOutput.h"
#include "output/ShiftJisToEuc.h"
#include "output/VerifyOutput.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"

namespace {

// The copies of a dry run, made in \p scratch, compared with their inputs;
// the records are made to name where the copies would have gone.
void CompareWithInputs(OutputSummary& summary, const std::string& scratch, const std::string& outputDirectory,
                       COutputObserver& observer) {
  for (COutputRecord& record : summary.written) {
    COutputDifference difference;
    difference.name = std::filesystem::path(record.outputName).lexically_relative(scratch).generic_string();
    if (!DiffFiles(record.inputName, record.outputName, difference.hunks)) {
      observer.ShowMessage(
          LoadResString(IdsFileErrorAccessDenied) + "\n\r" + LoadResString(IdsFileNameLabel) + record.outputName,
          LoadResString(IdsCaptionError));
      ++summary.filesFailed;
    }
    record.outputName = (std::filesystem::path(outputDirectory) / difference.name).string();
    summary.differences.push_back(std::move(difference));
  }
}

}  // namespace

OutputSummary RunOutputJob(CFontReferenceList& translated, const CWizardChoices& choices,
                           const OutputJobOptions& options) {
  COutputObserver silent;  // when the caller watches nothing
  COutputObserver& observer = options.observer != nullptr ? *options.observer : silent;
  CErrorReporter reporter(options.reports);
  OutputSummary summary;

  if (options.dryRun) {
    // The same run into a folder of its own, which goes again at the end.
    CScratchFolder scratch;
    if (scratch.Path().empty()) {
      observer.ShowMessage(LoadResString(IdsFileErrorAccessDenied), LoadResString(IdsCaptionError));
      summary.filesFailed = 1;
      return summary;
    }
    const CWizardChoices inScratch(choices.GetTranslatedFiles(), choices.GetFontFiles(), scratch.Path(),
                                   choices.GetFontFileType());
    GeneratedFiles generated =
        GenerateOutput(translated, inScratch, COutputOptions{false, options.otherFilesRead, options.writeThreads},
                       reporter, &observer);
    summary.filesExpected = generated.expected;
    summary.filesWritten = static_cast<int32_t>(generated.written.size());
    summary.filesFailed = summary.filesExpected - summary.filesWritten;
    summary.written = std::move(generated.written);
    CompareWithInputs(summary, scratch.Path(), choices.GetOutputDirectory(), observer);
    observer.ShowProgress(std::string(), 0, 0);
    return summary;
  }

  const bool convertWhileWriting = options.convertToEuc && !options.verify;
  GeneratedFiles generated = GenerateOutput(
      translated, choices, COutputOptions{convertWhileWriting, options.otherFilesRead, options.writeThreads}, reporter,
      &observer);
  summary.filesExpected = generated.expected;
  summary.filesWritten = static_cast<int32_t>(generated.written.size());
  summary.filesFailed = summary.filesExpected - summary.filesWritten;
  summary.eucRequested = options.convertToEuc;
  summary.refused = generated.refused;
  // Checked before any conversion: the reader takes Shift-JIS, not EUC.
  if (options.verify && !generated.refused) {
    for (const CVerifyFailure& failure : VerifyOutput(translated, generated.written)) {
      observer.ShowMessage(failure.message, LoadResString(IdsCaptionError));
      ++summary.filesUnverified;
    }
  }
  // Without the check, each file was converted on its way into place; with
  // it, each checked file is converted now, once, through a temporary
  // beside it. The conversion also names each translated file that the
  // run did not write (it had no replacement): that is no failure of the
  // job, which counts the written files converted.
  if (options.convertToEuc && !generated.refused) {
    summary.filesConverted =
        convertWhileWriting ? summary.filesWritten : ConvertWrittenFilesToEuc(generated.written, observer);
    ReportFilesNotConverted(choices.GetTranslatedFiles(), generated.written, observer);
  }
  summary.written = std::move(generated.written);
  observer.ShowProgress(std::string(), 0, 0);
  return summary;
}

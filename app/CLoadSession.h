// One run of loading as the load page does it: the translated files, then
// the font files, into two document models, with the load log and the
// page's busy, finished and failed states.
#pragma once

#include <cstdint>
#include <functional>

#include "app/CWizardChoices.h"
#include "model/CFontReferenceList.h"

class CLoadLog;

/// The states of a load session. Opening until Start; Busy while loading;
/// Finished when both models may go on to mapping; Failed when they may not.
enum class LoadState { Opening, Busy, Finished, Failed };

/// The core of the load page, free of any window. The page forwards its
/// Start and Stop buttons here and sets its buttons from the state it is
/// told about; the command line drives it the same way.
///
/// Start runs to the end inside the call. The loading code calls
/// PumpOneMessage between steps, so a front end's Stop handler runs inside
/// Start and may call Stop there. After a Stop the state is Finished at
/// once, and usually becomes Failed when the interrupted step returns.
class CLoadSession {
 public:
  /// Told every time the state is set (possibly to the state it already
  /// has: the page sets its buttons again).
  using StateListener = std::function<void(LoadState)>;

  /// A session over a copy of \p choices, writing to \p log, which must
  /// outlive it. Both models start empty.
  CLoadSession(const CWizardChoices& choices, CLoadLog& log);
  CLoadSession(const CLoadSession&) = delete;
  CLoadSession& operator=(const CLoadSession&) = delete;

  /// Installs the function told about state changes (empty: none).
  void SetStateListener(StateListener listener) { listener_ = std::move(listener); }

  /// Chooses the job's code page (ChooseJobCodePage, the log's first
  /// line), then loads the translated files, then (when \p withFontFiles
  /// and the first section ended normally) the font files, writing every
  /// step to the log. Clears the stop flag first. Only the first call does anything:
  /// a session loads once. Without font files the session ends Finished
  /// when the translated files' section closed normally.
  void Start(bool withFontFiles = true);
  /// Lets the sets be loaded on up to \p threads cores (see
  /// LoadFileSetInParallel), with the same result as on one. For front
  /// ends that take no Stop while loading; 1 (the default): one core.
  void SetLoadThreads(int32_t threads) { threads_ = threads; }

  /// The user's Stop: sets the stop flag, which loading notices at its
  /// next check, and the Finished state. Does nothing unless Busy.
  void Stop();

  LoadState State() const noexcept { return state_; }
  /// Errors counted in the set loaded last (0 at the start of each set).
  int32_t ErrorCount() const noexcept { return errorCount_; }
  /// True when a file of either set failed to load.
  bool AnyFileFailed() const noexcept { return failedFiles_ > 0; }

  /// The model of the translated files (the one output rewrites).
  CFontReferenceList& TranslatedModel() noexcept { return translated_; }
  const CFontReferenceList& TranslatedModel() const noexcept { return translated_; }
  /// The model of the font files (it supplies the fonts offered).
  CFontReferenceList& FontModel() noexcept { return fonts_; }
  const CFontReferenceList& FontModel() const noexcept { return fonts_; }

 private:
  bool LoadTranslatedFiles();
  bool LoadFontFiles();
  /// Ends a set's log: whether errors were found and \p closingLineId, or
  /// with \p noFileId the fatal summary when none of its \p valid files
  /// loaded. True when loading can go on.
  bool Summarize(int32_t valid, int32_t noFileId, int32_t closingLineId);
  /// Writes the summary of a set with no valid file, ending in Failed.
  void FatalSummary(int32_t messageId, int32_t closingLineId);
  void SetState(LoadState state);
  /// Where the copies will be written: the disk whose free space counts.
  std::string OutputFolder() const;

  CWizardChoices choices_;
  CLoadLog& log_;
  CFontReferenceList translated_;
  CFontReferenceList fonts_;
  int32_t errorCount_ = 0;
  int32_t failedFiles_ = 0;  // errors of both sets
  int32_t threads_ = 1;
  LoadState state_ = LoadState::Opening;
  StateListener listener_;
};

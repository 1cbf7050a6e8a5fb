// The mapping page's progress controls as output's observer: both bars,
// both percentages and the status line while Run writes files.
#pragma once

#include <QString>

#include "output/COutputObserver.h"

class CMappingPage;

/// Shows output's progress on \p page and its messages in boxes over it.
/// The job's closing empty progress is left out: the figures stay up until
/// the page has said that it finished, then the page resets them.
class CRunProgress : public COutputObserver {
 public:
  explicit CRunProgress(CMappingPage& page) : page_(page) {}

  void ShowProgress(const std::string& fileName, int32_t currentPercent, int32_t totalPercent) override;
  void ShowMessage(const std::string& text, const std::string& caption) override;

  /// Sets both bars and percentages and the status line.
  void Show(int32_t currentPercent, int32_t totalPercent, const QString& status);

 private:
  void SetBar(int32_t barId, int32_t labelId, int32_t percent);

  CMappingPage& page_;
};

// CLoadPage: page B of the wizard, which loads the chosen files and keeps
// the load log (dialog 141).
#pragma once

#include <QFont>
#include <cstdint>

#include "app/CLoadSession.h"
#include "app/ui/CListBoxLoadLog.h"
#include "app/ui/CWizardPage.h"

class CWizardChoices;

/// Page B: "S&tart" loads the translated files and then the font files,
/// writing every step to the log; "&Next >" goes on to the mapping page.
/// The page is a view over a CLoadSession, which owns the two models and
/// decides the states; the page sets its buttons from them.
class CLoadPage : public CWizardPage {
 public:
  /// Control ids of the page (1 and 2 are "&Next >" and "< &Back").
  enum : int32_t { kExit = 1031, kLogBox = 1041, kSaveAs = 1044, kStop = 1045, kStart = 1046 };

  /// \p choices must outlive the page; \p owner is page A.
  CLoadPage(const CWizardChoices& choices, CWizardPage* owner);

  /// The load log over the page's list box.
  CLoadLog& Log() { return log_; }
  /// The choices the page was made with.
  const CWizardChoices& Choices() const { return choices_; }
  /// The loading behind the page, with its two models.
  CLoadSession& Session() { return session_; }
  /// Sets every button as \p state wants it.
  void SetButtonState(LoadState state);

  /// The log's font: a fixed-pitch face, 13 pixels high, 6 pixels wide.
  static QFont LogFont();

 protected:
  void OnInitDialog() override;
  /// "&Next >" (button 1).
  void OnOK() override;
  /// "< &Back" (button 2) and Escape.
  void OnCancel() override;
  /// The title bar's close: ends with -1, once any loading has returned.
  void OnClose() override;

 private:
  void OnStart();
  void OnStop();
  void OnSaveAs();
  void OnExit();

  const CWizardChoices& choices_;
  CListBoxLoadLog log_;
  CLoadSession session_;         // after log_, which it writes to
  bool loading_ = false;         ///< Start's handler is running
  bool closeRequested_ = false;  ///< closed from the title bar while loading
};

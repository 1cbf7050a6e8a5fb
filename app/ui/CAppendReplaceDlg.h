// CAppendReplaceDlg: asks whether newly chosen files join or replace the
// current selection (dialog 144).
#pragma once

#include "platform/ui/CTemplateDialog.h"

/// Results besides kIdCancel (2).
enum : int32_t {
  kAppendResult = 1,    ///< "&Append"
  kReplaceResult = -1,  ///< "&Replace"
};

/// "&Append" ends it with 1, "&Replace" with -1, "Cancel" and Escape with 2.
class CAppendReplaceDlg : public CTemplateDialog {
 public:
  /// "&Append" is offered only when \p appendAllowed.
  explicit CAppendReplaceDlg(bool appendAllowed, QWidget* owner = nullptr);

 private:
  void OnReplace();
};

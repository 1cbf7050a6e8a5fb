// CAboutDlg: the about box (dialog 100).
#pragma once

#include "platform/ui/CTemplateDialog.h"

/// The about box: icon, product line, credits and an OK button. It has no
/// behaviour of its own.
class CAboutDlg : public CTemplateDialog {
 public:
  explicit CAboutDlg(QWidget* owner = nullptr);
};

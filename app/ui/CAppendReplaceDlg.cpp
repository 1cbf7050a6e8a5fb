// The Append/Replace question.
#include "app/ui/CAppendReplaceDlg.h"

#include <QPushButton>

#include "platform/ui/CDialogService.h"

namespace {
constexpr int32_t kIdReplace = 1060;
}  // namespace

CAppendReplaceDlg::CAppendReplaceDlg(bool appendAllowed, QWidget* owner) : CTemplateDialog(144, owner) {
  OnClicked(kIdReplace, this, &CAppendReplaceDlg::OnReplace);
  if (QPushButton* append = Button(kIdOk)) append->setEnabled(appendAllowed);
}

void CAppendReplaceDlg::OnReplace() { done(kReplaceResult); }

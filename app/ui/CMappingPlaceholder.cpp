// The stand-in for page C.
#include "app/ui/CMappingPlaceholder.h"

namespace {
constexpr int32_t kIdExit = 1031;
}  // namespace

CMappingPlaceholder::CMappingPlaceholder(const CWizardChoices&, CWizardPage* owner)
    : CWizardPage(132, owner) {
  OnClicked(kIdExit, this, &CMappingPlaceholder::OnClose);
}

void CMappingPlaceholder::OnCancel() { GoBack(); }

void CMappingPlaceholder::OnClose() { done(-1); }

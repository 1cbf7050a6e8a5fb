// CMappingPlaceholder: stands in for page C until the mapping page exists;
// it only leads back or out.
#pragma once

#include "app/ui/CWizardPage.h"

class CWizardChoices;

/// Page C's place in the wizard: "< &Back" returns 2, "&Exit" -1.
class CMappingPlaceholder : public CWizardPage {
 public:
  CMappingPlaceholder(const CWizardChoices& choices, CWizardPage* owner);

 protected:
  void OnCancel() override;
  void OnClose() override;
};

// CShowFilenamesDlg: the files in which the references of a mapping row
// occur (dialog 138).
#pragma once

#include <string>
#include <vector>

#include "platform/ui/CTemplateDialog.h"

/// Lists file names, sorted, each once without regard to case.
class CShowFilenamesDlg : public CTemplateDialog {
 public:
  enum : int32_t { kFileList = 1039 };
  CShowFilenamesDlg(const std::vector<std::string>& fileNames, QWidget* parent);
};

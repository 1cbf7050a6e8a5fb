// The file list of a mapping row.
#include "mapping/ui/CShowFilenamesDlg.h"

#include <QListWidget>
#include <algorithm>

#include "mapping/FoldCase.h"
#include "platform/ui/QtText.h"

CShowFilenamesDlg::CShowFilenamesDlg(const std::vector<std::string>& fileNames, QWidget* parent)
    : CTemplateDialog(138, parent) {
  QListWidget* list = List(kFileList);
  if (!list) return;
  std::vector<std::string> names;
  for (const std::string& name : fileNames) {
    auto same = [&name](const std::string& other) { return EqualIgnoringCase(name, other); };
    if (std::none_of(names.begin(), names.end(), same)) names.push_back(name);
  }
  SortIgnoringCase(names);
  for (const std::string& name : names) list->addItem(ToQt(name));
}

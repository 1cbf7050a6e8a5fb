// The folder chooser.
#include "platform/ui/CT_FolderDialog.h"

#include <QDir>

#include "platform/ui/FileDialogSize.h"
#include "platform/ui/QtText.h"

CT_FolderDialog::CT_FolderDialog(std::string& result, const std::string& title, QWidget* owner)
    : QFileDialog(owner), result_(result) {
  setWindowTitle(ToQt(title));
  setFileMode(QFileDialog::Directory);
  setOption(QFileDialog::ShowDirsOnly);
  setAcceptMode(QFileDialog::AcceptOpen);
  setLabelText(QFileDialog::Accept, QStringLiteral("Select"));
  if (!result.empty()) setDirectory(ToQt(result));
  FitFileDialogColumns(*this);
}

int CT_FolderDialog::Run() {
  if (exec() != QDialog::Accepted) return 2;
  QStringList chosen = selectedFiles();
  QString folder = chosen.isEmpty() ? directory().absolutePath() : chosen.front();
  // Choosing a folder also moves the process into it, as the Windows
  // dialog this replaces did.
  QDir::setCurrent(folder);
  result_ = FromQt(QDir::toNativeSeparators(folder));
  return 1;
}

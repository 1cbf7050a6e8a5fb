// Real Qt dialogs behind the dialog service.
#include "platform/ui/CQtDialogService.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QUrl>

#include "platform/StringIds.h"
#include "platform/StringTable.h"
#include "platform/ui/CHelpWindow.h"
#include "platform/ui/CT_FolderDialog.h"
#include "platform/ui/FileDialogSize.h"
#include "platform/ui/QtText.h"

namespace {

// Qt wants "Description (*.a *.b)"; the description is shown as written
// (HideNameFilterDetails strips the part Qt added).
QStringList QtFilters(const std::string& filter) {
  QStringList filters;
  for (const auto& [description, patterns] : SplitFilter(filter)) {
    filters << ToQt(description) + QStringLiteral(" (") + ToQt(patterns).replace(QLatin1Char(';'), QLatin1Char(' ')) +
                   QLatin1Char(')');
  }
  return filters;
}

// The number (from 1) of the filter the user chose in a dialog given
// \p filter; 1 when it cannot be told. Qt's own dialog names the chosen
// filter as it shows it, by its description alone (HideNameFilterDetails);
// the platform's dialogs name it in full.
int32_t ChosenFilterIndex(const QFileDialog& dialog, const std::string& filter) {
  const QString chosen = dialog.selectedNameFilter();
  const QStringList full = QtFilters(filter);
  const auto split = SplitFilter(filter);
  for (qsizetype i = 0; i < full.size(); ++i) {
    if (chosen == full[i] || chosen == ToQt(split[static_cast<size_t>(i)].first).simplified())
      return static_cast<int32_t>(i + 1);
  }
  return 1;
}

void PrepareFileDialog(QFileDialog& dialog, const FileDialogRequest& request) {
  dialog.setWindowTitle(ToQt(request.title));
  QStringList filters = QtFilters(request.filter);
  if (!filters.isEmpty()) {
    dialog.setNameFilters(filters);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    int index = request.filterIndex >= 1 && request.filterIndex <= filters.size() ? request.filterIndex - 1 : 0;
    dialog.selectNameFilter(filters[index]);
  }
  if (!request.defaultExtension.empty()) dialog.setDefaultSuffix(ToQt(request.defaultExtension));
  dialog.setOption(QFileDialog::DontConfirmOverwrite, (request.options & kOfnOverwritePrompt) == 0);
  if (!request.folder.empty()) dialog.setDirectory(ToQt(request.folder));
  FitFileDialogColumns(dialog);
}

// The Windows dialogs leave the process in the folder the user ended in,
// and what follows (the free space check of loading) relies on that.
void EnterFolderOf(const QFileDialog& dialog) { QDir::setCurrent(dialog.directory().absolutePath()); }

// Characters the chosen names take in the Windows dialog's result buffer.
size_t PackedLength(const QStringList& paths) {
  if (paths.isEmpty()) return 0;
  size_t length = FromQt(QFileInfo(paths.front()).absolutePath()).size() + 1;
  for (const QString& p : paths) length += FromQt(QFileInfo(p).fileName()).size() + 1;
  return length + 1;
}

}  // namespace

int32_t CQtDialogService::MessageBox(QWidget* owner, const std::string& text, const std::string& caption,
                                     MessageIcon icon, MessageButtons buttons) {
  QMessageBox::Icon qtIcon = QMessageBox::NoIcon;
  switch (icon) {
    case MessageIcon::None:
      qtIcon = QMessageBox::NoIcon;
      break;
    case MessageIcon::Exclamation:
      qtIcon = QMessageBox::Warning;
      break;
    case MessageIcon::Question:
      qtIcon = QMessageBox::Question;
      break;
    case MessageIcon::Error:
      qtIcon = QMessageBox::Critical;
      break;
    case MessageIcon::Information:
      qtIcon = QMessageBox::Information;
      break;
  }
  QMessageBox::StandardButtons qtButtons = QMessageBox::Ok;
  switch (buttons) {
    case MessageButtons::Ok:
      qtButtons = QMessageBox::Ok;
      break;
    case MessageButtons::OkCancel:
      qtButtons = QMessageBox::Ok | QMessageBox::Cancel;
      break;
    case MessageButtons::YesNo:
      qtButtons = QMessageBox::Yes | QMessageBox::No;
      break;
    case MessageButtons::YesNoCancel:
      qtButtons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
      break;
  }
  QMessageBox box(qtIcon, ToQt(caption), ToQt(text), qtButtons, owner);
  switch (box.exec()) {
    case QMessageBox::Yes:
      return kIdYes;
    case QMessageBox::No:
      return kIdNo;
    case QMessageBox::Cancel:
      return kIdCancel;
    default:
      return buttons == MessageButtons::YesNo ? kIdNo : kIdOk;
  }
}

bool CQtDialogService::OpenFiles(QWidget* owner, const FileDialogRequest& request, FileDialogResult& result) {
  QFileDialog dialog(owner);
  PrepareFileDialog(dialog, request);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  bool mustExist = (request.options & kOfnFileMustExist) != 0;
  dialog.setFileMode((request.options & kOfnAllowMultiSelect) ? QFileDialog::ExistingFiles
                     : mustExist                              ? QFileDialog::ExistingFile
                                                              : QFileDialog::AnyFile);
  result.overflowed = false;
  if (dialog.exec() != QDialog::Accepted) return false;
  QStringList chosen = dialog.selectedFiles();
  EnterFolderOf(dialog);
  result.paths.clear();
  result.overflowed = request.bufferSize != 0 && PackedLength(chosen) > request.bufferSize;
  if (result.overflowed) return false;
  for (const QString& path : chosen) result.paths.push_back(FromQt(QDir::toNativeSeparators(path)));
  result.filterIndex = ChosenFilterIndex(dialog, request.filter);
  return !result.paths.empty();
}

bool CQtDialogService::SaveFile(QWidget* owner, const FileDialogRequest& request, std::string& path) {
  QFileDialog dialog(owner);
  PrepareFileDialog(dialog, request);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  EnterFolderOf(dialog);
  path = FromQt(QDir::toNativeSeparators(dialog.selectedFiles().front()));
  return true;
}

bool CQtDialogService::ChooseFolder(QWidget* owner, const std::string& title, std::string& folder) {
  CT_FolderDialog dialog(folder, title, owner);
  return dialog.Run() == 1;
}

int CQtDialogService::RunModal(QDialog& dialog) { return dialog.exec(); }

void CQtDialogService::ShowHelp(uint32_t context) {
  const QString page =
      CHelpWindow::FindHelpPage(QCoreApplication::applicationDirPath(), QStringLiteral(TYPESWAP_HELP_RELATIVE));
  QWidget* owner = QApplication::activeModalWidget();
  if (page.isEmpty()) {
    const QString installed =
        QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/" TYPESWAP_HELP_RELATIVE));
    std::string text = LoadResString(IdsHelpMissing);
    if (auto at = text.find("%s"); at != std::string::npos) text.replace(at, 2, FromQt(installed));
    MessageBox(owner, text, LoadResString(IdsCaptionError), MessageIcon::Error, MessageButtons::Ok);
    return;
  }
  // The pages are modal; a window of their own would be blocked by them,
  // so the help window follows the page that asks for it.
  if (!help_)
    help_ = new CHelpWindow(owner);
  else if (help_->parentWidget() != owner)
    help_->setParent(owner, help_->windowFlags());
  help_->ShowTopic(page, context);
}

void CQtDialogService::QuitHelp() {
  if (help_) help_->close();
}

// The dialog service of the program: real Qt message boxes, file dialogs,
// modal runs and the program's help window.
#pragma once

#include <QPointer>

#include "platform/ui/CDialogService.h"
#include "platform/ui/CHelpWindow.h"

/// Shows the real Qt dialogs.
class CQtDialogService : public CDialogService {
 public:
  int32_t MessageBox(QWidget* owner, const std::string& text, const std::string& caption, MessageIcon icon,
                     MessageButtons buttons) override;
  bool OpenFiles(QWidget* owner, const FileDialogRequest& request, FileDialogResult& result) override;
  bool SaveFile(QWidget* owner, const FileDialogRequest& request, std::string& path) override;
  bool ChooseFolder(QWidget* owner, const std::string& title, std::string& folder) override;
  int RunModal(QDialog& dialog) override;
  void ShowHelp(uint32_t context) override;
  void QuitHelp() override;

 private:
  QPointer<CHelpWindow> help_;  ///< made at the first Help; gone with its page
};

// CT_FolderDialog: a file dialog that lists only folders and chooses one.
#pragma once

#include <QFileDialog>
#include <string>

/// Chooses a folder. Its accept button reads "Select"; it opens centred on
/// its owner with the given title.
class CT_FolderDialog : public QFileDialog {
 public:
  /// \p result receives the folder when one is chosen; the dialog opens
  /// in the folder it holds, if any.
  CT_FolderDialog(std::string& result, const std::string& title, QWidget* owner);

  /// Runs the dialog modally: 1 when a folder was chosen (it is in the
  /// result string and becomes the current directory), else 2.
  int Run();

 private:
  std::string& result_;
};

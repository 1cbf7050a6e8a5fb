// One door for every box that asks the user something: message boxes, the
// file open, file save and folder dialogs, modal runs and the help viewer.
// The program installs the real Qt dialogs; tests install a scripted
// stand-in, so that no test ever waits on a modal window.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class QDialog;
class QWidget;

/// Results of message boxes and dialogs, with the numbers Windows gives them.
enum DialogResultId : int32_t { kIdOk = 1, kIdCancel = 2, kIdYes = 6, kIdNo = 7 };

/// The picture a message box shows.
enum class MessageIcon { None, Exclamation, Question, Error, Information };

/// The buttons a message box offers.
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };

/// Option bits of the file dialogs, as the Windows common dialogs number them.
enum FileDialogOption : uint32_t {
  kOfnOverwritePrompt = 0x2,
  kOfnHideReadOnly = 0x4,
  kOfnAllowMultiSelect = 0x200,
  kOfnFileMustExist = 0x1000,
};

/// What a file open or save dialog is asked to show.
struct FileDialogRequest {
  std::string title;
  /// Filters as "Description|*.a;*.b|Other|*.c||".
  std::string filter;
  int32_t filterIndex = 1;       ///< the filter selected when the dialog opens (from 1)
  uint32_t options = 0;          ///< FileDialogOption bits
  std::string defaultExtension;  ///< without the dot; empty for none
  /// Characters the chosen names may take up, counted as the Windows
  /// dialog packs them (folder, then each name, each ended by a zero);
  /// 0 for no limit. A larger choice fails and is marked overflowed.
  size_t bufferSize = 0;
  /// The folder the dialog opens in; empty for where the last one was left.
  std::string folder;
};

/// What the user chose in a file dialog.
struct FileDialogResult {
  std::vector<std::string> paths;  ///< full paths, in the order the dialog gives them
  int32_t filterIndex = 1;         ///< the filter chosen (from 1)
  /// The choice was more than bufferSize holds: the dialog failed, which
  /// the caller reports (it is no cancel).
  bool overflowed = false;
};

/// A default extension as the file dialogs take it: \p extension without
/// its leading dot (".txt" gives "txt").
std::string ExtensionWithoutDot(const std::string& extension);

/// Splits a "Description|pattern|..." filter text into (description,
/// patterns) pairs; patterns stay ";"-separated.
std::vector<std::pair<std::string, std::string>> SplitFilter(const std::string& filter);

/// The boxes and dialogs that wait for the user.
class CDialogService {
 public:
  virtual ~CDialogService();

  /// Shows a message box; returns kIdOk, kIdCancel, kIdYes or kIdNo.
  virtual int32_t MessageBox(QWidget* owner, const std::string& text, const std::string& caption, MessageIcon icon,
                             MessageButtons buttons) = 0;
  /// A file open dialog; false when it was cancelled or failed (see
  /// FileDialogResult::overflowed).
  virtual bool OpenFiles(QWidget* owner, const FileDialogRequest& request, FileDialogResult& result) = 0;
  /// A file save dialog; false when it was cancelled.
  virtual bool SaveFile(QWidget* owner, const FileDialogRequest& request, std::string& path) = 0;
  /// A folder chooser titled \p title, opening in \p folder when that
  /// is not empty; false when it was cancelled.
  virtual bool ChooseFolder(QWidget* owner, const std::string& title, std::string& folder) = 0;
  /// Runs \p dialog modally and returns its result.
  virtual int RunModal(QDialog& dialog) = 0;
  /// Opens the help pages at the topic with context number \p context.
  virtual void ShowHelp(uint32_t context) = 0;
  /// Tells the help viewer that the program is ending.
  virtual void QuitHelp() = 0;

  /// The service in use: the one installed last, else the real Qt dialogs.
  static CDialogService& Current();
  /// Makes \p service current (nullptr: back to the real dialogs). The
  /// caller keeps ownership.
  static void Install(CDialogService* service);
};

/// Shorthand for CDialogService::Current().
inline CDialogService& Dialogs() { return CDialogService::Current(); }

// A dialog service for tests: answers from a script, records what was asked.
#pragma once

#include <deque>
#include <functional>
#include <optional>

#include "platform/ui/CDialogService.h"

/// Answers every box from queues that a test fills, and keeps what each
/// box was asked to show. An empty queue answers OK or "cancelled".
class CScriptedDialogService : public CDialogService {
 public:
  /// One message box as shown.
  struct Message {
    std::string text;
    std::string caption;
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
  };

  /// Installs itself as the current service; the destructor uninstalls it.
  CScriptedDialogService();
  ~CScriptedDialogService() override;

  int32_t MessageBox(QWidget* owner, const std::string& text, const std::string& caption, MessageIcon icon,
                     MessageButtons buttons) override;
  bool OpenFiles(QWidget* owner, const FileDialogRequest& request, FileDialogResult& result) override;
  bool SaveFile(QWidget* owner, const FileDialogRequest& request, std::string& path) override;
  bool ChooseFolder(QWidget* owner, const std::string& title, std::string& folder) override;
  /// Shows \p dialog without a modal loop, hands it to the next modal
  /// script, which must end it (done, a button click), and returns its
  /// result. Without a script the dialog is counted in unexpectedModals and
  /// ended with kIdCancel.
  int RunModal(QDialog& dialog) override;
  void ShowHelp(uint32_t context) override;
  void QuitHelp() override;

  // Answers, used in order.
  std::deque<int32_t> messageAnswers;
  /// nullopt: cancelled; an answer marked overflowed fails as too long.
  std::deque<std::optional<FileDialogResult>> openAnswers;
  std::deque<std::optional<std::string>> saveAnswers;
  std::deque<std::optional<std::string>> folderAnswers;
  std::deque<std::function<void(QDialog&)>> modalScripts;

  // What was asked.
  std::vector<Message> messages;
  std::vector<FileDialogRequest> openRequests;
  std::vector<FileDialogRequest> saveRequests;
  std::vector<std::string> folderTitles;
  std::vector<std::string> folderStarts;  ///< the folder each folder dialog opened in
  std::vector<uint32_t> helpContexts;
  int helpQuits = 0;
  int unexpectedModals = 0;  ///< modal runs that found no script
  int modalsLeftOpen = 0;    ///< modal scripts that did not end their dialog
};

// The scripted stand-in for the dialogs.
#include "tests/support/CScriptedDialogService.h"

#include <QDialog>

namespace {
// Takes the next answer; false for "cancelled" and for an empty queue.
template <typename T>
bool Next(std::deque<std::optional<T>>& queue, T& answer) {
  if (queue.empty()) return false;
  bool given = queue.front().has_value();
  if (given) answer = *queue.front();
  queue.pop_front();
  return given;
}
}  // namespace

CScriptedDialogService::CScriptedDialogService() { Install(this); }

CScriptedDialogService::~CScriptedDialogService() { Install(nullptr); }

int32_t CScriptedDialogService::MessageBox(QWidget*, const std::string& text, const std::string& caption,
                                           MessageIcon icon, MessageButtons buttons) {
  messages.push_back({text, caption, icon, buttons});
  if (messageAnswers.empty()) return kIdOk;
  int32_t answer = messageAnswers.front();
  messageAnswers.pop_front();
  return answer;
}

bool CScriptedDialogService::OpenFiles(QWidget*, const FileDialogRequest& request, FileDialogResult& result) {
  openRequests.push_back(request);
  return Next(openAnswers, result) && !result.overflowed;
}

bool CScriptedDialogService::SaveFile(QWidget*, const FileDialogRequest& request, std::string& path) {
  saveRequests.push_back(request);
  return Next(saveAnswers, path);
}

bool CScriptedDialogService::ChooseFolder(QWidget*, const std::string& title, std::string& folder) {
  folderTitles.push_back(title);
  folderStarts.push_back(folder);
  return Next(folderAnswers, folder);
}

int CScriptedDialogService::RunModal(QDialog& dialog) {
  dialog.setResult(0);
  dialog.show();
  if (modalScripts.empty()) {
    ++unexpectedModals;
    dialog.done(kIdCancel);
    return dialog.result();
  }
  std::function<void(QDialog&)> script = std::move(modalScripts.front());
  modalScripts.pop_front();
  script(dialog);
  if (dialog.isVisible()) {
    ++modalsLeftOpen;
    dialog.done(kIdCancel);
  }
  return dialog.result();
}

void CScriptedDialogService::ShowHelp(uint32_t context) { helpContexts.push_back(context); }

void CScriptedDialogService::QuitHelp() { ++helpQuits; }

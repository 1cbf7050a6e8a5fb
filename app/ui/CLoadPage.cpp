// Page B: loading the files, with the load log.
#include "app/ui/CLoadPage.h"

#include <QFontMetricsF>
#include <QListWidget>
#include <QPushButton>
#include <memory>

#include "app/CWizardChoices.h"
#include "app/SaveLoadLog.h"
#include "app/SharedOperations.h"
#include "app/ui/CMappingPlaceholder.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"
#include "platform/WaitCursor.h"
#include "platform/ui/CDialogService.h"

namespace {

// One button's part in a state: enabled or not, and whether it becomes the
// default button and takes the focus.
void SetButton(QPushButton* button, bool enabled, bool isDefault = false) {
  if (!button) return;
  button->setEnabled(enabled);
  button->setDefault(isDefault);
  if (isDefault) button->setFocus();
}

}  // namespace

CLoadPage::CLoadPage(const CWizardChoices& choices, CWizardPage* owner)
    : CWizardPage(141, owner), choices_(choices), log_(*List(kLogBox)) {
  OnClicked(kStart, this, &CLoadPage::OnStart);
  OnClicked(kStop, this, &CLoadPage::OnStop);
  OnClicked(kSaveAs, this, &CLoadPage::OnSaveAs);
  OnClicked(kExit, this, &CLoadPage::OnExit);
}

QFont CLoadPage::LogFont() {
  QFont font(QStringLiteral("Courier New"));
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  font.setPixelSize(13);
  font.setWeight(QFont::Normal);
  // Faces wider than Courier New are narrowed to its 6 pixels, so that the
  // log's ruled lines fit the box as they were drawn to.
  qreal width = QFontMetricsF(font).horizontalAdvance(QLatin1Char('0'));
  if (width > 6.0) font.setStretch(qRound(600.0 / width));
  return font;
}

void CLoadPage::OnInitDialog() {
  CWizardPage::OnInitDialog();
  QListWidget* box = List(kLogBox);
  box->setFont(LogFont());
  // Lines wider than the box are cut at its edge: the log sets no extent.
  box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

void CLoadPage::SetButtonState(ButtonState state) {
  QPushButton* start = Button(kStart);
  switch (state) {
    case ButtonState::Busy:
      SetButton(start, false);
      SetButton(Button(kIdHelp), false);
      SetButton(Button(kExit), false);
      SetButton(Button(kIdCancel), false);
      SetButton(Button(kIdOk), false);
      SetButton(Button(kSaveAs), false);
      SetButton(Button(kStop), true, true);
      break;
    case ButtonState::Finished:
    case ButtonState::Failed: {
      bool finished = state == ButtonState::Finished;
      if (!finished && start) start->setEnabled(false);
      SetButton(Button(kStop), false);
      SetButton(Button(kIdOk), finished);
      SetButton(Button(kIdCancel), true);
      SetButton(Button(kExit), true);
      SetButton(Button(kIdHelp), true);
      SetButton(Button(kSaveAs), true, true);
      break;
    }
  }
}

void CLoadPage::OnStart() {
  loading_ = true;
  SetStopFlag(0);
  SetButtonState(ButtonState::Busy);
  // Loading proper comes with the load session; until then the page goes
  // straight to its finished state.
  SetButtonState(ButtonState::Finished);
  loading_ = false;
  if (closeRequested_) done(-1);
}

void CLoadPage::OnStop() {
  SetStopFlag(1);
  SetButtonState(ButtonState::Finished);
}

void CLoadPage::OnSaveAs() {
  FileDialogRequest request;
  request.title = LoadResString(IdsTitleSaveResults);
  request.filter = LoadResString(IdsFilterTextFiles);
  request.options = kOfnHideReadOnly;
  std::string extension = LoadResString(IdsDefaultExtensionTxt);
  request.defaultExtension = extension.empty() || extension[0] != '.' ? extension : extension.substr(1);
  std::string path;
  if (!Dialogs().SaveFile(this, request, path)) return;
  try {
    SaveLoadLog(log_, path);
  } catch (const CFileException& failure) {
    Dialogs().MessageBox(this, SaveFailureText(failure, path), LoadResString(IdsCaptionError),
                         MessageIcon::None, MessageButtons::Ok);
  }
}

void CLoadPage::OnOK() {
  std::unique_ptr<CMappingPlaceholder> mappingPage;
  {
    // Only while the page is made: once it runs, its own cursor shows.
    CWaitCursor wait;
    mappingPage = std::make_unique<CMappingPlaceholder>(choices_, this);
  }
  if (RunModal(*mappingPage) == -1) done(-1);
}

void CLoadPage::OnCancel() { GoBack(); }

void CLoadPage::OnExit() { done(-1); }

void CLoadPage::OnClose() {
  if (loading_) {
    closeRequested_ = true;
    return;
  }
  done(-1);
}

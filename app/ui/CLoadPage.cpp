// Page B: loading the files, with the load log.
#include "app/ui/CLoadPage.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QListWidget>
#include <QPushButton>
#include <algorithm>
#include <memory>

#include "app/CWizardChoices.h"
#include "app/SaveLoadLog.h"
#include "mapping/ui/CMappingPage.h"
#include "output/WriteTargets.h"
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
    : CWizardPage(141, owner), choices_(choices), log_(*List(kLogBox)), session_(choices, log_) {
  session_.SetStateListener([this](LoadState state) { SetButtonState(state); });
  OnClicked(kStart, this, &CLoadPage::OnStart);
  OnClicked(kStop, this, &CLoadPage::OnStop);
  OnClicked(kSaveAs, this, &CLoadPage::OnSaveAs);
  OnClicked(kExit, this, &CLoadPage::OnExit);
}

QFont CLoadPage::LogFont() {
  // "Courier New" when the machine has it as a fixed-pitch face; fontconfig
  // may answer that name with any face, so what it gives is checked, and
  // the next candidate tried: DejaVu Sans Mono (which the build installs),
  // the desktop's fixed font, then any fixed-pitch family at all.
  QFont font;
  auto fixedPitch = [&font](const QString& family) {
    font = QFont(family);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPixelSize(13);
    font.setWeight(QFont::Normal);
    return QFontInfo(font).fixedPitch();
  };
  const QStringList first = {QStringLiteral("Courier New"), QStringLiteral("DejaVu Sans Mono"),
                             QFontDatabase::systemFont(QFontDatabase::FixedFont).family()};
  if (!std::any_of(first.begin(), first.end(), fixedPitch)) {
    const QStringList families = QFontDatabase::families();
    if (!std::any_of(families.begin(), families.end(), fixedPitch)) fixedPitch(first.front());
  }
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
}

void CLoadPage::SetButtonState(LoadState state) {
  QPushButton* start = Button(kStart);
  switch (state) {
    case LoadState::Opening:
      break;
    case LoadState::Busy:
      SetButton(start, false);
      SetButton(Button(kIdHelp), false);
      SetButton(Button(kExit), false);
      SetButton(Button(kIdCancel), false);
      SetButton(Button(kIdOk), false);
      SetButton(Button(kSaveAs), false);
      SetButton(Button(kStop), true, true);
      break;
    case LoadState::Finished:
    case LoadState::Failed: {
      bool finished = state == LoadState::Finished;
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
  // Runs until loading is over; Stop, the menu and the title bar's close
  // are handled meanwhile, inside the pump.
  loading_ = true;
  {
    CWaitCursor wait;
    session_.Start();
  }
  loading_ = false;
  // The log ends in view, its last line whole, whether or not that line
  // asked to be shown.
  log_.ShowLine(log_.GetLineCount() - 1);
  if (closeRequested_) done(-1);
}

void CLoadPage::OnStop() { session_.Stop(); }

void CLoadPage::OnSaveAs() {
  FileDialogRequest request;
  request.title = LoadResString(IdsTitleSaveResults);
  request.filter = LoadResString(IdsFilterTextFiles);
  request.options = kOfnHideReadOnly;
  request.folder = choices_.GetOutputDirectory();
  request.defaultExtension = ExtensionWithoutDot(LoadResString(IdsDefaultExtensionTxt));
  std::string path;
  if (!Dialogs().SaveFile(this, request, path)) return;
  if (std::optional<CWriteConflict> conflict = FindWriteConflict({path}, FilesReadBy(choices_))) {
    Dialogs().MessageBox(this, WriteConflictText(*conflict), LoadResString(IdsCaptionError), MessageIcon::None,
                         MessageButtons::Ok);
    return;
  }
  try {
    SaveLoadLog(log_, path);
  } catch (const CFileException& failure) {
    Dialogs().MessageBox(this, SaveFailureText(failure, path), LoadResString(IdsCaptionError), MessageIcon::None,
                         MessageButtons::Ok);
  }
}

void CLoadPage::OnOK() {
  auto wait = std::make_unique<CWaitCursor>();
  auto mappingPage = std::make_unique<CMappingPage>(session_.TranslatedModel(), session_.FontModel(), choices_, this);
  if (RunNextPage(*mappingPage, std::move(wait)) == -1) done(-1);
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

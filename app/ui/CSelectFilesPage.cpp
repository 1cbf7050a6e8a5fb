// Page A: choosing the files.
#include "app/ui/CSelectFilesPage.h"

#include <QLineEdit>
#include <memory>

#include "app/AddToSelection.h"
#include "app/CWizardChoices.h"
#include "app/CheckSelections.h"
#include "app/ui/CAppendReplaceDlg.h"
#include "app/ui/CLoadPage.h"
#include "app/ui/CSplashWnd.h"
#include "output/WriteTargets.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"
#include "platform/WaitCursor.h"
#include "platform/ui/CDialogService.h"
#include "platform/ui/QtText.h"

namespace {

// The open dialog's options: several files, which must exist, no
// read-only box.
constexpr uint32_t kOpenOptions = kOfnAllowMultiSelect | kOfnFileMustExist | kOfnHideReadOnly | kOfnOverwritePrompt;
constexpr size_t kOpenBufferSize = 32768;

int32_t BoxId(SelectionBox box) {
  switch (box) {
    case SelectionBox::TranslatedFiles:
      return CSelectFilesPage::kTranslatedBox;
    case SelectionBox::FontFiles:
      return CSelectFilesPage::kFontBox;
    case SelectionBox::OutputDirectory:
      return CSelectFilesPage::kOutputBox;
  }
  return CSelectFilesPage::kTranslatedBox;
}

}  // namespace

CSelectFilesPage::CSelectFilesPage() : CWizardPage(102, nullptr) {
  OnClicked(kBrowseTranslated, this, &CSelectFilesPage::OnBrowseTranslated);
  OnClicked(kBrowseFonts, this, &CSelectFilesPage::OnBrowseFonts);
  OnClicked(kBrowseOutput, this, &CSelectFilesPage::OnBrowseOutputDirectory);
  OnClicked(kClearAll, this, &CSelectFilesPage::OnClearAll);
  OnClicked(kNext, this, &CSelectFilesPage::OnNext);
  // The page's window exists from here on; the splash shows over it.
  CSplashWnd::ShowSplash(this);
}

void CSelectFilesPage::OnInitDialog() {
  CWizardPage::OnInitDialog();
  if (CSplashWnd* splash = CSplashWnd::Current()) splash->raise();
}

void CSelectFilesPage::OnOK() {}

void CSelectFilesPage::OnCancel() {
  Dialogs().QuitHelp();
  done(kIdCancel);
}

void CSelectFilesPage::OnClose() { OnCancel(); }

void CSelectFilesPage::ReadBoxes() {
  translatedFilesText_ = FromQt(Edit(kTranslatedBox)->text());
  fontFilesText_ = FromQt(Edit(kFontBox)->text());
  outputDirectoryText_ = FromQt(Edit(kOutputBox)->text());
}

void CSelectFilesPage::ShowFields() {
  const std::pair<int32_t, const std::string*> boxes[] = {
      {kTranslatedBox, &translatedFilesText_}, {kFontBox, &fontFilesText_}, {kOutputBox, &outputDirectoryText_}};
  for (const auto& [id, text] : boxes) {
    QLineEdit* box = Edit(id);
    box->setText(ToQt(*text));
    box->setCursorPosition(0);  // show where the text begins, not its end
  }
}

void CSelectFilesPage::OnBrowseTranslated() {
  BrowseFiles(translatedFilesText_, IdsTitleSelectTranslatedFiles, IdsFilterTranslatedFiles, false);
}

void CSelectFilesPage::OnBrowseFonts() {
  BrowseFiles(fontFilesText_, IdsTitleSelectFontFiles, IdsFilterFontFiles, true);
}

void CSelectFilesPage::BrowseFiles(std::string& selection, int32_t titleId, int32_t filterId, bool fontFiles) {
  ReadBoxes();
  FileDialogRequest request;
  request.title = LoadResString(titleId);
  request.filter = LoadResString(filterId);
  request.options = kOpenOptions;
  request.bufferSize = kOpenBufferSize;
  request.folder = CWizardChoices::SourceDirectoryOf(selection);
  FileDialogResult chosen;
  if (!Dialogs().OpenFiles(this, request, chosen)) {
    // Too many names for the dialog is no cancel: the user is told.
    if (chosen.overflowed)
      Dialogs().MessageBox(this, LoadResString(IdsTooManyFilesChosen), LoadResString(IdsCaptionError),
                           MessageIcon::Exclamation, MessageButtons::Ok);
    return;
  }

  std::string kept;
  if (!selection.empty()) {
    bool appendAllowed = !fontFiles || FontAppendAllowed(fontFileType_, chosen.filterIndex);
    CAppendReplaceDlg question(appendAllowed, this);
    int answer = question.Valid() ? Dialogs().RunModal(question) : kIdCancel;
    if (answer == kAppendResult) {
      kept = selection;
    } else if (answer != kReplaceResult) {
      return;  // cancelled: nothing changes
    }
  }
  if (fontFiles) fontFileType_ = chosen.filterIndex;
  selection = AddToSelection(kept, chosen.paths);
  ShowFields();
}

void CSelectFilesPage::OnBrowseOutputDirectory() {
  ReadBoxes();
  std::string folder = outputDirectoryText_;  // where the dialog opens
  if (!Dialogs().ChooseFolder(this, LoadResString(IdsTitleSelectOutputDirectory), folder)) return;
  outputDirectoryText_ = folder;
  ShowFields();
}

void CSelectFilesPage::OnClearAll() {
  Edit(kTranslatedBox)->clear();
  Edit(kFontBox)->clear();
  Edit(kOutputBox)->clear();
  ReadBoxes();
}

void CSelectFilesPage::OnNext() {
  ReadBoxes();
  if (std::optional<SelectionProblem> problem =
          CheckSelections(translatedFilesText_, fontFilesText_, outputDirectoryText_)) {
    Dialogs().MessageBox(this, LoadResString(problem->message), LoadResString(IdsCaptionWarning),
                         MessageIcon::Exclamation, MessageButtons::Ok);
    Edit(BoxId(problem->box))->setFocus();
    return;
  }
  CWizardChoices choices(translatedFilesText_, fontFilesText_, outputDirectoryText_, fontFileType_);
  // Refused here, before anything is loaded: a copy that would replace a
  // file the job reads.
  if (std::optional<CWriteConflict> conflict = CheckJobWrites(choices, {}, {})) {
    Dialogs().MessageBox(this, WriteConflictText(*conflict), LoadResString(IdsCaptionWarning), MessageIcon::Exclamation,
                         MessageButtons::Ok);
    Edit(kOutputBox)->setFocus();
    return;
  }
  auto wait = std::make_unique<CWaitCursor>();
  auto loadPage = std::make_unique<CLoadPage>(choices, this);
  if (RunNextPage(*loadPage, std::move(wait)) == -1) OnCancel();
}

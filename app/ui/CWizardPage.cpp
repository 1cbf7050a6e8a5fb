// The shared behaviour of the wizard's pages.
#include "app/ui/CWizardPage.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QPushButton>
#include <QTimer>

#include "app/ui/CAboutDlg.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"
#include "platform/ui/CArtwork.h"
#include "platform/ui/CDialogService.h"
#include "platform/ui/QtText.h"

CWizardPage::CWizardPage(int32_t dialogId, CWizardPage* owner) : CTemplateDialog(dialogId), owner_(owner) {
  OnClicked(kIdHelp, this, &CWizardPage::OnHelp);
}

void AddAboutToSystemMenu(CWizardPage& page) {
  std::string text = LoadResString(IdsAboutMenuItem);
  if (text.empty()) return;
  QMenu& menu = page.SystemMenu();
  menu.addSeparator();
  QAction* about = menu.addAction(ToQt(text));
  about->setData(kCommandAbout);
  QObject::connect(about, &QAction::triggered, &page, [&page] { page.SystemCommand(kCommandAbout); });
}

void CWizardPage::SystemCommand(int32_t command) {
  if ((command & ~0xF) != kCommandAbout) return;
  CAboutDlg about(this);
  RunModal(about);
}

int CWizardPage::RunModal(CTemplateDialog& dialog) { return dialog.Valid() ? Dialogs().RunModal(dialog) : -1; }

int CWizardPage::RunNextPage(CTemplateDialog& page, std::unique_ptr<CWaitCursor> wait) {
  // Ends with the first event the page's own loop handles, after it has
  // shown; shared, as the timer may outlive this call.
  auto pending = std::make_shared<std::unique_ptr<CWaitCursor>>(std::move(wait));
  QTimer::singleShot(0, &page, [pending] { pending->reset(); });
  int result = RunModal(page);
  pending->reset();
  return result;
}

QRect CWizardPage::StepAside() {
  QRect place = geometry();
  // Out of sight but still running: QDialog::setVisible(false) would also
  // end this page's modal loop, which must go on beneath the new page.
  QWidget::setVisible(false);
  aside_ = true;
  return place;
}

void CWizardPage::StepBack(const QRect& place) {
  aside_ = false;
  setGeometry(place);
  QWidget::setVisible(true);
}

void CWizardPage::done(int result) {
  if (!aside_) {
    CTemplateDialog::done(result);
    return;
  }
  // QDialog leaves its modal loop only when it hides the page itself, and a
  // page standing aside is hidden already: make it visible in name only
  // (never on the screen) so that done() can hide it again.
  aside_ = false;
  setAttribute(Qt::WA_DontShowOnScreen, true);
  QWidget::setVisible(true);
  CTemplateDialog::done(result);
  setAttribute(Qt::WA_DontShowOnScreen, false);
}

void CWizardPage::OnInitDialog() {
  if (owner_) {
    ownerRect_ = owner_->StepAside();
    setGeometry(ownerRect_);
  }
  AddAboutToSystemMenu(*this);
  setWindowIcon(LoadIconResource(kIconProgram));
}

void CWizardPage::OnClose() { reject(); }

void CWizardPage::GoBack() {
  if (owner_) owner_->StepBack(ownerRect_);
  done(kIdCancel);
}

void CWizardPage::OnHelp() { Dialogs().ShowHelp(kHelpContextBase + static_cast<uint32_t>(DialogId())); }

void CWizardPage::showEvent(QShowEvent* event) {
  CTemplateDialog::showEvent(event);
  if (!initialised_) {
    initialised_ = true;
    OnInitDialog();
  }
}

void CWizardPage::closeEvent(QCloseEvent* event) {
  // The page decides for itself how it ends; it never just disappears.
  event->ignore();
  OnClose();
}

void CWizardPage::contextMenuEvent(QContextMenuEvent* event) {
  if (systemMenu_.isEmpty()) return;
  systemMenu_.exec(event->globalPos());
}

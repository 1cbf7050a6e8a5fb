// Start-up of the wizard.
#include "app/ui/CWizardApp.h"

#include <QApplication>
#include <QCursor>

#include "app/ui/CSelectFilesPage.h"
#include "app/ui/CSplashWnd.h"
#include "platform/MessagePump.h"
#include "platform/WaitCursor.h"

void CWizardApp::InstallHooks() {
  // Loading runs inside a button's handler; letting pending events through
  // keeps the pages painted and the Stop button alive. Every 10 ms is far
  // quicker than a user notices (Stop must act within 100 ms), and each
  // round of events costs about the same however fast the reader runs, so
  // a shorter interval would weigh on short loads.
  SetMessagePump([] { QCoreApplication::processEvents(QEventLoop::AllEvents); }, std::chrono::milliseconds(10));
  SetWaitCursorHooks(
      {[] { QApplication::setOverrideCursor(Qt::WaitCursor); }, [] { QApplication::restoreOverrideCursor(); }});
}

int CWizardApp::Run() {
  InstallHooks();
  // Pages stand aside while later pages run; Qt must not take that for the
  // end of the program. The program ends when page A's modal run returns.
  QApplication::setQuitOnLastWindowClosed(false);
  CSplashWnd::EnableSplash(true);
  CSelectFilesPage pageA;
  CWizardPage::RunModal(pageA);
  return 0;
}

// The help window: where it finds the pages, built or installed, and that
// it opens at the topic of each page and dialog.
#include <QScrollBar>
#include <QTextBrowser>
#include <QtTest>

#include "platform/ui/CHelpWindow.h"
#include "tests/support/TestSupport.h"

class HelpWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void findsThePagesBesideTheProgramOrInstalled();
  void opensAtTheTopicOfEachPageAndDialog();
};

void HelpWindowTest::findsThePagesBesideTheProgramOrInstalled() {
  testsupport::TempDir dir;
  const QString root = QString::fromStdString(dir.path().string());
  const QString relative = QStringLiteral("../share/doc/typeswap");
  QVERIFY(CHelpWindow::FindHelpPage(root + QStringLiteral("/bin"), relative).isEmpty());

  dir.Write("share/doc/typeswap/typeswap.html", "<html></html>");
  QCOMPARE(CHelpWindow::FindHelpPage(root + QStringLiteral("/bin"), relative),
           root + QStringLiteral("/share/doc/typeswap/typeswap.html"));
  // In the build tree the pages lie beside the program, and win.
  dir.Write("bin/help/typeswap.html", "<html></html>");
  QCOMPARE(CHelpWindow::FindHelpPage(root + QStringLiteral("/bin"), relative),
           root + QStringLiteral("/bin/help/typeswap.html"));
}

void HelpWindowTest::opensAtTheTopicOfEachPageAndDialog() {
  const QString page = QString::fromStdString(testsupport::SourcePath("resources/help/typeswap.html").string());
  CHelpWindow help;
  help.resize(500, 300);
  // Pages A, B and C, then the multiple-change and Show Filenames dialogs.
  const uint32_t contexts[] = {0x20066, 0x2008D, 0x20084, 0x20087, 0x2008A};
  int previous = -1;
  for (uint32_t context : contexts) {
    help.ShowTopic(page, context);
    QApplication::processEvents();
    QVERIFY(help.isVisible());
    QCOMPARE(help.Browser()->source().fragment(), CHelpWindow::AnchorOf(context));
    QVERIFY2(!help.Browser()->document()->toPlainText().isEmpty(), "the page is shown");
    // Each topic lies further down the page than the one before.
    const int scrolled = help.Browser()->verticalScrollBar()->value();
    QVERIFY2(scrolled > previous, qPrintable(CHelpWindow::AnchorOf(context)));
    previous = scrolled;
  }
  QCOMPARE(CHelpWindow::AnchorOf(0x2008D), QStringLiteral("0x2008D"));

  // Escape closes it, as any dialog.
  QTest::keyClick(&help, Qt::Key_Escape);
  QVERIFY(!help.isVisible());
}

QTEST_MAIN(HelpWindowTest)
#include "HelpWindowTest.moc"

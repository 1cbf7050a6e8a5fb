// The wizard's shell: dialog templates and their layout in pixels, the
// pictures, the splash, the Append/Replace question, and the program's
// --help and --version without a display.
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QtTest>

#include "app/ui/CAppendReplaceDlg.h"
#include "app/ui/CLoadPage.h"
#include "app/ui/CSelectFilesPage.h"
#include "app/ui/CSplashWnd.h"
#include "platform/ui/CArtwork.h"
#include "platform/ui/CDialogBuilder.h"
#include "platform/ui/CDialogTemplate.h"
#include "tests/support/CScriptedDialogService.h"
#include "tests/support/TestSupport.h"

class WizardShellTest : public QObject {
  Q_OBJECT

 private slots:
  void everyTemplateReads();
  void templateErrorsNameTheirLine();
  void controlsSitAtTheirDialogUnits();
  void picturesHaveTheirSizes();
  void splashShowsOnceAndGoesByItsTimerOnly();
  void appendReplaceResults();
  void helpAndVersionNeedNoDisplay();
  void navigationThroughRealModalLoops();
};

void WizardShellTest::everyTemplateReads() {
  for (int32_t id : {100, 102, 132, 135, 138, 141, 144}) {
    std::optional<CDialogTemplate> tpl = CDialogTemplate::Load(id);
    QVERIFY2(tpl.has_value(), qPrintable(QString::number(id)));
    QCOMPARE(tpl->id, id);
  }
  std::optional<CDialogTemplate> pageA = CDialogTemplate::Load(102);
  QCOMPARE(pageA->caption, std::string("KORVIN Typeswap for Interleaf"));
  QCOMPARE(pageA->rect.width, 348);
  QCOMPARE(pageA->rect.height, 236);
  // The template's order is the tab order.
  std::vector<int32_t> ids;
  for (const DialogControl& c : pageA->controls) ids.push_back(c.id);
  QCOMPARE(ids, (std::vector<int32_t>{1000, 1003, 1001, 1004, 1002, 1005, 1, 2, 1006, 1007, 1008, 1018, 57670, 1059}));
  QVERIFY(pageA->Control(1)->Has("hidden"));
  QCOMPARE(pageA->Control(1004)->text, std::string("B&rowse..."));
}

void WizardShellTest::templateErrorsNameTheirLine() {
  std::string error;
  QVERIFY(!CDialogTemplate::Parse("DIALOG 1 0 0 10 10 \"x\"\n\nSLIDER 5 0 0 1 1 \"\"\n", error));
  QCOMPARE(error, std::string("line 3: unknown keyword SLIDER"));
  QVERIFY(!CDialogTemplate::Parse("DIALOG 1 0 0 10 10 \"x\nEND\n", error));
  QCOMPARE(error, std::string("line 1: unterminated text"));
  std::optional<CDialogTemplate> ok =
      CDialogTemplate::Parse("# comment\nDIALOG 7 0 0 20 30 @140\nLTEXT -1 1 2 3 4 \"a \\\"b\\\"\" Hidden\n", error);
  QVERIFY(ok);
  QCOMPARE(ok->caption, std::string("Warning!"));
  QCOMPARE(ok->controls[0].text, std::string("a \"b\""));
  QVERIFY(ok->controls[0].Has("hidden"));
}

void WizardShellTest::controlsSitAtTheirDialogUnits() {
  CScriptedDialogService dialogs;
  CSelectFilesPage page;
  CDialogBuilder builder(CDialogBuilder::DialogFont(*CDialogTemplate::Load(102)));
  QCOMPARE(page.Control(CSelectFilesPage::kFontBox)->geometry(), builder.ToPixels(DialogRect{17, 88, 315, 14}));
  QCOMPARE(page.size(), builder.ToPixels(DialogRect{0, 0, 348, 236}).size());
  // Four horizontal and eight vertical units make one base unit.
  QSize base = CDialogBuilder::BaseUnits(page.font());
  QCOMPARE(builder.ToPixels(DialogRect{4, 8, 40, 80}),
           QRect(base.width(), base.height(), 10 * base.width(), 10 * base.height()));
  QVERIFY(page.Button(1)->isHidden());
  QVERIFY(page.Button(1)->isDefault());
}

void WizardShellTest::picturesHaveTheirSizes() {
  QCOMPARE(LoadBitmapResource(kBitmapSplash).size(), QSize(348, 226));
  QCOMPARE(LoadBitmapResource(kBitmapAppendReplace).size(), QSize(38, 36));
  QVERIFY(!LoadIconResource(kIconProgram).isNull());
  QVERIFY(LoadBitmapResource(1).isNull());
}

void WizardShellTest::splashShowsOnceAndGoesByItsTimerOnly() {
  QWidget owner;
  CSplashWnd::ShowSplash(&owner);
  QVERIFY(!CSplashWnd::Current());  // not enabled
  CSplashWnd::EnableSplash(true);
  CSplashWnd::ShowSplash(&owner);
  CSplashWnd* splash = CSplashWnd::Current();
  QVERIFY(splash);
  QVERIFY(splash->isVisible());
  QCOMPARE(splash->size(), QSize(348, 226));
  CSplashWnd::ShowSplash(&owner);
  QCOMPARE(CSplashWnd::Current(), splash);
  QTest::mouseClick(splash, Qt::LeftButton);
  QTest::keyClick(splash, Qt::Key_Escape);
  QCOMPARE(CSplashWnd::Current(), splash);
  QVERIFY(splash->isVisible());
  QPointer<CSplashWnd> watch(splash);
  splash->OnTimer();
  QVERIFY(!CSplashWnd::Current());
  QVERIFY(!watch || !watch->isVisible());
  CSplashWnd::EnableSplash(false);
}

void WizardShellTest::appendReplaceResults() {
  CScriptedDialogService dialogs;
  const std::pair<int32_t, int> buttons[] = {{kIdOk, 1}, {1060, -1}, {kIdCancel, 2}};
  for (auto [button, result] : buttons) {
    CAppendReplaceDlg question(true);
    question.show();
    question.Button(button)->click();
    QCOMPARE(question.result(), result);
  }
  CAppendReplaceDlg escaped(false);
  escaped.show();
  QVERIFY(!escaped.Button(kIdOk)->isEnabled());
  QVERIFY(escaped.Button(1060)->isEnabled());
  QTest::keyClick(&escaped, Qt::Key_Escape);
  QCOMPARE(escaped.result(), 2);
}

void WizardShellTest::helpAndVersionNeedNoDisplay() {
  std::string program = testsupport::BuiltProgram("typeswap");
  int status = -1;
  std::string out =
      testsupport::RunCommand("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " + program + " --version", status);
  QCOMPARE(status, 0);
  QCOMPARE(out, std::string("typeswap 1.0.0\n"));
  out = testsupport::RunCommand("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " + program + " --help", status);
  QCOMPARE(status, 0);
  QVERIFY(out.find("usage: typeswap") == 0);
}

// The scripted service never enters a modal loop; this walk does, through
// the real dialogs: Next, Back, Next again, then Exit on page B.
void WizardShellTest::navigationThroughRealModalLoops() {
  testsupport::TempDir dir;
  std::string doc = dir.Write("in/a.doc", "<!OPS, Version = 8.0>\n");
  std::filesystem::create_directories(dir.path() / "out");
  CSelectFilesPage pageA;
  pageA.Edit(CSelectFilesPage::kTranslatedBox)->setText(QString::fromStdString(doc + ";"));
  pageA.Edit(CSelectFilesPage::kFontBox)->setText(QString::fromStdString(doc + ";"));
  pageA.Edit(CSelectFilesPage::kOutputBox)->setText(QString::fromStdString((dir.path() / "out").string()));

  std::vector<std::string> steps;
  auto onLoadPage = [&steps](int32_t button, const char* step) {
    QTimer::singleShot(0, [&steps, button, step] {
      auto* pageB = dynamic_cast<CLoadPage*>(QApplication::activeModalWidget());
      if (!pageB) return;
      steps.push_back(step);
      pageB->Button(button)->click();
    });
  };
  QTimer::singleShot(0, [&] {
    onLoadPage(kIdCancel, "back");
    pageA.Button(CSelectFilesPage::kNext)->click();
    steps.push_back(pageA.isVisible() ? "page A shown" : "page A hidden");
    onLoadPage(CLoadPage::kExit, "exit");
    pageA.Button(CSelectFilesPage::kNext)->click();
  });
  // Only a guard against a hang; the walk itself needs no waiting.
  bool hung = false;
  QTimer guard;
  guard.setSingleShot(true);
  connect(&guard, &QTimer::timeout, [&hung] {
    hung = true;
    QApplication::exit(1);
  });
  guard.start(10000);
  int result = CWizardPage::RunModal(pageA);
  guard.stop();
  QVERIFY(!hung);
  QCOMPARE(result, int(kIdCancel));
  QCOMPARE(steps, (std::vector<std::string>{"back", "page A shown", "exit"}));
  QVERIFY(!pageA.isVisible());
}

QTEST_MAIN(WizardShellTest)
#include "WizardShellTest.moc"

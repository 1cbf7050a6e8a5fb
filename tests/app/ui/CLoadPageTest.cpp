// Page B driven through the scripted dialogs: the button states of its
// runs, Stop and the title bar's close while loading, Save As, and the
// way on to the mapping page and out of the program.
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QtTest>

#include "app/CWizardChoices.h"
#include "app/ui/CLoadPage.h"
#include "mapping/ui/CMappingPage.h"
#include "platform/DiskSpace.h"
#include "platform/MessagePump.h"
#include "platform/WaitCursor.h"
#include "tests/support/CScriptedDialogService.h"
#include "tests/support/TestSupport.h"

namespace {

const std::string kCloseTranslated = "-------------------- Finished Loading Translated Files --------------------";
const std::string kOpenFonts = "---------------------------- Loading Font Files ---------------------------";
const std::string kCloseFonts = "----------------------- Finished Loading Font Files -----------------------";

std::string DataFile(const std::string& name) { return testsupport::SourcePath("tests/app/data/" + name).string(); }

// Which buttons are enabled, in the order Start, Stop, Save As, Next,
// Back, Exit, Help; a '*' after a letter marks the default button.
QString Buttons(CLoadPage& page) {
  const std::pair<int32_t, char> buttons[] = {
      {CLoadPage::kStart, 'T'}, {CLoadPage::kStop, 'S'}, {CLoadPage::kSaveAs, 'A'}, {kIdOk, 'N'}, {kIdCancel, 'B'},
      {CLoadPage::kExit, 'X'},  {kIdHelp, 'H'}};
  QString state;
  for (auto [id, letter] : buttons) {
    QPushButton* b = page.Button(id);
    state += b->isEnabled() ? QChar(letter) : QChar('-');
    if (b->isDefault()) state += QLatin1Char('*');
  }
  return state;
}

// True when the whole height of line \p index lies inside the box's
// visible area (lines are as wide as the widest one).
bool LineWhollyInView(QListWidget& box, int index) {
  QRect line = box.visualItemRect(box.item(index));
  return line.top() >= 0 && line.bottom() <= box.viewport()->rect().bottom();
}

}  // namespace

class CLoadPageTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();

  void opensWithAnEmptyLogInAFixedPitchFont();
  void loadingBothSetsFinishes();
  void noValidTranslatedFileFails();
  void stopWhileLoading();
  void closeWhileLoadingEndsAfterLoading();
  void saveAsWritesTheLinesWithCrLf();
  void saveAsReportsFileErrors();
  void saveAsNeverReplacesAFileTheJobReads();
  void nextRunsTheMappingPage();
  void logShowsLongLinesWholeAndEndsInView();
  void clickingTheLogHighlightsNothing();
  void waitCursorShowsWhileLoading();

 private:
  CLoadPage& MakePage(const std::string& translated, const std::string& fonts);
  std::vector<std::string> Log() const;
  void Click(int32_t id) { page_->Button(id)->click(); }

  std::unique_ptr<testsupport::TempDir> dir_;
  std::unique_ptr<CScriptedDialogService> dialogs_;
  std::unique_ptr<CWizardChoices> choices_;
  std::unique_ptr<CLoadPage> page_;
  MessagePumpHook pump_;
};

void CLoadPageTest::init() {
  dir_ = std::make_unique<testsupport::TempDir>();
  dialogs_ = std::make_unique<CScriptedDialogService>();
  SetFreeDiskSpaceQuery([](const std::string&) { return std::optional<uint64_t>(uint64_t(1) << 40); });
  SetMessagePump(nullptr);
}

void CLoadPageTest::cleanup() {
  SetMessagePump(nullptr);
  SetFreeDiskSpaceQuery(nullptr);
  page_.reset();
  choices_.reset();
  QCOMPARE(dialogs_->unexpectedModals, 0);
  QCOMPARE(dialogs_->modalsLeftOpen, 0);
  dialogs_.reset();
  dir_.reset();
}

CLoadPage& CLoadPageTest::MakePage(const std::string& translated, const std::string& fonts) {
  choices_ = std::make_unique<CWizardChoices>(translated, fonts, dir_->path().string(), 1);
  page_ = std::make_unique<CLoadPage>(*choices_, nullptr);
  page_->show();
  return *page_;
}

std::vector<std::string> CLoadPageTest::Log() const {
  std::vector<std::string> lines;
  for (int32_t i = 0; i < page_->Log().GetLineCount(); ++i) lines.push_back(page_->Log().GetLine(i));
  return lines;
}

void CLoadPageTest::opensWithAnEmptyLogInAFixedPitchFont() {
  CLoadPage& page = MakePage(DataFile("latin.doc"), DataFile("fonts.doc"));
  // Start has the focus, which makes a push button the default one.
  QCOMPARE(Buttons(page), QStringLiteral("T*---BXH"));
  QListWidget* log = page.List(CLoadPage::kLogBox);
  QCOMPARE(log->count(), 0);
  QVERIFY(QFontInfo(log->font()).fixedPitch());
  QCOMPARE(log->font().pixelSize(), 13);
  QCOMPARE(log->selectionMode(), QAbstractItemView::NoSelection);
  page.Button(kIdHelp)->click();
  QCOMPARE(dialogs_->helpContexts, std::vector<uint32_t>{0x2008D});
}

void CLoadPageTest::loadingBothSetsFinishes() {
  CLoadPage& page = MakePage(DataFile("latin.doc"), DataFile("fonts.doc"));
  QString busy;
  SetMessagePump([&] { busy = Buttons(page); });
  Click(CLoadPage::kStart);
  QCOMPARE(busy, QStringLiteral("-S*-----"));
  QCOMPARE(Buttons(page), QStringLiteral("--A*NBXH"));
  QCOMPARE(page.focusWidget(), page.Button(CLoadPage::kSaveAs));
  std::vector<std::string> log = Log();
  QVERIFY2(log.front().rfind("Code page ", 0) == 0, log.front().c_str());  // the code page in use heads the log
  QVERIFY(std::find(log.begin(), log.end(), kCloseTranslated) != log.end());
  QCOMPARE(log.back(), kCloseFonts);
  QVERIFY(page.Session().TranslatedModel().Count() > 0);
  QVERIFY(page.Session().FontModel().Count() > 0);
  // The last line written is in view, whole.
  QTest::qWait(20);
  QVERIFY(LineWhollyInView(*page.List(CLoadPage::kLogBox), static_cast<int>(log.size()) - 1));
}

void CLoadPageTest::noValidTranslatedFileFails() {
  std::string bad = dir_->Write("bad.doc", "<!OPS, Version = 7.0>\n");
  CLoadPage& page = MakePage(bad, DataFile("fonts.doc"));
  Click(CLoadPage::kStart);
  QCOMPARE(Buttons(page), QStringLiteral("--A*-BXH"));
  std::vector<std::string> log = Log();
  QCOMPARE(std::vector<std::string>(log.end() - 4, log.end()),
           (std::vector<std::string>{"No valid translated files were found.", kCloseTranslated,
                                     "Processing can not continue.", "You will not be able to map any fonts."}));
  QVERIFY(std::find(log.begin(), log.end(), kOpenFonts) == log.end());
}

void CLoadPageTest::stopWhileLoading() {
  std::string latin = DataFile("latin.doc");
  CLoadPage& page = MakePage(latin + ";" + latin, DataFile("fonts.doc"));
  QString afterStop;
  int pumps = 0;
  SetMessagePump([&] {
    if (++pumps != 1) return;
    page.Button(CLoadPage::kStop)->click();
    afterStop = Buttons(page);
  });
  Click(CLoadPage::kStart);
  QCOMPARE(afterStop, QStringLiteral("--A*NBXH"));      // finished at once...
  QCOMPARE(Buttons(page), QStringLiteral("--A*-BXH"));  // ...failed once loading returned
  std::vector<std::string> log = Log();
  QCOMPARE(log.back(), std::string("*************** PROCESS STOPPED ***************"));
  QVERIFY(std::find(log.begin(), log.end(), kCloseTranslated) == log.end());
  QVERIFY(std::find(log.begin(), log.end(), kOpenFonts) == log.end());
}

void CLoadPageTest::closeWhileLoadingEndsAfterLoading() {
  CLoadPage& page = MakePage(DataFile("latin.doc"), DataFile("fonts.doc"));
  bool openAfterClose = false;
  int pumps = 0;
  SetMessagePump([&] {
    if (++pumps != 1) return;
    page.close();
    openAfterClose = page.isVisible();
  });
  Click(CLoadPage::kStart);
  QVERIFY(openAfterClose);
  QCOMPARE(Log().back(), kCloseFonts);
  QVERIFY(!page.isVisible());
  QCOMPARE(page.result(), -1);
}

void CLoadPageTest::saveAsWritesTheLinesWithCrLf() {
  std::string missing = (dir_->path() / "missing.doc").string();
  MakePage(missing, DataFile("fonts.doc"));
  Click(CLoadPage::kStart);
  std::string path = dir_->Write("saved.txt", std::string(5000, 'x'));  // replaced unasked
  dialogs_->saveAnswers.push_back(path);
  Click(CLoadPage::kSaveAs);
  QCOMPARE(dialogs_->saveRequests.size(), size_t(1));
  const FileDialogRequest& request = dialogs_->saveRequests[0];
  QCOMPARE(request.title, std::string("Save Results As"));
  QCOMPARE(request.filter, std::string("Text Files (*.txt)|*.txt||"));
  QCOMPARE(request.options, uint32_t(kOfnHideReadOnly));
  QCOMPARE(request.defaultExtension, std::string("txt"));
  QCOMPARE(request.folder, dir_->path().string());  // the output folder
  std::string expected;
  for (const std::string& line : Log()) expected += line + "\r\n";
  QVERIFY(Log().size() > 3);
  QCOMPARE(testsupport::ReadFile(path), expected);
  QVERIFY(dialogs_->messages.empty());
  // A cancelled save dialog writes nothing.
  Click(CLoadPage::kSaveAs);
  QCOMPARE(testsupport::ReadFile(path), expected);
}

void CLoadPageTest::saveAsReportsFileErrors() {
  std::string missing = (dir_->path() / "missing.doc").string();
  CLoadPage& page = MakePage(missing, DataFile("fonts.doc"));
  Click(CLoadPage::kStart);
  QString before = Buttons(page);
  std::string path = (dir_->path() / "no-such-folder" / "log.txt").string();
  dialogs_->saveAnswers.push_back(path);
  Click(CLoadPage::kSaveAs);
  QCOMPARE(dialogs_->messages.size(), size_t(1));
  QCOMPARE(dialogs_->messages[0].text, "File Error! The file could not be located.\n\rFilename:" + path);
  QCOMPARE(dialogs_->messages[0].caption, std::string("Error"));
  QVERIFY(dialogs_->messages[0].icon == MessageIcon::None);
  QCOMPARE(Buttons(page), before);
}

void CLoadPageTest::saveAsNeverReplacesAFileTheJobReads() {
  const std::string translated = dir_->Write("a.doc", "<!OPS, Version = 8.0>\n");
  MakePage(translated + ";", DataFile("fonts.doc"));
  Click(CLoadPage::kStart);
  const std::string sameFile = (dir_->path() / "." / "a.doc").string();
  dialogs_->saveAnswers.push_back(sameFile);
  Click(CLoadPage::kSaveAs);
  QCOMPARE(dialogs_->messages.size(), size_t(1));
  QCOMPARE(dialogs_->messages[0].text, "The output file " + sameFile + " is the file " + translated +
                                           ", which this job reads. Nothing was written.");
  QCOMPARE(testsupport::ReadFile(translated), std::string("<!OPS, Version = 8.0>\n"));
}

void CLoadPageTest::nextRunsTheMappingPage() {
  CLoadPage& page = MakePage(DataFile("latin.doc"), DataFile("fonts.doc"));
  Click(CLoadPage::kStart);
  size_t lines = Log().size();
  // Back from the mapping page: this page stays as it was.
  dialogs_->modalScripts.push_back([&page](QDialog& mapping) {
    QVERIFY(dynamic_cast<CMappingPage*>(&mapping));
    QVERIFY(!page.isVisible());
    static_cast<CTemplateDialog&>(mapping).Button(kIdCancel)->click();
  });
  Click(kIdOk);
  QVERIFY(page.isVisible());
  QCOMPARE(Log().size(), lines);
  QCOMPARE(Buttons(page), QStringLiteral("--A*NBXH"));
  // Exit on the mapping page ends this page with -1 as well.
  dialogs_->modalScripts.push_back(
      [](QDialog& mapping) { static_cast<CTemplateDialog&>(mapping).Button(1031)->click(); });
  Click(kIdOk);
  QVERIFY(!page.isVisible());
  QCOMPARE(page.result(), -1);
}

void CLoadPageTest::logShowsLongLinesWholeAndEndsInView() {
  // A path far wider than the box, and a set that fails: the log's last
  // lines are written without asking to be shown.
  std::string longPath =
      dir_->Write(std::string(60, 'd') + "/" + std::string(60, 'e') + "/bad.doc", "<!OPS, Version = 7.0>\n");
  std::string selection;
  for (int i = 0; i < 8; ++i) selection += longPath + ";";  // more lines than the box holds
  CLoadPage& page = MakePage(selection, DataFile("fonts.doc"));
  QListWidget& box = *page.List(CLoadPage::kLogBox);
  Click(CLoadPage::kStart);
  QCOMPARE(Log().back(), std::string("You will not be able to map any fonts."));
  QTest::qWait(20);  // the box lays out its lines and scroll bars
  QVERIFY(LineWhollyInView(box, box.count() - 1));
  QCOMPARE(box.horizontalScrollBar()->value(), 0);  // lines are seen from their start
  // The long line is drawn whole: the box scrolls sideways to its end.
  QListWidgetItem* processing = box.findItems(QStringLiteral("Processing: "), Qt::MatchStartsWith).front();
  QCOMPARE(processing->text(), QString::fromStdString("Processing: " + longPath));
  int textWidth = box.fontMetrics().horizontalAdvance(processing->text());
  QVERIFY(box.visualItemRect(processing).width() >= textWidth);
  QVERIFY(box.horizontalScrollBar()->maximum() > 0);
  QVERIFY(box.horizontalScrollBar()->isVisible());
}

void CLoadPageTest::clickingTheLogHighlightsNothing() {
  CLoadPage& page = MakePage(DataFile("latin.doc"), DataFile("fonts.doc"));
  Click(CLoadPage::kStart);
  QListWidget& box = *page.List(CLoadPage::kLogBox);
  page.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&page));
  box.setFocus();
  QImage before = box.viewport()->grab().toImage();
  QRect line = box.visualItemRect(box.item(2));
  QTest::mouseClick(box.viewport(), Qt::LeftButton, {}, line.center());
  QTest::keyClick(&box, Qt::Key_Down);
  QVERIFY(box.selectedItems().isEmpty());
  QCOMPARE(box.viewport()->grab().toImage(), before);
}

void CLoadPageTest::waitCursorShowsWhileLoading() {
  int waiting = 0;
  WaitCursorHooks previous = SetWaitCursorHooks({[&] { ++waiting; }, [&] { --waiting; }});
  CLoadPage& page = MakePage(DataFile("latin.doc"), DataFile("fonts.doc"));
  int pumps = 0, pumpsWaiting = 0;
  SetMessagePump([&] {
    ++pumps;
    if (waiting > 0) ++pumpsWaiting;
  });
  Click(CLoadPage::kStart);
  QVERIFY(pumps > 0);
  QCOMPARE(pumpsWaiting, pumps);
  QCOMPARE(waiting, 0);
  // Going on to the mapping page: the cursor waits until that page is up.
  int waitingWhileMappingRuns = -1;
  dialogs_->modalScripts.push_back([&](QDialog& mapping) {
    waitingWhileMappingRuns = waiting;
    static_cast<CTemplateDialog&>(mapping).Button(kIdCancel)->click();
  });
  Click(kIdOk);
  QCOMPARE(waitingWhileMappingRuns, 1);
  QCOMPARE(waiting, 0);
  Q_UNUSED(page);
  SetWaitCursorHooks(previous);
}

QTEST_MAIN(CLoadPageTest)
#include "CLoadPageTest.moc"

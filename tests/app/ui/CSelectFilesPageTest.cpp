// Page A driven through the scripted dialogs: the checks of "&Next >" in
// their order, browsing with Append/Replace and the font file type,
// Clear All, Enter, Exit, Help, the About entry, and the way back from
// page B.
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

#include "app/CWizardChoices.h"
#include "app/ui/CAboutDlg.h"
#include "app/ui/CAppendReplaceDlg.h"
#include "app/ui/CLoadPage.h"
#include "app/ui/CSelectFilesPage.h"
#include "tests/support/CScriptedDialogService.h"
#include "tests/support/TestSupport.h"

namespace {

FileDialogResult Chosen(std::vector<std::string> paths, int32_t filterIndex = 1) {
  FileDialogResult result;
  result.paths = std::move(paths);
  result.filterIndex = filterIndex;
  return result;
}

}  // namespace

class CSelectFilesPageTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();

  void nextChecksInOrder_data();
  void nextChecksInOrder();
  void nextOpensTheLoadPageWithTheChoices();
  void backRestoresPlaceAndTexts();
  void exitOnTheLoadPageEndsThisPageToo();
  void browseAppendsSortedOnce();
  void replaceAndCancel();
  void fontFilesOfOneTypeOnly();
  void clearAllKeepsTheFontFileType();
  void outputBrowseKeepsTypedTexts();
  void enterDoesNothing();
  void exitEscapeAndCloseEndThePage();
  void helpAndTheAboutEntry();
  void longSelectionsAreKeptWhole();
  void aChoiceTooLongForTheDialogIsReported();
  void dialogsOpenWhereTheSelectionIs();

 private:
  void SetBoxes(const std::string& translated, const std::string& fonts, const std::string& out);
  std::string Box(int32_t id) const { return page_->Edit(id)->text().toStdString(); }
  void ClickNext() { page_->Button(CSelectFilesPage::kNext)->click(); }

  std::unique_ptr<testsupport::TempDir> dir_;
  std::unique_ptr<CScriptedDialogService> dialogs_;
  std::unique_ptr<CSelectFilesPage> page_;
  std::string a_, b_, font_, out_;
};

void CSelectFilesPageTest::init() {
  dir_ = std::make_unique<testsupport::TempDir>();
  std::filesystem::create_directories(dir_->path() / "out");
  a_ = dir_->Write("a.doc", "<!OPS, Version = 8.0>\n");
  b_ = dir_->Write("b.doc", "<!OPS, Version = 8.0>\n");
  std::filesystem::create_directories(dir_->path() / "fonts");
  font_ = dir_->Write("fonts/f.doc", "<!OPS, Version = 8.0>\n");
  out_ = (dir_->path() / "out").string();
  dir_->Write("sub/x.doc", "<!OPS, Version = 8.0>\n");
  dir_->Write("out/sub/x.doc", "<!OPS, Version = 8.0>\n");
  dialogs_ = std::make_unique<CScriptedDialogService>();
  page_ = std::make_unique<CSelectFilesPage>();
  page_->show();
}

void CSelectFilesPageTest::cleanup() {
  page_.reset();
  QCOMPARE(dialogs_->unexpectedModals, 0);
  QCOMPARE(dialogs_->modalsLeftOpen, 0);
  dialogs_.reset();
  dir_.reset();
}

void CSelectFilesPageTest::SetBoxes(const std::string& translated, const std::string& fonts, const std::string& out) {
  page_->Edit(CSelectFilesPage::kTranslatedBox)->setText(QString::fromStdString(translated));
  page_->Edit(CSelectFilesPage::kFontBox)->setText(QString::fromStdString(fonts));
  page_->Edit(CSelectFilesPage::kOutputBox)->setText(QString::fromStdString(out));
}

// Each row names a failing check by its boxes; "%a" and so on are files of
// the temporary folder.
void CSelectFilesPageTest::nextChecksInOrder_data() {
  QTest::addColumn<QString>("translated");
  QTest::addColumn<QString>("fonts");
  QTest::addColumn<QString>("out");
  QTest::addColumn<QString>("message");
  QTest::addColumn<int>("focus");
  const QString missing = QStringLiteral("%dir/missing.doc;");
  QTest::newRow("1 no translated files") << ""
                                         << "%font;"
                                         << "%out"
                                         << "Please select Translated files." << 1000;
  QTest::newRow("2 no font files") << "%a;"
                                   << ""
                                   << "%out"
                                   << "Please select Font files." << 1001;
  QTest::newRow("3 before 4: no output, missing file") << missing << "%font;"
                                                       << ""
                                                       << "Please select Output files directory." << 1002;
  QTest::newRow("4 translated file missing")
      << "%a;" + missing << "%font;"
      << "%out"
      << "One or more of your chosen Translated files can not be accessed." << 1000;
  QTest::newRow("4 empty field") << "%a;;%b;"
                                 << "%font;"
                                 << "%out"
                                 << "One or more of your chosen Translated files can not be accessed." << 1000;
  QTest::newRow("5 font file missing") << "%a;" << missing << "%out"
                                       << "One or more of your chosen Font files can not be accessed." << 1001;
  QTest::newRow("6 output missing") << "%a;"
                                    << "%font;"
                                    << "%dir/nowhere"
                                    << "Your chosen Output files directory can not be accessed." << 1002;
  const QString same = QStringLiteral(
      "Output files can not be created in the same directory as the translated files or the "
      "font files.");
  QTest::newRow("7 translated file in output") << "%a;"
                                               << "%font;"
                                               << "%dir" << same << 1002;
  QTest::newRow("7 output with closing slash") << "%a;"
                                               << "%font;"
                                               << "%dir/" << same << 1002;
  QTest::newRow("8 font file in output") << "%out/../a.doc;"
                                         << "%font;"
                                         << "%dir/fonts" << same << 1002;
  // The copy of sub/x.doc would replace out/sub/x.doc, which is read too.
  QTest::newRow("9 a copy would replace an input")
      << "%a;%dir/sub/x.doc;%dir/out/sub/x.doc;"
      << "%font;"
      << "%out"
      << "The output file %dir/out/sub/x.doc is the file %dir/out/sub/x.doc, which this job reads. Nothing was "
         "written."
      << 1002;
}

void CSelectFilesPageTest::nextChecksInOrder() {
  QFETCH(QString, translated);
  QFETCH(QString, fonts);
  QFETCH(QString, out);
  QFETCH(QString, message);
  QFETCH(int, focus);
  auto expand = [this](QString text) {
    return text.replace("%dir", QString::fromStdString(dir_->path().string()))
        .replace("%a", QString::fromStdString(a_))
        .replace("%b", QString::fromStdString(b_))
        .replace("%font", QString::fromStdString(font_))
        .replace("%out", QString::fromStdString(out_))
        .toStdString();
  };
  SetBoxes(expand(translated), expand(fonts), expand(out));
  ClickNext();
  QCOMPARE(dialogs_->messages.size(), size_t(1));
  QCOMPARE(dialogs_->messages[0].text, expand(message));
  QCOMPARE(dialogs_->messages[0].caption, std::string("Warning!"));
  QVERIFY(dialogs_->messages[0].icon == MessageIcon::Exclamation);
  QCOMPARE(page_->focusWidget(), page_->Control(focus));
}

void CSelectFilesPageTest::nextOpensTheLoadPageWithTheChoices() {
  SetBoxes(a_ + ";", font_ + ";", out_);
  dialogs_->modalScripts.push_back([this](QDialog& dialog) {
    auto* loadPage = dynamic_cast<CLoadPage*>(&dialog);
    QVERIFY(loadPage);
    QCOMPARE(loadPage->Choices().GetTranslatedFiles(), a_ + ";");
    QCOMPARE(loadPage->Choices().GetFontFiles(), font_ + ";");
    QCOMPARE(loadPage->Choices().GetOutputDirectory(), out_);
    QCOMPARE(loadPage->Choices().GetFontFileType(), 0);
    QCOMPARE(loadPage->List(CLoadPage::kLogBox)->count(), 0);
    loadPage->Button(kIdCancel)->click();
  });
  ClickNext();
  QVERIFY(dialogs_->messages.empty());
  QVERIFY(dialogs_->modalScripts.empty());
  QVERIFY(page_->isVisible());
}

void CSelectFilesPageTest::backRestoresPlaceAndTexts() {
  const std::string translated = a_ + ";";
  SetBoxes(translated, font_ + ";", out_);
  page_->move(120, 90);
  const QRect place = page_->geometry();
  dialogs_->modalScripts.push_back([&](QDialog& loadPage) {
    // Page B stands where page A stood, and page A is out of sight.
    QCOMPARE(loadPage.geometry(), place);
    QVERIFY(!page_->isVisible());
    static_cast<CTemplateDialog&>(loadPage).Button(kIdCancel)->click();
  });
  ClickNext();
  QVERIFY(page_->isVisible());
  QCOMPARE(page_->geometry(), place);
  QCOMPARE(Box(CSelectFilesPage::kTranslatedBox), translated);
  QCOMPARE(Box(CSelectFilesPage::kFontBox), font_ + ";");
  QCOMPARE(Box(CSelectFilesPage::kOutputBox), out_);
  QCOMPARE(page_->result(), 0);
}

void CSelectFilesPageTest::exitOnTheLoadPageEndsThisPageToo() {
  SetBoxes(a_ + ";", font_ + ";", out_);
  dialogs_->modalScripts.push_back(
      [](QDialog& loadPage) { static_cast<CTemplateDialog&>(loadPage).Button(CLoadPage::kExit)->click(); });
  ClickNext();
  QVERIFY(!page_->isVisible());
  QCOMPARE(page_->result(), int(kIdCancel));
  QCOMPARE(dialogs_->helpQuits, 1);
}

void CSelectFilesPageTest::browseAppendsSortedOnce() {
  dialogs_->openAnswers.push_back(Chosen({b_}));
  page_->Button(CSelectFilesPage::kBrowseTranslated)->click();
  QCOMPARE(Box(CSelectFilesPage::kTranslatedBox), b_ + ";");
  QCOMPARE(dialogs_->openRequests[0].title, std::string("Select Translated Files"));
  QCOMPARE(dialogs_->openRequests[0].filter, std::string("Interleaf ASCII Files (*.doc;*.sty)|*.doc;*.sty||"));
  QCOMPARE(dialogs_->openRequests[0].options, uint32_t(0x1206));
  QCOMPARE(dialogs_->openRequests[0].bufferSize, size_t(32768));

  dialogs_->openAnswers.push_back(Chosen({a_, b_}));
  dialogs_->modalScripts.push_back([](QDialog& question) {
    QVERIFY(dynamic_cast<CAppendReplaceDlg*>(&question));
    auto* append = static_cast<CTemplateDialog&>(question).Button(kIdOk);
    QVERIFY(append->isEnabled());
    append->click();
  });
  page_->Button(CSelectFilesPage::kBrowseTranslated)->click();
  QCOMPARE(Box(CSelectFilesPage::kTranslatedBox), a_ + ";" + b_ + ";");
  QCOMPARE(page_->TranslatedFilesText(), a_ + ";" + b_ + ";");
}

void CSelectFilesPageTest::replaceAndCancel() {
  SetBoxes(a_ + ";" + b_ + ";", "", "");
  auto answer = [](int32_t buttonId) {
    return [buttonId](QDialog& question) { static_cast<CTemplateDialog&>(question).Button(buttonId)->click(); };
  };
  // Cancel at the question: nothing changes.
  dialogs_->openAnswers.push_back(Chosen({font_}));
  dialogs_->modalScripts.push_back(answer(kIdCancel));
  page_->Button(CSelectFilesPage::kBrowseTranslated)->click();
  QCOMPARE(Box(CSelectFilesPage::kTranslatedBox), a_ + ";" + b_ + ";");
  // Cancel in the open dialog: no question at all.
  dialogs_->openAnswers.push_back(std::nullopt);
  page_->Button(CSelectFilesPage::kBrowseTranslated)->click();
  QCOMPARE(Box(CSelectFilesPage::kTranslatedBox), a_ + ";" + b_ + ";");
  // Replace: the old selection goes before the new files come in.
  dialogs_->openAnswers.push_back(Chosen({font_}));
  dialogs_->modalScripts.push_back(answer(1060));
  page_->Button(CSelectFilesPage::kBrowseTranslated)->click();
  QCOMPARE(Box(CSelectFilesPage::kTranslatedBox), font_ + ";");
}

void CSelectFilesPageTest::fontFilesOfOneTypeOnly() {
  const std::string map = dir_->Write("fonts/map.txt", "KORVIN Typeswap 1.00 for Interleaf;\r\n");
  dialogs_->openAnswers.push_back(Chosen({map}, 2));
  page_->Button(CSelectFilesPage::kBrowseFonts)->click();
  QCOMPARE(page_->FontFileType(), 2);
  QCOMPARE(dialogs_->openRequests[0].title, std::string("Select Font Files"));
  QCOMPARE(dialogs_->openRequests[0].filter,
           std::string("Interleaf ASCII Files (*.doc;*.sty)|*.doc;*.sty|Font Map Files "
                       "(*.txt)|*.txt||"));

  // Interleaf font files now: only Replace and Cancel are offered.
  bool appendOffered = true;
  auto replyWith = [&appendOffered](int32_t buttonId) {
    return [&appendOffered, buttonId](QDialog& question) {
      auto& dlg = static_cast<CTemplateDialog&>(question);
      appendOffered = dlg.Button(kIdOk)->isEnabled();
      dlg.Button(buttonId)->click();
    };
  };
  dialogs_->openAnswers.push_back(Chosen({font_}, 1));
  dialogs_->modalScripts.push_back(replyWith(kIdCancel));
  page_->Button(CSelectFilesPage::kBrowseFonts)->click();
  QVERIFY(!appendOffered);
  QCOMPARE(page_->FontFileType(), 2);  // a cancel leaves the type alone
  QCOMPARE(Box(CSelectFilesPage::kFontBox), map + ";");

  dialogs_->openAnswers.push_back(Chosen({font_}, 1));
  dialogs_->modalScripts.push_back(replyWith(1060));
  page_->Button(CSelectFilesPage::kBrowseFonts)->click();
  QCOMPARE(page_->FontFileType(), 1);
  QCOMPARE(Box(CSelectFilesPage::kFontBox), font_ + ";");

  // The same type again may be appended.
  dialogs_->openAnswers.push_back(Chosen({a_}, 1));
  dialogs_->modalScripts.push_back(replyWith(kIdOk));
  page_->Button(CSelectFilesPage::kBrowseFonts)->click();
  QVERIFY(appendOffered);
  QCOMPARE(Box(CSelectFilesPage::kFontBox), a_ + ";" + font_ + ";");
}

void CSelectFilesPageTest::clearAllKeepsTheFontFileType() {
  const std::string map = dir_->Write("fonts/map.txt", "KORVIN Typeswap 1.00 for Interleaf;\r\n");
  dialogs_->openAnswers.push_back(Chosen({map}, 2));
  page_->Button(CSelectFilesPage::kBrowseFonts)->click();
  SetBoxes(a_ + ";", map + ";", out_);
  page_->Button(CSelectFilesPage::kClearAll)->click();
  QCOMPARE(Box(CSelectFilesPage::kTranslatedBox) + Box(CSelectFilesPage::kFontBox) + Box(CSelectFilesPage::kOutputBox),
           std::string());
  QCOMPARE(page_->FontFileType(), 2);
  // Typed by hand afterwards, the font files still count as map files.
  SetBoxes(a_ + ";", map + ";", out_);
  int32_t typeSeen = -1;
  dialogs_->modalScripts.push_back([&typeSeen](QDialog& loadPage) {
    typeSeen = static_cast<CLoadPage&>(loadPage).Choices().GetFontFileType();
    static_cast<CTemplateDialog&>(loadPage).Button(kIdCancel)->click();
  });
  ClickNext();
  QCOMPARE(typeSeen, 2);
}

void CSelectFilesPageTest::outputBrowseKeepsTypedTexts() {
  SetBoxes("/typed/by/hand.doc;", "", "");
  dialogs_->folderAnswers.push_back(out_);
  page_->Button(CSelectFilesPage::kBrowseOutput)->click();
  QCOMPARE(dialogs_->folderTitles, std::vector<std::string>{"Select Ouput Files Directory"});
  QCOMPARE(Box(CSelectFilesPage::kTranslatedBox), std::string("/typed/by/hand.doc;"));
  QCOMPARE(Box(CSelectFilesPage::kOutputBox), out_);
  // A cancelled folder dialog changes nothing.
  page_->Edit(CSelectFilesPage::kOutputBox)->setText("/kept");
  page_->Button(CSelectFilesPage::kBrowseOutput)->click();
  QCOMPARE(Box(CSelectFilesPage::kOutputBox), std::string("/kept"));
}

void CSelectFilesPageTest::enterDoesNothing() {
  SetBoxes(a_ + ";", font_ + ";", out_);
  for (int32_t id : {CSelectFilesPage::kTranslatedBox, CSelectFilesPage::kOutputBox}) {
    page_->Edit(id)->setFocus();
    QTest::keyClick(page_->Edit(id), Qt::Key_Return);
    QTest::keyClick(page_->Edit(id), Qt::Key_Enter);
  }
  QVERIFY(page_->isVisible());
  QVERIFY(dialogs_->messages.empty());
  QCOMPARE(page_->result(), 0);
}

void CSelectFilesPageTest::exitEscapeAndCloseEndThePage() {
  page_->Button(kIdCancel)->click();
  QVERIFY(!page_->isVisible());
  QCOMPARE(page_->result(), int(kIdCancel));
  QCOMPARE(dialogs_->helpQuits, 1);

  page_->show();
  QTest::keyClick(page_.get(), Qt::Key_Escape);
  QVERIFY(!page_->isVisible());
  QCOMPARE(dialogs_->helpQuits, 2);

  page_->show();
  page_->close();
  QVERIFY(!page_->isVisible());
  QCOMPARE(page_->result(), int(kIdCancel));
  QCOMPARE(dialogs_->helpQuits, 3);
}

void CSelectFilesPageTest::helpAndTheAboutEntry() {
  page_->Button(kIdHelp)->click();
  QCOMPARE(dialogs_->helpContexts, std::vector<uint32_t>{0x20066});

  QList<QAction*> entries = page_->SystemMenu().actions();
  QVERIFY(entries.size() >= 2);
  QVERIFY(entries[entries.size() - 2]->isSeparator());
  QCOMPARE(entries.last()->text(), QStringLiteral("&About Typeswap..."));
  QCOMPARE(entries.last()->data().toInt(), kCommandAbout);

  int aboutBoxes = 0;
  auto closeAbout = [&aboutBoxes](QDialog& about) {
    QVERIFY(dynamic_cast<CAboutDlg*>(&about));
    ++aboutBoxes;
    static_cast<CTemplateDialog&>(about).Button(kIdOk)->click();
  };
  dialogs_->modalScripts.push_back(closeAbout);
  entries.last()->trigger();
  // Only the low four bits of a command are free.
  dialogs_->modalScripts.push_back(closeAbout);
  page_->SystemCommand(kCommandAbout | 0x3);
  page_->SystemCommand(0x20);
  QCOMPARE(aboutBoxes, 2);
}

void CSelectFilesPageTest::longSelectionsAreKeptWhole() {
  // Repeated Appends of long paths: far more than Qt's default 32,767
  // characters of a line edit, and nothing cut.
  std::vector<std::string> paths;
  std::string expected;
  for (int i = 0; i < 300; ++i) {
    paths.push_back("/" + std::string(200, 'p') + "/" + std::to_string(1000 + i) + ".doc");
    expected += paths.back() + ";";
  }
  size_t half = paths.size() / 2;
  dialogs_->openAnswers.push_back(Chosen({paths.begin(), paths.begin() + half}));
  page_->Button(CSelectFilesPage::kBrowseTranslated)->click();
  dialogs_->openAnswers.push_back(Chosen({paths.begin() + half, paths.end()}));
  dialogs_->modalScripts.push_back(
      [](QDialog& question) { static_cast<CTemplateDialog&>(question).Button(kIdOk)->click(); });
  page_->Button(CSelectFilesPage::kBrowseTranslated)->click();
  QVERIFY(expected.size() > 60000);
  QCOMPARE(Box(CSelectFilesPage::kTranslatedBox), expected);
  QCOMPARE(page_->TranslatedFilesText(), expected);
  // Typed or pasted text is not cut either.
  for (int32_t id : {CSelectFilesPage::kFontBox, CSelectFilesPage::kOutputBox}) {
    page_->Edit(id)->setText(QString::fromStdString(expected));
    QCOMPARE(Box(id), expected);
  }
}

void CSelectFilesPageTest::aChoiceTooLongForTheDialogIsReported() {
  SetBoxes(a_ + ";", "", "");
  FileDialogResult tooMany = Chosen({});
  tooMany.overflowed = true;
  dialogs_->openAnswers.push_back(tooMany);
  page_->Button(CSelectFilesPage::kBrowseTranslated)->click();
  QCOMPARE(dialogs_->messages.size(), size_t(1));
  QCOMPARE(dialogs_->messages[0].text,
           std::string("Too many files were chosen at once. Choose fewer files, then add the others "
                       "with Append."));
  QCOMPARE(dialogs_->messages[0].caption, std::string("Error"));
  QCOMPARE(Box(CSelectFilesPage::kTranslatedBox), a_ + ";");  // nothing changes
  // A plain cancel says nothing.
  dialogs_->openAnswers.push_back(std::nullopt);
  page_->Button(CSelectFilesPage::kBrowseTranslated)->click();
  QCOMPARE(dialogs_->messages.size(), size_t(1));
}

void CSelectFilesPageTest::dialogsOpenWhereTheSelectionIs() {
  SetBoxes(a_ + ";", font_ + ";", out_);
  page_->Button(CSelectFilesPage::kBrowseTranslated)->click();
  page_->Button(CSelectFilesPage::kBrowseFonts)->click();
  page_->Button(CSelectFilesPage::kBrowseOutput)->click();
  QCOMPARE(dialogs_->openRequests.size(), size_t(2));
  QCOMPARE(dialogs_->openRequests[0].folder, dir_->path().string());
  QCOMPARE(dialogs_->openRequests[1].folder, (dir_->path() / "fonts").string());
  QCOMPARE(dialogs_->folderStarts, std::vector<std::string>{out_});
  // Nothing chosen yet: the dialogs open where the last one was left.
  page_->Button(CSelectFilesPage::kClearAll)->click();
  page_->Button(CSelectFilesPage::kBrowseTranslated)->click();
  QCOMPARE(dialogs_->openRequests[2].folder, std::string());
}

QTEST_MAIN(CSelectFilesPageTest)
#include "CSelectFilesPageTest.moc"

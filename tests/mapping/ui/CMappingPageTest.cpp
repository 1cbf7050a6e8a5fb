// Page C driven on the sample documents through the scripted dialogs: its
// controls, the Available Fonts boxes, typed sizes, double click, Delete,
// Back, multiple change, Show Filenames, font maps, Run against
// typeswap-cli run, and the whole wizard by keyboard alone.
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QtTest>
#include <filesystem>

#include "app/CMemoryLoadLog.h"
#include "app/CWizardChoices.h"
#include "app/ui/CSelectFilesPage.h"
#include "mapping/CMappingJob.h"
#include "mapping/MappingColumns.h"
#include "mapping/ui/CMappingPage.h"
#include "platform/CodePage.h"
#include "platform/DiskSpace.h"
#include "platform/MessagePump.h"
#include "tests/support/CScriptedDialogService.h"
#include "tests/support/TestSupport.h"

namespace fs = std::filesystem;

namespace {

std::string Example(const std::string& name) { return testsupport::SourcePath("examples/" + name).string(); }

// Both samples and the Japanese font file, loaded as the load page loads them.
struct Loaded {
  explicit Loaded(const std::string& out, const std::string& brochure = Example("brochure.doc"),
                  const std::string& manual = Example("manual-ja.doc"),
                  const std::string& fonts = Example("fonts-ja.doc"))
      : choices(brochure + ";" + manual + ";", fonts + ";", out, 1), job(choices, log) {
    loaded = job.Load(true);
  }
  CWizardChoices choices;
  CMemoryLoadLog log;
  CMappingJob job;
  bool loaded = false;
};

// Every file of \p folder with its bytes, by name.
std::map<std::string, std::string> Files(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::directory_iterator(folder)) {
    files[entry.path().filename().string()] = testsupport::ReadFile(entry.path());
  }
  return files;
}

}  // namespace

class CMappingPageTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void init();
  void cleanup();

  void opensWithTheTemplatesControls();
  void categorySwitchRefillsTheNameBox();
  void choosingAFamilyResetsTheOtherFields();
  void typedSizesWithEnter();
  void doubleClickAndDeleteKey();
  void backAsksOnlyAfterChanges();
  void reenteringAfterBackFillsTheBoxes();
  void multipleChangeInBothModes();
  void showFilenamesListsEachFileOnce();
  void saveAsThenLoad();
  void runWritesWhatTheCommandLineWrites();
  void runReportsFilesNotWritten();
  void runAndSaveLeaveReadOnlyInputsAsTheyWere();
  void keyboardAloneThroughTheWizard();
  void keyboardAloneThroughRealDialogs();

 private:
  CMappingPage& MakePage();
  int Row(const QString& component, const QString& family = {}) const;
  void SelectRow(int row);
  QString NewFont(int row) const;
  void Alt(QWidget* window, Qt::Key key) { QTest::keyClick(window, key, Qt::AltModifier); }
  std::map<std::string, std::string> CliRun(const std::string& more) const;

  std::unique_ptr<testsupport::TempDir> dir_;
  fs::path out_;
  std::unique_ptr<CScriptedDialogService> dialogs_;
  std::unique_ptr<Loaded> loaded_;
  std::unique_ptr<CMappingPage> page_;
  int32_t savedCodePage_ = 0;
};

void CMappingPageTest::initTestCase() {
  savedCodePage_ = ProcessCodePage();
  SetProcessCodePage(932);  // the samples are Shift-JIS
}

void CMappingPageTest::init() {
  dir_ = std::make_unique<testsupport::TempDir>();
  out_ = dir_->path() / "out";
  fs::create_directory(out_);
  dialogs_ = std::make_unique<CScriptedDialogService>();
  SetFreeDiskSpaceQuery([](const std::string&) { return std::optional<uint64_t>(uint64_t(1) << 40); });
  SetMessagePump(nullptr);
  loaded_ = std::make_unique<Loaded>(out_.string());
  QVERIFY(loaded_->loaded);
}

void CMappingPageTest::cleanup() {
  page_.reset();
  loaded_.reset();
  SetFreeDiskSpaceQuery(nullptr);
  QCOMPARE(dialogs_->unexpectedModals, 0);
  QCOMPARE(dialogs_->modalsLeftOpen, 0);
  dialogs_.reset();
  dir_.reset();
}

CMappingPage& CMappingPageTest::MakePage() {
  page_.reset();
  page_ = std::make_unique<CMappingPage>(loaded_->job.Session().TranslatedModel(), loaded_->job.Session().FontModel(),
                                         loaded_->choices, nullptr);
  page_->show();
  return *page_;
}

int CMappingPageTest::Row(const QString& component, const QString& family) const {
  QAbstractItemModel* model = page_->ListView()->model();
  for (int row = 0; row < model->rowCount(); ++row) {
    if (model->index(row, 0).data().toString() == component &&
        (family.isEmpty() || model->index(row, 1).data().toString() == family)) {
      return row;
    }
  }
  return -1;
}

void CMappingPageTest::SelectRow(int row) {
  QTableView* view = page_->ListView();
  view->setCurrentIndex(view->model()->index(row, 0));
}

QString CMappingPageTest::NewFont(int row) const {
  QAbstractItemModel* model = page_->ListView()->model();
  QStringList fields;
  for (int column = ColumnNewFont; column <= ColumnNewItalic; ++column)
    fields << model->index(row, column).data().toString();
  return fields.join(QLatin1Char(','));
}

// The files typeswap-cli run writes from the samples with the demo map.
std::map<std::string, std::string> CMappingPageTest::CliRun(const std::string& more) const {
  const fs::path cliOut = dir_->path() / "cli";
  fs::remove_all(cliOut);
  fs::create_directory(cliOut);
  const std::string cli = (fs::path(qgetenv("TS_BINARY_DIR").toStdString()) / "typeswap-cli").string();
  const std::string command = cli + " run --codepage 932 --translated '" + Example("brochure.doc") +
                              "' --translated '" + Example("manual-ja.doc") + "' --fonts '" + Example("fonts-ja.doc") +
                              "' --out '" + cliOut.string() + "' --map '" + Example("demo-map.txt") + "'" + more +
                              " >/dev/null 2>&1";
  if (std::system(command.c_str()) != 0) return {};
  return Files(cliOut);
}

void CMappingPageTest::opensWithTheTemplatesControls() {
  CMappingPage& page = MakePage();
  QTableView* view = page.ListView();
  QCOMPARE(view->model()->columnCount(), 9);
  QVERIFY(view->model()->rowCount() > 10);
  QCOMPARE(view->model()->headerData(5, Qt::Horizontal).toString(), QStringLiteral("New Font"));
  const QFontMetrics header(view->horizontalHeader()->font());
  QCOMPARE(view->columnWidth(0), header.horizontalAdvance(QStringLiteral("Component")) + 35);
  QCOMPARE(view->columnWidth(2), header.horizontalAdvance(QStringLiteral("Size")) + 15);
  QCOMPARE(view->currentIndex().row(), 0);
  QCOMPARE(page.Model().Table().GetSelectedRow(), 0);
  QVERIFY(!page.Button(CMappingPage::kSaveAs)->isEnabled());
  QCOMPARE(page.NameBox()->currentIndex(), -1);
  QVERIFY(page.SizeBox()->isEditable());
  // Every reference of a row in its tooltip.
  QVERIFY(view->model()->index(0, 0).data(Qt::ToolTipRole).toString().contains(QStringLiteral(".doc:")));

  // Tab order: the list, Available Fonts, multiple change, font map,
  // EUC, then the buttons along the bottom.
  const int32_t order[] = {CMappingPage::kList,
                           CMappingPage::kNameBox,
                           CMappingPage::kSizeBox,
                           CMappingPage::kBold,
                           CMappingPage::kItalic,
                           CMappingPage::kByComponent,
                           CMappingPage::kByFont,
                           CMappingPage::kLoad,
                           CMappingPage::kConvertToEuc,
                           CMappingPage::kExit,
                           kIdHelp,
                           kIdCancel,
                           kIdOk};
  QWidget* at = page.Control(order[0]);
  for (size_t i = 1; i < std::size(order); ++i) {
    at = at->nextInFocusChain();
    while (!at->isEnabled() || (at->focusPolicy() & Qt::TabFocus) == 0 || !at->isVisibleTo(&page) ||
           at->parentWidget() != &page) {
      at = at->nextInFocusChain();  // skips Save As (disabled) and inner widgets
    }
    QCOMPARE(at->objectName(), QStringLiteral("ctl%1").arg(order[i]));
  }
  QCOMPARE(page.Button(kIdOk)->text(), QStringLiteral("&Run"));
  QCOMPARE(page.Button(CMappingPage::kSaveAs)->text(), QStringLiteral("Save &As..."));

  // A larger page gives the room to the list; Run keeps to the corner.
  const QRect list = view->geometry();
  const QRect run = page.Button(kIdOk)->geometry();
  page.resize(page.size() + QSize(200, 150));
  QCOMPARE(view->geometry().size(), list.size() + QSize(200, 150));
  QCOMPARE(page.Button(kIdOk)->geometry(), run.translated(200, 150));
  page.resize(page.minimumSize());
  QCOMPARE(view->geometry(), list);

  page.Button(kIdHelp)->click();
  QCOMPARE(dialogs_->helpContexts, std::vector<uint32_t>{0x20000 + 132});
  page.Button(CMappingPage::kExit)->click();
  QCOMPARE(page.result(), -1);
}

void CMappingPageTest::categorySwitchRefillsTheNameBox() {
  CMappingPage& page = MakePage();
  const CFontReferenceList& fonts = loaded_->job.Session().FontModel();
  SelectRow(Row(QStringLiteral("body")));
  QCOMPARE(page.NameBox()->count(), static_cast<int>(fonts.DefinedFamilies().size()));
  emit page.NameBox()->activated(1);
  SelectRow(Row(QStringLiteral("Chart Font")));
  QCOMPARE(page.NameBox()->count(), static_cast<int>(fonts.NamedFamilies().size()));
  SelectRow(Row(QStringLiteral("Font Change")));
  QCOMPARE(page.NameBox()->count(), static_cast<int>(fonts.DefinedFamilies().size()));
  QCOMPARE(page.NameBox()->currentIndex(), 1);  // remembered for the group
}

void CMappingPageTest::choosingAFamilyResetsTheOtherFields() {
  CMappingPage& page = MakePage();
  const int body = Row(QStringLiteral("body"));
  SelectRow(body);
  emit page.NameBox()->activated(0);
  emit page.SizeBox()->activated(1);
  page.findChild<QCheckBox*>(QStringLiteral("ctl%1").arg(CMappingPage::kBold))->click();
  page.findChild<QCheckBox*>(QStringLiteral("ctl%1").arg(CMappingPage::kItalic))->click();
  const QString family = page.NameBox()->itemText(0);
  QCOMPARE(NewFont(body), family + "," + page.SizeBox()->itemText(1) + ",Bold,Italic");
  QVERIFY(page.Button(CMappingPage::kSaveAs)->isEnabled());

  emit page.NameBox()->activated(1);
  QCOMPARE(NewFont(body), page.NameBox()->itemText(1) + ",,,");
  QCOMPARE(page.SizeBox()->currentIndex(), -1);
  QCOMPARE(page.SizeBox()->currentText(), QString());
  QVERIFY(!page.findChild<QCheckBox*>(QStringLiteral("ctl%1").arg(CMappingPage::kBold))->isChecked());
}

void CMappingPageTest::typedSizesWithEnter() {
  CMappingPage& page = MakePage();
  const int body = Row(QStringLiteral("body"));
  SelectRow(body);
  emit page.NameBox()->activated(0);
  const QString family = page.NameBox()->itemText(0);
  QLineEdit* edit = page.SizeBox()->lineEdit();
  auto type = [&](const QString& text) {
    edit->setFocus();
    edit->clear();
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
  };
  type(QStringLiteral("12"));
  QCOMPARE(NewFont(body), family + ",12,,");
  QCOMPARE(page.SizeBox()->currentText(), QStringLiteral("12"));
  QVERIFY(page.SizeBox()->findText(QStringLiteral("12")) >= 0);
  for (const char* wrong : {"12a", "1.5", "0", "250"}) type(QString::fromLatin1(wrong));
  QCOMPARE(dialogs_->messages.size(), size_t(4));
  QCOMPARE(dialogs_->messages[0].text, std::string("Please enter a numeric value between 2 and 200."));
  QCOMPARE(dialogs_->messages[0].caption, std::string("Error"));
  QCOMPARE(NewFont(body), family + ",12,,");
  type(QStringLiteral("2"));
  QCOMPARE(NewFont(body), family + ",2,,");
  type(QStringLiteral("200"));
  QCOMPARE(NewFont(body), family + ",200,,");
  QCOMPARE(dialogs_->messages.size(), size_t(4));
  QVERIFY(page.isVisible());  // Enter in the field never runs or closes the page
}

void CMappingPageTest::doubleClickAndDeleteKey() {
  CMappingPage& page = MakePage();
  QTableView* view = page.ListView();
  const int body = Row(QStringLiteral("body"));
  const int caption = Row(QStringLiteral("caption"));
  SelectRow(body);
  emit page.NameBox()->activated(0);
  const QString family = page.NameBox()->itemText(0);

  view->scrollTo(view->model()->index(caption, 1));
  const QRect cell = view->visualRect(view->model()->index(caption, 1));
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
  QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, cell.center());
  QCOMPARE(view->currentIndex().row(), caption);
  QCOMPARE(NewFont(caption), family + ",,,");

  view->setFocus();
  QTest::keyClick(view, Qt::Key_Delete);
  QCOMPARE(NewFont(caption), QStringLiteral(",,,"));
  QVERIFY(!loaded_->job.Session().TranslatedModel().GetAt(page.Model().Table().ItemData(caption))->GetChanged());
  QCOMPARE(NewFont(body), family + ",,,");
}

void CMappingPageTest::backAsksOnlyAfterChanges() {
  CMappingPage& page = MakePage();
  page.Button(kIdCancel)->click();
  QVERIFY(dialogs_->messages.empty());
  QCOMPARE(page.result(), int(kIdCancel));

  CMappingPage& again = MakePage();
  emit again.NameBox()->activated(0);
  dialogs_->messageAnswers.push_back(kIdNo);
  again.Button(kIdCancel)->click();
  QCOMPARE(dialogs_->messages.size(), size_t(1));
  QCOMPARE(dialogs_->messages[0].text,
           std::string("Any font mappings in the list will be lost.\n\rAre you sure you want to go back?"));
  QCOMPARE(dialogs_->messages[0].caption, std::string("Warning!"));
  QVERIFY(dialogs_->messages[0].buttons == MessageButtons::YesNo);
  QVERIFY(again.isVisible());

  dialogs_->messageAnswers.push_back(kIdYes);
  QTest::keyClick(&again, Qt::Key_Escape);
  QVERIFY(!again.isVisible());
  QCOMPARE(again.result(), int(kIdCancel));
  const CFontReferenceList& model = loaded_->job.Session().TranslatedModel();
  for (int32_t i = 0; i < model.Count(); ++i) QVERIFY(!model.GetAt(i)->GetChanged());
}

void CMappingPageTest::reenteringAfterBackFillsTheBoxes() {
  CMappingPage& page = MakePage();
  SelectRow(Row(QStringLiteral("Chart Font")));
  page.Button(kIdCancel)->click();
  CMappingPage& again = MakePage();
  QCOMPARE(again.ListView()->currentIndex().row(), 0);
  QVERIFY(again.NameBox()->count() > 0 || again.Model().Controls().names.empty());
  QCOMPARE(again.NameBox()->count(), static_cast<int>(again.Model().Controls().names.size()));
  QVERIFY(again.SizeBox()->count() > 0);
}

void CMappingPageTest::multipleChangeInBothModes() {
  CMappingPage& page = MakePage();
  // By component: "body" only, not "body+".
  dialogs_->modalScripts.push_back([](QDialog& dialog) {
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Multiple Changes By Component"));
    auto* original = dialog.findChild<QListWidget*>(QStringLiteral("ctl1027"));
    auto* fonts = dialog.findChild<QListWidget*>(QStringLiteral("ctl1028"));
    QCOMPARE(original->findItems(QStringLiteral("body"), Qt::MatchExactly).size(), 1);
    QCOMPARE(original->findItems(QStringLiteral("body+"), Qt::MatchExactly).size(), 1);
    original->findItems(QStringLiteral("body"), Qt::MatchExactly).first()->setSelected(true);
    fonts->setCurrentItem(fonts->findItems(QStringLiteral("Mincho"), Qt::MatchExactly).first());
    static_cast<CTemplateDialog&>(dialog).Button(kIdOk)->click();
  });
  page.Button(CMappingPage::kByComponent)->click();
  const int body = Row(QStringLiteral("body"));
  QVERIFY(NewFont(body).startsWith(QStringLiteral("Mincho,")));
  QCOMPARE(page.ListView()->currentIndex().row(), body);  // the last row changed stays selected
  if (const int bodyPlus = Row(QStringLiteral("body+")); bodyPlus >= 0)
    QCOMPARE(NewFont(bodyPlus), QStringLiteral(",,,"));

  // By font: every row of that current family keeps its size and italic.
  QString family;
  dialogs_->modalScripts.push_back([&family](QDialog& dialog) {
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Multiple Changes By Font"));
    auto* original = dialog.findChild<QListWidget*>(QStringLiteral("ctl1027"));
    auto* fonts = dialog.findChild<QListWidget*>(QStringLiteral("ctl1028"));
    original->item(0)->setSelected(true);
    family = original->item(0)->text();
    fonts->setCurrentItem(fonts->findItems(QStringLiteral("Gothic"), Qt::MatchExactly).first());
    static_cast<CTemplateDialog&>(dialog).Button(kIdOk)->click();
  });
  page.Button(CMappingPage::kByFont)->click();
  QAbstractItemModel* model = page.ListView()->model();
  int changed = 0;
  for (int row = 0; row < model->rowCount(); ++row) {
    if (model->index(row, 1).data().toString() != family) continue;
    ++changed;
    QCOMPARE(NewFont(row), QStringLiteral("Gothic,%1,%2,%3")
                               .arg(model->index(row, 2).data().toString(), model->index(row, 3).data().toString(),
                                    model->index(row, 4).data().toString()));
  }
  QVERIFY(changed > 0);

  // Cancel changes nothing.
  const QString before = NewFont(body);
  dialogs_->modalScripts.push_back([](QDialog& dialog) {
    dialog.findChild<QListWidget*>(QStringLiteral("ctl1027"))->item(0)->setSelected(true);
    static_cast<CTemplateDialog&>(dialog).Button(kIdCancel)->click();
  });
  page.Button(CMappingPage::kByComponent)->click();
  QCOMPARE(NewFont(body), before);
}

void CMappingPageTest::showFilenamesListsEachFileOnce() {
  CMappingPage& page = MakePage();
  QTableView* view = page.ListView();
  // The row with the most files lists each of them once, sorted.
  int shared = 0;
  for (int row = 0; row < view->model()->rowCount(); ++row) {
    if (page.Model().RowFileNames(row).size() > page.Model().RowFileNames(shared).size()) shared = row;
  }
  SelectRow(shared);
  QStringList shown;
  dialogs_->modalScripts.push_back([&shown](QDialog& dialog) {
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Show Filenames"));
    auto* list = dialog.findChild<QListWidget*>(QStringLiteral("ctl1039"));
    for (int i = 0; i < list->count(); ++i) shown << list->item(i)->text();
    static_cast<CTemplateDialog&>(dialog).Button(kIdOk)->click();
  });
  const QPoint at = view->visualRect(view->currentIndex()).center();
  QContextMenuEvent click(QContextMenuEvent::Mouse, at, view->mapToGlobal(at));
  QApplication::sendEvent(view, &click);
  QStringList expected;
  for (const std::string& name : page.Model().RowFileNames(shared)) expected << QString::fromStdString(name);
  expected.sort(Qt::CaseInsensitive);
  QVERIFY(!shown.isEmpty());
  QCOMPARE(shown, expected);
}

void CMappingPageTest::saveAsThenLoad() {
  CMappingPage& page = MakePage();
  const int body = Row(QStringLiteral("body"));
  SelectRow(body);
  emit page.NameBox()->activated(0);
  emit page.SizeBox()->activated(0);
  const QString mapped = NewFont(body);
  const std::string map = (dir_->path() / "saved.txt").string();
  dialogs_->saveAnswers.push_back(map);
  page.Button(CMappingPage::kSaveAs)->click();
  QCOMPARE(dialogs_->saveRequests.at(0).title, std::string("Save Font Map As"));
  QCOMPARE(dialogs_->saveRequests.at(0).defaultExtension, std::string("txt"));
  QVERIFY(dialogs_->saveRequests.at(0).options & kOfnOverwritePrompt);
  QCOMPARE(testsupport::ReadFile(map).substr(0, 37), std::string("KORVIN Typeswap 1.00 for Interleaf;\r\n"));

  // Back, losing the mappings; then on a new page Load brings them back.
  dialogs_->messageAnswers.push_back(kIdYes);
  page.Button(kIdCancel)->click();
  CMappingPage& again = MakePage();
  QCOMPARE(NewFont(body), QStringLiteral(",,,"));
  dialogs_->openAnswers.push_back(FileDialogResult{{map}, 1});
  again.Button(CMappingPage::kLoad)->click();
  QCOMPARE(dialogs_->openRequests.at(0).title, std::string("Load Font Map"));
  QVERIFY(dialogs_->openRequests.at(0).options & kOfnAllowMultiSelect);
  QCOMPARE(NewFont(body), mapped);
  QCOMPARE(again.ListView()->currentIndex().row(), 0);
  QVERIFY(again.Button(CMappingPage::kSaveAs)->isEnabled());

  // A file that is no map is named in one message.
  dialogs_->openAnswers.push_back(FileDialogResult{{Example("brochure.doc")}, 1});
  again.Button(CMappingPage::kLoad)->click();
  QCOMPARE(dialogs_->messages.back().text, "Not a valid map file : " + Example("brochure.doc") + "\r\n");

  // The job reads the loaded map and the translated files: Save As onto
  // either is refused, and the file stays as it was.
  const std::string before = testsupport::ReadFile(map);
  const std::string sameMap = (dir_->path() / "." / "saved.txt").string();
  dialogs_->saveAnswers.push_back(sameMap);
  again.Button(CMappingPage::kSaveAs)->click();
  QCOMPARE(dialogs_->messages.back().text,
           "The output file " + sameMap + " is the file " + map + ", which this job reads. Nothing was written.");
  QCOMPARE(testsupport::ReadFile(map), before);
  dialogs_->saveAnswers.push_back(Example("brochure.doc"));
  again.Button(CMappingPage::kSaveAs)->click();
  QVERIFY(dialogs_->messages.back().text.find("which this job reads") != std::string::npos);
}

void CMappingPageTest::runWritesWhatTheCommandLineWrites() {
  CMappingPage& page = MakePage();
  dialogs_->openAnswers.push_back(FileDialogResult{{Example("demo-map.txt")}, 1});
  page.Button(CMappingPage::kLoad)->click();
  page.findChild<QCheckBox*>(QStringLiteral("ctl%1").arg(CMappingPage::kConvertToEuc))->click();
  std::vector<int> seen;
  SetMessagePump([&] {
    seen.push_back(page.findChild<QProgressBar*>(QStringLiteral("ctl%1").arg(CMappingPage::kTotalBar))->value());
  });
  page.Button(kIdOk)->click();  // takes the focus, so Run runs
  SetMessagePump(nullptr);
  QVERIFY(!seen.empty());
  QCOMPARE(seen.back(), 100);
  QCOMPARE(dialogs_->messages.size(), size_t(1));
  QCOMPARE(dialogs_->messages[0].text, std::string("Finished processing."));
  QCOMPARE(dialogs_->messages[0].caption, std::string("KORVIN Typeswap for Interleaf"));
  // Reset once acknowledged.
  QCOMPARE(page.findChild<QProgressBar*>(QStringLiteral("ctl%1").arg(CMappingPage::kTotalBar))->value(), 0);
  QCOMPARE(page.findChild<QLabel*>(QStringLiteral("ctl%1").arg(CMappingPage::kTotalPercent))->text(),
           QStringLiteral("0%"));
  QCOMPARE(page.findChild<QLabel*>(QStringLiteral("ctl%1").arg(CMappingPage::kStatus))->text(), QString());

  QCOMPARE(Files(out_), CliRun(" --euc"));
  QCOMPARE(Files(out_).size(), size_t(2));
}

void CMappingPageTest::runAndSaveLeaveReadOnlyInputsAsTheyWere() {
  // Copies of the samples, read-only, with the output folder among them.
  std::vector<std::string> inputs;
  for (const char* name : {"brochure.doc", "manual-ja.doc", "fonts-ja.doc", "demo-map.txt"}) {
    inputs.push_back(dir_->Write(std::string("in/") + name, testsupport::ReadFile(Example(name))));
    fs::permissions(inputs.back(), fs::perms::owner_read | fs::perms::group_read);
  }
  auto state = [&inputs] {
    std::vector<std::pair<std::string, fs::perms>> all;
    for (const std::string& path : inputs)
      all.emplace_back(testsupport::ReadFile(path), fs::status(path).permissions());
    return all;
  };
  const auto before = state();
  const fs::path out = dir_->path() / "in" / "out";
  fs::create_directory(out);
  page_.reset();
  loaded_ = std::make_unique<Loaded>(out.string(), inputs[0], inputs[1], inputs[2]);
  QVERIFY(loaded_->loaded);
  CMappingPage& page = MakePage();
  dialogs_->openAnswers.push_back(FileDialogResult{{inputs[3]}, 1});
  page.Button(CMappingPage::kLoad)->click();
  page.findChild<QCheckBox*>(QStringLiteral("ctl%1").arg(CMappingPage::kConvertToEuc))->click();
  page.Button(kIdOk)->click();  // Run
  QCOMPARE(dialogs_->messages.back().text, std::string("Finished processing."));
  QCOMPARE(Files(out).size(), size_t(2));
  for (const std::string& input : inputs) {
    dialogs_->saveAnswers.push_back(input);
    page.Button(CMappingPage::kSaveAs)->click();
  }
  QVERIFY(state() == before);
}

void CMappingPageTest::runReportsFilesNotWritten() {
  CMappingPage& page = MakePage();
  dialogs_->openAnswers.push_back(FileDialogResult{{Example("demo-map.txt")}, 1});
  page.Button(CMappingPage::kLoad)->click();
  fs::create_directory(out_ / "brochure.doc");  // cannot be written
  page.Button(kIdOk)->click();
  QCOMPARE(dialogs_->messages.size(), size_t(2));
  const std::string& report = dialogs_->messages[0].text;
  QCOMPARE(dialogs_->messages[0].caption, std::string("Error"));
  QVERIFY2(report.find("Not every file was written: 1 of 2 written.") == 0, report.c_str());
  QVERIFY2(report.find("File Error!") != std::string::npos, report.c_str());
  QCOMPARE(dialogs_->messages[1].text, std::string("Finished processing."));
  QVERIFY(page.Button(kIdOk)->isEnabled());  // the page is usable again
}

void CMappingPageTest::keyboardAloneThroughTheWizard() {
  CSelectFilesPage pageA;
  pageA.show();
  QVERIFY(QTest::qWaitForWindowActive(&pageA));
  QTest::keyClicks(pageA.Edit(CSelectFilesPage::kTranslatedBox),
                   QString::fromStdString(Example("brochure.doc") + ";" + Example("manual-ja.doc") + ";"));
  QTest::keyClicks(pageA.Edit(CSelectFilesPage::kFontBox), QString::fromStdString(Example("fonts-ja.doc") + ";"));
  QTest::keyClicks(pageA.Edit(CSelectFilesPage::kOutputBox), QString::fromStdString(out_.string()));

  // An access key's click comes after its animation, so each step waits
  // for what the key was to do.
  bool ranPageC = false;
  dialogs_->modalScripts.push_back([&](QDialog& pageB) {
    QVERIFY(QTest::qWaitForWindowActive(&pageB));
    auto& templateB = static_cast<CTemplateDialog&>(pageB);
    Alt(&pageB, Qt::Key_T);  // Start
    QTRY_VERIFY(templateB.Button(kIdOk)->isEnabled());
    dialogs_->modalScripts.push_back([&](QDialog& pageC) {
      QVERIFY(QTest::qWaitForWindowActive(&pageC));
      auto& templateC = static_cast<CTemplateDialog&>(pageC);
      dialogs_->openAnswers.push_back(FileDialogResult{{Example("demo-map.txt")}, 1});
      Alt(&pageC, Qt::Key_L);  // Load...
      QTRY_VERIFY(templateC.Button(CMappingPage::kSaveAs)->isEnabled());
      QCOMPARE(pageC.focusWidget(), templateC.Button(CMappingPage::kLoad));
      Alt(&pageC, Qt::Key_R);  // Run
      QTRY_VERIFY(!dialogs_->messages.empty());
      ranPageC = dialogs_->messages.size() == 1 && dialogs_->messages[0].text == "Finished processing.";
      Alt(&pageC, Qt::Key_E);  // Exit
      QTRY_VERIFY(!pageC.isVisible());
    });
    Alt(&pageB, Qt::Key_N);
    QTRY_VERIFY(!pageB.isVisible());
  });
  Alt(&pageA, Qt::Key_N);
  QTRY_VERIFY(!pageA.isVisible());  // Exit on page C ends the program
  QVERIFY(ranPageC);
  QCOMPARE(Files(out_).size(), size_t(2));
  QCOMPARE(Files(out_), CliRun(""));
}

void CMappingPageTest::keyboardAloneThroughRealDialogs() {
  // The program's own dialogs, each with its modal loop: the font map's
  // path typed into the file dialog, Enter on "Finished processing.".
  dialogs_.reset();
  CMappingPage& page = MakePage();
  page.hide();
  std::vector<std::string> steps;
  QTimer walk;
  connect(&walk, &QTimer::timeout, [&] {
    QWidget* active = QApplication::activeModalWidget();
    if (!active) return;
    if (!active->isActiveWindow()) {
      // What a window manager does when a box over the page closes; the
      // offscreen platform leaves it to us.
      active->activateWindow();
      return;
    }
    if (auto* files = qobject_cast<QFileDialog*>(active)) {
      steps.push_back("file dialog: " + files->windowTitle().toStdString());
      QTest::keyClicks(QApplication::focusWidget(), QString::fromStdString(Example("demo-map.txt")));
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    } else if (auto* box = qobject_cast<QMessageBox*>(active)) {
      steps.push_back("box: " + box->text().toStdString());
      QTest::keyClick(box, Qt::Key_Return);
    } else if (active == &page && steps.empty()) {
      steps.push_back("load");
      QTest::keyClick(&page, Qt::Key_L, Qt::AltModifier);
    } else if (active == &page && steps.size() == 2) {
      steps.push_back("run");
      QTest::keyClick(&page, Qt::Key_R, Qt::AltModifier);
    } else if (active == &page && steps.size() == 4) {
      steps.push_back("exit");
      QTest::keyClick(&page, Qt::Key_E, Qt::AltModifier);
    }
  });
  walk.start(50);
  QTimer guard;
  guard.setSingleShot(true);
  connect(&guard, &QTimer::timeout, [&page] { page.done(-2); });
  guard.start(15000);
  const int result = CWizardPage::RunModal(page);
  walk.stop();
  guard.stop();
  dialogs_ = std::make_unique<CScriptedDialogService>();
  QCOMPARE(result, -1);
  QCOMPARE(steps, (std::vector<std::string>{"load", "file dialog: Load Font Map", "run", "box: Finished processing.",
                                            "exit"}));
  QCOMPARE(Files(out_).size(), size_t(2));
  QCOMPARE(Files(out_), CliRun(""));
}

QTEST_MAIN(CMappingPageTest)
#include "CMappingPageTest.moc"

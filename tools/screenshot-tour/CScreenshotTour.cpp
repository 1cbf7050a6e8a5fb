// The screenshot walk through the wizard.
#include "tools/screenshot-tour/CScreenshotTour.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTimer>
#include <cstdio>

#include "app/ui/CAppendReplaceDlg.h"
#include "app/ui/CLoadPage.h"
#include "app/ui/CSelectFilesPage.h"
#include "app/ui/CSplashWnd.h"
#include "mapping/ui/CMappingPage.h"
#include "platform/ui/CHelpWindow.h"

namespace {

constexpr int kSplashDelayMs = 400;   // the splash is up and painted
constexpr int kAfterSplashMs = 2300;  // the splash has gone again
constexpr int kDialogDelayMs = 300;   // a modal box is up and painted

CSelectFilesPage* PageA() {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (auto* page = dynamic_cast<CSelectFilesPage*>(w)) return page;
  }
  return nullptr;
}

CHelpWindow* HelpWindow() {
  for (QWidget* w : QApplication::allWidgets()) {
    if (auto* help = qobject_cast<CHelpWindow*>(w); help && help->isVisible()) return help;
  }
  return nullptr;
}

// Runs \p then on the modal dialog that is up \p delay ms from now.
void WithModal(int delay, std::function<void(QDialog&)> then) {
  QTimer::singleShot(delay, [then = std::move(then)] {
    if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) then(*dialog);
  });
}

}  // namespace

CScreenshotTour::CScreenshotTour(QString folder, QString translatedFiles, QString fontFiles, QString outputDirectory)
    : folder_(std::move(folder)),
      translatedFiles_(std::move(translatedFiles)),
      fontFiles_(std::move(fontFiles)),
      outputDirectory_(std::move(outputDirectory)) {}

void CScreenshotTour::Start() {
  QDir().mkpath(folder_);
  QTimer::singleShot(kSplashDelayMs, this, &CScreenshotTour::ShootSplash);
}

void CScreenshotTour::Save(QWidget* window, const QString& name) {
  if (!window) {
    std::fprintf(stderr, "typeswap: no window for %s\n", qPrintable(name));
    return;
  }
  QString path = folder_ + QLatin1Char('/') + name + QStringLiteral(".png");
  if (!window->grab().save(path)) std::fprintf(stderr, "typeswap: cannot write %s\n", qPrintable(path));
}

void CScreenshotTour::ShootSplash() {
  Save(CSplashWnd::Current(), QStringLiteral("splash"));
  QTimer::singleShot(kAfterSplashMs, this, &CScreenshotTour::FillPageA);
}

void CScreenshotTour::FillPageA() {
  CSelectFilesPage* page = PageA();
  if (!page) return;
  const std::pair<int32_t, const QString*> boxes[] = {{CSelectFilesPage::kTranslatedBox, &translatedFiles_},
                                                      {CSelectFilesPage::kFontBox, &fontFiles_},
                                                      {CSelectFilesPage::kOutputBox, &outputDirectory_}};
  for (const auto& [id, text] : boxes) {
    page->Edit(id)->setText(*text);
    page->Edit(id)->setCursorPosition(0);
  }
  page->Button(CSelectFilesPage::kNext)->setFocus();
  QApplication::processEvents();
  Save(page, QStringLiteral("page-a"));
  QTimer::singleShot(0, this, &CScreenshotTour::ShootAbout);
}

void CScreenshotTour::ShootAbout() {
  WithModal(kDialogDelayMs, [this](QDialog& about) {
    Save(&about, QStringLiteral("about"));
    about.done(kIdOk);
  });
  if (CSelectFilesPage* page = PageA()) page->SystemCommand(kCommandAbout);
  QTimer::singleShot(0, this, &CScreenshotTour::ShootOpenDialog);
}

void CScreenshotTour::ShootOpenDialog() {
  // Cancelled, so page A stays as it was.
  WithModal(kDialogDelayMs * 3, [this](QDialog& dialog) {
    Save(&dialog, QStringLiteral("open-font-files"));
    dialog.reject();
  });
  if (CSelectFilesPage* page = PageA()) page->Button(CSelectFilesPage::kBrowseFonts)->click();
  QTimer::singleShot(0, this, &CScreenshotTour::ShootAppendReplace);
}

void CScreenshotTour::ShootAppendReplace() {
  WithModal(kDialogDelayMs, [this](QDialog& question) {
    Save(&question, QStringLiteral("append-replace"));
    question.done(kIdCancel);
  });
  CAppendReplaceDlg question(true, PageA());
  CWizardPage::RunModal(question);
  QTimer::singleShot(0, this, &CScreenshotTour::ShootLoadPage);
}

void CScreenshotTour::ShootLoadPage() {
  WithModal(kDialogDelayMs, [this](QDialog& dialog) {
    auto* page = dynamic_cast<CLoadPage*>(&dialog);
    if (!page) {
      dialog.done(-1);
      return;
    }
    page->Button(CLoadPage::kStart)->click();  // returns when loading is over
    // The log lays its lines and scroll bars out once the events are in.
    QTimer::singleShot(kDialogDelayMs, page, [this, page] {
      Save(page, QStringLiteral("page-b"));
      // And scrolled to the right: the ends of the long lines.
      QScrollBar* across = page->List(CLoadPage::kLogBox)->horizontalScrollBar();
      across->setValue(across->maximum());
      QApplication::processEvents();
      Save(page, QStringLiteral("page-b-scrolled"));
      across->setValue(0);
      page->Button(kIdHelp)->click();
      QApplication::processEvents();
      Save(HelpWindow(), QStringLiteral("help"));
      WithModal(kDialogDelayMs, [this](QDialog& mapping) {
        if (auto* pageC = dynamic_cast<CMappingPage*>(&mapping)) {
          ShootMappingPage(*pageC);
        } else {
          mapping.done(-1);
        }
      });
      page->Button(kIdOk)->click();  // page C runs until the walk ends it
    });
  });
  if (CSelectFilesPage* page = PageA()) page->Button(CSelectFilesPage::kNext)->click();
}

void CScreenshotTour::ShootMappingPage(CMappingPage& page) {
  // A few rows mapped by hand, as a translator starts.
  CMappingPageModel& model = page.Model();
  CMappingTable& table = model.Table();
  for (int32_t row : {1, 3, 12, 14, 16}) {
    if (row >= table.RowCount()) continue;
    table.SelectRow(row);
    if (model.Controls().names.empty()) continue;
    model.NameChosen(row % static_cast<int32_t>(model.Controls().names.size()));
    if (!model.Controls().sizes.empty()) model.SizeChosen(static_cast<int32_t>(model.Controls().sizes.size()) / 2);
  }
  if (QWidget* list = page.ListView()) list->setFocus();
  QApplication::processEvents();
  Save(&page, QStringLiteral("page-c"));

  const std::pair<int32_t, QString> changes[] = {
      {CMappingPage::kByComponent, QStringLiteral("multiple-change-component")},
      {CMappingPage::kByFont, QStringLiteral("multiple-change-font")}};
  for (const auto& [button, name] : changes) {
    WithModal(kDialogDelayMs, [this, name = name](QDialog& dialog) {
      if (auto* lists = dialog.findChild<QListWidget*>()) lists->setCurrentRow(0);
      Save(&dialog, name);
      dialog.done(kIdCancel);
    });
    page.Button(button)->click();
  }

  WithModal(kDialogDelayMs, [this](QDialog& dialog) {
    Save(&dialog, QStringLiteral("show-filenames"));
    dialog.done(kIdOk);
  });
  if (QTableView* list = page.ListView()) {
    const QPoint at = list->visualRect(list->currentIndex()).center();
    QContextMenuEvent click(QContextMenuEvent::Mouse, at, list->mapToGlobal(at));
    QApplication::sendEvent(list, &click);
  }

  WithModal(kDialogDelayMs, [this, &page](QDialog& finished) {
    Save(&page, QStringLiteral("page-c-run"));
    Save(&finished, QStringLiteral("run-finished"));
    finished.done(kIdOk);
  });
  page.Button(kIdOk)->click();  // Run, with the focus on it
  page.Button(CMappingPage::kExit)->click();
}

// The screenshot walk through the wizard.
#include "app/ui/CScreenshotTour.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <cstdio>

#include "app/ui/CAppendReplaceDlg.h"
#include "app/ui/CLoadPage.h"
#include "app/ui/CSelectFilesPage.h"
#include "app/ui/CSplashWnd.h"

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

// Runs \p then on the modal dialog that is up \p delay ms from now.
void WithModal(int delay, std::function<void(QDialog&)> then) {
  QTimer::singleShot(delay, [then = std::move(then)] {
    if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) then(*dialog);
  });
}

}  // namespace

CScreenshotTour::CScreenshotTour(QString folder, QString translatedFiles, QString fontFiles,
                                 QString outputDirectory)
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
  const std::pair<int32_t, const QString*> boxes[] = {
      {CSelectFilesPage::kTranslatedBox, &translatedFiles_},
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
      page->Button(CLoadPage::kExit)->click();
    });
  });
  if (CSelectFilesPage* page = PageA()) page->Button(CSelectFilesPage::kNext)->click();
}

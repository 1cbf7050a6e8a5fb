// The help viewer: a QTextBrowser over the help pages with Back, Forward,
// Contents and Close.
#include "platform/ui/CHelpWindow.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "platform/StringIds.h"
#include "platform/StringTable.h"
#include "platform/ui/QtText.h"

CHelpWindow::CHelpWindow(QWidget* parent) : QDialog(parent, Qt::Window) {
  setWindowTitle(ToQt(LoadResString(IdsHelpTitle)));
  setModal(false);
  browser_ = new QTextBrowser(this);
  browser_->setOpenExternalLinks(true);
  back_ = new QPushButton(ToQt(LoadResString(IdsHelpBack)), this);
  forward_ = new QPushButton(ToQt(LoadResString(IdsHelpForward)), this);
  auto* contents = new QPushButton(ToQt(LoadResString(IdsHelpContents)), this);
  auto* close = new QPushButton(ToQt(LoadResString(IdsHelpClose)), this);
  for (QPushButton* button : {back_, forward_, contents, close}) button->setAutoDefault(false);
  back_->setEnabled(false);
  forward_->setEnabled(false);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(back_);
  buttons->addWidget(forward_);
  buttons->addWidget(contents);
  buttons->addStretch();
  buttons->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(buttons);
  layout->addWidget(browser_);

  connect(back_, &QPushButton::clicked, browser_, &QTextBrowser::backward);
  connect(forward_, &QPushButton::clicked, browser_, &QTextBrowser::forward);
  connect(contents, &QPushButton::clicked, browser_, &QTextBrowser::home);
  connect(close, &QPushButton::clicked, this, &QDialog::close);
  connect(browser_, &QTextBrowser::backwardAvailable, back_, &QPushButton::setEnabled);
  connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QPushButton::setEnabled);
  resize(640, 560);
}

QString CHelpWindow::FindHelpPage(const QString& programDir, const QString& installedRelative) {
  for (const QString& dir : {programDir + QStringLiteral("/help"), programDir + QLatin1Char('/') + installedRelative}) {
    const QString page = QDir::cleanPath(dir + QStringLiteral("/typeswap.html"));
    if (QFileInfo(page).isFile()) return page;
  }
  return QString();
}

QString CHelpWindow::AnchorOf(uint32_t context) {
  return QStringLiteral("0x") + QString::number(context, 16).toUpper();
}

void CHelpWindow::ShowTopic(const QString& page, uint32_t context) {
  QUrl url = QUrl::fromLocalFile(page);
  if (browser_->source().isEmpty()) {
    browser_->setSource(url);  // the page without anchor is Contents
  }
  url.setFragment(AnchorOf(context));
  browser_->setSource(url);
  show();
  raise();
  activateWindow();
  browser_->setFocus();  // the arrow and page keys scroll at once
}

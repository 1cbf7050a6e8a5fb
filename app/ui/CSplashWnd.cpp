// The splash window.
#include "app/ui/CSplashWnd.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTimerEvent>

#include "platform/ui/CArtwork.h"

namespace {
bool g_enabled = false;
CSplashWnd* g_current = nullptr;
}  // namespace

void CSplashWnd::EnableSplash(bool enable) { g_enabled = enable; }

CSplashWnd* CSplashWnd::Current() { return g_current; }

void CSplashWnd::ShowSplash(QWidget* owner) {
  if (!g_enabled || g_current) return;
  QPixmap bitmap = LoadBitmapResource(kBitmapSplash);
  if (bitmap.isNull()) return;
  g_current = new CSplashWnd(owner, std::move(bitmap));
  g_current->show();
  g_current->repaint();
}

CSplashWnd::CSplashWnd(QWidget* owner, QPixmap bitmap)
    : QWidget(owner, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      bitmap_(std::move(bitmap)),
      owner_(owner) {
  setAttribute(Qt::WA_DeleteOnClose);
  setCursor(Qt::ArrowCursor);
  setFixedSize(bitmap_.size());
  QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
  if (screen) move(screen->geometry().center() - rect().center());
  timer_.start(kPeriodMs, this);
}

CSplashWnd::~CSplashWnd() {
  if (g_current == this) g_current = nullptr;
}

void CSplashWnd::OnTimer() {
  timer_.stop();
  g_current = nullptr;
  close();  // deletes the window (WA_DeleteOnClose)
  if (owner_) owner_->update();
}

void CSplashWnd::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawPixmap(0, 0, bitmap_);
}

void CSplashWnd::timerEvent(QTimerEvent* event) {
  if (event->timerId() == timer_.timerId()) {
    OnTimer();
  } else {
    QWidget::timerEvent(event);
  }
}

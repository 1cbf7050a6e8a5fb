// CSplashWnd: the splash window shown once as the program starts.
#pragma once

#include <QBasicTimer>
#include <QPixmap>
#include <QPointer>
#include <QWidget>

/// A borderless window showing bitmap 142, centred, gone 2000 ms after it
/// appeared whatever the user does meanwhile.
class CSplashWnd : public QWidget {
 public:
  /// Allows or forbids the splash; start-up allows it, nothing else does.
  static void EnableSplash(bool enable);
  /// Shows the splash above \p owner, unless it is not enabled or one is
  /// already up. Nothing is shown when the bitmap cannot be had.
  static void ShowSplash(QWidget* owner);
  /// The splash window now up, or nullptr.
  static CSplashWnd* Current();

  /// The timer's work: the window goes and the owner is repainted.
  void OnTimer();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void timerEvent(QTimerEvent* event) override;

 private:
  CSplashWnd(QWidget* owner, QPixmap bitmap);
  ~CSplashWnd() override;

  static constexpr int kPeriodMs = 2000;

  QPixmap bitmap_;
  QPointer<QWidget> owner_;
  QBasicTimer timer_;
};

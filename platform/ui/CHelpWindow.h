// The program's own help viewer: the HTML help pages in a window, opened at
// the topic of a page, so that help needs no web browser.
#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>

class QTextBrowser;
class QPushButton;

/// Shows the help pages. One window serves every page; it stays open
/// beside the wizard until closed or until the program ends.
class CHelpWindow : public QDialog {
  Q_OBJECT
 public:
  explicit CHelpWindow(QWidget* parent = nullptr);

  /// The start page of the help: beside the program in the build tree
  /// (<dir>/help/typeswap.html), else where an installation puts it
  /// (<dir>/\p installedRelative/typeswap.html). Empty when neither exists.
  static QString FindHelpPage(const QString& programDir, const QString& installedRelative);

  /// Opens \p page at the topic of help context \p context (anchor "0x"
  /// followed by the number in upper-case hexadecimal, as #0x20066).
  void ShowTopic(const QString& page, uint32_t context);

  /// The anchor name of \p context.
  static QString AnchorOf(uint32_t context);

  QTextBrowser* Browser() const { return browser_; }

 private:
  QTextBrowser* browser_;
  QPushButton* back_;
  QPushButton* forward_;
};

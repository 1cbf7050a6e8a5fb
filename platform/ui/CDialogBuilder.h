// Turns a dialog template into Qt widgets, converting dialog units to
// pixels from the dialog font as the Windows dialog manager does.
#pragma once

#include <QFont>
#include <QRect>
#include <QSize>
#include <map>

#include "platform/ui/CDialogTemplate.h"

class QDialog;
class QWidget;

/// Lays out a dialog from its template.
class CDialogBuilder {
 public:
  /// The font a template asks for; a face this machine lacks gives way to
  /// the application's own face at the same size.
  static QFont DialogFont(const CDialogTemplate& tpl);

  /// Dialog base units of \p font: the average width of the letters A-Z
  /// and a-z, and the character height, in pixels.
  static QSize BaseUnits(const QFont& font);

  explicit CDialogBuilder(const QFont& dialogFont);

  /// \p r converted to pixels: x and width by base width / 4, y and height
  /// by base height / 8, each rounded.
  QRect ToPixels(const DialogRect& r) const;

  /// Gives \p dialog the template's caption, font, frame and size, creates
  /// its controls at their places in tab order, and returns them by id
  /// (controls with a negative id are made but not returned).
  std::map<int32_t, QWidget*> Build(QDialog& dialog, const CDialogTemplate& tpl) const;

 private:
  QWidget* MakeControl(QDialog& dialog, const DialogControl& control) const;

  QFont font_;
  QSize base_;
};

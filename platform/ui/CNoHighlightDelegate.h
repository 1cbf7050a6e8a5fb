// Drawing the lines of a list box that allows no selection.
#pragma once

#include <QStyledItemDelegate>

/// Draws every line plain: a list box without selection shows neither a
/// highlighted nor a focused line, whatever was clicked.
class CNoHighlightDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

// Plain lines for list boxes without selection.
#include "platform/ui/CNoHighlightDelegate.h"

void CNoHighlightDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const {
  QStyleOptionViewItem plain(option);
  plain.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus | QStyle::State_MouseOver);
  QStyledItemDelegate::paint(painter, plain, index);
}

// The mapping page's list view behaviour.
#include "mapping/ui/CMappingListView.h"

#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QPainter>
#include <QTableView>

#include "mapping/MappingColumns.h"

CMappingListView::CMappingListView(QTableView& view) : QObject(&view), view_(view) {
  // The selection stays visible in the highlight colours when the list
  // loses the focus.
  QPalette palette = view_.palette();
  for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText}) {
    palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
  }
  view_.setPalette(palette);
  // Clicking a header sorts nothing: the rows keep the table's order.
  view_.horizontalHeader()->setSectionsClickable(false);
  view_.horizontalHeader()->setStretchLastSection(false);
  view_.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  view_.verticalHeader()->setDefaultSectionSize(QFontMetrics(view_.font()).height() + 4);
  view_.setContextMenuPolicy(Qt::DefaultContextMenu);
  view_.installEventFilter(this);
  view_.viewport()->installEventFilter(this);
}

void CMappingListView::SizeColumns() {
  const QFontMetrics metrics(view_.horizontalHeader()->font());
  for (int32_t column = 0; column < kMappingColumnCount; ++column) {
    const QString header = view_.model()->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
    view_.setColumnWidth(column, metrics.horizontalAdvance(header) + MappingColumnInfoOf(column).extraWidth);
  }
}

void CMappingListView::ShowSelectedRow(int row) {
  QItemSelectionModel* selection = view_.selectionModel();
  const QSignalBlocker quiet(selection);
  if (row < 0) {
    selection->clearSelection();
    selection->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
  } else {
    const QModelIndex index = view_.model()->index(row, 0);
    selection->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    view_.scrollTo(index);
  }
  view_.viewport()->update();
}

void CMappingListView::PaintRowBand() {
  // The selected row's highlight runs on past the last column to the right
  // edge, as a report list view draws it.
  const QModelIndexList rows = view_.selectionModel()->selectedRows();
  if (rows.isEmpty()) return;
  const int row = rows.first().row();
  const int top = view_.rowViewportPosition(row);
  if (top < 0 && top + view_.rowHeight(row) < 0) return;
  QPainter painter(view_.viewport());
  painter.fillRect(
      QRect(0, top, view_.viewport()->width(), view_.rowHeight(row)),
      view_.palette().brush(view_.isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Highlight));
}

bool CMappingListView::eventFilter(QObject* watched, QEvent* event) {
  if (watched == view_.viewport() && event->type() == QEvent::Paint) {
    PaintRowBand();
    return false;
  }
  if (watched != &view_) return false;
  switch (event->type()) {
    case QEvent::KeyPress:
      if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        if (onDelete_) onDelete_();
        return true;
      }
      break;
    case QEvent::ContextMenu:
      if (onRightClick_) onRightClick_();
      return true;
    case QEvent::FocusIn:
    case QEvent::FocusOut:
      view_.viewport()->update();
      break;
    default:
      break;
  }
  return false;
}

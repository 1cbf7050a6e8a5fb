// Room for the columns of Qt's own file dialogs.
#include "platform/ui/FileDialogSize.h"

#include <QFileDialog>
#include <QFontMetrics>
#include <QHeaderView>
#include <QTreeView>

void FitFileDialogColumns(QFileDialog& dialog) {
  auto* view = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
  if (!view) return;
  QHeaderView* header = view->header();
  header->setStretchLastSection(false);
  header->setSectionResizeMode(0, QHeaderView::Stretch);
  for (int column = 1; column < header->count(); ++column)
    header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
  // Wide enough for names beside the other columns, as the Windows dialog.
  QFontMetrics metrics(dialog.font());
  dialog.resize(dialog.sizeHint().expandedTo(QSize(metrics.averageCharWidth() * 110, metrics.height() * 28)));
}

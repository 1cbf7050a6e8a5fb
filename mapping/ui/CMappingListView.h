// How the mapping page's list view behaves beyond a plain table view: the
// selected row highlighted across the whole width, also without the focus,
// the Delete key, the right click, and the column widths.
#pragma once

#include <QObject>
#include <functional>

class QTableView;

/// Gives the template's table view the list view's ways. Lives as long as
/// the view (it is the view's child).
class CMappingListView : public QObject {
 public:
  /// Takes over \p view, which must have its model already.
  explicit CMappingListView(QTableView& view);

  /// Called for the Delete key.
  void SetDeleteListener(std::function<void()> listener) { onDelete_ = std::move(listener); }
  /// Called for a right click (after the row under the pointer was selected).
  void SetRightClickListener(std::function<void()> listener) { onRightClick_ = std::move(listener); }

  /// Each column as wide as its header text plus the room the column asks for.
  void SizeColumns();
  /// Selects and shows \p row (-1: no selection) without telling anyone.
  void ShowSelectedRow(int row);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void PaintRowBand();

  QTableView& view_;
  std::function<void()> onDelete_;
  std::function<void()> onRightClick_;
};

// The mapping table as Qt's item views see it: nine columns of texts over
// CMappingTable, kept current through the table's observer.
#pragma once

#include <QAbstractTableModel>
#include <functional>

#include "mapping/CMappingTableObserver.h"

class CMappingPageModel;
class CMappingTable;

/// A read-only table model over the page's mapping table. Sorting and
/// merging stay in the core; this only shows texts, headers and each row's
/// reference positions as its tooltip.
class CMappingListModel : public QAbstractTableModel, private CMappingTableObserver {
 public:
  /// Shows \p page's table, which must outlive the model.
  explicit CMappingListModel(CMappingPageModel& page, QObject* parent = nullptr);
  ~CMappingListModel() override;

  /// Called when the table's selected row moves (-1: none).
  void SetSelectionListener(std::function<void(int32_t)> listener) { selectionListener_ = std::move(listener); }
  /// Called when rows' new fonts were written.
  void SetRowsListener(std::function<void()> listener) { rowsListener_ = std::move(listener); }

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  void TableReset() override;
  void RowChanged(int32_t row) override;
  void SelectionChanged(int32_t row) override;

  CMappingPageModel& page_;
  CMappingTable& table_;
  std::function<void(int32_t)> selectionListener_;
  std::function<void()> rowsListener_;
};

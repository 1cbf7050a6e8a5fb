// The mapping table's texts for the list view.
#include "mapping/ui/CMappingListModel.h"

#include "mapping/CMappingPageModel.h"
#include "mapping/MappingColumns.h"
#include "output/OutputTexts.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"
#include "platform/ui/QtText.h"

namespace {
// A row of thousands of references would give a tooltip taller than the
// screen: the first ones are listed, then how many more there are.
constexpr size_t kTooltipPositions = 25;
}  // namespace

CMappingListModel::CMappingListModel(CMappingPageModel& page, QObject* parent)
    : QAbstractTableModel(parent), page_(page), table_(page.Table()) {
  table_.AddObserver(this);
}

CMappingListModel::~CMappingListModel() { table_.RemoveObserver(this); }

int CMappingListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : table_.RowCount(); }

int CMappingListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kMappingColumnCount;
}

QVariant CMappingListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  switch (role) {
    case Qt::DisplayRole:
      return DocumentText(table_.ColumnText(index.row(), index.column()));
    case Qt::ToolTipRole: {
      const std::vector<std::string> positions = page_.RowPositions(index.row());
      std::string tip;
      for (size_t i = 0; i < positions.size() && i < kTooltipPositions; ++i) {
        if (i > 0) tip += '\n';
        tip += positions[i];
      }
      if (positions.size() > kTooltipPositions) {
        tip += '\n' +
               FormatText(LoadResString(IdsAndMore).c_str(), static_cast<int>(positions.size() - kTooltipPositions));
      }
      return ToQt(tip);
    }
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    default:
      return {};
  }
}

QVariant CMappingListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  return ToQt(MappingColumnHeader(section));
}

void CMappingListModel::TableReset() {
  beginResetModel();
  endResetModel();
}

void CMappingListModel::RowChanged(int32_t row) {
  emit dataChanged(index(row, ColumnNewFont), index(row, ColumnNewItalic));
  if (rowsListener_) rowsListener_();
}

void CMappingListModel::SelectionChanged(int32_t row) {
  if (selectionListener_) selectionListener_(row);
}

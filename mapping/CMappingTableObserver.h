// What a view of the mapping table is told when the table changes.
#pragma once

#include <cstdint>

/// Notifications of a CMappingTable. Every hook does nothing unless
/// overridden, so a view takes only what it needs.
class CMappingTableObserver {
 public:
  virtual ~CMappingTableObserver() = default;
  /// Every row may have changed: the table was built or emptied.
  virtual void TableReset() {}
  /// The new-font columns (5 to 8) of \p row were written.
  virtual void RowChanged(int32_t row) {}
  /// \p row became the selected and focused row (-1: none). The mapping
  /// page refills its Available Fonts boxes from here.
  virtual void SelectionChanged(int32_t row) {}
};

// The nine columns of the mapping table: their numbers, header texts and
// the room a view adds to each header's width.
#pragma once

#include <cstdint>
#include <string>

/// Column numbers of the mapping table.
enum MappingColumn : int32_t {
  ColumnComponent = 0,
  ColumnCurrentFont = 1,
  ColumnSize = 2,
  ColumnBold = 3,
  ColumnItalic = 4,
  ColumnNewFont = 5,
  ColumnNewSize = 6,
  ColumnNewBold = 7,
  ColumnNewItalic = 8,
};

/// The number of columns.
inline constexpr int32_t kMappingColumnCount = 9;

/// How a column is headed and sized.
struct MappingColumnInfo {
  int32_t headerId;    ///< string-table number of the header text
  int32_t extraWidth;  ///< pixels a view adds to the header text's width
};

/// The description of \p column (0 to 8; any other number gets column 0's).
const MappingColumnInfo& MappingColumnInfoOf(int32_t column);

/// The header text of \p column ("Component", "Current Font", "Size", ...).
std::string MappingColumnHeader(int32_t column);

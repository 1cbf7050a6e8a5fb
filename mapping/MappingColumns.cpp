// The column table of the mapping table.
#include "mapping/MappingColumns.h"

#include <array>

#include "platform/StringIds.h"
#include "platform/StringTable.h"

namespace {

// The family columns get more room than the short ones.
constexpr std::array<MappingColumnInfo, kMappingColumnCount> kColumns = {{
    {IdsColumnComponent, 35},
    {IdsColumnCurrentFont, 35},
    {IdsColumnSize, 15},
    {IdsColumnBold, 15},
    {IdsColumnItalic, 15},
    {IdsColumnNewFont, 35},
    {IdsColumnSize, 15},
    {IdsColumnBold, 15},
    {IdsColumnItalic, 15},
}};

}  // namespace

const MappingColumnInfo& MappingColumnInfoOf(int32_t column) {
  if (column < 0 || column >= kMappingColumnCount) column = 0;
  return kColumns[static_cast<size_t>(column)];
}

std::string MappingColumnHeader(int32_t column) { return LoadResString(MappingColumnInfoOf(column).headerId); }

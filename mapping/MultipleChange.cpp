// The multiple-change dialog's entries and its OK.
#include "mapping/MultipleChange.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "mapping/CMappingTable.h"
#include "mapping/FoldCase.h"
#include "mapping/MappingColumns.h"
#include "mapping/MappingRules.h"
#include "model/CFontReferenceList.h"
#include "platform/StringIds.h"

namespace {

constexpr MultipleChangeModeInfo kModes[] = {
    {IdsMultipleChangeByComponent,
     IdsColumnComponent,
     ColumnComponent,
     {IdsCategoryFontDefinition, IdsCategoryFontChange, IdsCategoryChartFont, IdsCategoryTextStringFont}},
    {IdsMultipleChangeByFont,
     IdsColumnCurrentFont,
     ColumnCurrentFont,
     {IdsCategoryFontChange, IdsCategoryChartFont, IdsCategoryTextStringFont, 0}},
};

// Font files offer no families of these categories.
constexpr int32_t kNoNewFontFrom[] = {IdsCategoryFontChange, IdsCategoryChartFont, IdsCategoryTextStringFont};

bool IsExcluded(const CFontReference& reference, const MultipleChangeModeInfo& info) {
  return std::any_of(info.excluded.begin(), info.excluded.end(),
                     [&](int32_t id) { return id != 0 && HasCategory(reference, id); });
}

}  // namespace

const MultipleChangeModeInfo& MultipleChangeModeInfoOf(MultipleChangeMode mode) {
  return kModes[mode == MultipleChangeMode::ByFont ? 1 : 0];
}

std::vector<std::string> OriginalEntries(const CMappingTable& table, MultipleChangeMode mode) {
  const MultipleChangeModeInfo& info = MultipleChangeModeInfoOf(mode);
  std::vector<std::string> entries;
  std::unordered_set<std::string> seen;  // folded
  for (int32_t row = 0; row < table.RowCount(); ++row) {
    if (IsExcluded(*table.Representative(row), info)) continue;
    const std::string& text = table.ColumnText(row, info.column);
    if (seen.insert(FoldCase(text)).second) entries.push_back(text);
  }
  return entries;
}

std::vector<std::string> NewFontEntries(const CFontReferenceList& fontFiles) {
  std::vector<std::string> entries;
  std::unordered_set<std::string> seen;                   // folded
  for (int32_t i = fontFiles.Count() - 1; i >= 0; --i) {  // list order: newest first
    const CFontReference& reference = *fontFiles.GetAt(i);
    if (std::any_of(std::begin(kNoNewFontFrom), std::end(kNoNewFontFrom),
                    [&](int32_t id) { return HasCategory(reference, id); })) {
      continue;
    }
    if (seen.insert(FoldCase(reference.GetFamily())).second) {
      entries.push_back(reference.GetFamily());
    }
  }
  return entries;
}

int32_t ApplyMultipleChange(CMappingTable& table, MultipleChangeMode mode, const std::vector<std::string>& chosen,
                            std::string_view family) {
  const int32_t column = MultipleChangeModeInfoOf(mode).column;
  // The rows of each chosen text, top to bottom, found in one pass.
  std::unordered_map<std::string, std::vector<int32_t>> rowsOf;
  for (const std::string& text : chosen) rowsOf.emplace(text, std::vector<int32_t>());
  for (int32_t row = 0; row < table.RowCount(); ++row) {
    auto found = rowsOf.find(table.ColumnText(row, column));
    if (found != rowsOf.end()) found->second.push_back(row);
  }

  int32_t changed = 0;
  CMappingTable::Batch batch(table);
  for (const std::string& text : chosen) {
    for (int32_t row : rowsOf[text]) {
      table.SelectRow(row);
      NewFontTuple font{std::string(family), table.ColumnText(row, ColumnSize), table.ColumnText(row, ColumnBold),
                        table.ColumnText(row, ColumnItalic)};
      // A definition row is known by its category: a component that happens
      // to be named "Font Definition" holds ordinary font numbers.
      table.ApplyNewFont(true, table.IsDefinitionRow(row), font);
      ++changed;
    }
  }
  return changed;
}

// File names of a mapping row.
#include "mapping/RowFileNames.h"

#include <unordered_set>

#include "mapping/CMappingTable.h"
#include "mapping/FoldCase.h"
#include "model/CFontReferenceList.h"

std::vector<std::string> RowFileNames(const CMappingTable& table, int32_t row) {
  std::vector<std::string> names;
  const CFontReference* rep = table.Representative(row);
  if (!rep) return names;
  // A row may hold thousands of references from a handful of files: look
  // each file up once.
  std::unordered_set<uint32_t> files;
  std::unordered_set<std::string> seen;  // folded names
  auto add = [&](const CFontReference& reference) {
    if (!files.insert(reference.GetPiece().GetFileNumber()).second) return;
    std::string name = reference.GetPiece().GetFileName();
    if (seen.insert(FoldCase(name)).second) names.push_back(std::move(name));
  };
  add(*rep);
  for (int32_t position : table.MergedRows(row)) {
    const CFontReference* merged = table.References().GetAt(position);
    if (!merged) break;
    add(*merged);
  }
  return names;
}

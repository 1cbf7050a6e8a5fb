// The merge step of building the mapping table: which sorted rows fold
// into a row above them.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

class CFontReferenceList;

/// A row of the mapping table while it is built: its column-0 text (a view
/// of a text that outlives the row) and the list position of its
/// representative.
struct CBuildRow {
  std::string_view text;
  int32_t item = -1;
};

/// For each of \p rows (sorted by text), the index of the row above it that
/// it joins, or -1 when it stays a row of its own. A row joins the topmost
/// remaining row above it that has the same base name with no other base
/// name in between, the same current font, and a kind that accepts its
/// kind. Representatives are looked up in \p references. Runs in time
/// linear in the number of rows.
std::vector<int32_t> FindJoiningRows(const std::vector<CBuildRow>& rows, const CFontReferenceList& references);

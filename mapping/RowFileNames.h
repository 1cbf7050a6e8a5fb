// The files a mapping row's references come from, as "Show Filenames"
// lists them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CMappingTable;

/// The file names of \p row's representative and then of each merged
/// reference, each name once without regard to case; empty for no row.
std::vector<std::string> RowFileNames(const CMappingTable& table, int32_t row);

// lexgen's phases run in order on the text of a rules file: the generator
// as a library, for its program and for tests.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tools/common/Diagnostics.h"

/// What one run makes from a rules file.
struct LexGeneration {
  std::vector<unsigned char> table;  ///< in the layout of reader/LexTableFormat.h
  std::string report;                ///< the readable report written beside it
};

/// Compiles \p text, the rules of file \p rulesFile (the name errors and
/// the report carry). Errors go to \p diagnostics, as many as the failing
/// phase finds; the result is then empty.
std::optional<LexGeneration> GenerateLexTable(const std::string& rulesFile, const std::string& text,
                                              Diagnostics& diagnostics);

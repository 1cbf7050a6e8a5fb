// Checking a run's written files: each is read again, and its font
// references must name the fonts the run was asked for.
#pragma once

#include <string>
#include <vector>

#include "output/COutputRecord.h"

class CFontReferenceList;

/// What the check found wrong with one written file.
struct CVerifyFailure {
  std::string outputName;
  /// The message: a first line naming the file, then one line per problem
  /// (at most a few, then how many more).
  std::string message;
};

/// Reads every file of \p written again (before any EUC conversion) and
/// compares its font references, in order, with those of its input in
/// \p translated as the run left them: a reference that the run rewrote must
/// now resolve to its new font (the new family and size, or the old ones
/// where none was chosen, with the new bold and italic), every other to its
/// current font; the input's font definitions must all be there still. A
/// copy that cannot be read, or holds other references, fails too. Returns
/// the files that failed, in the order written.
std::vector<CVerifyFailure> VerifyOutput(const CFontReferenceList& translated,
                                         const std::vector<COutputRecord>& written);

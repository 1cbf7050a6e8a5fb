// Descriptions of the places named in output's reports.
#include "output/CErrorRef.h"

#include "output/OutputTexts.h"

std::string CErrorRef::Description() const {
  if (GetFileNumber() == 0 && GetStartLine() == 0) {
    return FormatText("\"%s\"", GetText());
  }
  return FormatText("%s, line %d, column %d to line %d, column %d: \"%s\"", GetFileName(), GetStartLine(),
                    GetStartColumn(), GetEndLine(), GetEndColumn(), GetText());
}

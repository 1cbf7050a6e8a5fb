// Where a file's font definition lines fall between its references.
#include "app/CRecordingParser.h"

#include "model/CFontReferenceList.h"

SSRefPtr<SSYaccStackElement> CRecordingParser::Reduce(int32_t production, int32_t length) {
  const int32_t references = model_.Count();
  const size_t text = model_.GetFontDefinitionsText().size();
  SSRefPtr<SSYaccStackElement> element = CLoadingParser::Reduce(production, length);
  const size_t grown = model_.GetFontDefinitionsText().size();
  if (grown != text) {
    // A definition element adds its line, then its own reference.
    if (model_.Count() - references > 1) orderUnknown_ = true;
    definitions_.push_back({references, grown});
  }
  return element;
}

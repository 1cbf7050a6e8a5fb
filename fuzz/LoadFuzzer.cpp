// Fuzz target: the loading driver (pre-check, parse, keep or take back) over
// one file of arbitrary bytes, loaded as a translated file and then as a
// font file into one model, in the code page the input picks (FuzzCodePage).
#include <cstdint>
#include <string>

#include "app/CMemoryLoadLog.h"
#include "app/LoadFileSet.h"
#include "fuzz/FuzzCodePage.h"
#include "fuzz/FuzzScratchFile.h"
#include "model/CFontReferenceList.h"
#include "platform/CodePage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string& path = WriteScratchFile("fuzz.doc", data, size);
  SetProcessCodePage(FuzzCodePage(data, size));
  CFontReferenceList model;
  CMemoryLoadLog log;
  int32_t errors = 0, valid = 0;
  // Twice: the second load meets the first one's references and rolls back
  // onto a model that is not empty.
  LoadFileSet(log, errors, model, path + ";" + path + ";", valid, LoadMode::TranslatedFiles, ".");
  LoadFileSet(log, errors, model, path + ";", valid, LoadMode::FontFiles, ".");
  return 0;
}

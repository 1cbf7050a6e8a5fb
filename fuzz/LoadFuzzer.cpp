// Fuzz target: the loading driver (pre-check, parse, keep or take back) over
// one file of arbitrary bytes, loaded twice into one model, in both code
// pages.
#include <cstdint>
#include <string>

#include "app/CMemoryLoadLog.h"
#include "app/LoadFileSet.h"
#include "fuzz/FuzzScratchFile.h"
#include "model/CFontReferenceList.h"
#include "platform/CodePage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = WriteScratchFile("fuzz.doc", data, size);
  for (int32_t codePage : {1252, 932}) {
    SetProcessCodePage(codePage);
    CFontReferenceList model;
    CMemoryLoadLog log;
    int32_t errors = 0, valid = 0;
    // Twice: the second load meets the first one's references and rolls back
    // onto a model that is not empty.
    LoadFileSet(log, errors, model, path + ";" + path + ";", valid, LoadMode::TranslatedFiles, ".");
    LoadFileSet(log, errors, model, path + ";", valid, LoadMode::FontFiles, ".");
  }
  return 0;
}

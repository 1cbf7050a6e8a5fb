// Families and sizes out of font map files.
#include "app/LoadFontMapSet.h"

#include <string>

#include "app/AppendLogLine.h"
#include "app/CLoadLog.h"
#include "app/NextField.h"
#include "app/Precheck.h"
#include "app/StopFlag.h"
#include "model/CFontReferenceList.h"
#include "platform/MessagePump.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"
#include "platform/TextFile.h"

namespace {

// Takes the next line (without its line feed) from \p text at \p at.
bool NextLine(const std::string& text, size_t& at, std::string& line) {
  if (at >= text.size()) return false;
  size_t end = text.find('\n', at);
  if (end == std::string::npos) end = text.size();
  line.assign(text, at, end - at);
  at = end + 1;
  return true;
}

// Adds the family and size of one map line (type;marker;family;size;...)
// to the model; false when the line lacks either.
bool ReadMapLine(std::string rest, CFontReferenceList& model, const std::string& chartFont,
                 const std::string& textStringFont) {
  std::string type, marker, family, size;
  if (!NextField(";", type, rest) || !NextField(";", marker, rest)) return false;
  if (!NextField(";", family, rest) || family.empty()) return false;
  if (type == chartFont || type == textStringFont) {
    model.NamedFamilies().AddAtHead(family);
  } else {
    model.DefinedFamilies().AddAtHead(family);
  }
  if (!NextField(";", size, rest) || size.empty()) return false;
  model.FontSizes().AddAtHead(size);
  return true;
}

// Reads the map file at \p path; false when it is not a valid one.
bool ReadMapFile(const std::string& path, CFontReferenceList& model) {
  std::string text;
  if (ReadTextFile(path, text).error != 0) return false;
  size_t at = 0;
  std::string line;
  if (!NextLine(text, at, line) || line.find(LoadResString(IdsFontMapHeader)) == std::string::npos) {
    return false;
  }
  const std::string chartFont = LoadResString(IdsCategoryChartFont);
  const std::string textStringFont = LoadResString(IdsCategoryTextStringFont);
  while (NextLine(text, at, line)) {
    if (!ReadMapLine(std::move(line), model, chartFont, textStringFont)) return false;
  }
  return true;
}

}  // namespace

bool LoadFontMapSet(CLoadLog& log, int32_t& errorCount, CFontReferenceList& model, std::string_view selection,
                    int32_t& valid) {
  std::string rest(selection);
  std::string path;
  while (NextField(";", path, rest)) {
    PumpOneMessage();
    log.AppendPlain("");
    AppendLogLine(log, LoadResString(IdsLogProcessing) + path);
    if (PrecheckMapFile(log, path) == PrecheckPassed) {
      model.SetCurrentFileName(path);
      bool good = ReadMapFile(path, model);
      if (GetStopFlag() == 1) return false;
      if (good) {
        ++valid;
        AppendLogLine(log, LoadResString(IdsLogDone));
      } else {
        // A file that could not be read as a map is an error, not "Done!".
        ++errorCount;
        AppendLogLine(log, LoadResString(IdsLogNotFontMapFile));
      }
      AppendLogLine(log, "");
    } else {
      ++errorCount;  // a file that drops out of the set is an error of the set
    }
    AppendLogLine(log, "");
  }
  return true;
}

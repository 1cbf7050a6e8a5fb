// Choosing the code page of a loading job.
#include "app/JobCodePage.h"

#include <algorithm>
#include <fstream>

#include "app/AppendLogLine.h"
#include "app/CLoadLog.h"
#include "app/NextField.h"
#include "platform/CodePage.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"

namespace {

// The header ends at its first ">"; it is short, and a file that is not
// Interleaf ASCII is not read far.
constexpr std::streamsize kHeaderBytes = 1024;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The value after "Character Encoding =" in \p header, empty for none.
std::string_view EncodingOf(std::string_view header) {
  constexpr std::string_view kKey = "Character Encoding";
  size_t at = header.find(kKey);
  if (at == std::string_view::npos) return {};
  size_t i = at + kKey.size();
  while (i < header.size() && IsBlank(header[i])) ++i;
  if (i == header.size() || header[i] != '=') return {};
  ++i;
  while (i < header.size() && IsBlank(header[i])) ++i;
  size_t end = i;
  while (end < header.size() && header[end] != '>' && !IsBlank(header[end]) && header[end] != '\n' &&
         header[end] != '\r')
    ++end;
  return header.substr(i, end - i);
}

int32_t LogLineId(CodePageOrigin origin) {
  switch (origin) {
    case CodePageOrigin::Option:
      return IdsLogCodePageOption;
    case CodePageOrigin::Environment:
      return IdsLogCodePageEnvironment;
    case CodePageOrigin::Document:
      return IdsLogCodePageDocument;
    case CodePageOrigin::Default:
      break;
  }
  return IdsLogCodePageDefault;
}

}  // namespace

int32_t DeclaredCodePage(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string header(static_cast<size_t>(kHeaderBytes), '\0');
  in.read(header.data(), kHeaderBytes);
  header.resize(static_cast<size_t>(in.gcount()));
  if (header.rfind("<!OPS,", 0) != 0) return 0;
  header.resize(std::min(header.size(), header.find('>')));
  return EncodingOf(header) == "SJIS" ? 932 : 0;
}

void ChooseJobCodePage(CLoadLog& log, std::string_view translatedFiles) {
  CodePageOrigin origin = ProcessCodePageOrigin();
  if (origin != CodePageOrigin::Option && origin != CodePageOrigin::Environment) {
    // Chosen afresh for every job: an earlier job's documents decide nothing.
    std::string rest(translatedFiles);
    std::string first;
    int32_t declared = NextField(";", first, rest) ? DeclaredCodePage(first) : 0;
    if (declared != 0) {
      SetProcessCodePage(declared, CodePageOrigin::Document);
    } else {
      SetProcessCodePage(kDefaultCodePage, CodePageOrigin::Default);
    }
  }
  std::string line = LoadResString(LogLineId(ProcessCodePageOrigin()));
  if (size_t at = line.find("%d"); at != std::string::npos) line.replace(at, 2, std::to_string(ProcessCodePage()));
  AppendLogLine(log, line);
}

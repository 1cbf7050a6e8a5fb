// Helpers for the loading tests.
#include "tests/app/LoadTestSupport.h"

#include "app/StopFlag.h"
#include "model/CFontReferenceList.h"
#include "tests/support/TestSupport.h"

namespace loadtest {

namespace {

std::string Position(const CTextPiece& p) {
  return std::to_string(p.GetFileNumber()) + "@" + std::to_string(p.GetStartLine()) + ":" +
         std::to_string(p.GetStartColumn()) + "-" + std::to_string(p.GetEndLine()) + ":" +
         std::to_string(p.GetEndColumn());
}

}  // namespace

std::string Dump(const CFontReferenceList& m) {
  std::string out;
  for (int32_t i = 0; i < m.Count(); ++i) {
    const CFontReference& r = *m.GetAt(i);
    out += r.GetCategory() + "|" + r.GetComponent() + "|" + std::to_string(r.GetKind()) + "|" + r.GetFontKey() + "|" +
           r.GetFamily() + "|" + r.GetSize() + "|" + r.GetBold() + "|" + r.GetItalic() + "|" + r.GetPiece().GetText() +
           "|" + Position(r.GetPiece()) + "\n";
  }
  for (const CTextPiece& piece : m.GetFontDefinitionsPieces()) out += Position(piece) + "\n";
  for (const CUniqueTextList* list : {&m.DefinedFamilies(), &m.NamedFamilies(), &m.FontSizes()}) {
    for (const std::string& text : *list) out += text + ";";
    out += "\n";
  }
  return out + m.GetFontDefinitionsText() + "|" + m.GetHighestFontNumber() + "|" + m.GetCurrentFileName() + "|" +
         m.GetCurrentComponent() + "|" + std::to_string(m.GetCurrentKind()) + "|" + std::to_string(m.GetIsShiftJis());
}

Lines Texts(const CMemoryLoadLog& log) {
  Lines out;
  for (const auto& line : log.Lines()) out.push_back(line.text);
  return out;
}

std::string DataFile(const std::string& name) { return testsupport::SourcePath("tests/app/data/" + name).string(); }

Stage::Stage(std::optional<uint64_t> megabytes, MessagePumpHook pump)
    : previousQuery_(SetFreeDiskSpaceQuery([megabytes](const std::string&) -> std::optional<uint64_t> {
        if (!megabytes) return std::nullopt;
        return *megabytes * 1048576;
      })),
      previousPump_(SetMessagePump(std::move(pump))) {
  SetStopFlag(0);
}

Stage::~Stage() {
  SetFreeDiskSpaceQuery(previousQuery_);
  SetMessagePump(previousPump_);
  SetStopFlag(0);
}

}  // namespace loadtest

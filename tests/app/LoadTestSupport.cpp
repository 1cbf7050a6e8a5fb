// Helpers for the loading tests.
#include "tests/app/LoadTestSupport.h"

#include "app/SharedOperations.h"
#include "model/CFontReferenceList.h"
#include "tests/support/TestSupport.h"

namespace loadtest {

namespace {

void DumpList(std::string& out, const char* name, const CUniqueTextList& list) {
  out += name;
  for (const std::string& text : list) out += "|" + text;
  out += '\n';
}

std::string Position(const CTextPiece& p) {
  return std::to_string(p.GetFileNumber()) + "@" + std::to_string(p.GetStartLine()) + ":" +
         std::to_string(p.GetStartColumn()) + "-" + std::to_string(p.GetEndLine()) + ":" +
         std::to_string(p.GetEndColumn());
}

}  // namespace

std::string Dump(const CFontReferenceList& model) {
  std::string out;
  for (int32_t i = 0; i < model.Count(); ++i) {
    const CFontReference& r = *model.GetAt(i);
    out += "ref|" + r.GetCategory() + "|" + r.GetComponent() + "|" + std::to_string(r.GetKind()) +
           "|" + r.GetFontKey() + "|" + r.GetFamily() + "|" + r.GetSize() + "|" + r.GetBold() +
           "|" + r.GetItalic() + "|" + r.GetPiece().GetText() + "|" + Position(r.GetPiece()) + "\n";
  }
  for (const CTextPiece& piece : model.GetFontDefinitionsPieces()) {
    out += "definitions tag|" + piece.GetText() + "|" + Position(piece) + "\n";
  }
  out += "definitions|" + model.GetFontDefinitionsText() + "\n";
  out += "highest|" + model.GetHighestFontNumber() + "\n";
  DumpList(out, "defined", model.DefinedFamilies());
  DumpList(out, "named", model.NamedFamilies());
  DumpList(out, "sizes", model.FontSizes());
  out += "file|" + model.GetCurrentFileName() + "\n";
  out += "component|" + model.GetCurrentComponent() + "|" + std::to_string(model.GetCurrentKind()) +
         "\n";
  out += "shiftjis|" + std::to_string(model.GetIsShiftJis()) + "\n";
  return out;
}

std::vector<std::string> Texts(const CMemoryLoadLog& log, size_t first) {
  std::vector<std::string> out;
  for (size_t i = first; i < log.Lines().size(); ++i) out.push_back(log.Lines()[i].text);
  return out;
}

std::string DataFile(const std::string& name) {
  return testsupport::SourcePath("tests/app/data/" + name).string();
}

FreeSpace::FreeSpace(std::optional<uint64_t> megabytes)
    : previous_(SetFreeDiskSpaceQuery([megabytes]() -> std::optional<uint64_t> {
        if (!megabytes) return std::nullopt;
        return *megabytes * 1048576;
      })) {}

FreeSpace::~FreeSpace() { SetFreeDiskSpaceQuery(previous_); }

PumpHook::PumpHook(MessagePumpHook pump) : previous_(SetMessagePump(std::move(pump))) {
  SetStopFlag(0);
}

PumpHook::~PumpHook() {
  SetMessagePump(previous_);
  SetStopFlag(0);
}

}  // namespace loadtest

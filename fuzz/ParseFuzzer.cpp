// Fuzz target: the lexer and the parser with its real actions, loading the
// references of arbitrary bytes into a document model, in the code page the
// input picks (FuzzCodePage).
#include <cstdint>
#include <string>

#include "fuzz/FuzzCodePage.h"
#include "model/CFontReferenceList.h"
#include "platform/CodePage.h"
#include "platform/Resources.h"
#include "reader/CInterleafParser.h"
#include "reader/CParseHost.h"
#include "reader/SSException.h"
#include "reader/SSLex.h"

namespace {

class QuietHost : public CParseHost {
 public:
  void ReportParseError(int32_t) override {}
  void LogStopped() override {}
  bool StopRequested() override { return false; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  SetProcessCodePage(FuzzCodePage(data, size));
  CFontReferenceList model;
  model.SetCurrentFileName("fuzz.doc");
  QuietHost host;
  try {
    CInterleafParser parser(model, host);
    parser.LoadTable(CResourceModule::Embedded(), "TYPESWAP", "YaccTable");
    SSLex lex(CResourceModule::Embedded(), text, "fuzz.doc");
    parser.SetLex(lex);
    parser.Parse();
  } catch (const SSException&) {
    // The engine's own report of input it cannot read.
  }
  // Touch what was recorded: every piece must still be readable.
  size_t total = 0;
  for (int32_t i = 0; i < model.Count(); ++i) total += model.GetAt(i)->GetPiece().GetText().size();
  (void)total;
  return 0;
}

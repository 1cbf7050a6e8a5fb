// Fuzz target: the lexer over arbitrary bytes, in a single-byte or in the
// Japanese double-byte code page (FuzzCodePage).
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/FuzzCodePage.h"
#include "platform/CodePage.h"
#include "platform/Resources.h"
#include "reader/SSException.h"
#include "reader/SSLex.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  SetProcessCodePage(FuzzCodePage(data, size));
  try {
    SSLex lex(CResourceModule::Embedded(), text, "fuzz.doc");
    // Each call consumes input or returns one empty match at a place; any
    // more calls than this mean the lexer no longer moves forward.
    size_t calls = 0;
    for (;;) {
      SSRefPtr<SSToken> token = lex.NextToken();
      if (!token) break;
      if (token->View().size() > size) std::abort();
      if (++calls > 2 * size + 2) std::abort();
    }
  } catch (const SSException&) {
    // Invalid tokens are reported this way; that is the expected failure.
  }
  return 0;
}

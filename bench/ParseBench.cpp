// bench_parse: how fast SSLex and SSYacc together read documents, with a
// reduce operation that only makes elements (no parse actions).
#include <cstdio>
#include <filesystem>

#include "bench/BenchSupport.h"
#include "platform/CodePage.h"
#include "platform/HeapPages.h"
#include "platform/TextFile.h"
#include "reader/SSException.h"
#include "reader/SSLex.h"
#include "reader/SSYacc.h"

namespace {

// Lexes and parses \p lex to the end; returns the parse result, or 2 when
// an engine error ended it (recorded in \p error).
int32_t ParseAll(SSLex& lex, std::string& error) {
  try {
    SSYacc parser;
    parser.LoadTable(CResourceModule::Embedded(), "TYPESWAP", "YaccTable");
    parser.SetLex(lex);
    return parser.Parse();
  } catch (const SSException& e) {
    error = e.what();
    return 2;
  }
}

}  // namespace

int main(int argc, char** argv) {
  PrepareHeap();  // as the programs do
  for (const bench::BenchFile& f : bench::BenchFiles(argc, argv, "bench_parse")) {
    SetProcessCodePage(f.codePage);
    const std::string name = std::filesystem::path(f.path).filename().string();
    const uint64_t bytes = std::filesystem::file_size(f.path);
    std::string text;
    if (ReadTextFile(f.path, text).error != 0) {
      std::fprintf(stderr, "%s: cannot read\n", f.path.c_str());
      return 1;
    }
    try {
      int32_t result = 0;
      std::string error;
      bench::Timing fromFile = bench::Best(3, [&] {
        SSLex lex(CResourceModule::Embedded(), f.path);
        result = ParseAll(lex, error);
      });
      const std::string note = error.empty() ? "result " + std::to_string(result) : error;
      bench::Report("lex+parse file", name, bytes, fromFile, 0, note + ", code page " + std::to_string(f.codePage));
      // The lexer takes its input over; the copy it is given is made untimed.
      std::string input;
      bench::Timing inMemory = bench::Best(
          3, [&] { input = text; },
          [&] {
            SSLex lex(CResourceModule::Embedded(), std::move(input), name);
            ParseAll(lex, error);
          });
      bench::Report("lex+parse in memory", name, text.size(), inMemory, 0, note);
    } catch (const SSException& e) {
      std::fprintf(stderr, "%s: %s\n", f.path.c_str(), e.what());
      return 1;
    }
  }
  return 0;
}

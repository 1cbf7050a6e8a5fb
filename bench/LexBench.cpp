// bench_lex: how fast SSLex turns documents into tokens, from the file
// (reading included) and from text already in memory.
#include <cstdio>
#include <filesystem>

#include "bench/BenchSupport.h"
#include "platform/CodePage.h"
#include "platform/CpuLevel.h"
#include "platform/HeapPages.h"
#include "platform/TextFile.h"
#include "reader/SSException.h"
#include "reader/SSLex.h"

namespace {

// Lexes to the end; returns the number of tokens.
uint64_t LexAll(SSLex& lex) {
  uint64_t tokens = 0;
  SSLexToken token;
  while (lex.Next(token)) ++tokens;
  return tokens;
}

}  // namespace

int main(int argc, char** argv) {
  PrepareHeap();  // as the programs do
  for (const bench::BenchFile& f : bench::BenchFiles(argc, argv, "bench_lex")) {
    SetProcessCodePage(f.codePage);
    const std::string name = std::filesystem::path(f.path).filename().string();
    const uint64_t bytes = std::filesystem::file_size(f.path);
    std::string text;
    if (ReadTextFile(f.path, text).error != 0) {
      std::fprintf(stderr, "%s: cannot read\n", f.path.c_str());
      return 1;
    }
    try {
      uint64_t tokens = 0;
      bench::Timing fromFile = bench::Best(5, [&] {
        SSLex lex(CResourceModule::Embedded(), f.path);
        tokens = LexAll(lex);
      });
      const std::string note = std::to_string(tokens) + " tokens, code page " + std::to_string(f.codePage) + ", " +
                               CpuLevelName(ActiveCpuLevel()) + " loops";
      bench::Report("lex file", name, bytes, fromFile, 0, note);
      // The lexer takes its input over; the copy it is given is made untimed.
      std::string input;
      bench::Timing inMemory = bench::Best(
          5, [&] { input = text; },
          [&] {
            SSLex lex(CResourceModule::Embedded(), std::move(input), name);
            LexAll(lex);
          });
      bench::Report("lex in memory", name, text.size(), inMemory);
    } catch (const SSException& e) {
      std::fprintf(stderr, "%s: %s\n", f.path.c_str(), e.what());
      return 1;
    }
  }
  return 0;
}

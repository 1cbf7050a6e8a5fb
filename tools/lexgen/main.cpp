// lexgen: compiles the lexical rules (resources/interleaf.lex) into the
// LexTable binary that SSLex reads, and writes a readable report beside it.
//
// Usage: lexgen RULES.lex OUT.lextable OUT.report
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "platform/CSafeFileWriter.h"
#include "tools/lexgen/LexGenerator.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: lexgen RULES.lex OUT.lextable OUT.report\n");
    return 2;
  }
  const std::string rulesFile = argv[1];
  std::ifstream in(rulesFile, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "%s: cannot read\n", rulesFile.c_str());
    return 1;
  }
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  Diagnostics diagnostics(rulesFile);
  std::optional<LexGeneration> generated = GenerateLexTable(rulesFile, text, diagnostics);
  if (diagnostics.Report(stderr) || !generated) return 1;

  // Each file is written whole or not at all: a failed run leaves no half
  // table for the build to embed.
  const std::string_view table(reinterpret_cast<const char*>(generated->table.data()), generated->table.size());
  for (auto [path, bytes] : {std::pair{argv[2], table}, std::pair{argv[3], std::string_view(generated->report)}}) {
    if (CSafeFileWriter::WriteWhole(path, bytes) != 0) {
      std::fprintf(stderr, "%s: cannot write\n", path);
      return 1;
    }
  }
  return 0;
}

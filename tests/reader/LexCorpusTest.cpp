// Every document of the shared corpus lexes to its end or to an engine
// error, never a crash or a hang. Which files stop early is printed.
#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>

#include "reader/SSException.h"
#include "reader/SSLex.h"
#include "tests/support/TestSupport.h"

namespace fs = std::filesystem;

TEST(LexCorpus, EveryDocumentLexesOrStopsWithAnEngineError) {
  const std::vector<fs::path> documents = testsupport::CorpusDocuments();
  if (documents.empty()) GTEST_SKIP() << "no corpus on this machine";
  for (const fs::path& path : documents) {
    const uintmax_t size = fs::file_size(path);
    size_t tokens = 0;
    try {
      SSLex lex(CResourceModule::Embedded(), path.string());
      while (lex.NextToken()) {
        // Every token consumes input, or is an empty match that cannot repeat.
        ASSERT_LE(++tokens, 2 * size + 2) << path << " does not end";
      }
      std::cout << "[ corpus   ] " << path.filename().string() << ": " << tokens << " tokens\n";
    } catch (const SSException& ex) {
      std::cout << "[ corpus   ] " << path.filename().string() << ": " << tokens << " tokens, then " << ex.what()
                << "\n";
    }
  }
}

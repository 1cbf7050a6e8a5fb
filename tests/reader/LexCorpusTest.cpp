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
  fs::path corpus = testsupport::CorpusDir();
  if (corpus.empty()) GTEST_SKIP() << "no corpus on this machine";
  int files = 0;
  for (const fs::directory_entry& e : fs::directory_iterator(corpus)) {
    const std::string ext = e.path().extension().string();
    if (ext != ".doc" && ext != ".sty") continue;
    ++files;
    const uintmax_t size = fs::file_size(e.path());
    size_t tokens = 0;
    try {
      SSLex lex(CResourceModule::Embedded(), e.path().string());
      while (lex.NextToken()) {
        // Every token consumes input, or is an empty match that cannot repeat.
        ASSERT_LE(++tokens, 2 * size + 2) << e.path() << " does not end";
      }
      std::cout << "[ corpus   ] " << e.path().filename().string() << ": " << tokens << " tokens\n";
    } catch (const SSException& ex) {
      std::cout << "[ corpus   ] " << e.path().filename().string() << ": " << tokens << " tokens, then "
                << ex.what() << "\n";
    }
  }
  EXPECT_GT(files, 0);
}

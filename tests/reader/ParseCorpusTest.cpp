// Every document of the shared corpus parses to a result or to an engine
// error, never a crash or a hang. How each one ends is printed.
#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>

#include "reader/SSException.h"
#include "reader/SSLex.h"
#include "reader/SSYacc.h"
#include "tests/support/TestSupport.h"

namespace fs = std::filesystem;

namespace {

// Counts reductions so that a parse that stops making progress is caught.
class CCountingParser : public SSYacc {
 public:
  explicit CCountingParser(uintmax_t limit) : limit_(limit) {}
  SSRefPtr<SSYaccStackElement> Reduce(int32_t, int32_t) override {
    if (++reductions > limit_) throw SSException(0, "too many reductions");
    return NewElement();
  }
  uintmax_t reductions = 0;

 private:
  uintmax_t limit_;
};

}  // namespace

TEST(ParseCorpus, EveryDocumentParsesOrStopsWithAnEngineError) {
  const std::vector<fs::path> documents = testsupport::CorpusDocuments();
  if (documents.empty()) GTEST_SKIP() << "no corpus on this machine";
  for (const fs::path& path : documents) {
    // Each token is shifted once and the grammar has no chains of empty
    // reductions longer than a handful per token.
    CCountingParser parser(8 * fs::file_size(path) + 64);
    std::string outcome;
    try {
      SSLex lex(CResourceModule::Embedded(), path.string());
      parser.LoadTable(CResourceModule::Embedded(), "TYPESWAP", "YaccTable");
      parser.SetLex(lex);
      outcome = "result " + std::to_string(parser.Parse());
    } catch (const SSException& ex) {
      EXPECT_NE(0, ex.code()) << path << " does not end";
      outcome = ex.what();
    }
    std::cout << "[ corpus   ] " << path.filename().string() << ": " << parser.reductions << " reductions, " << outcome
              << "\n";
  }
}

// Helpers for the parser tests: token ids by grammar name, small grammars
// compiled on the spot, and a parser fed from a list of tokens.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "reader/SSYacc.h"
#include "tools/grammargen/Grammar.h"

namespace parsertest {

/// resources/interleaf.grammar as the generator reads it.
const grammargen::Grammar& InterleafGrammar();

/// The token id of \p name in \p grammar, or among the reader's tokens
/// (fails the test when unknown).
int32_t TokenId(const grammargen::Grammar& grammar, const std::string& name);

/// The generated table of the build (TS_YACCTABLE_FILE).
std::string YaccTableFile();

/// Runs every generator phase on \p text; fails the test on any diagnostic.
std::vector<unsigned char> CompileGrammar(const std::string& text);

/// A parser whose tokens come from a list and whose reductions are
/// recorded; OnReduce runs inside each reduction.
class FedParser : public SSYacc {
 public:
  /// Loads \p table and queues tokens named in \p names (space separated,
  /// looked up in \p grammar); each token's text is its name.
  FedParser(const std::vector<unsigned char>& table, const grammargen::Grammar& grammar, const std::string& names);
  /// The same with the build's table and the Interleaf grammar.
  explicit FedParser(const std::string& names);

  void Queue(SSRefPtr<SSToken> token) { tokens_.push_back(std::move(token)); }

  std::vector<int32_t> reductions;
  std::function<void(FedParser&, int32_t production)> onReduce;

  SSRefPtr<SSToken> NextToken() override;
  SSRefPtr<SSYaccStackElement> Reduce(int32_t production, int32_t length) override;

 private:
  void QueueNames(const grammargen::Grammar& grammar, const std::string& names);

  std::vector<SSRefPtr<SSToken>> tokens_;
  size_t next_ = 0;
};

/// Loads \p table into \p parser through a made-up resource module.
void LoadTableImage(SSYacc& parser, const std::vector<unsigned char>& table);

}  // namespace parsertest

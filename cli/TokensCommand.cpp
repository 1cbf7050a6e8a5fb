// typeswap-cli tokens: the lexer's trace made public, one line per token:
// line, column, token name and escaped text, separated by tabs.
#include <cstdio>
#include <string>

#include "cli/CliArgs.h"
#include "cli/Commands.h"
#include "reader/InterleafTokens.h"
#include "reader/SSException.h"
#include "reader/SSLex.h"

namespace {

// Lines are gathered and written in large pieces: documents run to many
// thousands of tokens.
class LineWriter {
 public:
  ~LineWriter() { Flush(); }
  std::string& Line() { return out_; }
  void EndLine() {
    out_ += '\n';
    if (out_.size() >= 1 << 16) Flush();
  }
  void Flush() {
    std::fwrite(out_.data(), 1, out_.size(), stdout);
    out_.clear();
  }

 private:
  std::string out_;
};

}  // namespace

int RunTokensCommand(std::span<char* const> args) {
  CCliArgs cli(args, {});
  if (!cli.ok()) return CliUsageError("tokens", cli.error());
  if (cli.Positional().size() != 1) return CliUsageError("tokens", "exactly one FILE is needed");

  LineWriter writer;
  try {
    SSLex lex(CResourceModule::Embedded(), cli.Positional()[0]);
    lex.SetTokenNames(InterleafTokenNames());
    while (SSRefPtr<SSToken> token = lex.NextToken()) {
      std::string& line = writer.Line();
      line += std::to_string(token->Line());
      line += '\t';
      line += std::to_string(token->Column());
      line += '\t';
      line += lex.TokenName(token->Id());
      line += '\t';
      AppendEscaped(line, token->View());
      writer.EndLine();
    }
  } catch (const SSException& e) {
    writer.Line() += "ERROR\t";
    writer.Line() += e.what();
    writer.EndLine();
    return kCliFailed;
  }
  return kCliOk;
}

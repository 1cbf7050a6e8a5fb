// typeswap-cli reductions: the parser's reduce trace made public. Prints the
// number of every production reduced, one per line, then "RESULT\t0|1", or
// "ERROR\t<message>" as the last line when an engine error ends the parse.
// --trace also writes every parser step to stderr.
#include <cstdio>
#include <string>

#include "cli/CliArgs.h"
#include "cli/Commands.h"
#include "reader/InterleafTokens.h"
#include "reader/SSException.h"
#include "reader/SSLex.h"
#include "reader/SSYacc.h"

namespace {

// A parser without parse actions that writes each production number.
class CReductionTrace : public SSYacc {
 public:
  ~CReductionTrace() override { Flush(); }

  SSRefPtr<SSYaccStackElement> Reduce(int32_t production, int32_t) override {
    out_ += std::to_string(production);
    out_ += '\n';
    if (out_.size() >= 1 << 16) Flush();
    return NewElement();
  }
  void WriteLine(const std::string& line) {
    out_ += line;
    out_ += '\n';
    Flush();
  }

 private:
  void Flush() {
    std::fwrite(out_.data(), 1, out_.size(), stdout);
    out_.clear();
  }

  std::string out_;
};

}  // namespace

int RunReductionsCommand(std::span<char* const> args) {
  CCliArgs cli(args, {}, {"trace"});
  if (!cli.ok()) return CliUsageError("reductions", cli.error());
  if (cli.Positional().size() != 1) return CliUsageError("reductions", "exactly one FILE is needed");

  CReductionTrace parser;
  try {
    SSLex lex(CResourceModule::Embedded(), cli.Positional()[0]);
    lex.SetTokenNames(InterleafTokenNames());
    parser.LoadTable(CResourceModule::Embedded(), "TYPESWAP", "YaccTable");
    parser.SetLex(lex);
    if (cli.Has("trace")) parser.SetTrace(stderr);
    int32_t result = parser.Parse();
    parser.WriteLine("RESULT\t" + std::to_string(result));
  } catch (const SSException& e) {
    parser.WriteLine(std::string("ERROR\t") + e.what());
    return kCliFailed;
  }
  return kCliOk;
}

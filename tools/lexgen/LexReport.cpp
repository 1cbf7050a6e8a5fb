// The readable report of lexgen.
#include "tools/lexgen/LexReport.h"

#include <sstream>

#include "tools/lexgen/LexTableWriter.h"

namespace {

std::string Describe(const LexAction& a) {
  std::string out = a.skip ? "skip" : a.tokenName;
  switch (a.stack) {
    case StackAction::None:
      break;
    case StackAction::Push:
      out += " push " + a.modeTitle;
      break;
    case StackAction::Pop:
      out += " pop";
      break;
    case StackAction::Switch:
      out += " switch " + a.modeTitle;
      break;
  }
  return out;
}

std::string Describe(const AcceptItem& item) {
  return "line " + std::to_string(item.line) + " (" + Describe(item.action) + ")";
}

std::string DescribeRange(uint32_t low, uint32_t high) {
  if (low == high) return DescribeCode(low);
  return DescribeCode(low) + "-" + DescribeCode(high);
}

}  // namespace

std::string LexReport(const std::string& rulesFile, const LexRules& rules, const std::vector<Dfa>& automata,
                      const CharClasses& classes, size_t tableBytes) {
  std::ostringstream out;
  size_t stateCount = 0;
  for (const Dfa& d : automata) stateCount += d.States().size();
  out << "Lexer table generated from " << rulesFile << "\n"
      << rules.modes.size() << " modes, " << stateCount << " states, " << classes.Atoms().size()
      << " character ranges, " << tableBytes << " bytes\n";

  for (size_t m = 0; m < rules.modes.size(); ++m) {
    const LexMode& mode = rules.modes[m];
    const Dfa& dfa = automata[m];
    out << "\n== mode " << mode.number << " " << mode.title << ": " << dfa.States().size() << " states";
    if (mode.emptyToken) out << ", empty match " << mode.emptyTokenName;
    out << "\n";
    for (size_t i = 0; i < dfa.Accepts().size(); ++i) {
      const AcceptItem& a = dfa.Accepts()[i];
      out << "  accept " << i << ": " << Describe(a) << " " << a.origin << "\n";
    }
    for (size_t s = 0; s < dfa.States().size(); ++s) {
      const Dfa::State& st = dfa.States()[s];
      if (st.beaten.empty()) continue;
      out << "  tie in state " << s << ": " << Describe(dfa.Accepts()[st.accept]) << " wins over";
      for (int b : st.beaten) out << " " << Describe(dfa.Accepts()[b]);
      out << "\n";
    }
    for (size_t s = 0; s < dfa.States().size(); ++s) {
      const Dfa::State& st = dfa.States()[s];
      out << "  state " << s;
      if (st.accept >= 0) {
        out << " accepts " << Describe(dfa.Accepts()[st.accept].action);
      } else if (s == 0 && mode.emptyToken) {
        out << " accepts the empty match " << mode.emptyTokenName;
      }
      out << ":";
      for (const LexTableWriter::Triple& t : LexTableWriter::Row(st, classes)) {
        out << " " << DescribeRange(t.low, t.high) << "->" << t.next;
      }
      out << "\n";
    }
  }
  return out.str();
}

// The generator's report: what a person needs to check a state by hand.
#include "tools/grammargen/Report.h"

#include <iomanip>

#include "reader/YaccTableFormat.h"

namespace grammargen {
namespace {

void WriteItem(std::ostream& out, const Grammar& g, const Item& item) {
  const Production& p = g.productions[item.production];
  out << g.Name(p.left) << " :";
  for (size_t i = 0; i <= p.right.size(); ++i) {
    if (static_cast<int>(i) == item.dot) out << " .";
    if (i < p.right.size()) out << ' ' << g.Name(p.right[i]);
  }
}

std::string FlagText(uint32_t flags) {
  std::string s;
  if (flags & YaccTableFormat::kRecoveryPoint) s += " recovery-point";
  if (flags & YaccTableFormat::kHasErrorEntry) s += " error-entry";
  if (flags & YaccTableFormat::kAllSync) s += " all-sync";
  if (flags & YaccTableFormat::kHeaderOnly) s += " header-only";
  return s;
}

}  // namespace

void WriteReport(std::ostream& out, const Grammar& g, const Lr0Automaton& lr0, const Lookaheads& la,
                 const std::vector<StateActions>& rows) {
  out << "Productions\n\n";
  for (size_t p = 0; p < g.productions.size(); ++p) {
    out << std::setw(5) << p << "  ";
    WriteItem(out, g, Item{static_cast<int>(p), -1});
    out << '\n';
  }
  size_t actions = 0, gotos = 0, syncs = 0;
  for (size_t s = 0; s < lr0.states.size(); ++s) {
    const Lr0State& state = lr0.states[s];
    const StateActions& row = rows[s];
    out << "\nState " << s << FlagText(row.flags) << "\n\n";
    for (size_t i = 0; i < state.items.size(); ++i) {
      out << (i < state.kernelSize ? "    " : "  + ");
      WriteItem(out, g, state.items[i]);
      out << "   (" << state.items[i].production << ')';
      if (SymbolAfterDot(g, state.items[i]) < 0) {
        out << "  [";
        const char* sep = "";
        for (int t : la.perItem[s][i].Members()) {
          out << sep << g.Name(t);
          sep = " ";
        }
        out << ']';
      }
      out << '\n';
    }
    out << '\n';
    for (const Action& a : row.actions) {
      out << "    " << std::left << std::setw(36) << g.Name(a.token) << std::right;
      switch (a.kind) {
        case ActionKind::kShift:
          out << "shift " << a.number;
          break;
        case ActionKind::kReduce:
          out << "reduce " << a.number;
          break;
        case ActionKind::kAccept:
          out << "accept";
          break;
      }
      out << (a.sync ? "  sync\n" : "\n");
      syncs += a.sync;
    }
    for (const auto& [symbol, target] : row.gotos)
      out << "    " << std::left << std::setw(36) << g.Name(symbol) << std::right << "goto " << target << '\n';
    if (row.errorTarget >= 0)
      out << "    " << std::left << std::setw(36) << "%error" << std::right << "goto " << row.errorTarget << '\n';
    actions += row.actions.size();
    gotos += row.gotos.size();
  }
  size_t terminals = 0;
  for (const Symbol& s : g.symbols) terminals += s.terminal;
  out << "\nCounts\n\n"
      << "    terminals      " << terminals << '\n'
      << "    nonterminals   " << g.symbols.size() - terminals << '\n'
      << "    productions    " << g.productions.size() << '\n'
      << "    states         " << lr0.states.size() << '\n'
      << "    actions        " << actions << " (" << syncs << " sync)\n"
      << "    gotos          " << gotos << '\n';
}

}  // namespace grammargen

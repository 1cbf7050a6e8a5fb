// Nullable symbols and FIRST sets, by iteration to a fixed point.
#include "tools/grammargen/FirstSets.h"

namespace grammargen {

bool TerminalSet::Merge(const TerminalSet& other) {
  bool changed = false;
  for (size_t i = 0; i < words_.size(); ++i) {
    uint64_t merged = words_[i] | other.words_[i];
    changed |= merged != words_[i];
    words_[i] = merged;
  }
  return changed;
}

bool TerminalSet::Empty() const {
  for (uint64_t w : words_)
    if (w) return false;
  return true;
}

std::vector<int> TerminalSet::Members() const {
  std::vector<int> out;
  for (size_t i = 0; i < words_.size(); ++i)
    for (int b = 0; b < 64; ++b)
      if ((words_[i] >> b) & 1) out.push_back(static_cast<int>(i * 64 + b));
  return out;
}

bool FirstSets::FirstOfSequence(const int* begin, const int* end, TerminalSet& out) const {
  for (const int* s = begin; s != end; ++s) {
    out.Merge(first[*s]);
    if (!nullable[*s]) return false;
  }
  return true;
}

FirstSets ComputeFirstSets(const Grammar& g) {
  FirstSets f;
  int n = g.SymbolCount();
  f.nullable.assign(n, false);
  f.first.assign(n, TerminalSet(n));
  for (int s = 0; s < n; ++s)
    if (g.IsTerminal(s)) f.first[s].Add(s);
  for (bool changed = true; changed;) {
    changed = false;
    for (const Production& p : g.productions) {
      TerminalSet add(n);
      bool allNullable = f.FirstOfSequence(p.right.data(), p.right.data() + p.right.size(), add);
      changed |= f.first[p.left].Merge(add);
      if (allNullable && !f.nullable[p.left]) f.nullable[p.left] = changed = true;
    }
  }
  return f;
}

}  // namespace grammargen

// Phase 2 of lexgen: splitting the character codes into atoms.
#include "tools/lexgen/CharClasses.h"

#include <algorithm>
#include <set>

#include "reader/LexTableFormat.h"

namespace {

void CollectBounds(const Pattern& p, std::set<uint32_t>& starts) {
  if (p.kind == Pattern::Kind::Set) {
    for (const CodeRange& r : p.set.Ranges()) {
      starts.insert(r.low);
      starts.insert(r.high + 1);
    }
  }
  for (const PatternPtr& part : p.parts) CollectBounds(*part, starts);
}

}  // namespace

CharClasses::CharClasses(const LexRules& rules) {
  // Every place where some class begins or ends starts a new atom.
  std::set<uint32_t> starts{0};
  for (const LexMode& mode : rules.modes) {
    for (const LexItem& item : mode.items) {
      if (const LexRule* r = std::get_if<LexRule>(&item)) {
        CollectBounds(*r->pattern, starts);
      } else {
        for (const AutomatonState& s : std::get<LexAutomaton>(item).states) {
          for (const AutomatonState::Edge& e : s.edges) {
            for (const CodeRange& r : e.on.Ranges()) {
              starts.insert(r.low);
              starts.insert(r.high + 1);
            }
          }
        }
      }
    }
  }
  for (auto it = starts.begin(); it != starts.end(); ++it) {
    if (*it > LexTableFormat::kHighestCharCode) break;
    auto next = std::next(it);
    uint32_t high = next == starts.end() || *next > LexTableFormat::kHighestCharCode + 1
                        ? LexTableFormat::kHighestCharCode
                        : *next - 1;
    atoms_.push_back({*it, high});
  }
}

std::vector<uint32_t> CharClasses::AtomsOf(const CodeSet& set) const {
  std::vector<uint32_t> out;
  for (const CodeRange& r : set.Ranges()) {
    auto first = std::lower_bound(atoms_.begin(), atoms_.end(), r.low,
                                  [](const CodeRange& a, uint32_t code) { return a.low < code; });
    for (auto it = first; it != atoms_.end() && it->high <= r.high; ++it) {
      out.push_back(static_cast<uint32_t>(it - atoms_.begin()));
    }
  }
  return out;
}

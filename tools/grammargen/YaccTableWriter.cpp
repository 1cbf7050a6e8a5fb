// Lays out the YaccTable: header, row offsets, production table, rows.
#include "tools/grammargen/YaccTableWriter.h"

#include "reader/YaccTableFormat.h"

namespace grammargen {
namespace {

uint32_t ActionWord(const Action& a) {
  uint32_t word = 0;
  switch (a.kind) {
    case ActionKind::kShift:
      word = YaccTableFormat::kShift | static_cast<uint32_t>(a.number);
      break;
    case ActionKind::kReduce:
      word = YaccTableFormat::kReduce | static_cast<uint32_t>(a.number);
      break;
    case ActionKind::kAccept:
      word = YaccTableFormat::kAccept;
      break;
  }
  return a.sync ? word | YaccTableFormat::kSync : word;
}

}  // namespace

std::vector<unsigned char> WriteYaccTable(const Grammar& g, const std::vector<StateActions>& rows) {
  using namespace YaccTableFormat;
  const uint32_t productions = static_cast<uint32_t>(g.productions.size());
  const uint32_t states = static_cast<uint32_t>(rows.size());
  const uint32_t productionTable = (kHeaderWords + states) * 4;
  const uint32_t firstRow = productionTable + productions * kProductionWords * 4;

  std::vector<uint32_t> words;
  words.push_back(kMagic);
  words.push_back(productions);  // no lookahead automata
  words.push_back(states);
  words.push_back(firstRow);
  words.push_back(productionTable);
  words.resize(kHeaderWords + states);  // row offsets, filled in below
  for (const Production& p : g.productions) {
    words.push_back(static_cast<uint32_t>(p.right.size()));
    words.push_back(static_cast<uint32_t>(g.symbols[p.left].tableId));
  }
  for (uint32_t s = 0; s < states; ++s) {
    const StateActions& row = rows[s];
    words[kHeaderWords + s] = static_cast<uint32_t>(words.size() * 4);
    words.push_back(row.flags);
    words.push_back(static_cast<uint32_t>(row.gotos.size()));
    words.push_back(static_cast<uint32_t>(row.actions.size()));
    for (const Action& a : row.actions) {
      words.push_back(ActionWord(a));
      words.push_back(static_cast<uint32_t>(g.symbols[a.token].tableId));
    }
    for (const auto& [symbol, target] : row.gotos) {
      words.push_back(static_cast<uint32_t>(target));
      words.push_back(static_cast<uint32_t>(g.symbols[symbol].tableId));
    }
    if (row.errorTarget >= 0) {
      words.push_back(static_cast<uint32_t>(row.errorTarget));
      words.push_back(static_cast<uint32_t>(kErrorToken));
    }
  }

  std::vector<unsigned char> bytes;
  bytes.reserve(words.size() * 4);
  for (uint32_t w : words) {
    for (int b = 0; b < 4; ++b) bytes.push_back(static_cast<unsigned char>(w >> (8 * b)));
  }
  return bytes;
}

}  // namespace grammargen

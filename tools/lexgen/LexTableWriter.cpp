// Phase 5 of lexgen: writing the LexTable binary.
#include "tools/lexgen/LexTableWriter.h"

#include "reader/LexTableFormat.h"

namespace LTF = LexTableFormat;

namespace {

void Put(std::vector<unsigned char>& out, size_t at, uint32_t value) { LTF::WriteU32(out.data() + at, value); }

uint32_t FlagsOf(const LexAction& a) {
  uint32_t flags = LTF::kFlagAccept;
  if (a.skip) flags |= LTF::kFlagSkip;
  switch (a.stack) {
    case StackAction::None:
      break;
    case StackAction::Push:
      flags |= LTF::kFlagPush;
      break;
    case StackAction::Pop:
      flags |= LTF::kFlagPop;
      break;
    case StackAction::Switch:
      flags |= LTF::kFlagPush | LTF::kFlagPop;
      break;
  }
  return flags;
}

}  // namespace

std::vector<LexTableWriter::Triple> LexTableWriter::Row(const Dfa::State& state, const CharClasses& classes) {
  std::vector<Triple> row;
  const std::vector<CodeRange>& atoms = classes.Atoms();
  for (size_t a = 0; a < atoms.size(); ++a) {
    int32_t next = state.next[a];
    if (next < 0) continue;
    if (!row.empty() && row.back().next == next && row.back().high + 1 == atoms[a].low) {
      row.back().high = atoms[a].high;
    } else {
      row.push_back({atoms[a].low, atoms[a].high, next});
    }
  }
  return row;
}

void LexTableWriter::AppendList(std::vector<unsigned char>& out, const LexMode& mode, const Dfa& dfa) const {
  const std::vector<Dfa::State>& states = dfa.States();
  // One state more than the automaton: the target of the end-of-input triple.
  const uint32_t stateCount = static_cast<uint32_t>(states.size() + 1);
  const uint32_t endState = stateCount - 1;

  std::vector<std::vector<Triple>> rows;
  for (const Dfa::State& s : states) rows.push_back(Row(s, classes_));
  rows[0].push_back({LTF::kEndOfInputCode, LTF::kEndOfInputCode, static_cast<int32_t>(endState)});
  rows.emplace_back();

  const size_t block = out.size();
  const size_t stateTable = LTF::kListHeaderSize;
  const size_t rowTable = stateTable + stateCount * LTF::kStateEntrySize;
  size_t size = rowTable + stateCount * 4;
  for (const auto& row : rows) size += 4 + row.size() * LTF::kTripleSize;
  out.resize(block + size, 0);

  Put(out, block + LTF::kListMagic, LTF::kMagic);
  Put(out, block + LTF::kListSize, static_cast<uint32_t>(size));
  Put(out, block + LTF::kListStateCount, stateCount);
  Put(out, block + LTF::kListSizeAgain, static_cast<uint32_t>(size));
  Put(out, block + LTF::kListRowTable, static_cast<uint32_t>(rowTable));
  Put(out, block + LTF::kListStateTable, static_cast<uint32_t>(stateTable));

  for (uint32_t i = 0; i < stateCount; ++i) {
    size_t entry = block + stateTable + i * LTF::kStateEntrySize;
    int32_t token = 0;
    uint32_t flags = 0, target = 0;
    if (i == endState) {
      token = LTF::kEndOfInputToken;
      flags = LTF::kFlagAccept;
    } else if (states[i].accept >= 0) {
      const LexAction& a = dfa.Accepts()[states[i].accept].action;
      token = a.token;
      flags = FlagsOf(a);
      target = static_cast<uint32_t>(a.mode);
    } else if (i == 0 && mode.emptyToken) {
      token = *mode.emptyToken;
      flags = LTF::kFlagAccept;
    }
    Put(out, entry + LTF::kStateToken, static_cast<uint32_t>(token));
    Put(out, entry + LTF::kStateMode, target);
    Put(out, entry + LTF::kStateFlags, flags);
  }

  size_t at = rowTable + stateCount * 4;
  for (uint32_t i = 0; i < stateCount; ++i) {
    Put(out, block + rowTable + i * 4, static_cast<uint32_t>(at));
    Put(out, block + at, static_cast<uint32_t>(rows[i].size()));
    at += 4;
    for (const Triple& t : rows[i]) {
      Put(out, block + at, t.low);
      Put(out, block + at + 4, t.high);
      Put(out, block + at + 8, static_cast<uint32_t>(t.next));
      at += LTF::kTripleSize;
    }
  }
}

std::vector<unsigned char> LexTableWriter::Bytes() const {
  std::vector<unsigned char> out(LTF::kHeaderSize, 0);
  Put(out, LTF::kHeaderListCount, static_cast<uint32_t>(rules_.modes.size()));
  Put(out, LTF::kHeaderMagic, LTF::kMagic);
  Put(out, LTF::kHeaderKeywordTables, 0);
  for (size_t m = 0; m < rules_.modes.size(); ++m) AppendList(out, rules_.modes[m], automata_[m]);
  return out;
}

// Reading and decoding the LexTable resource.
#include "reader/SSLexTable.h"

#include <algorithm>
#include <climits>

#include "reader/LexTableFormat.h"
#include "reader/SSException.h"
#include "reader/TableCache.h"

namespace LTF = LexTableFormat;

namespace {

[[noreturn]] void Invalid(const std::string& name) {
  throw SSException(SSCode::kLexInvalidTable, "SSLex0104e: Invalid table, %s", name.c_str());
}

// Reads the 32-bit number at \p at of \p bytes, which must hold it.
uint32_t At(std::span<const unsigned char> bytes, size_t at, const std::string& name) {
  if (at > bytes.size() || bytes.size() - at < 4) Invalid(name);
  return LTF::ReadU32(bytes.data() + at);
}

// The entry of a match's first step: without its run when that run is
// scanned sixteen bytes at a time (\p vector) and the match may leave it.
// Many such matches take one character or two (the digits of a diagram),
// and one more step costs less than setting up the scan for them.
int32_t FirstEntry(int32_t entry, int32_t vector) {
  using List = SSLexExpressionList;
  if (entry < 0 || !(entry & vector) || (entry & List::kFinal)) return entry;
  return entry & ~(List::kRunMask | List::kVector | List::kWideVector);
}

// Fills in run.exits from run.stays when few single-byte codes leave it.
void TakeExits(SSLexExpressionList::Run& run) {
  std::vector<uint8_t> exits;
  for (unsigned b = 0; b < 256; ++b)
    if (!run.stays[b]) exits.push_back(static_cast<uint8_t>(b));
  run.vector = !exits.empty() && exits.size() <= SSLexExpressionList::Run::kVectorExits;
  if (!run.vector) return;
  for (size_t i = 0; i < run.exits.size(); ++i) run.exits[i].fill(exits[i % exits.size()]);
}

// What the match loop must know of state \p s, and its run when it loops on
// some character, from its successors on every byte (\p successors) and on
// every double-byte code (\p wideAll, as in the list but a state for an
// entry). Returns whether the state has no successor on any character.
bool FindRun(SSLexExpressionList& list, uint32_t s, const std::array<int32_t, 256>& successors, int32_t wideAll) {
  SSLexExpressionList::StateInfo& info = list.states[s];
  const int32_t self = static_cast<int32_t>(s);
  bool loops = false, leaves = false, any = false;
  for (unsigned b = 0; b < 256; ++b) {  // without branches, so that it is vectorised
    const int32_t to = successors[b];
    loops |= to == self;
    leaves |= (to >= 0) & (to != self);
    any |= to >= 0;
  }
  const bool wideStays = wideAll == self;
  loops = loops || wideStays;
  leaves = leaves || (wideAll != -1 && wideAll != self);
  const bool deadEnd = !any && wideAll == -1;
  // A match that reaches an accepting state that only loops on itself
  // is complete at the end of that state's run.
  if (loops && list.runs.size() >= SSLexExpressionList::kMaxEntryRuns) return deadEnd;
  info.final = s != 0 && list.accepting[s] && !leaves;
  if (loops) {
    SSLexExpressionList::Run& run = list.runs.emplace_back();
    for (unsigned b = 0; b < 256; ++b) run.stays[b] = successors[b] == self;
    run.wideStays = wideStays;
    TakeExits(run);
    info.run = static_cast<int32_t>(list.runs.size() - 1);
  }
  return deadEnd;
}

// The run of one-character skips from state 0, whose successors are
// \p first (and \p wideFirst on double-byte codes), once every state's
// oneCharSkip is known.
void FindSkipRun(SSLexExpressionList& list, const std::array<int32_t, 256>& first, int32_t wideFirst) {
  const auto oneCharSkip = [&](int32_t state) { return state > 0 && list.states[state].oneCharSkip; };
  SSLexExpressionList::Run run;
  bool any = false;
  for (unsigned b = 0; b < 256; ++b) {
    run.stays[b] = oneCharSkip(first[b]);
    any = any || run.stays[b];
  }
  run.wideStays = oneCharSkip(wideFirst);
  if (!any && !run.wideStays) return;
  TakeExits(run);
  list.skipRun = static_cast<int32_t>(list.runs.size());
  list.runs.push_back(run);
}

// The rows of a list's states as triples: low code, high code, next state.
class TripleRows {
 public:
  TripleRows(std::span<const unsigned char> block, uint32_t rowTable, uint32_t stateCount, const std::string& name)
      : block_(block), rowTable_(rowTable), stateCount_(stateCount), name_(name) {}

  // The successors of state \p s on every byte (-1 for none): a code
  // matches the first triple that holds it. With \p wide, its ranges of
  // double-byte codes go there too.
  void Successors(uint32_t s, std::array<int32_t, 256>& successors,
                  std::vector<SSLexExpressionList::WideRange>* wide) const {
    successors.fill(-1);
    std::array<uint8_t, 256> byteSet{};
    const uint32_t row = At(block_, rowTable_ + size_t(s) * 4, name_);
    const uint32_t count = At(block_, row, name_);
    if ((block_.size() - row - 4) / LTF::kTripleSize < count) Invalid(name_);
    for (uint32_t t = 0; t < count; ++t) {
      size_t at = size_t(row) + 4 + size_t(t) * LTF::kTripleSize;
      uint32_t low = At(block_, at, name_), high = At(block_, at + 4, name_), next = At(block_, at + 8, name_);
      if (next >= stateCount_ || low > high) Invalid(name_);
      for (uint32_t b = low; b <= high && b < 256; ++b) {
        if (!byteSet[b]) {
          byteSet[b] = 1;
          successors[b] = static_cast<int32_t>(next);
        }
      }
      if (wide && high >= 256 && low <= LTF::kHighestCharCode) {
        wide->push_back({std::max<uint32_t>(low, 256), high, static_cast<int32_t>(next)});
      }
    }
  }

 private:
  std::span<const unsigned char> block_;
  uint32_t rowTable_, stateCount_;
  const std::string& name_;
};

// Bytes that lead to the same successor from every state share a class.
// The classes are refined state by state: the bytes of a class that part
// on a state's successors go to new classes.
class ByteClasses {
 public:
  void Refine(const std::array<int32_t, 256>& successors) {
    // Per class, the successor that keeps it; the others make new ones.
    std::array<int32_t, 256> kept;
    kept.fill(kUnset);
    splits_.clear();
    for (unsigned b = 0; b < 256; ++b) {
      const uint16_t c = class_[b];
      const int32_t to = successors[b];
      if (kept[c] == kUnset) kept[c] = to;
      if (kept[c] == to) continue;
      auto split =
          std::find_if(splits_.begin(), splits_.end(), [&](const Split& x) { return x.from == c && x.to == to; });
      if (split == splits_.end()) split = splits_.insert(splits_.end(), {c, to, count_++});
      class_[b] = split->into;
    }
  }
  // Numbers the classes in the order of their first bytes, into
  // \p byteClass; returns the first byte of each.
  std::vector<unsigned> Number(std::array<uint16_t, 256>& byteClass) const {
    std::array<int32_t, 256> number;
    number.fill(kUnset);
    std::vector<unsigned> firstBytes;
    for (unsigned b = 0; b < 256; ++b) {
      int32_t& n = number[class_[b]];
      if (n == kUnset) {
        n = static_cast<int32_t>(firstBytes.size());
        firstBytes.push_back(b);
      }
      byteClass[b] = static_cast<uint16_t>(n);
    }
    return firstBytes;
  }

 private:
  static constexpr int32_t kUnset = INT32_MIN;
  struct Split {
    uint16_t from;
    int32_t to;
    uint16_t into;
  };
  std::array<uint16_t, 256> class_{};  // all bytes start in class 0
  uint16_t count_ = 1;
  std::vector<Split> splits_;
};

SSLexExpressionList DecodeList(std::span<const unsigned char> block, uint32_t index, const std::string& name) {
  SSLexExpressionList list;
  list.index = index;
  const uint32_t stateCount = At(block, LTF::kListStateCount, name);
  const uint32_t rowTable = At(block, LTF::kListRowTable, name);
  const uint32_t stateTable = At(block, LTF::kListStateTable, name);
  if (stateCount == 0 || stateCount > block.size() / LTF::kStateEntrySize) Invalid(name);
  if (stateTable > block.size() || (block.size() - stateTable) / LTF::kStateEntrySize < stateCount) Invalid(name);
  if (rowTable > block.size() || (block.size() - rowTable) / 4 < stateCount) Invalid(name);

  list.states.resize(stateCount);
  list.accepting.resize(stateCount);
  for (uint32_t s = 0; s < stateCount; ++s) {
    size_t e = stateTable + size_t(s) * LTF::kStateEntrySize;
    SSLexExpressionList::StateInfo& info = list.states[s];
    info.token = static_cast<int32_t>(At(block, e + LTF::kStateToken, name));
    info.mode = static_cast<int32_t>(At(block, e + LTF::kStateMode, name));
    info.flags = At(block, e + LTF::kStateFlags, name);
    info.parseToken = static_cast<int32_t>(At(block, e + LTF::kStateParseToken, name));
    // Where every match starts, a token id alone makes the empty match.
    list.accepting[s] = s == 0 ? info.token != 0 : (info.flags & LTF::kFlagAccept) != 0;
  }

  // A state's successors are worked out from its triples when needed, a
  // row at a time, rather than kept for every state at once: that would
  // be a kilobyte a state, all of it fresh memory.
  const TripleRows rows(block, rowTable, stateCount, name);
  std::array<int32_t, 256> successors;
  ByteClasses classes;
  // States without double-byte ranges answer none to every code; a state
  // whose first range holds every double-byte code answers with it.
  std::vector<int32_t> wideAll(stateCount, SSLexExpressionList::kSearchWide);
  std::vector<uint8_t> deadEnd(stateCount);
  list.wideBegin.resize(stateCount + 1);
  for (uint32_t s = 0; s < stateCount; ++s) {
    const uint32_t first = list.wideBegin[s] = static_cast<uint32_t>(list.wide.size());
    rows.Successors(s, successors, &list.wide);
    const uint32_t end = static_cast<uint32_t>(list.wide.size());
    if (first == end) {
      wideAll[s] = -1;
    } else if (list.wide[first].low <= SSLexExpressionList::kFirstWideCode &&
               list.wide[first].high >= SSLexExpressionList::kLastWideCode) {
      wideAll[s] = list.wide[first].next;
    }
    classes.Refine(successors);
    deadEnd[s] = FindRun(list, s, successors, wideAll[s]);
  }
  list.wideBegin[stateCount] = static_cast<uint32_t>(list.wide.size());
  for (uint32_t s = 1; s < stateCount; ++s) {
    SSLexExpressionList::StateInfo& info = list.states[s];
    info.oneCharSkip = list.accepting[s] && (info.flags & LTF::kFlagSkip) &&
                       !(info.flags & (LTF::kFlagPop | LTF::kFlagPush)) && deadEnd[s];
  }
  rows.Successors(0, successors, nullptr);
  FindSkipRun(list, successors, wideAll[0]);

  const std::vector<unsigned> firstBytes = classes.Number(list.byteClass);
  // One column more than the classes: the lead column (see kLeadEntry).
  list.leadColumn = static_cast<uint16_t>(firstBytes.size());
  while ((1u << list.rowShift) <= list.leadColumn) ++list.rowShift;
  if ((uint64_t(stateCount) << (list.rowShift + SSLexExpressionList::kEntryBits)) > INT32_MAX) Invalid(name);

  list.next.assign(size_t(stateCount) << list.rowShift, -1);
  for (uint32_t s = 0; s < stateCount; ++s) {
    rows.Successors(s, successors, nullptr);
    for (uint32_t c = 0; c < firstBytes.size(); ++c)
      list.next[(size_t(s) << list.rowShift) + c] = list.Entry(successors[firstBytes[c]]);
    list.next[(size_t(s) << list.rowShift) + list.leadColumn] = SSLexExpressionList::kLeadEntry;
  }
  for (unsigned b = 0; b < 256; ++b) list.first[b] = FirstEntry(list.Next(0, b), SSLexExpressionList::kVector);
  list.wideAll.resize(stateCount);
  for (uint32_t s = 0; s < stateCount; ++s)
    list.wideAll[s] = wideAll[s] == SSLexExpressionList::kSearchWide ? wideAll[s] : list.Entry(wideAll[s]);
  list.emptyMatch = list.accepting[0] ? list.Entry(0) : -1;
  return list;
}

}  // namespace

SSLexTable::SSLexTable(std::span<const unsigned char> bytes, const std::string& name) {
  const uint32_t listCount = At(bytes, LTF::kHeaderListCount, name);
  const uint32_t magic = At(bytes, LTF::kHeaderMagic, name);
  if (bytes.size() < LTF::kHeaderSize || (magic != LTF::kMagic && magic != LTF::kOldTableMagic)) Invalid(name);
  if (listCount == 0 || listCount > bytes.size() / LTF::kListHeaderSize) Invalid(name);
  size_t offset = LTF::kHeaderSize;
  for (uint32_t i = 0; i < listCount; ++i) {
    const uint32_t listMagic = At(bytes, offset + LTF::kListMagic, name);
    const uint32_t size = At(bytes, offset + LTF::kListSize, name);
    if (listMagic != LTF::kMagic && listMagic != LTF::kOldListMagic) Invalid(name);
    if (size < LTF::kListHeaderSize || size > bytes.size() - offset) Invalid(name);
    lists_.push_back(DecodeList(bytes.subspan(offset, size), i, name));
    offset += size;
  }
  for (SSLexExpressionList& list : lists_) {
    for (SSLexExpressionList::StateInfo& info : list.states) {
      if (info.mode >= 0 && static_cast<uint32_t>(info.mode) < lists_.size()) info.pushList = &lists_[info.mode];
    }
  }
}

void SSLexTable::InvalidListIndex(int64_t index) {
  throw SSException(SSCode::kLexInvalidListIndex, "SSLex0106e: Invalid expression list index, %ld",
                    static_cast<long>(index));
}

std::shared_ptr<const SSLexTable> SSLexTable::Load(const CResourceModule& module, const std::string& name) {
  auto bytes = module.Find("LexTable", name);
  if (!bytes) throw SSException(SSCode::kLexResourceNotFound, "SSLex0108e: Resource not found, %s", name.c_str());
  return DecodedOnce<SSLexTable>(*bytes, name);
}

const SSLexTable::LeadTables* SSLexTable::ForLeadBytes(const LeadByteTable& lead) const {
  std::lock_guard lock(leadMutex_);
  for (const auto& [bytes, tables] : leadTables_) {
    if (bytes == lead) return tables->data();
  }
  auto tables = std::make_unique<std::vector<LeadTables>>(lists_.size());
  for (const SSLexExpressionList& list : lists_) {
    LeadTables& forList = (*tables)[list.index];
    for (unsigned b = 0; b < 256; ++b) {
      forList.byteClass[b] = lead[b] ? list.leadColumn : list.byteClass[b];
      forList.first[b] =
          lead[b] ? SSLexExpressionList::kLeadEntry : FirstEntry(list.Next(0, b), SSLexExpressionList::kWideVector);
    }
  }
  leadTables_.emplace_back(lead, std::move(tables));
  return leadTables_.back().second->data();
}

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

// Fills in run.exits from run.stays when few single-byte codes leave it.
void TakeExits(SSLexExpressionList::Run& run) {
  std::vector<uint8_t> exits;
  for (unsigned b = 0; b < 256; ++b)
    if (!run.stays[b]) exits.push_back(static_cast<uint8_t>(b));
  run.vector = !exits.empty() && exits.size() <= SSLexExpressionList::Run::kVectorExits;
  if (!run.vector) return;
  for (size_t i = 0; i < run.exits.size(); ++i) run.exits[i].fill(exits[i % exits.size()]);
}

// The runs, and what the match loop must know of each state, from the
// successors of every state on every byte (\p byByte) and on every
// double-byte code (\p wideAll, as in the list but with states for entries).
void FindRuns(SSLexExpressionList& list, const std::vector<int32_t>& byByte, const std::vector<int32_t>& wideAll) {
  const uint32_t stateCount = static_cast<uint32_t>(list.states.size());
  std::vector<uint8_t> deadEnd(stateCount);
  for (uint32_t s = 0; s < stateCount; ++s) {
    SSLexExpressionList::StateInfo& info = list.states[s];
    const int32_t self = static_cast<int32_t>(s);
    const int32_t* successors = &byByte[size_t(s) * 256];
    bool loops = false, leaves = false, any = false;
    for (unsigned b = 0; b < 256; ++b) {  // without branches, so that it is vectorised
      const int32_t to = successors[b];
      loops |= to == self;
      leaves |= (to >= 0) & (to != self);
      any |= to >= 0;
    }
    const bool wideStays = wideAll[s] == self;
    loops = loops || wideStays;
    leaves = leaves || (wideAll[s] != -1 && wideAll[s] != self);
    deadEnd[s] = !any && wideAll[s] == -1;
    // A match that reaches an accepting state that only loops on itself
    // is complete at the end of that state's run.
    if (loops && list.runs.size() >= SSLexExpressionList::kMaxEntryRuns) continue;
    info.final = s != 0 && list.accepting[s] && !leaves;
    if (loops) {
      SSLexExpressionList::Run& run = list.runs.emplace_back();
      for (unsigned b = 0; b < 256; ++b) run.stays[b] = successors[b] == self;
      run.wideStays = wideStays;
      TakeExits(run);
      info.run = static_cast<int32_t>(list.runs.size() - 1);
    }
  }

  for (uint32_t s = 1; s < stateCount; ++s) {
    SSLexExpressionList::StateInfo& info = list.states[s];
    info.oneCharSkip = list.accepting[s] && (info.flags & LTF::kFlagSkip) &&
                       !(info.flags & (LTF::kFlagPop | LTF::kFlagPush)) && deadEnd[s];
  }
  const auto oneCharSkip = [&](int32_t state) { return state > 0 && list.states[state].oneCharSkip; };
  SSLexExpressionList::Run run;
  bool any = false;
  for (unsigned b = 0; b < 256; ++b) {
    run.stays[b] = oneCharSkip(byByte[b]);
    any = any || run.stays[b];
  }
  run.wideStays = oneCharSkip(wideAll[0]);
  if (!any && !run.wideStays) return;
  TakeExits(run);
  list.skipRun = static_cast<int32_t>(list.runs.size());
  list.runs.push_back(run);
}

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

  // Single-byte successors, state by byte, before classes are known.
  std::vector<int32_t> byByte(size_t(stateCount) * 256, -1);
  std::vector<uint8_t> byteSet(256);
  list.wideBegin.resize(stateCount + 1);
  for (uint32_t s = 0; s < stateCount; ++s) {
    list.wideBegin[s] = static_cast<uint32_t>(list.wide.size());
    const uint32_t row = At(block, rowTable + size_t(s) * 4, name);
    const uint32_t count = At(block, row, name);
    if ((block.size() - row - 4) / LTF::kTripleSize < count) Invalid(name);
    std::fill(byteSet.begin(), byteSet.end(), 0);
    for (uint32_t t = 0; t < count; ++t) {
      size_t at = size_t(row) + 4 + size_t(t) * LTF::kTripleSize;
      uint32_t low = At(block, at, name), high = At(block, at + 4, name), next = At(block, at + 8, name);
      if (next >= stateCount || low > high) Invalid(name);
      // A code matches the first triple that holds it.
      for (uint32_t b = low; b <= high && b < 256; ++b) {
        if (!byteSet[b]) {
          byteSet[b] = 1;
          byByte[size_t(s) * 256 + b] = static_cast<int32_t>(next);
        }
      }
      if (high >= 256 && low <= LTF::kHighestCharCode) {
        list.wide.push_back({std::max<uint32_t>(low, 256), high, static_cast<int32_t>(next)});
      }
    }
  }
  list.wideBegin[stateCount] = static_cast<uint32_t>(list.wide.size());

  // Bytes that lead to the same successor from every state share a class,
  // numbered in the order of their first bytes. Each byte's column of
  // successors is hashed, and columns of equal hashes are compared whole.
  std::array<uint64_t, 256> hash{};
  for (uint32_t s = 0; s < stateCount; ++s) {
    const int32_t* successors = &byByte[size_t(s) * 256];
    for (unsigned b = 0; b < 256; ++b) hash[b] = hash[b] * 31 + static_cast<uint32_t>(successors[b]);
  }
  const auto sameColumn = [&](unsigned a, unsigned b) {
    for (uint32_t s = 0; s < stateCount; ++s)
      if (byByte[size_t(s) * 256 + a] != byByte[size_t(s) * 256 + b]) return false;
    return true;
  };
  std::vector<unsigned> firstBytes;  // of each class
  for (unsigned b = 0; b < 256; ++b) {
    size_t c = 0;
    while (c < firstBytes.size() && !(hash[firstBytes[c]] == hash[b] && sameColumn(firstBytes[c], b))) ++c;
    if (c == firstBytes.size()) firstBytes.push_back(b);
    list.byteClass[b] = static_cast<uint16_t>(c);
  }
  // One column more than the classes: the lead column (see kLeadEntry).
  list.leadColumn = static_cast<uint16_t>(firstBytes.size());
  while ((1u << list.rowShift) <= list.leadColumn) ++list.rowShift;
  if ((uint64_t(stateCount) << (list.rowShift + SSLexExpressionList::kEntryBits)) > INT32_MAX) Invalid(name);

  // States without double-byte ranges answer none to every code; a state
  // whose first range holds every double-byte code answers with it.
  std::vector<int32_t> wideAll(stateCount, SSLexExpressionList::kSearchWide);
  for (uint32_t s = 0; s < stateCount; ++s) {
    const uint32_t first = list.wideBegin[s], end = list.wideBegin[s + 1];
    if (first == end) {
      wideAll[s] = -1;
    } else if (list.wide[first].low <= SSLexExpressionList::kFirstWideCode &&
               list.wide[first].high >= SSLexExpressionList::kLastWideCode) {
      wideAll[s] = list.wide[first].next;
    }
  }
  FindRuns(list, byByte, wideAll);

  list.next.assign(size_t(stateCount) << list.rowShift, -1);
  for (uint32_t s = 0; s < stateCount; ++s) {
    for (uint32_t c = 0; c < firstBytes.size(); ++c)
      list.next[(size_t(s) << list.rowShift) + c] = list.Entry(byByte[size_t(s) * 256 + firstBytes[c]]);
    list.next[(size_t(s) << list.rowShift) + list.leadColumn] = SSLexExpressionList::kLeadEntry;
  }
  for (unsigned b = 0; b < 256; ++b) list.first[b] = list.Next(0, b);
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
    forList.byteClass = list.byteClass;
    forList.first = list.first;
    for (unsigned b = 0; b < 256; ++b) {
      if (!lead[b]) continue;
      forList.byteClass[b] = list.leadColumn;
      forList.first[b] = SSLexExpressionList::kLeadEntry;
    }
  }
  leadTables_.emplace_back(lead, std::move(tables));
  return leadTables_.back().second->data();
}

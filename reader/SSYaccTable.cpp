// Loading and checking the parser table.
#include "reader/SSYaccTable.h"

#include <algorithm>

#include "reader/SSException.h"

using namespace YaccTableFormat;

namespace {

[[noreturn]] void TooBig() { throw SSException(SSCode::kYaccTableTooBig, "SSYacc0112e: Table too big"); }

[[noreturn]] void BadTable(const std::string& name) {
  throw SSException(SSCode::kYaccReadTable, "SSYacc0111e: Error reading table, %s", name.c_str());
}

}  // namespace

SSYaccTable::SSYaccTable(std::span<const unsigned char> image, const std::string& name) {
  if (image.size() < kHeaderWords * 4 || image.size() % 4 != 0) BadTable(name);
  words_.resize(image.size() / 4);
  for (size_t i = 0; i < words_.size(); ++i) {
    const unsigned char* b = &image[4 * i];
    words_[i] = b[0] | b[1] << 8 | b[2] << 16 | static_cast<uint32_t>(b[3]) << 24;
  }
  if (words_[0] != kMagic && words_[0] != 0 && words_[0] != 1) BadTable(name);

  const uint64_t size = image.size();
  productionCount_ = words_[1] & 0xFFFF;
  const uint64_t states = words_[2];
  const uint64_t productionTable = words_[4];
  if (productionCount_ == 0 || states == 0) BadTable(name);
  if ((kHeaderWords + states) * 4 > size) TooBig();
  if (productionTable % 4 != 0 || productionTable + uint64_t{productionCount_} * kProductionWords * 4 > size) TooBig();
  productions_ = &words_[productionTable / 4];

  rows_.resize(states);
  for (uint64_t s = 0; s < states; ++s) {
    const uint64_t offset = words_[kHeaderWords + s];
    if (offset % 4 != 0 || offset + kRowHeaderWords * 4 > size) TooBig();
    const uint32_t* row = &words_[offset / 4];
    uint64_t entries = uint64_t{row[1]} + row[2] + ((row[0] & kHasErrorEntry) ? 1 : 0);
    if (offset + (kRowHeaderWords + entries * kEntryWords) * 4 > size) TooBig();
    rows_[s] = row;
  }
  Check(name);
  BuildQuickLookups();
  BuildSyncSets();
}

// Every state and production that an entry names must exist, so that the
// parser can follow them without checking again.
void SSYaccTable::Check(const std::string& name) const {
  const uint32_t states = StateCount();
  for (uint32_t s = 0; s < states; ++s) {
    for (const uint32_t *e = Actions(s).data(), *end = e + Actions(s).size(); e != end; e += kEntryWords) {
      uint32_t kind = e[0] & kKindMask, number = e[0] & kNumberMask;
      if ((kind == kShift && number >= states) || (kind == kReduce && number >= productionCount_)) BadTable(name);
    }
    const uint32_t* row = rows_[s];
    const uint32_t* gotos = Gotos(s).data();
    for (uint32_t g = 0; g < row[1]; ++g)
      if (gotos[g * kEntryWords] >= states) BadTable(name);
    if ((row[0] & kHasErrorEntry) && gotos[row[1] * kEntryWords] >= states) BadTable(name);
  }
}

uint32_t SSYaccTable::SearchAction(int32_t state, int32_t token) const noexcept {
  std::span<const uint32_t> actions = Actions(state);
  for (size_t i = 0; i < actions.size(); i += kEntryWords)
    if (actions[i + 1] == static_cast<uint32_t>(token)) return actions[i];
  return 0;
}

int32_t SSYaccTable::SearchGoto(int32_t state, int32_t symbol) const noexcept {
  std::span<const uint32_t> gotos = Gotos(state);
  for (size_t i = 0; i < gotos.size(); i += kEntryWords)
    if (gotos[i + 1] == static_cast<uint32_t>(symbol)) return static_cast<int32_t>(gotos[i]);
  return -1;
}

void SSYaccTable::BuildQuickLookups() {
  const uint32_t states = StateCount();
  for (uint32_t s = 0; s < states; ++s) {
    std::span<const uint32_t> actions = Actions(s);
    for (size_t i = 0; i < actions.size(); i += kEntryWords) {
      uint32_t column = actions[i + 1] - static_cast<uint32_t>(kFirstQuickToken);
      if (column < kMaxQuickColumns) quickTokens_ = std::max(quickTokens_, column + 1);
    }
    std::span<const uint32_t> gotos = Gotos(s);
    for (size_t i = 0; i < gotos.size(); i += kEntryWords) {
      uint32_t column = gotos[i + 1] - static_cast<uint32_t>(kNonterminalBase);
      if (column < kMaxQuickColumns) quickSymbols_ = std::max(quickSymbols_, column + 1);
    }
  }
  while ((1u << actionShift_) < quickTokens_) ++actionShift_;
  quickActions_.assign(static_cast<size_t>(states) << actionShift_, 0);
  quickGotos_.assign(static_cast<size_t>(states) * quickSymbols_, -1);
  for (uint32_t s = 0; s < states; ++s) {
    // Each row's entries go in from the last, so that the first of two
    // entries for one symbol wins, as in the searches.
    std::span<const uint32_t> actions = Actions(s);
    for (size_t i = actions.size(); i >= kEntryWords; i -= kEntryWords) {
      const uint32_t column = actions[i - kEntryWords + 1] - static_cast<uint32_t>(kFirstQuickToken);
      if (column < quickTokens_)
        quickActions_[(static_cast<size_t>(s) << actionShift_) + column] = Packed(actions[i - kEntryWords]);
    }
    std::span<const uint32_t> gotos = Gotos(s);
    for (size_t i = gotos.size(); i >= kEntryWords; i -= kEntryWords) {
      const uint32_t column = gotos[i - kEntryWords + 1] - static_cast<uint32_t>(kNonterminalBase);
      if (column < quickSymbols_)
        quickGotos_[static_cast<size_t>(column) * states + s] = static_cast<int32_t>(gotos[i - kEntryWords]);
    }
  }
  gotoColumns_.resize(productionCount_);
  for (uint32_t p = 0; p < productionCount_; ++p) {
    const uint32_t column = static_cast<uint32_t>(ProductionLeft(p) - kNonterminalBase);
    const bool quick = column < quickSymbols_ && static_cast<uint64_t>(column) * states <= UINT32_MAX - states;
    gotoColumns_[p] = quick ? column * states : kNoQuickColumn;
  }
}

uint32_t SSYaccTable::Packed(uint32_t action) const noexcept {
  if ((action & kKindMask) != kReduce) return action;
  const uint32_t production = action & kNumberMask;
  // The format's production count has sixteen bits, so every production
  // fits below kRightSideShift.
  const uint32_t length = std::min(ProductionLength(production), kLongRightSide);
  return (action & ~kNumberMask) | length << kRightSideShift | production;
}

void SSYaccTable::BuildSyncSets() {
  const uint32_t states = StateCount();
  syncSets_.assign(states, SSSetArray());
  for (uint32_t s = 0; s < states; ++s) {
    const int32_t state = static_cast<int32_t>(s);
    SSSetArray& sync = syncSets_[s];
    const uint32_t flags = Flags(state);
    if (flags & (kRecoveryPoint | kAllSync)) {
      std::span<const uint32_t> actions = Actions(state);
      for (size_t i = 0; i < actions.size(); i += kEntryWords)
        if ((flags & kAllSync) || (actions[i] & kSync)) sync.Add(static_cast<int32_t>(actions[i + 1]));
    }
    if (flags & kHasErrorEntry) {
      std::span<const uint32_t> actions = Actions(ErrorTarget(state));
      for (size_t i = 0; i < actions.size(); i += kEntryWords) sync.Add(static_cast<int32_t>(actions[i + 1]));
    }
  }
}

int32_t SSYaccTable::ErrorTarget(int32_t state) const noexcept {
  const uint32_t* row = rows_[state];
  if (!(row[0] & kHasErrorEntry)) return -1;
  return static_cast<int32_t>(row[kRowHeaderWords + (row[1] + row[2]) * kEntryWords]);
}

// The parser table in memory: a checked copy of a YaccTable image with the
// lookups the parser makes.
#pragma once

#include <climits>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "reader/SSSetArray.h"
#include "reader/YaccTableFormat.h"

/// A YaccTable (layout in reader/YaccTableFormat.h), copied and checked
/// once so that the parser can follow its numbers without further tests.
class SSYaccTable {
 public:
  /// Copies \p image. A wrong magic number or an entry that names a state
  /// or production the table does not have gives "SSYacc0111e: Error
  /// reading table, <name>"; counts or offsets beyond the image give
  /// "SSYacc0112e: Table too big".
  SSYaccTable(std::span<const unsigned char> image, const std::string& name);

  uint32_t ProductionCount() const noexcept { return productionCount_; }
  uint32_t StateCount() const noexcept { return static_cast<uint32_t>(rows_.size()); }
  uint32_t ProductionLength(uint32_t production) const noexcept { return productions_[2 * production]; }
  int32_t ProductionLeft(uint32_t production) const noexcept {
    return static_cast<int32_t>(productions_[2 * production + 1]);
  }

  uint32_t Flags(int32_t state) const noexcept { return rows_[state][0]; }
  /// The action entries of \p state: action word, token id, action word, ...
  std::span<const uint32_t> Actions(int32_t state) const noexcept {
    const uint32_t* row = rows_[state];
    return {row + YaccTableFormat::kRowHeaderWords, row[2] * YaccTableFormat::kEntryWords};
  }
  /// The goto entries of \p state: target state, symbol, target state, ...
  /// (its error entry, when it has one, follows them).
  std::span<const uint32_t> Gotos(int32_t state) const noexcept {
    const uint32_t* row = rows_[state];
    return {row + YaccTableFormat::kRowHeaderWords + row[2] * YaccTableFormat::kEntryWords,
            row[1] * YaccTableFormat::kEntryWords};
  }
  /// The action word for \p token in \p state, or 0 when there is none.
  /// A reduce's number carries its production below kRightSideShift and the
  /// length of its right side above (see RightSideOf).
  uint32_t FindAction(int32_t state, int32_t token) const noexcept { return ActionsFor(token).In(state); }
  /// FindAction for one token in any state, its column looked up once: a
  /// parse asks again after every reduction while the lookahead stays.
  class TokenActions {
   public:
    uint32_t In(int32_t state) const noexcept {
      if (column_ != nullptr) return column_[static_cast<size_t>(state) << shift_];
      return table_->Packed(table_->SearchAction(state, token_));
    }

   private:
    friend class SSYaccTable;
    const uint32_t* column_ = nullptr;  // in quickActions_; null: searched
    uint32_t shift_ = 0;
    const SSYaccTable* table_ = nullptr;
    int32_t token_ = 0;
  };
  TokenActions ActionsFor(int32_t token) const noexcept {
    TokenActions actions;
    const uint32_t column = static_cast<uint32_t>(token - kFirstQuickToken);
    if (column < quickTokens_) actions.column_ = quickActions_.data() + column;
    actions.shift_ = actionShift_;
    actions.table_ = this;
    actions.token_ = token;
    return actions;
  }
  static constexpr uint32_t kRightSideShift = 16;
  static constexpr uint32_t kProductionMask = (1u << kRightSideShift) - 1;
  /// The production of reduce action \p action.
  static uint32_t ProductionOf(uint32_t action) noexcept { return action & kProductionMask; }
  /// The right side length of the production of reduce action \p action:
  /// the reduction's first step needs it at once, which saves a lookup.
  uint32_t RightSideOf(uint32_t action) const noexcept {
    const uint32_t length = (action & YaccTableFormat::kNumberMask) >> kRightSideShift;
    return length != kLongRightSide ? length : ProductionLength(ProductionOf(action));
  }
  /// The state reached over nonterminal \p symbol from \p state, or -1.
  int32_t FindGoto(int32_t state, int32_t symbol) const noexcept {
    const uint32_t column = static_cast<uint32_t>(symbol - YaccTableFormat::kNonterminalBase);
    if (column < quickSymbols_) return quickGotos_[static_cast<size_t>(column) * StateCount() + state];
    return SearchGoto(state, symbol);
  }
  /// The state reached from \p state over the left side of \p production,
  /// or -1: the column of that symbol is known by production, so the goto
  /// is one load.
  int32_t GotoAfter(uint32_t production, int32_t state) const noexcept {
    const uint32_t column = gotoColumns_[production];
    if (column != kNoQuickColumn) return quickGotos_[column + static_cast<size_t>(state)];
    return SearchGoto(state, ProductionLeft(production));
  }
  /// Where "%error" leads from \p state, or -1 when it has no error entry.
  int32_t ErrorTarget(int32_t state) const noexcept;
  /// The tokens at which \p state, when on the stack, lets error recovery
  /// take the parse up again: its sync-marked actions (all of them with
  /// kAllSync) when it is a recovery point, and the actions of the state
  /// its "%error" entry leads to.
  const SSSetArray& SyncSet(int32_t state) const noexcept { return syncSets_[static_cast<size_t>(state)]; }

 private:
  void Check(const std::string& name) const;
  void BuildQuickLookups();
  void BuildSyncSets();
  // The linear searches of a row, as the table format defines its lookups.
  uint32_t SearchAction(int32_t state, int32_t token) const noexcept;
  int32_t SearchGoto(int32_t state, int32_t symbol) const noexcept;
  /// \p action with a reduce's right side length packed in (FindAction).
  uint32_t Packed(uint32_t action) const noexcept;
  static constexpr uint32_t kLongRightSide = YaccTableFormat::kNumberMask >> kRightSideShift;
  static constexpr uint32_t kNoQuickColumn = UINT32_MAX;

  // The same lookups precomputed into one array per kind: actions by state
  // and token id (from kFirstQuickToken), in rows 1 << actionShift_ apart
  // (a shift is quicker than a multiply, and a reduction waits for it);
  // gotos by nonterminal number and state. A parse looks up an action for
  // every token, and rows hold up to ~50 entries. Ids outside the arrays
  // fall back to the search.
  static constexpr int32_t kFirstQuickToken = YaccTableFormat::kErrorToken;
  static constexpr uint32_t kMaxQuickColumns = 1024;
  uint32_t quickTokens_ = 0;
  uint32_t actionShift_ = 0;
  uint32_t quickSymbols_ = 0;
  std::vector<uint32_t> quickActions_;
  std::vector<int32_t> quickGotos_;
  // Per production, where the goto column of its left side starts in
  // quickGotos_, or kNoQuickColumn.
  std::vector<uint32_t> gotoColumns_;

  // Every syntax error unites the sets of all states on the stack.
  std::vector<SSSetArray> syncSets_;

  std::vector<uint32_t> words_;
  uint32_t productionCount_ = 0;
  const uint32_t* productions_ = nullptr;
  std::vector<const uint32_t*> rows_;
};

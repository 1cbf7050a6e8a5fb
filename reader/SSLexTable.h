// The lexer table in memory: every expression list (lexical mode) of the
// LexTable resource, checked and decoded for a fast match loop.
#pragma once

#include <array>
#include <climits>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "platform/CodePage.h"
#include "platform/Resources.h"
#include "reader/LexTableFormat.h"

/// One expression list: the automaton of one lexical mode.
///
/// The table's rows are decoded once: single-byte codes go through a class
/// per byte and a dense state-by-class table; double-byte codes keep the
/// row's triples, which are few.
struct SSLexExpressionList {
  /// What a state does when a match ends in it.
  struct StateInfo {
    int32_t token = 0;
    int32_t parseToken = 0;
    int32_t mode = 0;  ///< list to push or switch to
    uint32_t flags = 0;
    /// Index of the state's run in runs when it loops on some character
    /// (and its run is among the first kMaxEntryRuns), else -1.
    int32_t run = -1;
    /// Accepting, and left by no character but those of its run: a match
    /// that gets here ends when that run ends.
    bool final = false;
    /// A skipped match of one character that cannot grow: the characters
    /// after it may be taken as a run (see skipRun).
    bool oneCharSkip = false;
    /// The list of mode, when the table has one (else pushing it throws).
    const SSLexExpressionList* pushList = nullptr;
  };
  /// The characters that keep a match where it is, to be taken many at a
  /// time: those on which a state loops, or those that are each a skipped
  /// match of their own.
  /// Runs are 1 << kRunSizeShift bytes apart, so that an entry's run index
  /// finds its run with a shift: the match loop waits on that address.
  static constexpr uint32_t kRunSizeShift = 9;
  struct alignas(1 << kRunSizeShift) Run {
    /// When at most kVectorExits single-byte codes leave the run: each of
    /// them sixteen times over, repeated to fill the array, for a scan of
    /// sixteen bytes at a time.
    static constexpr size_t kVectorExits = 6;
    std::array<std::array<uint8_t, 16>, kVectorExits> exits{};
    bool vector = false;
    /// Whether every double-byte code stays (a lead byte and a zero byte
    /// make no double-byte code).
    bool wideStays = false;
    /// Whether each single-byte code stays.
    std::array<uint8_t, 256> stays{};
    /// Whether the run is scanned sixteen bytes at a time in single-byte
    /// or double-byte input (there it must take every double-byte code).
    bool Vector(bool doubleByte) const { return vector && (!doubleByte || wideStays); }
  };
  struct WideRange {
    uint32_t low, high;
    int32_t next;
  };

  uint32_t index = 0;
  std::array<uint16_t, 256> byteClass{};
  /// Rows of the dense table are 1 << rowShift entries apart.
  uint32_t rowShift = 0;
  /// A column of next that no byte's class names, kLeadEntry in every
  /// state: a lexer of double-byte input gives it to its lead bytes, so
  /// that its step on every other byte needs no test of its own.
  uint16_t leadColumn = 0;
  static constexpr int32_t kLeadEntry = INT32_MIN;
  /// Transitions on single-byte codes, at (state << rowShift) + class. An
  /// entry is -1 for none, else Entry(next state): the next row's offset
  /// shifted left by kEntryBits, with flags below. The match loop thus
  /// needs one load per character.
  std::vector<int32_t> next;
  /// The entries of state 0 by byte, as Next(0, byte) gives them: every
  /// match starts there, and one load instead of two brings its first step.
  std::array<int32_t, 256> first{};
  std::vector<uint8_t> accepting;  ///< whether a match may end in the state
  std::vector<StateInfo> states;
  std::vector<uint32_t> wideBegin;  ///< per state, its first entry of wide (one more at the end)
  std::vector<WideRange> wide;
  /// Per state, the entry for every double-byte code when one answer
  /// serves them all (the rules say "any character" there, or nothing),
  /// else kSearchWide.
  std::vector<int32_t> wideAll;
  static constexpr int32_t kSearchWide = -2;
  std::vector<Run> runs;
  /// The run of one-character skips from state 0, or -1 when the mode has
  /// none. A skipped match of a state with oneCharSkip may carry on over it.
  int32_t skipRun = -1;
  static constexpr uint32_t kFirstWideCode = 256;
  static constexpr uint32_t kLastWideCode = 0xFFFF;

  /// Entries carry, below the next row's offset, what the match loop must
  /// know of the next state without looking further.
  static constexpr uint32_t kEntryBits = 11;
  static constexpr int32_t kAccepts = 1;   ///< a match may end in the state
  static constexpr int32_t kFinal = 2;     ///< the state is final
  static constexpr int32_t kActs = 0x100;  ///< a match ending there skips or moves the mode stack
  /// The state's run is scanned sixteen bytes at a time: kVector in
  /// single-byte input, kWideVector in double-byte input.
  static constexpr int32_t kVector = 0x200;
  static constexpr int32_t kWideVector = 0x400;
  /// One more than the index of the state's run in runs; 0 when it has none
  /// (or only runs beyond this count, whose characters go one at a time).
  static constexpr int32_t kRunMask = 0xFC;
  static constexpr int32_t kRunShift = 2;
  static constexpr size_t kMaxEntryRuns = kRunMask >> kRunShift;
  int32_t Entry(int32_t state) const {
    if (state < 0) return -1;
    const StateInfo& info = states[state];
    namespace LTF = LexTableFormat;
    const bool acts = (info.flags & (LTF::kFlagPop | LTF::kFlagPush | LTF::kFlagSkip)) != 0;
    const Run* run = info.run >= 0 ? &runs[info.run] : nullptr;
    return (state << (rowShift + kEntryBits)) | ((info.run + 1) << kRunShift) | (info.final ? kFinal : 0) |
           (acts ? kActs : 0) | (run && run->Vector(false) ? kVector : 0) |
           (run && run->Vector(true) ? kWideVector : 0) | (accepting[state] ? kAccepts : 0);
  }
  /// The run of the state that \p entry leads to; the entry must have one.
  const Run& RunOf(int32_t entry) const {
    static_assert(sizeof(Run) == size_t{1} << kRunSizeShift);
    const size_t offset = size_t(entry & kRunMask) << (kRunSizeShift - kRunShift);  // one run too far
    return *reinterpret_cast<const Run*>(reinterpret_cast<const char*>(runs.data()) + offset - sizeof(Run));
  }
  /// The state that \p entry leads to.
  int32_t StateOf(int32_t entry) const { return entry >> (rowShift + kEntryBits); }
  /// Entry(0) when state 0 accepts the empty match, else -1.
  int32_t emptyMatch = -1;
  static uint32_t RowOf(int32_t entry) { return static_cast<uint32_t>(entry) >> kEntryBits; }
  int32_t StateOfRow(uint32_t row) const { return static_cast<int32_t>(row >> rowShift); }

  /// The entry for single-byte code \p byte from the row at \p row.
  int32_t Next(uint32_t row, unsigned byte) const { return next[row + byteClass[byte]]; }
  /// The entry for a double-byte code from the row at \p row.
  int32_t WideNext(uint32_t row, uint32_t code) const {
    const int32_t state = StateOfRow(row);
    // A lead byte and a zero byte make a code below the double-byte ones.
    if (wideAll[state] != kSearchWide) return code >= kFirstWideCode ? wideAll[state] : -1;
    for (uint32_t i = wideBegin[state]; i < wideBegin[state + 1]; ++i)
      if (wide[i].low <= code && code <= wide[i].high) return Entry(wide[i].next);
    return -1;
  }
};

/// A lexer table read from a LexTable resource.
class SSLexTable {
 public:
  /// Reads the resource of type "LexTable" called \p name from \p module.
  /// Throws SSLex0108e when it is missing and SSLex0104e when it is not a
  /// well-formed table. Tables read before are shared, not read again.
  static std::shared_ptr<const SSLexTable> Load(const CResourceModule& module, const std::string& name = "TYPESWAP");

  /// Decodes \p bytes; throws SSLex0104e naming \p name when they are not a
  /// well-formed table.
  SSLexTable(std::span<const unsigned char> bytes, const std::string& name);
  // The lists' states point into lists_.
  SSLexTable(const SSLexTable&) = delete;
  SSLexTable& operator=(const SSLexTable&) = delete;

  /// A list's byte classes and first entries for double-byte input: its
  /// lead bytes go to its lead column (SSLexExpressionList::leadColumn).
  struct LeadTables {
    std::array<uint16_t, 256> byteClass;
    std::array<int32_t, 256> first;
  };
  /// The LeadTables of every list, by list index, for the lead bytes
  /// \p lead: worked out the first time a set of lead bytes is asked for,
  /// and kept as long as the table.
  const LeadTables* ForLeadBytes(const LeadByteTable& lead) const;

  uint32_t ListCount() const { return static_cast<uint32_t>(lists_.size()); }
  /// List \p index; throws SSLex0106e when there is none.
  const SSLexExpressionList& List(int64_t index) const {
    if (index < 0 || index >= static_cast<int64_t>(lists_.size())) InvalidListIndex(index);
    return lists_[static_cast<size_t>(index)];
  }

 private:
  [[noreturn]] static void InvalidListIndex(int64_t index);

  std::vector<SSLexExpressionList> lists_;
  // Lexers of many files share one code page: its tables are made once.
  mutable std::mutex leadMutex_;
  mutable std::vector<std::pair<LeadByteTable, std::unique_ptr<const std::vector<LeadTables>>>> leadTables_;
};

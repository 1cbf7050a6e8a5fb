// The YaccTable binary: the parser table that tools/grammargen writes and
// SSYacc reads. Described here once for both of them.
#pragma once

#include <cstdint>

// Every number is a 32-bit little-endian word; offsets are in bytes from
// the start of the table.
//
//   header       word 0  magic (kMagic; 0 and 1 are read as well)
//                word 1  production count | lookahead automaton count << 16
//                word 2  state count
//                word 3  offset of the first state row
//                word 4  offset of the production table
//                then    one word per state: offset of its row
//   productions  two words each, from production 0: right side length,
//                left symbol. Production 0 is "start : document eof" with
//                left symbol 0.
//   state row    flags, goto count, action count,
//                action entries  (action word, token id) ...
//                goto entries    (target state, nonterminal) ...
//                when kHasErrorEntry: (target state over "%error", unused word)
//
// Symbols: terminals are token ids (end of input is -1, "%error" -2);
// nonterminal n is kNonterminalBase + n.
//
// Lookup: the action for a token is the first action entry of the row with
// that token id, found by a linear search; no entry means a syntax error.
// A goto is found the same way among the goto entries.
namespace YaccTableFormat {

inline constexpr uint32_t kMagic = 0x53535943;  // the bytes "CYSS"
inline constexpr uint32_t kHeaderWords = 5;
inline constexpr uint32_t kProductionWords = 2;
inline constexpr uint32_t kRowHeaderWords = 3;
inline constexpr uint32_t kEntryWords = 2;
inline constexpr uint32_t kWordSize = 4;

// Word indices: in the header, in a production, in a row's header, in an
// entry (action word or target state, then token or nonterminal).
inline constexpr uint32_t kHeaderMagic = 0;
inline constexpr uint32_t kHeaderCounts = 1;
inline constexpr uint32_t kHeaderStateCount = 2;
inline constexpr uint32_t kHeaderFirstRow = 3;
inline constexpr uint32_t kHeaderProductionTable = 4;
inline constexpr uint32_t kProductionLength = 0;
inline constexpr uint32_t kProductionLeft = 1;
inline constexpr uint32_t kRowFlags = 0;
inline constexpr uint32_t kRowGotoCount = 1;
inline constexpr uint32_t kRowActionCount = 2;
inline constexpr uint32_t kEntryValue = 0;
inline constexpr uint32_t kEntrySymbol = 1;

// Row flags.
inline constexpr uint32_t kRecoveryPoint = 0x1;  ///< its sync-marked actions join the sync set
inline constexpr uint32_t kHasErrorEntry = 0x2;
inline constexpr uint32_t kAllSync = 0x4;     ///< every action token is a sync token
inline constexpr uint32_t kHeaderOnly = 0x8;  ///< no entries follow the three header words

// Action words: a kind in the top bits, a number in the low 27 bits.
inline constexpr uint32_t kSync = 0x80000000;    ///< the token is a sync token
inline constexpr uint32_t kShift = 0x40000000;   ///< number: next state
inline constexpr uint32_t kReduce = 0x20000000;  ///< number: production
inline constexpr uint32_t kAccept = 0x10000000;
inline constexpr uint32_t kLookahead = 0x08000000;  ///< number: lookahead automaton
inline constexpr uint32_t kKindMask = 0x78000000;
inline constexpr uint32_t kNumberMask = 0x07FFFFFF;

inline constexpr int32_t kNonterminalBase = 16384;
inline constexpr int32_t kEofToken = -1;
inline constexpr int32_t kErrorToken = -2;

}  // namespace YaccTableFormat

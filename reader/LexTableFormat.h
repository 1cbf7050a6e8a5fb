// The LexTable binary format: written by tools/lexgen, read by SSLexTable.
// Described here once so that the writer and the reader cannot disagree.
#pragma once

#include <cstddef>
#include <cstdint>

/// Layout of the LexTable resource. All numbers are 32-bit little-endian.
///
///   table header (36 bytes)
///     0  number of expression lists (one per lexical mode)
///     4  magic kMagic (0 is accepted too)
///     8  number of keyword tables (always 0: the rules use none)
///     12..35 zero
///   expression list 0, 1, ... one block each, back to back:
///     list header (88 bytes)
///       0  magic kMagic (1 is accepted too)
///       4  block size in bytes; the next block starts there
///       8..39 zero
///       40 number of automaton states
///       44 block size again
///       48 offset of the row table, from the block start
///       52 offset of the state table (88, right after the header)
///       56..87 zero
///     state table: one 28-byte entry per state
///       0 token id (0: the state accepts nothing)   4 mode to push or switch to
///       8 flags                                      12 keyword-table index
///       16 replacement parse token (0: none)         20, 24 zero
///     row table: one offset (from the block start) per state
///     rows: a count, then that many (lowest, highest, next state) triples,
///       sorted by lowest code, ranges inclusive
///
/// Lookup: a character code is a byte, or lead + 256 * trail for a
/// double-byte character. A state's successor on a code is the next state of
/// the first triple of its row whose range holds the code; no triple means
/// the match cannot grow. State 0 is where every match starts; when it
/// carries a token that token is the mode's empty match. Each list's state 0
/// also has a triple for kEndOfInputCode, which no input ever delivers, to a
/// state with token kEndOfInputToken.
namespace LexTableFormat {

inline constexpr uint32_t kMagic = 0x53534C58;  // "XLSS" in the file
inline constexpr uint32_t kOldTableMagic = 0;
inline constexpr uint32_t kOldListMagic = 1;

inline constexpr size_t kHeaderSize = 36;
inline constexpr size_t kHeaderListCount = 0;
inline constexpr size_t kHeaderMagic = 4;
inline constexpr size_t kHeaderKeywordTables = 8;
inline constexpr size_t kHeaderReserved = 12;  ///< zero up to kHeaderSize

inline constexpr size_t kListHeaderSize = 88;
inline constexpr size_t kListMagic = 0;
inline constexpr size_t kListSize = 4;
inline constexpr size_t kListReservedLow = 8;  ///< zero up to kListStateCount
inline constexpr size_t kListStateCount = 40;
inline constexpr size_t kListSizeAgain = 44;
inline constexpr size_t kListRowTable = 48;
inline constexpr size_t kListStateTable = 52;
inline constexpr size_t kListReservedHigh = 56;  ///< zero up to kListHeaderSize

inline constexpr size_t kStateEntrySize = 28;
inline constexpr size_t kStateToken = 0;
inline constexpr size_t kStateMode = 4;
inline constexpr size_t kStateFlags = 8;
inline constexpr size_t kStateKeywordTable = 12;
inline constexpr size_t kStateParseToken = 16;

inline constexpr size_t kRowTableEntrySize = 4;
inline constexpr size_t kRowCount = 0;
inline constexpr size_t kRowTriples = 4;

inline constexpr size_t kTripleSize = 12;
inline constexpr size_t kTripleLow = 0;
inline constexpr size_t kTripleHigh = 4;
inline constexpr size_t kTripleNext = 8;

/// State flags.
inline constexpr uint32_t kFlagPop = 0x08;     ///< pop the mode stack (with kFlagPush: switch)
inline constexpr uint32_t kFlagAccept = 0x10;  ///< the match may end here
inline constexpr uint32_t kFlagPush = 0x20;    ///< push the state's mode
inline constexpr uint32_t kFlagSkip = 0x40;    ///< consume the match, return no token

inline constexpr uint32_t kEndOfInputCode = 0xFFFFFFFF;
inline constexpr int32_t kEndOfInputToken = -1;

/// Highest code a character can have: lead + 256 * trail.
inline constexpr uint32_t kHighestCharCode = 0xFFFF;

inline uint32_t ReadU32(const unsigned char* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

inline void WriteU32(unsigned char* p, uint32_t v) {
  p[0] = static_cast<unsigned char>(v);
  p[1] = static_cast<unsigned char>(v >> 8);
  p[2] = static_cast<unsigned char>(v >> 16);
  p[3] = static_cast<unsigned char>(v >> 24);
}

}  // namespace LexTableFormat

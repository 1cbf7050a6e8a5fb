// The lexer table in memory: every expression list (lexical mode) of the
// LexTable resource, checked and decoded for a fast match loop.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/Resources.h"

/// One expression list: the automaton of one lexical mode.
///
/// The table's rows are decoded once: single-byte codes go through a class
/// per byte and a dense state-by-class table; double-byte codes keep the
/// row's triples, which are few.
struct SSLexExpressionList {
  /// What a state does when a match ends in it.
  struct StateInfo {
    int32_t token = 0;
    int32_t mode = 0;  ///< list to push or switch to
    uint32_t flags = 0;
    int32_t parseToken = 0;
  };
  struct WideRange {
    uint32_t low, high;
    int32_t next;
  };

  uint32_t index = 0;
  uint32_t classCount = 0;
  std::array<uint16_t, 256> byteClass{};
  std::vector<int32_t> next;          ///< state * classCount + class; -1: no transition
  std::vector<uint8_t> accepting;     ///< whether a match may end in the state
  std::vector<StateInfo> states;
  std::vector<uint32_t> wideBegin;    ///< per state, its first entry of wide (one more at the end)
  std::vector<WideRange> wide;

  /// The successor of \p state on the single-byte code \p byte, or -1.
  int32_t Next(int32_t state, unsigned byte) const { return next[state * classCount + byteClass[byte]]; }
  /// The successor of \p state on a double-byte code, or -1.
  int32_t WideNext(int32_t state, uint32_t code) const {
    for (uint32_t i = wideBegin[state]; i < wideBegin[state + 1]; ++i)
      if (wide[i].low <= code && code <= wide[i].high) return wide[i].next;
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

  uint32_t ListCount() const { return static_cast<uint32_t>(lists_.size()); }
  /// List \p index; throws SSLex0106e when there is none.
  const SSLexExpressionList& List(int64_t index) const;

 private:
  std::vector<SSLexExpressionList> lists_;
};

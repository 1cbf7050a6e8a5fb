// SSYacc: the table-driven LALR(1) parser of the reader, with its error
// recovery. The reader's parser class derives from it and adds the parse
// actions by overriding Reduce.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "reader/SSLifo.h"
#include "reader/SSToken.h"
#include "reader/SSYaccStackElement.h"
#include "reader/SSYaccTable.h"

class CResourceModule;
class SSLex;
class SSSetArray;

/// Pulls tokens from an SSLex, runs the table's state machine, calls Reduce
/// for every production recognised and recovers from syntax errors by
/// dropping tokens up to a sync token. Every engine error is an SSException.
class SSYacc {
 public:
  /// Makes the "eof" token and the parse stack, and pushes state 0.
  SSYacc();
  SSYacc(const SSYacc&) = delete;
  SSYacc& operator=(const SSYacc&) = delete;

  /// Loads the table from the resource of \p type named \p name
  /// ("SSYacc0115e: Resource not found, <name>" when there is none).
  void LoadTable(const CResourceModule& module, std::string_view name, std::string_view type);
  /// Loads the table from a file ("SSYacc0101e: Open file failed, <path>").
  void LoadTableFile(const std::string& path);
  /// The token source; the lexer must outlive the parse.
  void SetLex(SSLex& lex) noexcept { lex_ = &lex; }
  /// Writes every shift, reduce and recovery step to \p out (nullptr: off).
  void SetTrace(std::FILE* out) noexcept { trace_ = out; }

  /// Parses to the end: 0 when the input was accepted without a syntax
  /// error, 1 after a syntax error (even when recovery read the rest) or
  /// when the abort flag stopped the parse.
  int32_t Parse();

  /// During Reduce: the element of right-side symbol \p index, counted from
  /// 0 at the left ("SSYacc0108e: Invalid index on elementFromProduction,
  /// <index>" outside the production being reduced).
  SSYaccStackElement* ElementFromProduction(int32_t index);

  /// Stops the parse after the current step; Parse then returns 1.
  void SetAbort() noexcept { abort_ = true; }
  bool Aborted() const noexcept { return abort_; }
  /// Whether a syntax error was seen.
  bool ErrorSeen() const noexcept { return error_; }
  /// The token the parser is looking at (the "eof" token at the end).
  SSToken* Lookahead() const noexcept { return lookahead_.get(); }
  /// The loaded table, or nullptr.
  const SSYaccTable* Table() const noexcept { return table_.get(); }

  // The operations a subclass may replace, in the engine's slot order.

  /// The parse result at accept: the error flag.
  virtual int32_t Result();
  /// The next token from the lexer, or none at the end of the input
  /// ("SSYacc0110e: setLex missing, required" without a lexer).
  virtual SSRefPtr<SSToken> NextToken();
  /// A new empty element.
  virtual SSRefPtr<SSYaccStackElement> NewElement();
  /// The element pushed when \p token is shifted.
  virtual SSRefPtr<SSYaccStackElement> ShiftElement(const SSRefPtr<SSToken>& token);
  /// Sees every token read; the engine ignores the value (0 here).
  virtual int32_t TokenHook(SSToken& token);
  /// Error recovery after a syntax error; false when the parse must stop.
  virtual bool Error();
  /// Called for every reduction of \p production, whose right side has
  /// \p length symbols, before they leave the stack; returns the element
  /// of the left side. This one returns a new empty element.
  virtual SSRefPtr<SSYaccStackElement> Reduce(int32_t production, int32_t length);
  /// An action that needs a lookahead automaton, which this engine's
  /// tables do not have: "SSYacc0102e: Parse failed, invalid table".
  virtual void LookaheadError();
  virtual ~SSYacc();

 private:
  struct Entry {
    int32_t state;
    SSRefPtr<SSYaccStackElement> element;
  };

  void RequireTable() const;
  void ReadToken();
  int32_t LookaheadId() const noexcept;
  void Push(int32_t state, SSRefPtr<SSYaccStackElement>&& element) {
    if (element) element->SetState(state);
    stack_.Push(Entry{state, std::move(element)});
    state_ = state;
  }
  void BuildSyncSet(SSSetArray& sync);
  void Trace(const char* step, int32_t number) const;
  SSRefPtr<SSYaccStackElement> CallReduce();

  std::shared_ptr<const SSYaccTable> table_;
  SSLex* lex_ = nullptr;
  std::FILE* trace_ = nullptr;
  SSRefPtr<SSToken> lookahead_;
  SSRefPtr<SSToken> eofToken_;
  SSLifo<Entry> stack_;
  int32_t state_ = 0;
  uint32_t action_ = 0;
  int32_t production_ = 0;
  int32_t productionLength_ = 0;
  bool inReduce_ = false;
  bool error_ = false;
  bool abort_ = false;
  bool endOfInput_ = false;
};

// SSYacc: the table-driven LALR(1) parser of the reader, with its error
// recovery. The reader's parser class derives from it and adds the parse
// actions by overriding Reduce.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/CpuLevel.h"
#include "reader/SSToken.h"
#include "reader/SSTokenView.h"
#include "reader/SSValueStack.h"
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
  /// Makes the parse stack and pushes state 0.
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
  /// The token the parser is looking at (the "eof" token at the end), or
  /// nullptr before the first.
  const SSTokenView* Lookahead() const noexcept { return hasLookahead_ ? &lookahead_ : nullptr; }
  /// The loaded table, or nullptr.
  const SSYaccTable* Table() const noexcept { return table_.get(); }

  // The operations a subclass may replace, in the engine's slot order.

  /// The parse result at accept: the error flag.
  virtual int32_t Result();
  /// The next token, or none at the end of the input. A replacement gives
  /// its tokens as objects. This one reads the lexer's next token into the
  /// engine, without an object, and returns none either way (the engine
  /// knows which); "SSYacc0110e: setLex missing, required" without a lexer.
  virtual SSRefPtr<SSToken> NextToken();
  /// A new empty element.
  virtual SSRefPtr<SSYaccStackElement> NewElement();
  /// The element of a shifted \p token. Made when ElementFromProduction
  /// first asks for it (a token read as an object: when it is shifted).
  virtual SSRefPtr<SSYaccStackElement> ShiftElement(const SSRefPtr<SSToken>& token);
  /// Sees every token read; the engine ignores the value (0 here).
  virtual int32_t TokenHook(const SSTokenView& token);
  /// Error recovery after a syntax error; false when the parse must stop.
  virtual bool Error();
  /// Called for every reduction of \p production, whose right side has
  /// \p length symbols, before they leave the stack; returns the element
  /// of the left side, or none when nobody needs one: ElementFromProduction
  /// then makes an empty one if asked. This one returns none.
  virtual SSRefPtr<SSYaccStackElement> Reduce(int32_t production, int32_t length);
  /// An action that needs a lookahead automaton, which this engine's
  /// tables do not have: "SSYacc0102e: Parse failed, invalid table".
  virtual void LookaheadError();
  virtual ~SSYacc();

 protected:
  /// Calls Reduce only for the productions marked in \p wanted (by number;
  /// none beyond it) and for every kReducePoll-th reduction besides, so
  /// that what a Reduce does at any reduction (reading a stop request,
  /// letting the user interface breathe) still happens often. By default
  /// Reduce sees every reduction. \p wanted must outlive the parse.
  void SetReduceFilter(std::span<const bool> wanted) noexcept {
    reduceFilter_ = wanted;
    filterReductions_ = true;
    LearnReduceCalls();
  }
  static constexpr uint32_t kReducePoll = 256;
  /// Calls TokenHook only for the tokens whose id \p wanted marks (by id;
  /// none beyond it), except while HookEveryToken is on. By default
  /// TokenHook sees every token. \p wanted must outlive the parse.
  void SetTokenHookFilter(std::span<const bool> wanted) noexcept {
    hookFilter_ = wanted;
    hookEvery_ = false;
  }
  /// Whether TokenHook sees every token despite SetTokenHookFilter.
  void HookEveryToken(bool every) noexcept { hookEvery_ = every || hookFilter_.empty(); }

  /// During Reduce: the token of right-side symbol \p index, the one that
  /// ElementFromProduction(index)->Token() gives, without making objects;
  /// false when the symbol has none. Same index check.
  bool TokenFromProduction(int32_t index, SSTokenView& token) {
    // The last symbol of the right side, when it is a token without an
    // element, is on top of both stacks: the reader's actions read most of
    // their tokens there, once per font reference. (Inline: one call
    // less per reference.)
    if (inReduce_ && index >= 0 && index == productionLength_ - 1 &&
        (entries_.Top() & (kTokenEntry | kElementEntry)) == kTokenEntry) {
      token = tokens_.Top();
      return true;
    }
    return TokenFromPlace(index, token);
  }

 private:
  // Note [parse stack]: an entry is one word, its state and two flags; a
  // shifted token's value goes on a stack of its own, and an element only
  // on a third one, for the entries that have one. Elements are made when
  // somebody asks for them, which the parse actions rarely do, so that a
  // shift or a reduction allocates nothing, and a deep stack of
  // nonterminals (nested groups) costs four bytes an entry. The flags of
  // the entries a reduction pops say how many tokens and elements go too.
  using Entry = uint32_t;
  static constexpr uint32_t kTokenEntry = 0x80000000;    // a token was shifted here
  static constexpr uint32_t kElementEntry = 0x40000000;  // it has an element
  static constexpr uint32_t kStateBits = 0x3FFFFFFF;

  void RequireTable() const;
  /// How the parse loop reads its tokens: through the lexer's pointer or
  /// the virtual slots (kAny), or with the lexer's match loop for
  /// single-byte or double-byte input inline (Note [inline lexing]).
  enum class LexPath { kAny, kSingleByte, kDoubleByte };
  /// Reads the next token: straight from the lexer when NextToken is this
  /// engine's own (see LearnOverrides), else through the virtual slots.
  template <LexPath kPath>
  void ReadToken();
  /// The parse loop, reading tokens by \p kPath: inline in the two below.
  template <LexPath kPath>
  int32_t ParseWith(const SSYaccTable& table);
  template <LexPath kPath>
  int32_t ParseLoop(const SSYaccTable& table);
  /// ParseLoop built for x86-64-v3, whose lexer's loops are too.
  template <LexPath kPath>
  TS_TARGET_X86_64_V3 int32_t ParseLoopV3(const SSYaccTable& table);
  void ReadThroughSlots();
  /// Learns whether NextToken, TokenHook and Reduce are still this class's
  /// own (see Note [direct lexing]).
  void LearnOverrides();
  int32_t LookaheadId() const noexcept {
    return lookahead_.ParseToken() != 0 ? lookahead_.ParseToken() : lookahead_.Id();
  }
  void Push(int32_t state, SSRefPtr<SSYaccStackElement>&& element) {
    uint32_t entry = static_cast<uint32_t>(state);
    if (element) entry |= PushElement(state, std::move(element));
    entries_.Push(entry);
    state_ = state;
  }
  /// Pushes \p state with neither token nor element.
  void PushState(int32_t state) {
    entries_.Push(static_cast<uint32_t>(state));
    state_ = state;
  }
  /// Pushes the lookahead token, going to \p state. Without \p kObjects
  /// the caller knows that the lookahead came from the lexer.
  template <bool kObjects = true>
  __attribute__((always_inline)) void Shift(int32_t state) {
    uint32_t entry = static_cast<uint32_t>(state) | kTokenEntry;
    if (kObjects && lookaheadObject_) entry |= ShiftObject(state);
    tokens_.Push(lookahead_);
    entries_.Push(entry);
    state_ = state;
  }
  uint32_t PushElement(int32_t state, SSRefPtr<SSYaccStackElement>&& element);
  /// Pushes the element of a lookahead read as an object.
  uint32_t ShiftObject(int32_t state);
  /// Makes \p object, or the end of the input when there is none, the
  /// lookahead.
  void TakeLookahead(SSRefPtr<SSToken>&& object);
  int32_t TopState() const {
    if (entries_.Empty()) NoTop();
    return static_cast<int32_t>(entries_.Top() & kStateBits);
  }
  /// Takes the top \p count entries off the stack, with their tokens and
  /// elements; returns how many tokens went.
  size_t PopEntries(uint32_t count) {
    if (count > entries_.Size()) PopEmpty();
    size_t tokens = 0, elements = 0;
    for (size_t i = entries_.Size() - count; i < entries_.Size(); ++i) {
      tokens += entries_[i] >> 31;
      elements |= entries_[i] & kElementEntry;
    }
    if (elements != 0) DropElements(count);
    entries_.Drop(count);
    tokens_.Drop(tokens);
    return tokens;
  }
  /// What the engine knows of a production while it parses: how many of
  /// its right side's symbols are tokens (-1 until its first reduction;
  /// they are the same every time) and whether Reduce sees its reductions.
  /// One record, so that a reduction looks both up at once.
  enum class ReduceCall : uint8_t { kNever, kPoll, kAlways };
  struct ProductionInfo {
    int32_t rightSideTokens = -1;
    ReduceCall call = ReduceCall::kNever;
  };
  /// Works out every production's ReduceCall from the overrides and the
  /// filter; nothing before a parse has sized the records.
  void LearnReduceCalls() noexcept;
  /// Pops the right side of a production, \p count entries.
  void PopRightSide(ProductionInfo& info, uint32_t count) {
    int32_t& tokens = info.rightSideTokens;
    if (tokens >= 0 && elements_.empty() && count <= entries_.Size()) {
      entries_.Drop(count);
      tokens_.Drop(static_cast<size_t>(tokens));
    } else {
      tokens = static_cast<int32_t>(PopEntries(count));
    }
  }
  void DropElements(uint32_t count);
  [[noreturn]] static void NoTop();
  [[noreturn]] static void PopEmpty();
  /// Where the entry of right-side symbol \p index is during a reduce, and
  /// how many tokens and elements the stack holds up to it.
  struct Place {
    size_t entry, token, element;
  };
  Place PlaceOf(int32_t index) const;
  /// TokenFromProduction for any symbol: found by its place.
  bool TokenFromPlace(int32_t index, SSTokenView& token);
  void BuildSyncSet(SSSetArray& sync);
  void Trace(const char* step, int32_t number) const;
  SSRefPtr<SSYaccStackElement> CallReduce();
  /// Whether TokenHook sees the token of id \p id.
  bool HookWanted(int32_t id) const noexcept {
    return hookEvery_ || (static_cast<uint32_t>(id) < hookFilter_.size() && hookFilter_[static_cast<uint32_t>(id)]);
  }
  /// Whether a reduction of the production of \p info goes to Reduce.
  bool ReduceWanted(const ProductionInfo& info) {
    if (info.call == ReduceCall::kAlways) return true;
    if (info.call == ReduceCall::kNever || --untilPoll_ != 0) return false;
    untilPoll_ = kReducePoll;
    return true;
  }
  /// The state after a reduction of \p production, from the state now on
  /// top; throws on a table without one.
  int32_t GotoAfter(const SSYaccTable& table, uint32_t production) const {
    const int32_t next = table.GotoAfter(production, TopState());
    if (next < 0) InvalidGoto(table, production);
    return next;
  }
  [[noreturn]] static void InvalidGoto(const SSYaccTable& table, uint32_t production);

  std::shared_ptr<const SSYaccTable> table_;
  SSLex* lex_ = nullptr;
  std::FILE* trace_ = nullptr;
  SSTokenView lookahead_;
  bool hasLookahead_ = false;
  // The lookahead's object when it came as one (its text lives there).
  SSRefPtr<SSToken> lookaheadObject_;
  // Where the default NextToken leaves the lexer's token.
  SSLexToken lexToken_;
  bool lexTokenRead_ = false;
  // What LearnOverrides found: the default NextToken with a lexer (the
  // engine then calls the lexer itself), and a TokenHook and a Reduce to
  // call.
  bool directLex_ = false;
  bool callTokenHook_ = true;
  bool callReduce_ = true;
  // See SetTokenHookFilter and HookEveryToken.
  std::span<const bool> hookFilter_;
  bool hookEvery_ = true;
  // See SetReduceFilter.
  bool filterReductions_ = false;
  std::span<const bool> reduceFilter_;
  uint32_t untilPoll_ = kReducePoll;
  SSValueStack<Entry> entries_;
  SSValueStack<SSTokenView> tokens_;                    // one per kTokenEntry entry
  std::vector<SSRefPtr<SSYaccStackElement>> elements_;  // one per kElementEntry entry
  std::vector<ProductionInfo> productions_;             // sized at the start of a parse
  int32_t state_ = 0;
  uint32_t action_ = 0;  // where Error takes the parse up again
  int32_t production_ = 0;
  int32_t productionLength_ = 0;
  bool inReduce_ = false;
  bool error_ = false;
  bool abort_ = false;
  bool endOfInput_ = false;
};

// SSLex: the table-driven lexer of the reader. Runs the automaton of the
// active mode over the input, longest match first, with a stack of modes.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/CpuLevel.h"
#include "platform/Resources.h"
#include "reader/LeadByteRanges.h"
#include "reader/SSLexConsumer.h"
#include "reader/SSLexModeStack.h"
#include "reader/SSLexTable.h"
#include "reader/SSLexToken.h"
#include "reader/SSToken.h"
#include "reader/SSTokenName.h"

/// Turns one input into tokens. Every failure is an SSException.
class SSLex {
 public:
  /// Lexes \p fileName with the table "LexTable"/"TYPESWAP" of \p module,
  /// starting in mode 0. Throws SSLex0108e or SSLex0104e for the table and
  /// SSLex0101e or SSLex0102e for the file.
  SSLex(const CResourceModule& module, const std::string& fileName);
  /// Lexes \p text, already in memory; \p name stands for the file name.
  SSLex(const CResourceModule& module, std::string text, std::string name);
  /// Lexes the input of \p consumer.
  SSLex(const CResourceModule& module, std::unique_ptr<SSLexConsumer> consumer);
  virtual ~SSLex();

  SSLex(const SSLex&) = delete;
  SSLex& operator=(const SSLex&) = delete;

  /// The next token, or an empty pointer at the end of the input. Skipped
  /// matches return nothing; where nothing matches, SSLex0105e is thrown.
  SSRefPtr<SSToken> NextToken();
  /// The next token as a value, without making an object: false at the end
  /// of the input; otherwise as NextToken.
  bool Next(SSLexToken& token) { return next_(*this, token); }
  /// The text of \p token, a view of the lexer's buffer: valid while the
  /// token is kept (SetKeepFrom), or until the next token is read.
  std::string_view TextOf(const SSLexToken& token) const { return consumer_->TextAt(token.offset, token.length); }
  /// The line and column where \p token starts.
  SSTextPlace PlaceOf(const SSLexToken& token) const { return consumer_->PlaceAt(token.offset); }
  /// Where the tokens of this lexer find their places and texts.
  const SSLexConsumer* Places() const { return consumer_.get(); }
  /// Tells the lexer where the oldest token still in use starts (an
  /// offset), so that its text and place stay at hand; asked whenever the
  /// input window moves on. Without it, only the current token's stay.
  void SetKeepFrom(std::function<size_t()> keepFrom) {
    if (consumer_) consumer_->SetKeepFrom(std::move(keepFrom));
  }
  /// A token object for \p token.
  SSRefPtr<SSToken> MakeToken(const SSLexToken& token) const {
    const SSTextPlace place = PlaceOf(token);
    return SSToken::Make(token.id, TextOf(token), place.line, place.column, token.offset, token.parseToken);
  }

  /// Names the tokens for TokenName; the table holds only their ids. The
  /// names must outlive the lexer.
  void SetTokenNames(std::span<const SSTokenName> names);

  /// The name of token \p id: its name given to SetTokenNames, else "eof"
  /// for -1, "%error" for -2, "SSLexTokenNotFound" for any other id.
  virtual const char* TokenName(int32_t id) const;

  /// Expression list (mode) \p index of the table; SSLex0106e when there is
  /// no such list.
  const SSLexExpressionList& ExpressionList(int64_t index) const { return table_->List(index); }

  /// The mode now active.
  uint32_t ActiveMode() {
    if (active_ == nullptr) NoMode();
    return active_->index;
  }

 protected:
  /// A lexer over \p table and \p consumer, either of which may be missing:
  /// NextToken() then throws SSLex0107e.
  SSLex(std::shared_ptr<const SSLexTable> table, std::unique_ptr<SSLexConsumer> consumer);

 private:
  // The parser runs the match loop inline (Note [inline lexing]).
  friend class SSYacc;
  template <bool kDoubleByte>
  bool Match(SSLexToken& token);
  template <bool kDoubleByte>
  static bool MatchIn(SSLex& lex, SSLexToken& token);
  /// MatchIn built for x86-64-v3, for processors that have it.
  template <bool kDoubleByte>
  TS_TARGET_X86_64_V3 static bool MatchInV3(SSLex& lex, SSLexToken& token);
  static bool Missing(SSLex& lex, SSLexToken& token);
  template <bool kDoubleByte>
  size_t RunEnd(const SSLexExpressionList::Run& run, bool vector, size_t pos) const;
  void TakeInput();
  /// Takes the consumer's window into the match loop's members.
  void TakeWindow();
  /// Sets the mark to \p mark and moves the window on; false at the end of
  /// the input.
  bool Refill(size_t mark);
  void ApplyStackAction(const SSLexExpressionList::StateInfo& info);
  [[noreturn]] static void NoMode();
  [[noreturn]] void InvalidToken(size_t end);
  /// The end of the input: false, or SSLex0102e when the file was cut
  /// short while it was read (its last bytes are then not the file's).
  bool AtEnd() const;
  void ThrowIfInputCut() const;

  // What Next does: the match loop for this input and processor, chosen
  // once, or Missing without a table or input.
  bool (*next_)(SSLex&, SSLexToken&) = &Missing;
  std::shared_ptr<const SSLexTable> table_;
  std::unique_ptr<SSLexConsumer> consumer_;
  // The modes as their lists, which the match loop takes without a lookup.
  SSLexModeStack<const SSLexExpressionList*> modes_;
  // The top of modes_, kept at hand for the match loop; nullptr when the
  // stack is empty.
  const SSLexExpressionList* active_ = nullptr;
  // The consumer's window and lead bytes, at hand for the match loop:
  // length_ bytes, the first at offset origin_ of the input.
  const unsigned char* data_ = nullptr;
  size_t length_ = 0;
  size_t origin_ = 0;
  // Where the next token starts, in the window: the lexer's own, at hand
  // for the match loop; the consumer learns it when the window moves.
  size_t mark_ = 0;
  const bool* lead_ = nullptr;
  // The lead bytes as ranges, for the vector scan of runs.
  LeadByteRanges leadRanges_;
  // For double-byte input, the table's LeadTables for these lead bytes,
  // by list index; null otherwise.
  const SSLexTable::LeadTables* leadTables_ = nullptr;
  // Where the last empty match was returned (an offset). See Note [empty
  // matches].
  size_t lastEmptyMatch_ = SIZE_MAX;
  // Token names by id - lowestNamedId_: a printed token costs one index.
  std::vector<const char*> tokenNames_;
  int32_t lowestNamedId_ = 0;
};

// SSLex: longest-match lexing over the LexTable automata.
#include "reader/SSLex.h"

#include <algorithm>

#include "reader/LexTableFormat.h"

namespace LTF = LexTableFormat;

SSLex::SSLex(const CResourceModule& module, const std::string& fileName)
    : SSLex(SSLexTable::Load(module), nullptr) {
  consumer_ = std::make_unique<SSLexConsumer>(fileName);
}

SSLex::SSLex(const CResourceModule& module, std::string text, std::string name)
    : SSLex(SSLexTable::Load(module), std::make_unique<SSLexConsumer>(std::move(text), std::move(name))) {}

SSLex::SSLex(std::shared_ptr<const SSLexTable> table, std::unique_ptr<SSLexConsumer> consumer)
    : table_(std::move(table)), consumer_(std::move(consumer)), modes_(32, 32) {
  if (table_) {
    modes_.Push(&ExpressionList(0));
    active_ = modes_.Top();
  }
}

SSLex::~SSLex() = default;

const SSLexExpressionList& SSLex::ExpressionList(int64_t index) const { return table_->List(index); }

void SSLex::SetTokenNames(std::span<const SSTokenName> names) {
  tokenNames_.clear();
  if (names.empty()) return;
  auto [lowest, highest] = std::minmax_element(names.begin(), names.end(),
                                               [](const SSTokenName& a, const SSTokenName& b) { return a.id < b.id; });
  lowestNamedId_ = lowest->id;
  tokenNames_.assign(static_cast<size_t>(highest->id - lowestNamedId_) + 1, nullptr);
  for (const SSTokenName& token : names) tokenNames_[static_cast<size_t>(token.id - lowestNamedId_)] = token.name;
}

const char* SSLex::TokenName(int32_t id) const {
  const int64_t at = int64_t{id} - lowestNamedId_;
  if (at >= 0 && at < static_cast<int64_t>(tokenNames_.size()) && tokenNames_[at]) return tokenNames_[at];
  if (id == -1) return "eof";
  if (id == -2) return "%error";
  return "SSLexTokenNotFound";
}

SSRefPtr<SSToken> SSLex::NextToken() {
  SSLexToken token;
  if (!Next(token)) return {};
  return MakeToken(token);
}

bool SSLex::Next(SSLexToken& token) {
  if (!table_ || !consumer_) {
    throw SSException(SSCode::kLexMissing, "SSLex0107e: Table or consumer missing, required");
  }
  return consumer_->HasLeadBytes() ? Match<true>(token) : Match<false>(token);
}

// Note [empty matches]: in a mode with an empty-match token, state 0 accepts
// that token with no text. It consumes nothing, so asking again at the same
// place would give it again, for ever. The rules make modes 1 and 25 take
// every character (a lone ESC is one character of text there); in the other
// modes a second empty match at the same place is an invalid token.
template <bool kDoubleByte>
bool SSLex::Match(SSLexToken& token) {
  const unsigned char* const data = consumer_->Data();
  const size_t length = consumer_->Length();
  const LeadByteTable& lead = consumer_->LeadBytes();
  for (;;) {
    if (active_ == nullptr) modes_.Top();  // throws: the rules popped every mode
    const SSLexExpressionList& list = *active_;
    const size_t mark = consumer_->Mark();
    if (mark >= length) return false;

    uint32_t row = 0;  // state 0
    int32_t acceptedRow = list.accepting[0] ? 0 : -1;
    size_t acceptedEnd = mark;
    size_t pos = mark;
    while (pos < length) {
      const unsigned byte = data[pos];
      int32_t entry;
      if (kDoubleByte && lead[byte] && pos + 1 < length) {
        entry = list.WideNext(row, byte | uint32_t(data[pos + 1]) << 8);
        pos += 2;
      } else {
        entry = list.Next(row, byte);
        pos += 1;
      }
      if (entry < 0) break;  // pos stays past the character that failed
      const uint32_t nextRow = SSLexExpressionList::RowOf(entry);
      if (nextRow == row) {
        // A state that loops on itself, as runs of text do: take its run
        // with lookups that need not wait for one another.
        while (pos < length) {
          const unsigned b = data[pos];
          if (kDoubleByte && lead[b] && pos + 1 < length) {
            if (list.WideNext(row, b | uint32_t(data[pos + 1]) << 8) != entry) break;
            pos += 2;
          } else {
            if (list.Next(row, b) != entry) break;
            pos += 1;
          }
        }
      }
      row = nextRow;
      if (entry & 1) {
        acceptedRow = static_cast<int32_t>(row);
        acceptedEnd = pos;
      }
    }
    const int32_t accepted = acceptedRow < 0 ? -1 : list.StateOfRow(static_cast<uint32_t>(acceptedRow));

    if (accepted < 0) InvalidToken(pos);
    if (acceptedEnd == mark) {  // See Note [empty matches]
      if (lastEmptyMatch_ == mark) InvalidToken(pos);
      lastEmptyMatch_ = mark;
    }
    const SSLexExpressionList::StateInfo& info = list.states[accepted];
    if (info.flags & (LTF::kFlagPop | LTF::kFlagPush)) ApplyStackAction(info);
    if (info.flags & LTF::kFlagSkip) {
      consumer_->MoveMark(acceptedEnd);
      continue;
    }
    token.id = info.token;
    token.parseToken = info.parseToken;
    token.offset = static_cast<uint32_t>(mark);
    token.length = static_cast<uint32_t>(acceptedEnd - mark);
    token.line = consumer_->MarkLine();
    token.column = consumer_->MarkColumn();
    consumer_->MoveMark(acceptedEnd);
    return true;
  }
}

void SSLex::ApplyStackAction(const SSLexExpressionList::StateInfo& info) {
  if (info.flags & LTF::kFlagPop) {
    modes_.Pop();
    active_ = modes_.Empty() ? nullptr : modes_.Top();
  }
  if (info.flags & LTF::kFlagPush) {
    modes_.Push(&ExpressionList(info.mode));
    active_ = modes_.Top();
  }
}

void SSLex::InvalidToken(size_t end) {
  const size_t mark = consumer_->Mark();
  SSRefPtr<SSToken> bad =
      SSToken::Make(0, std::string_view(reinterpret_cast<const char*>(consumer_->Data()) + mark, end - mark),
                    consumer_->MarkLine(), consumer_->MarkColumn(), static_cast<uint32_t>(mark));
  throw SSException(SSCode::kLexInvalidToken, "SSLex0105e: Invalid token, Line %ld, Offset %ld, %s",
                    static_cast<long>(bad->Line()), static_cast<long>(bad->Column()), bad->Text());
}

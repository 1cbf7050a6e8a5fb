// SSLex: longest-match lexing over the LexTable automata.
#include "reader/SSLex.h"

#include "reader/InterleafTokens.h"
#include "reader/LexTableFormat.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace LTF = LexTableFormat;

SSLex::SSLex(const CResourceModule& module, const std::string& fileName)
    : SSLex(SSLexTable::Load(module), nullptr) {
  consumer_ = std::make_unique<SSLexConsumer>(fileName);
  TakeInput();
}

SSLex::SSLex(const CResourceModule& module, std::string text, std::string name)
    : SSLex(SSLexTable::Load(module), std::make_unique<SSLexConsumer>(std::move(text), std::move(name))) {}

SSLex::SSLex(std::shared_ptr<const SSLexTable> table, std::unique_ptr<SSLexConsumer> consumer)
    : table_(std::move(table)), consumer_(std::move(consumer)) {
  if (table_) {
    active_ = &ExpressionList(0);
    modes_.reserve(32);
    modes_.push_back(active_);
  }
  if (consumer_) TakeInput();
}

void SSLex::TakeInput() {
  data_ = consumer_->Data();
  length_ = consumer_->Length();
  lead_ = consumer_->LeadBytes().data();
  highLeadBytes_ = true;
  for (unsigned b = 0; b < 0x80; ++b) highLeadBytes_ = highLeadBytes_ && !lead_[b];
}

SSLex::~SSLex() = default;

const char* SSLex::TokenName(int32_t id) const {
  const char* name = InterleafTokenName(id);
  return name ? name : "SSLexTokenNotFound";
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

inline void SSLex::ApplyStackAction(const SSLexExpressionList::StateInfo& info) {
  if (info.flags & LTF::kFlagPop) {
    modes_.pop_back();
    active_ = modes_.empty() ? nullptr : modes_.back();
  }
  if (info.flags & LTF::kFlagPush) {
    active_ = &ExpressionList(info.mode);
    modes_.push_back(active_);
  }
}

// Note [empty matches]: in a mode with an empty-match token, state 0 accepts
// that token with no text. It consumes nothing, so asking again at the same
// place would give it again, for ever. The rules make modes 1 and 25 take
// every character (a lone ESC is one character of text there); in the other
// modes a second empty match at the same place is an invalid token.
template <bool kDoubleByte>
bool SSLex::Match(SSLexToken& token) {
  const unsigned char* const data = data_;
  const size_t length = length_;
  const bool* const lead = lead_;
  for (;;) {
    if (active_ == nullptr) NoMode();  // the rules popped every mode
    const SSLexExpressionList& list = *active_;
    const size_t mark = consumer_->Mark();
    if (mark >= length) return false;

    const int32_t* const next = list.next.data();
    const uint16_t* const byteClass = list.byteClass.data();
    uint32_t row = 0;  // state 0
    // The last accepting row and where its match ends; kNone when there is
    // none. Kept without branches: only the end of the loop depends on them.
    constexpr uint32_t kNone = UINT32_MAX;
    uint32_t acceptedRow = list.accepting[0] ? 0 : kNone;
    size_t acceptedEnd = mark;
    size_t pos = mark;
    while (pos < length) {
      const unsigned byte = data[pos];
      int32_t entry;
      if (kDoubleByte && lead[byte] && pos + 1 < length) {
        entry = list.WideNext(row, byte | uint32_t(data[pos + 1]) << 8);
        pos += 2;
      } else {
        entry = next[row + byteClass[byte]];
        pos += 1;
      }
      if (entry < 0) break;  // pos stays past the character that failed
      row = SSLexExpressionList::RowOf(entry);
      if (entry & SSLexExpressionList::kSpecial) {
        // A state that loops on itself, as runs of text do, takes its run
        // many characters at a time; in a final state the match then ends.
        const SSLexExpressionList::StateInfo& info = list.states[list.StateOfRow(row)];
        if (info.run >= 0) pos = RunEnd<kDoubleByte>(list.runs[info.run], pos);
        if (info.final) {
          acceptedRow = row;
          acceptedEnd = pos;
          break;
        }
      }
      const bool accepts = entry & SSLexExpressionList::kAccepts;
      acceptedRow = accepts ? row : acceptedRow;
      acceptedEnd = accepts ? pos : acceptedEnd;
    }

    if (acceptedRow == kNone) InvalidToken(pos);
    if (acceptedEnd == mark) {  // See Note [empty matches]
      if (lastEmptyMatch_ == mark) InvalidToken(pos);
      lastEmptyMatch_ = mark;
    }
    const SSLexExpressionList::StateInfo& info = list.states[list.StateOfRow(acceptedRow)];
    if (info.flags & (LTF::kFlagPop | LTF::kFlagPush | LTF::kFlagSkip)) {
      if (info.flags & (LTF::kFlagPop | LTF::kFlagPush)) ApplyStackAction(info);
      if (info.flags & LTF::kFlagSkip) {
        // The characters after a one-character skip that are each one too
        // go at once, as the contents of graphic objects do.
        if (info.oneCharSkip) acceptedEnd = RunEnd<kDoubleByte>(list.runs[list.skipRun], acceptedEnd);
        consumer_->MoveMark(acceptedEnd);
        continue;
      }
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

// Where the run of \p run that goes on at \p pos ends: the first character
// that does not stay, or the end of the input. Sixteen bytes at a time where
// the run allows it; in double-byte input the vector scan hands every byte
// with its high bit set (all lead bytes) to the loop of one character at a
// time, which stays there while the characters are not ASCII.
template <bool kDoubleByte>
__attribute__((always_inline)) inline size_t SSLex::RunEnd(const SSLexExpressionList::Run& run, size_t pos) const {
  const unsigned char* const data = data_;
  const size_t length = length_;
#ifdef __SSE2__
  const bool vector = run.vector && (!kDoubleByte || highLeadBytes_);
#endif
  for (;;) {
#ifdef __SSE2__
    if (vector) {
      const auto exit = [&](size_t i) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(run.exits[i].data())); };
      const __m128i e0 = exit(0), e1 = exit(1), e2 = exit(2), e3 = exit(3), e4 = exit(4), e5 = exit(5);
      for (; pos + 16 <= length; pos += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + pos));
        const __m128i hit = _mm_or_si128(
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, e0), _mm_cmpeq_epi8(v, e1)),
                         _mm_or_si128(_mm_cmpeq_epi8(v, e2), _mm_cmpeq_epi8(v, e3))),
            _mm_or_si128(_mm_cmpeq_epi8(v, e4), _mm_cmpeq_epi8(v, e5)));
        unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(hit));
        if (kDoubleByte) mask |= static_cast<unsigned>(_mm_movemask_epi8(v));
        if (mask != 0) {
          pos += static_cast<size_t>(__builtin_ctz(mask));
          break;
        }
      }
    }
#endif
    for (;;) {
      if (pos >= length) return pos;
      const unsigned b = data[pos];
      if (kDoubleByte && lead_[b] && pos + 1 < length) {
        if (!run.wideStays || data[pos + 1] == 0) return pos;
        pos += 2;
      } else {
        if (!run.stays[b]) return pos;
        pos += 1;
        if (b < 0x80) break;  // back to the vector scan
      }
    }
  }
}

void SSLex::NoMode() { throw SSException(SSCode::kLifoNoTop, "SSLifo0002e: No top, stack empty"); }

void SSLex::InvalidToken(size_t end) {
  const size_t mark = consumer_->Mark();
  SSRefPtr<SSToken> bad =
      SSToken::Make(0, std::string_view(reinterpret_cast<const char*>(consumer_->Data()) + mark, end - mark),
                    consumer_->MarkLine(), consumer_->MarkColumn(), static_cast<uint32_t>(mark));
  throw SSException(SSCode::kLexInvalidToken, "SSLex0105e: Invalid token, Line %ld, Offset %ld, %s",
                    static_cast<long>(bad->Line()), static_cast<long>(bad->Column()), bad->Text());
}

// The lexer's match loop, inline for whoever reads tokens at the rate the
// parser does: SSLex itself, and the parser's loop (Note [inline lexing] in
// SSYacc.cpp).
#pragma once

#include <cstddef>
#include <cstdint>

#include "reader/LexTableFormat.h"
#include "reader/SSLex.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

__attribute__((always_inline)) inline void SSLex::ApplyStackAction(const SSLexExpressionList::StateInfo& info) {
  if (info.flags & LexTableFormat::kFlagPop) {
    modes_.Pop();
    active_ = modes_.Empty() ? nullptr : modes_.Top();
  }
  if (info.flags & LexTableFormat::kFlagPush) {
    active_ = info.pushList ? info.pushList : &ExpressionList(info.mode);  // the lookup throws
    modes_.Push(active_);
  }
}

// Note [empty matches]: in a mode with an empty-match token, state 0 accepts
// that token with no text. It consumes nothing, so asking again at the same
// place would give it again, for ever. The rules make modes 1 and 25 take
// every character (a lone ESC is one character of text there); in the other
// modes a second empty match at the same place is an invalid token.
template <bool kDoubleByte>
__attribute__((always_inline)) inline bool SSLex::Match(SSLexToken& token) {
window:
  const unsigned char* const data = data_;
  const size_t length = length_;
  // The mark is kept in a local too: a skipped match moves it, and the
  // next match waits on it.
  size_t mark = mark_;
  for (;;) {
    if (active_ == nullptr) NoMode();  // the rules popped every mode
    const SSLexExpressionList& list = *active_;
    if (mark >= length) {
      if (Refill(mark)) goto window;
      return AtEnd();
    }

    const int32_t* const next = list.next.data();
    // In double-byte input a lead byte's class is the lead column, whose
    // entries send the step below to the double-byte transitions.
    const uint16_t* const byteClass = kDoubleByte ? leadTables_[list.index].byteClass.data() : list.byteClass.data();
    const int32_t* const first = kDoubleByte ? leadTables_[list.index].first.data() : list.first.data();
    uint32_t row = 0;  // state 0
    // The entry of the last accepting state and where its match ends; -1
    // when there is none. Kept without branches: only the end of the loop
    // depends on them.
    int32_t accepted = list.emptyMatch;
    size_t acceptedEnd = mark;
    size_t pos = mark;
    // Each step takes the byte at pos and its entry; the first comes from
    // state 0's own table.
    int32_t entry = first[data[pos]];
    pos += 1;
    for (;;) {
      if (entry < 0) {
        if (!kDoubleByte || entry != SSLexExpressionList::kLeadEntry) break;  // pos stays past what failed
        // The byte before pos leads a character: with the byte after it,
        // the double-byte transitions; as the last byte of the input, its
        // own class's.
        const unsigned leadByte = data[pos - 1];
        if (pos < length) {
          entry = list.WideNext(row, leadByte | uint32_t(data[pos]) << 8);
          pos += 1;
        } else {
          entry = next[row + list.byteClass[leadByte]];
        }
        continue;
      }
      row = SSLexExpressionList::RowOf(entry);
      if (entry & (SSLexExpressionList::kRunMask | SSLexExpressionList::kFinal)) {
        // A state that loops on itself, as runs of text do, takes its run
        // many characters at a time; in a final state the match then ends.
        if (entry & SSLexExpressionList::kRunMask) {
          const bool vector = entry & (kDoubleByte ? SSLexExpressionList::kWideVector : SSLexExpressionList::kVector);
          pos = RunEnd<kDoubleByte>(list.RunOf(entry), vector, pos);
        }
        if (entry & SSLexExpressionList::kFinal) {
          accepted = entry;
          acceptedEnd = pos;
          break;
        }
      }
      const bool accepts = entry & SSLexExpressionList::kAccepts;
      accepted = accepts ? entry : accepted;
      acceptedEnd = accepts ? pos : acceptedEnd;
      if (pos >= length) break;
      entry = next[row + byteClass[data[pos]]];
      pos += 1;
    }
    // A match that ran to the end of the window might go on past it: it
    // is matched again over more input (Note [input window]).
    if (pos >= length && consumer_->More() && Refill(mark)) goto window;

    if (accepted < 0) InvalidToken(pos);
    if (acceptedEnd == mark) {  // See Note [empty matches]
      if (lastEmptyMatch_ == origin_ + mark) InvalidToken(pos);
      lastEmptyMatch_ = origin_ + mark;
    }
    const SSLexExpressionList::StateInfo& info = list.states[list.StateOf(accepted)];
    if (accepted & SSLexExpressionList::kActs) {
      if (info.flags & (LexTableFormat::kFlagPop | LexTableFormat::kFlagPush)) ApplyStackAction(info);
      if (info.flags & LexTableFormat::kFlagSkip) {
        // The characters after a one-character skip that are each one too
        // go at once, as the contents of graphic objects do.
        if (info.oneCharSkip) {
          const SSLexExpressionList::Run& run = list.runs[list.skipRun];
          acceptedEnd = RunEnd<kDoubleByte>(run, run.Vector(kDoubleByte), acceptedEnd);
        }
        mark_ = mark = acceptedEnd;
        continue;
      }
    }
    token.id = info.token;
    token.parseToken = info.parseToken;
    token.offset = static_cast<uint32_t>(origin_ + mark);
    token.length = static_cast<uint32_t>(acceptedEnd - mark);
    mark_ = acceptedEnd;
    return true;
  }
}

#ifdef __SSE2__
namespace sslex_detail {

inline __m128i Load16(const unsigned char* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }

// Which of the sixteen bytes \p v are among the exits of \p run, and, with
// \p withZero, which are zero: one bit each, the first byte lowest.
template <bool withZero>
__attribute__((always_inline)) inline unsigned ExitMask(const SSLexExpressionList::Run& run, __m128i v) {
  const auto exit = [&](size_t i) { return Load16(run.exits[i].data()); };
  __m128i hit = _mm_or_si128(_mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, exit(0)), _mm_cmpeq_epi8(v, exit(1))),
                                          _mm_or_si128(_mm_cmpeq_epi8(v, exit(2)), _mm_cmpeq_epi8(v, exit(3)))),
                             _mm_or_si128(_mm_cmpeq_epi8(v, exit(4)), _mm_cmpeq_epi8(v, exit(5))));
  if (withZero) hit = _mm_or_si128(hit, _mm_cmpeq_epi8(v, _mm_setzero_si128()));
  return static_cast<unsigned>(_mm_movemask_epi8(hit));
}
template <bool withZero>
__attribute__((always_inline)) inline unsigned ExitMask(const SSLexExpressionList::Run& run, const unsigned char* p) {
  return ExitMask<withZero>(run, Load16(p));
}

}  // namespace sslex_detail
#endif

// Where the run of \p run that goes on at \p pos ends: the first character
// that does not stay, or the end of the input. Sixteen bytes at a time when
// \p vector (run.Vector() for this input), else one character at a time.
//
// In double-byte input a byte may be the trail of a lead byte, and then it
// is no character of its own. A byte that is not a lead byte ends a
// character, so the character boundaries after it follow from the number
// of lead bytes in a row: where that number is odd, the last of them leads
// the byte after it. The vector scan thus looks only at the exits, the zero
// bytes (a lead byte and a zero byte make no double-byte character) and the
// lead bytes just before them.
template <bool kDoubleByte>
__attribute__((always_inline)) inline size_t SSLex::RunEnd(const SSLexExpressionList::Run& run, bool vector,
                                                           size_t pos) const {
  const unsigned char* const data = data_;
  const size_t length = length_;
#ifdef __SSE2__
  if (vector && !kDoubleByte) {
    // Thirty-two bytes a step: most runs end within them, which the branch
    // predictor then learns.
    for (; pos + 32 <= length; pos += 32) {
      const uint32_t mask =
          sslex_detail::ExitMask<false>(run, data + pos) | sslex_detail::ExitMask<false>(run, data + pos + 16) << 16;
      if (mask != 0) return pos + static_cast<size_t>(__builtin_ctz(mask));
    }
    for (; pos + 16 <= length; pos += 16) {
      const unsigned mask = sslex_detail::ExitMask<false>(run, data + pos);
      if (mask != 0) return pos + static_cast<size_t>(__builtin_ctz(mask));
    }
  } else if (vector && leadRanges_.Vector()) {
    const bool* const lead = lead_;
    // The start of the character that holds byte pos + at, from the lead
    // bytes among the sixteen at pos: the lead bytes in a row before it
    // lead pairs, so with an odd number of them the last leads it.
    const auto boundary = [&](unsigned leads, unsigned at) {
      const unsigned others = ~leads & ((1u << at) - 1);
      // The bytes up to and with the last of them; none when there is
      // none (`| 1` keeps clz defined, so that no branch decides it: lead
      // bytes come and go at random in text).
      const unsigned upToOthers = 32 - static_cast<unsigned>(__builtin_clz(others | 1)) - (others == 0);
      const unsigned inRow = at - upToOthers;
      return pos + at - (inRow & 1);
    };
    // Sixteen bytes and the byte after them, so that a lead byte among
    // them always has its trail.
    while (pos + 16 < length) {
      const __m128i v = sslex_detail::Load16(data + pos);
      const unsigned mask = sslex_detail::ExitMask<true>(run, v);
      const auto leads = static_cast<unsigned>(_mm_movemask_epi8(leadRanges_.In(v)));
      if (mask == 0) {
        // Every character stays; the last may lead the byte after them.
        const size_t at = boundary(leads, 16);
        if (at == pos + 16) {
          pos = at;
        } else if (data[pos + 16] == 0) {
          return at;
        } else {
          pos += 17;
        }
        continue;
      }
      // The character that holds the first byte found, taken alone.
      const size_t at = boundary(leads, static_cast<unsigned>(__builtin_ctz(mask)));
      const unsigned b = data[at];
      if (lead[b]) {
        if (data[at + 1] == 0) return at;
        pos = at + 2;
      } else if (run.stays[b]) {
        pos = at + 1;
      } else {
        return at;
      }
    }
  }
#endif
  while (pos < length) {
    const unsigned b = data[pos];
    if (kDoubleByte && lead_[b] && pos + 1 < length) {
      if (!run.wideStays || data[pos + 1] == 0) break;
      pos += 2;
    } else {
      if (!run.stays[b]) break;
      pos += 1;
    }
  }
  return pos;
}

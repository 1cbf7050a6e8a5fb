// SSLex: longest-match lexing over the LexTable automata.
#include "reader/SSLex.h"

#include <algorithm>

#include "reader/SSLexMatch.h"

SSLex::SSLex(const CResourceModule& module, const std::string& fileName) : SSLex(SSLexTable::Load(module), nullptr) {
  consumer_ = std::make_unique<SSLexConsumer>(fileName);
  TakeInput();
}

SSLex::SSLex(const CResourceModule& module, std::string text, std::string name)
    : SSLex(module, std::make_unique<SSLexConsumer>(std::move(text), std::move(name))) {}

SSLex::SSLex(const CResourceModule& module, std::unique_ptr<SSLexConsumer> consumer)
    : SSLex(SSLexTable::Load(module), std::move(consumer)) {}

SSLex::SSLex(std::shared_ptr<const SSLexTable> table, std::unique_ptr<SSLexConsumer> consumer)
    : table_(std::move(table)), consumer_(std::move(consumer)) {
  if (table_) {
    active_ = &ExpressionList(0);
    modes_.Push(active_);
  }
  if (consumer_) TakeInput();
}

void SSLex::TakeInput() {
  TakeWindow();
  lead_ = consumer_->LeadBytes().data();
  if (table_) {
    // By double-byte input, then by processor.
    static constexpr bool (*kLoops[2][2])(SSLex&, SSLexToken&) = {{&MatchIn<false>, &MatchInV3<false>},
                                                                  {&MatchIn<true>, &MatchInV3<true>}};
    next_ = kLoops[consumer_->HasLeadBytes()][ActiveCpuLevel() == CpuLevel::kX86_64V3];
  }
  leadRanges_ = LeadByteRanges(consumer_->LeadBytes());
  leadTables_ = table_ && consumer_->HasLeadBytes() ? table_->ForLeadBytes(consumer_->LeadBytes()) : nullptr;
}

void SSLex::TakeWindow() {
  data_ = consumer_->Data();
  length_ = consumer_->Size();
  origin_ = consumer_->Origin();
}

bool SSLex::Refill(size_t mark) {
  consumer_->MoveMark(mark);
  if (!consumer_->Refill()) return false;
  mark_ = consumer_->Mark();
  TakeWindow();
  return true;
}

SSLex::~SSLex() = default;

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

template <bool kDoubleByte>
bool SSLex::MatchIn(SSLex& lex, SSLexToken& token) {
  return lex.Match<kDoubleByte>(token);
}

template <bool kDoubleByte>
bool SSLex::MatchInV3(SSLex& lex, SSLexToken& token) {
  return lex.Match<kDoubleByte>(token);
}

bool SSLex::Missing(SSLex&, SSLexToken&) {
  throw SSException(SSCode::kLexMissing, "SSLex0107e: Table or consumer missing, required");
}

void SSLex::NoMode() { throw SSException(SSCode::kLifoNoTop, "SSLifo0002e: No top, stack empty"); }

bool SSLex::AtEnd() const {
  ThrowIfInputCut();
  return false;
}

void SSLex::ThrowIfInputCut() const {
  if (consumer_->InputCut()) {
    throw SSException(SSCode::kLexFileLength, "SSLex0102e: Invalid file length or read error, %s, %ld",
                      consumer_->Name().c_str(), static_cast<long>(consumer_->Length()));
  }
}

void SSLex::InvalidToken(size_t end) {
  // Zeros where a cut file's bytes were are no token: the read error is
  // what to report.
  ThrowIfInputCut();
  const size_t mark = mark_;
  const SSTextPlace place = consumer_->PlaceAt(origin_ + mark);
  SSRefPtr<SSToken> bad =
      SSToken::Make(0, std::string_view(reinterpret_cast<const char*>(consumer_->Data()) + mark, end - mark),
                    place.line, place.column, static_cast<uint32_t>(origin_ + mark));
  throw SSException(SSCode::kLexInvalidToken, "SSLex0105e: Invalid token, Line %ld, Offset %ld, %s",
                    static_cast<long>(bad->Line()), static_cast<long>(bad->Column()), bad->Text());
}

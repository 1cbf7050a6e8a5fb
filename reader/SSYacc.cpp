// The parser engine: shift, reduce, goto and accept driven by the table,
// and the recovery that skips to a sync token after a syntax error.
#include "reader/SSYacc.h"

#include <fstream>
#include <iterator>

#include "platform/Resources.h"
#include "reader/SSException.h"
#include "reader/SSLex.h"
#include "reader/SSLexMatch.h"
#include "reader/SSSetArray.h"
#include "reader/TableCache.h"

using namespace YaccTableFormat;

namespace {
// The texts of the tokens the engine makes itself.
constexpr char kEofText[] = "eof";
constexpr char kErrorText[] = "%error";
}  // namespace

SSYacc::SSYacc() { Push(0, {}); }

SSYacc::~SSYacc() = default;

void SSYacc::LoadTable(const CResourceModule& module, std::string_view name, std::string_view type) {
  std::string n(name);
  auto image = module.Find(type, name);
  if (!image) throw SSException(SSCode::kYaccResourceNotFound, "SSYacc0115e: Resource not found, %s", n.c_str());
  table_ = DecodedOnce<SSYaccTable>(*image, n);
}

void SSYacc::LoadTableFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw SSException(SSCode::kYaccOpenFile, "SSYacc0101e: Open file failed, %s", path.c_str());
  std::vector<unsigned char> image((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  table_ = std::make_shared<const SSYaccTable>(image, path);
}

void SSYacc::RequireTable() const {
  if (!table_) throw SSException(SSCode::kYaccNoTable, "SSYacc0109e: setTable missing, required");
}

// Note [direct lexing]: most parsers keep the default NextToken, and many
// the default TokenHook or Reduce; then a token costs two calls through the
// vtable and a copy for nothing, and a reduction a call that returns none.
// The engine asks once, at the start of the parse, which of them are
// overridden (GCC resolves a bound member pointer to the function it
// calls; elsewhere the slots are always used), reads the lexer's token
// straight into the lookahead when it may, and calls only the hook and
// Reduce of a subclass.
void SSYacc::LearnOverrides() {
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpmf-conversions"
#pragma GCC diagnostic ignored "-Wpedantic"
  // The member pointers must be constants: only then is the second
  // conversion this class's own function.
  directLex_ = lex_ != nullptr && (void*)(this->*&SSYacc::NextToken) == (void*)&SSYacc::NextToken;
  callTokenHook_ = (void*)(this->*&SSYacc::TokenHook) != (void*)&SSYacc::TokenHook;
  callReduce_ = (void*)(this->*&SSYacc::Reduce) != (void*)&SSYacc::Reduce;
#pragma GCC diagnostic pop
#else
  directLex_ = false;
  callTokenHook_ = true;
  callReduce_ = true;
#endif
}

// Note [inline lexing]: through SSLex::Next, every token's match is a call
// of its own, by the lexer's pointer to the loop for its input, whose entry
// and exit save and restore half the registers, and whose token goes
// through memory. The parse loop comes in three kinds instead: with the
// lexer's loop for single-byte or for double-byte input inline
// (SSLexMatch.h), chosen once per parse, or through Next and the slots.
// Lexing and parsing took 5 to 7 percent less time so. The two with the
// match inline come built for x86-64-v3 too, as the lexer's loops do.
template <SSYacc::LexPath kPath>
__attribute__((always_inline)) inline void SSYacc::ReadToken() {
  if (kPath == LexPath::kAny && !directLex_) return ReadThroughSlots();
  if (endOfInput_) throw SSException(SSCode::kYaccReadPastEof, "SSYacc0103e: Attempted read past eof");
  bool read;
  if constexpr (kPath == LexPath::kSingleByte) {
    read = lex_->Match<false>(lookahead_.Value());
  } else if constexpr (kPath == LexPath::kDoubleByte) {
    read = lex_->Match<true>(lookahead_.Value());
  } else {
    read = lex_->Next(lookahead_.Value());
  }
  if (read) {
    // See Note [lexer tokens in the inline loops].
    if (kPath == LexPath::kAny) {
      lookahead_.SetPlaces(lex_->Places());
      if (lookaheadObject_) lookaheadObject_ = {};
    }
  } else {
    TakeLookahead({});
  }
  hasLookahead_ = true;
  if (callTokenHook_ && HookWanted(lookahead_.Id())) TokenHook(lookahead_);
}

int32_t SSYacc::Parse() {
  RequireTable();
  const SSYaccTable& table = *table_;
  // The texts and places of the tokens on the stack stay in the lexer's
  // window while the parse runs: the oldest is the one at the bottom.
  struct KeepTokens {
    SSLex* lex;
    explicit KeepTokens(SSYacc& parser) : lex(parser.lex_) {
      const auto& tokens = parser.tokens_;
      if (lex) lex->SetKeepFrom([&tokens] { return tokens.Empty() ? SIZE_MAX : size_t{tokens[0].Offset()}; });
    }
    ~KeepTokens() {
      if (lex) lex->SetKeepFrom({});
    }
  } keepTokens(*this);
  LearnOverrides();
  productions_.assign(table.ProductionCount(), ProductionInfo{});
  LearnReduceCalls();
  if (directLex_) {
    // The lexer has chosen its loop for the input and the processor.
    if (lex_->next_ == &SSLex::MatchIn<false>) return ParseLoop<LexPath::kSingleByte>(table);
    if (lex_->next_ == &SSLex::MatchIn<true>) return ParseLoop<LexPath::kDoubleByte>(table);
    if (lex_->next_ == &SSLex::MatchInV3<false>) return ParseLoopV3<LexPath::kSingleByte>(table);
    if (lex_->next_ == &SSLex::MatchInV3<true>) return ParseLoopV3<LexPath::kDoubleByte>(table);
  }
  return ParseLoop<LexPath::kAny>(table);
}

// Note [lexer tokens in the inline loops]: in the loops with the lexer's
// match inline, every token the loop reads comes from the lexer, whose
// places (its consumer) stay the same for the whole parse. So the
// lookahead takes them once, before the first token, and no token of the
// loop is an object. Error recovery, which makes the "%error" token an
// object, gives back the lookahead and its object as they were, and reads
// its tokens by the general path, which sets both. Two loads, a store and
// two tests less per token: 2 to 2.5% of the instructions of lex+parse.
template <SSYacc::LexPath kPath>
__attribute__((always_inline)) inline int32_t SSYacc::ParseWith(const SSYaccTable& table) {
  if constexpr (kPath != LexPath::kAny) lookahead_.SetPlaces(lex_->Places());
  ReadToken<kPath>();
  // The action and the states go from step to step in locals: a member
  // would put a store and a load into the chain of lookups that each
  // reduction is. So do the lookahead's actions, which change only with
  // the lookahead. Error recovery sets action_.
  SSYaccTable::TokenActions actions = table.ActionsFor(LookaheadId());
  uint32_t action = actions.In(state_);
  while (!abort_) {
    const uint32_t kind = action & kKindMask;
    if (kind == kShift) {
      const auto next = static_cast<int32_t>(action & kNumberMask);
      if (trace_) Trace("shift to state", next);
      Shift<kPath == LexPath::kAny>(next);
      ReadToken<kPath>();
      actions = table.ActionsFor(LookaheadId());
      action = actions.In(next);
    } else if (kind == kReduce) {
      const uint32_t production = SSYaccTable::ProductionOf(action);
      const uint32_t length = table.RightSideOf(action);
      production_ = static_cast<int32_t>(production);
      productionLength_ = static_cast<int32_t>(length);
      if (trace_) Trace("reduce by production", production_);
      // Most reductions go to no Reduce, and so have no element to push.
      ProductionInfo& info = productions_[production];
      int32_t next;
      if (ReduceWanted(info)) {
        SSRefPtr<SSYaccStackElement> element = CallReduce();
        PopRightSide(info, length);
        next = GotoAfter(table, production);
        Push(next, std::move(element));
      } else {
        PopRightSide(info, length);
        next = GotoAfter(table, production);
        PushState(next);
      }
      action = actions.In(next);
    } else if (action == 0) {
      error_ = true;
      if (trace_) Trace("error in state", state_);
      if (!Error()) return 1;
      actions = table.ActionsFor(LookaheadId());
      action = action_;
    } else if (kind == kAccept) {
      return Result();
    } else if (kind == kLookahead) {
      LookaheadError();
      return 1;
    } else {
      throw SSException(SSCode::kYaccParseFailed, "SSYacc0102e: Parse failed, invalid table");
    }
  }
  return 1;
}

// The loop as its own function, once per way of reading tokens, and again
// built for x86-64-v3 (see platform/CpuLevel.h).
template <SSYacc::LexPath kPath>
int32_t SSYacc::ParseLoop(const SSYaccTable& table) {
  return ParseWith<kPath>(table);
}

template <SSYacc::LexPath kPath>
int32_t SSYacc::ParseLoopV3(const SSYaccTable& table) {
  return ParseWith<kPath>(table);
}

void SSYacc::LearnReduceCalls() noexcept {
  for (size_t production = 0; production < productions_.size(); ++production) {
    ReduceCall& call = productions_[production].call;
    if (!callReduce_) {
      call = ReduceCall::kNever;
    } else if (!filterReductions_ || (production < reduceFilter_.size() && reduceFilter_[production])) {
      call = ReduceCall::kAlways;
    } else {
      call = ReduceCall::kPoll;
    }
  }
}

void SSYacc::InvalidGoto(const SSYaccTable& table, uint32_t production) {
  throw SSException(SSCode::kYaccInvalidGoto, "SSYacc0107e: Invalid goto on %ld",
                    long{table.ProductionLeft(production)});
}

uint32_t SSYacc::PushElement(int32_t state, SSRefPtr<SSYaccStackElement>&& element) {
  if (element) element->SetState(state);
  elements_.push_back(std::move(element));
  return kElementEntry;
}

void SSYacc::DropElements(uint32_t count) {
  size_t elements = 0;
  for (size_t i = entries_.Size() - count; i < entries_.Size(); ++i) elements += (entries_[i] & kElementEntry) != 0;
  elements_.resize(elements_.size() - elements);
}

void SSYacc::NoTop() { throw SSException(SSCode::kLifoNoTop, "SSLifo0002e: No top, stack empty"); }

void SSYacc::PopEmpty() { throw SSException(SSCode::kLifoPopEmpty, "SSLifo0004e: Cannot pop empty stack"); }

// Element from production is only valid while Reduce runs, however it ends.
SSRefPtr<SSYaccStackElement> SSYacc::CallReduce() {
  struct InReduce {
    bool& flag;
    explicit InReduce(bool& f) : flag(f) { flag = true; }
    ~InReduce() { flag = false; }
  } inReduce(inReduce_);
  return Reduce(production_, productionLength_);
}

SSYacc::Place SSYacc::PlaceOf(int32_t index) const {
  if (!inReduce_ || index < 0 || index >= productionLength_) {
    throw SSException(SSCode::kYaccInvalidIndex, "SSYacc0108e: Invalid index on elementFromProduction, %ld",
                      long{index});
  }
  // The entry is productionLength_ - 1 - index places below the top.
  Place place{entries_.Size() - static_cast<size_t>(productionLength_ - index), tokens_.Size(), elements_.size()};
  for (size_t i = place.entry + 1; i < entries_.Size(); ++i) {
    place.token -= entries_[i] >> 31;
    place.element -= (entries_[i] & kElementEntry) != 0;
  }
  return place;
}

SSYaccStackElement* SSYacc::ElementFromProduction(int32_t index) {
  const Place place = PlaceOf(index);
  uint32_t& entry = entries_[place.entry];
  if (entry & kElementEntry) return elements_[place.element - 1].get();
  SSRefPtr<SSYaccStackElement> element;
  if (entry & kTokenEntry) {
    const SSTokenView& token = tokens_[place.token - 1];
    const SSTextPlace at = token.Place();
    element =
        ShiftElement(SSToken::Make(token.Id(), token.View(), at.line, at.column, token.Offset(), token.ParseToken()));
  } else {
    element = NewElement();
  }
  if (element) element->SetState(static_cast<int32_t>(entry & kStateBits));
  SSYaccStackElement* made = element.get();
  elements_.insert(elements_.begin() + static_cast<std::ptrdiff_t>(place.element), std::move(element));
  entry |= kElementEntry;
  return made;
}

bool SSYacc::TokenFromPlace(int32_t index, SSTokenView& token) {
  const Place place = PlaceOf(index);
  const uint32_t entry = entries_[place.entry];
  if (entry & kElementEntry) {
    const SSYaccStackElement* element = elements_[place.element - 1].get();
    if (element == nullptr || element->Token() == nullptr) return false;
    token = SSTokenView(*element->Token());
    return true;
  }
  if (!(entry & kTokenEntry)) return false;
  token = tokens_[place.token - 1];
  return true;
}

void SSYacc::ReadThroughSlots() {
  if (endOfInput_) throw SSException(SSCode::kYaccReadPastEof, "SSYacc0103e: Attempted read past eof");
  lexTokenRead_ = false;
  SSRefPtr<SSToken> object = NextToken();
  if (object || !lexTokenRead_) {
    TakeLookahead(std::move(object));
  } else {
    lookahead_ = SSTokenView(lexToken_, lex_->Places());
    if (lookaheadObject_) lookaheadObject_ = {};
  }
  hasLookahead_ = true;
  if (HookWanted(lookahead_.Id())) TokenHook(lookahead_);
}

void SSYacc::TakeLookahead(SSRefPtr<SSToken>&& object) {
  if (object) {
    lookahead_ = SSTokenView(*object);
    lookaheadObject_ = std::move(object);
  } else {
    lookahead_ = SSTokenView(SSLexToken{kEofToken, 0, 0, sizeof kEofText - 1}, kEofText);
    lookaheadObject_ = {};
    endOfInput_ = true;
  }
}

// A token read as an object gets its element when shifted, which keeps the
// object (and so its text) alive.
uint32_t SSYacc::ShiftObject(int32_t state) { return PushElement(state, ShiftElement(lookaheadObject_)); }

// Every state on the stack contributes the tokens at which it could take
// the parse up again (see SSYaccTable::SyncSet).
void SSYacc::BuildSyncSet(SSSetArray& sync) {
  for (size_t i = entries_.Size(); i-- > 0;)
    sync.AddAll(table_->SyncSet(static_cast<int32_t>(entries_[i] & kStateBits)));
}

bool SSYacc::Error() {
  SSSetArray sync(64, 64);
  BuildSyncSet(sync);
  if (sync.Empty()) throw SSException(SSCode::kYaccErrorTokenFailed, "SSYacc0105e: Error token failed, no valid token");
  // Drop tokens up to a sync token; the end of input is none, so a file
  // without one ends here with "read past eof".
  while (!sync.Contains(LookaheadId())) {
    if (trace_) Trace("drop", state_);
    ReadToken<LexPath::kAny>();
  }

  // Unwind to the state that takes the parse up again at this token.
  const int32_t token = LookaheadId();
  while (!entries_.Empty()) {
    const int32_t state = TopState();
    const uint32_t flags = table_->Flags(state);
    const int32_t errorTarget = table_->ErrorTarget(state);
    if (errorTarget >= 0 && table_->FindAction(errorTarget, token) != 0) {
      // The "%error" token goes on the stack as one read as an object.
      const SSTokenView at = lookahead_;
      SSRefPtr<SSToken> read = std::move(lookaheadObject_);
      const SSTextPlace place = at.Place();
      lookaheadObject_ = SSToken::Make(kErrorToken, kErrorText, place.line, place.column, at.Offset());
      lookahead_ = SSTokenView(*lookaheadObject_);
      Shift(errorTarget);
      lookahead_ = at;
      lookaheadObject_ = std::move(read);
      action_ = table_->FindAction(errorTarget, token);
      if (trace_) Trace("resume after %error in state", errorTarget);
      return true;
    }
    if (flags & (kAllSync | kRecoveryPoint)) {
      action_ = table_->FindAction(state, token);
      if (action_ != 0) {
        state_ = state;
        if (trace_) Trace("resume in state", state);
        return true;
      }
    }
    PopEntries(1);
  }
  return false;
}

// One line per step: the step, its number, and the lookahead token with
// its position.
void SSYacc::Trace(const char* step, int32_t number) const {
  const SSTokenView& t = lookahead_;
  const SSTextPlace place = t.Place();
  std::fprintf(trace_, "%s %ld\t%ld:%ld %s %.*s\n", step, long{number}, long{place.line}, long{place.column},
               lex_ ? lex_->TokenName(t.Id()) : std::to_string(t.Id()).c_str(), t.Length() > 40 ? 40 : int(t.Length()),
               t.View().data());
}

int32_t SSYacc::Result() { return error_ ? 1 : 0; }

SSRefPtr<SSToken> SSYacc::NextToken() {
  if (lex_ == nullptr) throw SSException(SSCode::kYaccNoLex, "SSYacc0110e: setLex missing, required");
  lexTokenRead_ = lex_->Next(lexToken_);
  return {};
}

SSRefPtr<SSYaccStackElement> SSYacc::NewElement() { return SSYaccStackElement::Make(); }

SSRefPtr<SSYaccStackElement> SSYacc::ShiftElement(const SSRefPtr<SSToken>& token) {
  SSRefPtr<SSYaccStackElement> element = NewElement();
  element->SetToken(token);
  return element;
}

int32_t SSYacc::TokenHook(const SSTokenView&) { return 0; }

SSRefPtr<SSYaccStackElement> SSYacc::Reduce(int32_t, int32_t) { return {}; }

void SSYacc::LookaheadError() {
  throw SSException(SSCode::kYaccParseFailed, "SSYacc0102e: Parse failed, invalid table");
}

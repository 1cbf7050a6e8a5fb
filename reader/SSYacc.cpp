// The parser engine: shift, reduce, goto and accept driven by the table,
// and the recovery that skips to a sync token after a syntax error.
#include "reader/SSYacc.h"

#include <fstream>
#include <iterator>

#include "platform/Resources.h"
#include "reader/SSException.h"
#include "reader/SSLex.h"
#include "reader/SSSetArray.h"
#include "reader/TableCache.h"

using namespace YaccTableFormat;

SSYacc::SSYacc() : eofToken_(SSToken::Make(kEofToken, "eof", 0, 0)), stack_(64, 64) {
  Push(0, SSYaccStackElement::Make());
}

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

int32_t SSYacc::Parse() {
  RequireTable();
  ReadToken();
  action_ = table_->FindAction(state_, LookaheadId());
  while (!abort_) {
    if (action_ == 0) {
      error_ = true;
      if (trace_) Trace("error in state", state_);
      if (!Error()) return 1;
      continue;
    }
    switch (action_ & kKindMask) {
      case kShift: {
        if (trace_) Trace("shift to state", static_cast<int32_t>(action_ & kNumberMask));
        Push(static_cast<int32_t>(action_ & kNumberMask), ShiftElement(lookahead_));
        ReadToken();
        action_ = table_->FindAction(state_, LookaheadId());
        break;
      }
      case kReduce: {
        production_ = static_cast<int32_t>(action_ & kNumberMask);
        productionLength_ = static_cast<int32_t>(table_->ProductionLength(production_));
        if (trace_) Trace("reduce by production", production_);
        SSRefPtr<SSYaccStackElement> element = CallReduce();
        stack_.Drop(static_cast<uint32_t>(productionLength_));
        const int32_t left = table_->ProductionLeft(production_);
        const int32_t next = table_->FindGoto(stack_.Top().state, left);
        if (next < 0) throw SSException(SSCode::kYaccInvalidGoto, "SSYacc0107e: Invalid goto on %ld", long{left});
        Push(next, std::move(element));
        action_ = table_->FindAction(state_, LookaheadId());
        break;
      }
      case kAccept:
        return Result();
      case kLookahead:
        LookaheadError();
        return 1;
      default:
        throw SSException(SSCode::kYaccParseFailed, "SSYacc0102e: Parse failed, invalid table");
    }
  }
  return 1;
}

// Element from production is only valid while Reduce runs, however it ends.
SSRefPtr<SSYaccStackElement> SSYacc::CallReduce() {
  struct InReduce {
    bool& flag;
    explicit InReduce(bool& f) : flag(f) { flag = true; }
    ~InReduce() { flag = false; }
  } inReduce(inReduce_);
  return Reduce(production_, productionLength_);
}

SSYaccStackElement* SSYacc::ElementFromProduction(int32_t index) {
  if (!inReduce_ || index < 0 || index >= productionLength_) {
    throw SSException(SSCode::kYaccInvalidIndex, "SSYacc0108e: Invalid index on elementFromProduction, %ld",
                      long{index});
  }
  return stack_.Peek(static_cast<uint32_t>(productionLength_ - 1 - index)).element.get();
}

void SSYacc::ReadToken() {
  if (endOfInput_) throw SSException(SSCode::kYaccReadPastEof, "SSYacc0103e: Attempted read past eof");
  lookahead_ = NextToken();
  if (!lookahead_) {
    lookahead_ = eofToken_;
    endOfInput_ = true;
  }
  TokenHook(*lookahead_);
}

int32_t SSYacc::LookaheadId() const noexcept {
  int32_t replacement = lookahead_->ParseToken();
  return replacement != 0 ? replacement : lookahead_->Id();
}

// Every state on the stack contributes the tokens at which it could take
// the parse up again (see SSYaccTable::SyncSet).
void SSYacc::BuildSyncSet(SSSetArray& sync) {
  for (uint32_t depth = 0; depth < stack_.Size(); ++depth) sync.AddAll(table_->SyncSet(stack_.Peek(depth).state));
}

bool SSYacc::Error() {
  SSSetArray sync(64, 64);
  BuildSyncSet(sync);
  if (sync.Empty()) throw SSException(SSCode::kYaccErrorTokenFailed, "SSYacc0105e: Error token failed, no valid token");
  // Drop tokens up to a sync token; the end of input is none, so a file
  // without one ends here with "read past eof".
  while (!sync.Contains(LookaheadId())) {
    if (trace_) Trace("drop", state_);
    ReadToken();
  }

  // Unwind to the state that takes the parse up again at this token.
  const int32_t token = LookaheadId();
  while (!stack_.Empty()) {
    const int32_t state = stack_.Top().state;
    const uint32_t flags = table_->Flags(state);
    const int32_t errorTarget = table_->ErrorTarget(state);
    if (errorTarget >= 0 && table_->FindAction(errorTarget, token) != 0) {
      SSRefPtr<SSToken> errorToken =
          SSToken::Make(kErrorToken, "%error", lookahead_->Line(), lookahead_->Column(), lookahead_->Offset());
      Push(errorTarget, ShiftElement(errorToken));
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
    stack_.Pop();
  }
  return false;
}

// One line per step: the step, its number, and the lookahead token with
// its position.
void SSYacc::Trace(const char* step, int32_t number) const {
  const SSToken& t = *lookahead_;
  std::fprintf(trace_, "%s %ld\t%ld:%ld %s %.*s\n", step, long{number}, long{t.Line()}, long{t.Column()},
               lex_ ? lex_->TokenName(t.Id()) : std::to_string(t.Id()).c_str(), t.Length() > 40 ? 40 : int(t.Length()),
               t.Text());
}

int32_t SSYacc::Result() { return error_ ? 1 : 0; }

SSRefPtr<SSToken> SSYacc::NextToken() {
  if (lex_ == nullptr) throw SSException(SSCode::kYaccNoLex, "SSYacc0110e: setLex missing, required");
  return lex_->NextToken();
}

SSRefPtr<SSYaccStackElement> SSYacc::NewElement() { return SSYaccStackElement::Make(); }

SSRefPtr<SSYaccStackElement> SSYacc::ShiftElement(const SSRefPtr<SSToken>& token) {
  SSRefPtr<SSYaccStackElement> element = NewElement();
  element->SetToken(token);
  return element;
}

int32_t SSYacc::TokenHook(SSToken&) { return 0; }

SSRefPtr<SSYaccStackElement> SSYacc::Reduce(int32_t, int32_t) { return NewElement(); }

void SSYacc::LookaheadError() { throw SSException(SSCode::kYaccParseFailed, "SSYacc0102e: Parse failed, invalid table"); }

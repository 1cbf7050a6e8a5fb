// Phase 1 of lexgen: the rules file, read line by line into LexRules.
#include "tools/lexgen/RulesParser.h"

#include <cctype>
#include <cstring>
#include <sstream>

#include "reader/InterleafTokens.h"

namespace {

bool IsWordStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool IsWordChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-'; }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

PatternPtr MakeSet(CodeSet set) {
  auto p = std::make_shared<Pattern>();
  p->kind = Pattern::Kind::Set;
  p->set = std::move(set);
  return p;
}

PatternPtr MakeNode(Pattern::Kind kind, std::vector<PatternPtr> parts) {
  if (parts.size() == 1 && (kind == Pattern::Kind::Concat || kind == Pattern::Kind::Alt)) {
    return parts[0];
  }
  auto p = std::make_shared<Pattern>();
  p->kind = kind;
  p->parts = std::move(parts);
  return p;
}

}  // namespace

bool RulesParser::Line::At(const char* punctOrWord) const {
  const Tok& t = Peek();
  return (t.kind == Tok::Punct || t.kind == Tok::Word) && t.text == punctOrWord;
}

// Reads one escape after a backslash at text[i]; advances i past it.
static bool ReadEscape(const std::string& text, size_t& i, uint32_t& code) {
  if (i + 1 >= text.size()) return false;
  char c = text[i + 1];
  i += 2;
  switch (c) {
    case 't':
      code = '\t';
      return true;
    case 'n':
      code = '\n';
      return true;
    case 'x': {
      if (i + 2 > text.size()) return false;
      int hi = HexValue(text[i]), lo = HexValue(text[i + 1]);
      if (hi < 0 || lo < 0) return false;
      code = static_cast<uint32_t>(hi * 16 + lo);
      i += 2;
      return true;
    }
    default:
      if (std::isalnum(static_cast<unsigned char>(c))) return false;
      code = static_cast<unsigned char>(c);
      return true;
  }
}

// The run of characters from text[i] that \p take accepts; advances i past it.
static std::string TakeWhile(const std::string& text, size_t& i, bool (*take)(char)) {
  size_t start = i;
  while (i < text.size() && take(text[i])) ++i;
  return text.substr(start, i - start);
}

static bool IsDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

bool RulesParser::Tokenize(int number, const std::string& text, Line& line) {
  line.number = number;
  size_t i = 0;
  while (i < text.size() && text[i] != '#') {
    char c = text[i];
    bool ok = true;
    if (c == ' ' || c == '\t' || c == '\r') {
      ++i;
    } else if (IsWordStart(c)) {
      line.toks.push_back({Tok::Word, TakeWhile(text, i, IsWordChar), {}});
    } else if (IsDigit(c)) {
      line.toks.push_back({Tok::Number, TakeWhile(text, i, IsDigit), {}});
    } else if (c == '\'') {
      ok = TokenizeLiteral(number, text, i, line);
    } else if (c == '[') {
      ok = TokenizeClass(number, text, i, line);
    } else {
      ok = TokenizePunct(number, text, i, line);
    }
    if (!ok) return false;
  }
  line.toks.push_back({Tok::End, "", {}});
  return true;
}

bool RulesParser::ReadCode(int number, const std::string& text, size_t& i, uint32_t& code, const char* where) {
  code = static_cast<unsigned char>(text[i]);
  if (text[i] != '\\') {
    ++i;
    return true;
  }
  if (ReadEscape(text, i, code)) return true;
  diag_.Error(number, std::string("bad escape in ") + where);
  return false;
}

bool RulesParser::TokenizeLiteral(int number, const std::string& text, size_t& i, Line& line) {
  Tok t{Tok::Literal, "", {}};
  for (++i; i < text.size() && text[i] != '\'';) {
    uint32_t code = 0;
    if (!ReadCode(number, text, i, code, "literal")) return false;
    t.text += static_cast<char>(code);
  }
  if (i >= text.size()) {
    diag_.Error(number, "unterminated literal");
    return false;
  }
  ++i;
  if (t.text.empty()) {
    diag_.Error(number, "empty literal");
    return false;
  }
  line.toks.push_back(std::move(t));
  return true;
}

bool RulesParser::TokenizeClass(int number, const std::string& text, size_t& i, Line& line) {
  ++i;
  bool negate = i < text.size() && text[i] == '^';
  if (negate) ++i;
  CodeSet set;
  // A ']' right at the start closes the class too: [] is an empty class
  // (an error), [^] any character.
  while (i < text.size() && text[i] != ']') {
    uint32_t low = 0;
    if (!ReadCode(number, text, i, low, "character class")) return false;
    uint32_t high = low;
    if (i + 1 < text.size() && text[i] == '-' && text[i + 1] != ']') {
      ++i;
      if (!ReadCode(number, text, i, high, "character class")) return false;
      if (high < low) {
        diag_.Error(number, "reversed range in character class");
        return false;
      }
    }
    set.Add(low, high);
  }
  if (i >= text.size()) {
    diag_.Error(number, "unterminated character class");
    return false;
  }
  ++i;
  if (!negate && set.Empty()) {
    diag_.Error(number, "empty character class");
    return false;
  }
  line.toks.push_back({Tok::Class, "", negate ? set.Complement() : set});
  return true;
}

bool RulesParser::TokenizePunct(int number, const std::string& text, size_t& i, Line& line) {
  static const char* const kPunct[] = {"=>", "->", "=", "(", ")", "|", "*", "+", "?", ":"};
  for (const char* p : kPunct) {
    size_t n = std::strlen(p);
    if (text.compare(i, n, p) == 0) {
      line.toks.push_back({Tok::Punct, p, {}});
      i += n;
      return true;
    }
  }
  diag_.Error(number, std::string("unexpected character '") + text[i] + "'");
  return false;
}

LexRules RulesParser::Parse(const std::string& text) {
  std::istringstream in(text);
  std::string raw;
  int number = 0;
  while (std::getline(in, raw)) {
    ++number;
    Line line;
    if (!Tokenize(number, raw, line)) continue;
    if (line.Peek().kind == Tok::End) continue;
    ParseLine(line);
  }
  if (inGroup_ || mode_ != nullptr) diag_.Error(number, "missing 'end' at the end of the file");

  LexRules rules;
  for (auto& [n, mode] : modes_) {
    if (n != static_cast<int32_t>(rules.modes.size())) {
      diag_.Error(mode.line, "mode " + std::to_string(rules.modes.size()) + " is missing");
      break;
    }
    rules.modes.push_back(std::move(mode));
  }
  if (rules.modes.empty()) diag_.Error(number, "no modes");
  // Stack actions name their target mode by title.
  std::map<std::string, int32_t> numbers;
  for (const LexMode& m : rules.modes) numbers.emplace(m.title, m.number);
  auto resolveTarget = [&](LexAction& a, int line) {
    if (a.stack != StackAction::Push && a.stack != StackAction::Switch) return;
    auto it = numbers.find(a.modeTitle);
    if (it == numbers.end())
      diag_.Error(line, "no mode is titled '" + a.modeTitle + "'");
    else
      a.mode = it->second;
  };
  for (LexMode& m : rules.modes) {
    for (LexItem& item : m.items) {
      if (LexRule* r = std::get_if<LexRule>(&item)) {
        resolveTarget(r->action, r->line);
      } else {
        for (AutomatonState& s : std::get<LexAutomaton>(item).states)
          if (s.accept) resolveTarget(*s.accept, s.line);
      }
    }
  }
  return rules;
}

std::vector<LexItem>* RulesParser::CurrentItems() {
  if (inGroup_) return &groupItems_;
  if (mode_ != nullptr) return &mode_->items;
  return nullptr;
}

bool RulesParser::ExpectEnd(Line& line) {
  if (line.Peek().kind == Tok::End) return true;
  diag_.Error(line.number, "unexpected '" + line.Peek().text + "'");
  return false;
}

void RulesParser::ParseLine(Line& line) {
  if (automaton_) {
    ParseAutomatonLine(line);
  } else if (line.At("let") && line.toks.size() > 2 && line.toks[2].text == "=") {
    ParseLet(line);
  } else if (line.At("group")) {
    ParseGroupHeader(line);
  } else if (line.At("mode")) {
    ParseModeHeader(line);
  } else if (line.At("end")) {
    ParseBlockEnd(line);
  } else if (CurrentItems() == nullptr) {
    diag_.Error(line.number, "rule outside a mode or group");
  } else if (line.At("use")) {
    ParseUse(line);
  } else if (line.At("automaton")) {
    ParseAutomatonHeader(line);
  } else {
    ParseRule(line);
  }
}

void RulesParser::ParseAutomatonLine(Line& line) {
  if (!line.At("end")) {
    ParseAutomatonState(line);
    return;
  }
  line.Next();
  ExpectEnd(line);
  FinishAutomaton(line.number);
}

void RulesParser::ParseLet(Line& line) {
  line.Next();
  std::string name = line.Next().text;
  line.Next();  // '='
  PatternPtr p = ParseAlternation(line);
  if (p && ExpectEnd(line)) {
    if (lets_.count(name)) diag_.Error(line.number, "'" + name + "' is already defined");
    lets_[name] = p;
  }
}

bool RulesParser::CanOpenBlock(const Line& line, const char* keyword) {
  if (!inGroup_ && mode_ == nullptr) return true;
  diag_.Error(line.number, std::string("'") + keyword + "' inside another block");
  return false;
}

void RulesParser::ParseGroupHeader(Line& line) {
  line.Next();
  if (!CanOpenBlock(line, "group")) return;
  if (line.Peek().kind != Tok::Word) {
    diag_.Error(line.number, "'group' needs a name");
    return;
  }
  groupName_ = line.Next().text;
  groupItems_.clear();
  inGroup_ = true;
  ExpectEnd(line);
}

void RulesParser::ParseBlockEnd(Line& line) {
  line.Next();
  ExpectEnd(line);
  if (inGroup_) {
    if (groups_.count(groupName_)) diag_.Error(line.number, "group '" + groupName_ + "' is already defined");
    groups_[groupName_] = std::move(groupItems_);
    groupItems_.clear();
    inGroup_ = false;
  } else if (mode_ != nullptr) {
    mode_ = nullptr;
  } else {
    diag_.Error(line.number, "'end' outside a block");
  }
}

void RulesParser::ParseUse(Line& line) {
  line.Next();
  std::string name = line.Next().text;
  auto it = groups_.find(name);
  if (it == groups_.end()) {
    diag_.Error(line.number, "no group named '" + name + "'");
  } else if (ExpectEnd(line)) {
    std::vector<LexItem>* items = CurrentItems();
    items->insert(items->end(), it->second.begin(), it->second.end());
  }
}

void RulesParser::ParseAutomatonHeader(Line& line) {
  line.Next();
  if (ExpectEnd(line)) {
    automaton_ = LexAutomaton{};
    automaton_->line = line.number;
  }
}

void RulesParser::ParseModeHeader(Line& line) {
  line.Next();
  if (!CanOpenBlock(line, "mode")) return;
  if (line.Peek().kind != Tok::Number) {
    diag_.Error(line.number, "'mode' needs a number");
    return;
  }
  int32_t number = std::stoi(line.Next().text);
  if (modes_.count(number)) {
    diag_.Error(line.number, "mode " + std::to_string(number) + " is already defined");
    return;
  }
  LexMode& mode = modes_[number];
  mode.number = number;
  mode.line = line.number;
  if (line.Peek().kind == Tok::Word && !line.At("empty")) {
    mode.title = line.Next().text;
    if (!titles_.insert(mode.title).second) diag_.Error(line.number, "mode title '" + mode.title + "' is used twice");
  }
  if (line.At("empty")) {
    line.Next();
    std::string name = line.Next().text;
    std::optional<int32_t> id = InterleafTokenId(name);
    if (!id) {
      diag_.Error(line.number, "unknown token '" + name + "'");
    } else {
      mode.emptyToken = *id;
      mode.emptyTokenName = name;
    }
  }
  ExpectEnd(line);
  mode_ = &mode;
}

bool RulesParser::ParseTarget(Line& line, LexAction& action) {
  if (line.Peek().kind != Tok::Word) {
    diag_.Error(line.number, "a mode title must follow push and switch");
    return false;
  }
  action.modeTitle = line.Next().text;  // its number is known once every mode is read
  return true;
}

bool RulesParser::ParseAction(Line& line, LexAction& action) {
  const Tok& t = line.Next();
  if (t.kind != Tok::Word) {
    diag_.Error(line.number, "a token name or 'skip' must follow '=>'");
    return false;
  }
  action.tokenName = t.text;
  if (t.text == "skip") {
    action.skip = true;
    std::span<const int32_t> ids = InterleafSkipIds();
    if (nextSkipId_ >= ids.size()) {
      diag_.Error(line.number, "more skip rules than reserved skip ids");
      return false;
    }
    action.token = ids[nextSkipId_++];
  } else {
    std::optional<int32_t> id = InterleafTokenId(t.text);
    if (!id || *id < 0) {
      diag_.Error(line.number, "unknown token '" + t.text + "'");
      return false;
    }
    action.token = *id;
  }
  if (line.At("push")) {
    line.Next();
    action.stack = StackAction::Push;
    if (!ParseTarget(line, action)) return false;
  } else if (line.At("switch")) {
    line.Next();
    action.stack = StackAction::Switch;
    if (!ParseTarget(line, action)) return false;
  } else if (line.At("pop")) {
    line.Next();
    action.stack = StackAction::Pop;
  }
  return true;
}

void RulesParser::ParseRule(Line& line) {
  LexRule rule;
  rule.line = line.number;
  rule.pattern = ParseAlternation(line);
  if (!rule.pattern) return;
  if (!line.At("=>")) {
    diag_.Error(line.number, "'=>' expected after the pattern");
    return;
  }
  line.Next();
  if (!ParseAction(line, rule.action) || !ExpectEnd(line)) return;
  CurrentItems()->push_back(std::move(rule));
}

void RulesParser::ParseAutomatonState(Line& line) {
  AutomatonState state;
  state.line = line.number;
  if (line.Peek().kind != Tok::Word) {
    diag_.Error(line.number, "an automaton line starts with its state name");
    return;
  }
  state.name = line.Next().text;
  if (line.At("=>")) {
    line.Next();
    LexAction action;
    if (!ParseAction(line, action)) return;
    state.accept = action;
  }
  if (!line.At(":")) {
    diag_.Error(line.number, "':' expected after the state");
    return;
  }
  line.Next();
  while (line.Peek().kind != Tok::End) {
    AutomatonState::Edge edge;
    edge.line = line.number;
    if (!ParseCharClass(line, edge.on)) return;
    if (!line.At("->")) {
      diag_.Error(line.number, "'->' expected after the character class");
      return;
    }
    line.Next();
    if (line.Peek().kind != Tok::Word) {
      diag_.Error(line.number, "a state name must follow '->'");
      return;
    }
    edge.target = line.Next().text;
    state.edges.push_back(std::move(edge));
  }
  automaton_->states.push_back(std::move(state));
}

void RulesParser::FinishAutomaton(int line) {
  LexAutomaton a = std::move(*automaton_);
  automaton_.reset();
  if (a.states.empty()) {
    diag_.Error(line, "automaton without states");
    return;
  }
  if (a.states[0].accept) {
    diag_.Error(a.states[0].line, "the start state may not accept: it would match the empty text");
  }
  for (const AutomatonState& s : a.states) {
    CodeSet seen;
    for (const AutomatonState::Edge& e : s.edges) {
      bool known = false;
      for (const AutomatonState& t : a.states) known = known || t.name == e.target;
      if (!known) diag_.Error(e.line, "no automaton state named '" + e.target + "'");
      for (const CodeRange& r : e.on.Ranges()) {
        for (const CodeRange& q : seen.Ranges()) {
          if (r.low <= q.high && q.low <= r.high) {
            diag_.Error(e.line, "state '" + s.name + "' has two edges on " + DescribeCode(std::max(r.low, q.low)));
          }
        }
      }
      seen.Add(e.on);
    }
  }
  CurrentItems()->push_back(std::move(a));
}

PatternPtr RulesParser::ParseAlternation(Line& line) {
  std::vector<PatternPtr> alts;
  for (;;) {
    PatternPtr seq = ParseSequence(line);
    if (!seq) return nullptr;
    alts.push_back(seq);
    if (!line.At("|")) break;
    line.Next();
  }
  return MakeNode(Pattern::Kind::Alt, std::move(alts));
}

PatternPtr RulesParser::ParseSequence(Line& line) {
  std::vector<PatternPtr> parts;
  for (;;) {
    const Tok& t = line.Peek();
    bool atomStart = t.kind == Tok::Literal || t.kind == Tok::Class || (t.kind == Tok::Word && t.text != "skip") ||
                     (t.kind == Tok::Punct && t.text == "(");
    if (!atomStart) break;
    PatternPtr p = ParsePostfix(line);
    if (!p) return nullptr;
    parts.push_back(p);
  }
  if (parts.empty()) {
    diag_.Error(line.number, "pattern expected");
    return nullptr;
  }
  return MakeNode(Pattern::Kind::Concat, std::move(parts));
}

PatternPtr RulesParser::ParsePostfix(Line& line) {
  PatternPtr p = ParseAtom(line);
  while (p && (line.At("*") || line.At("+") || line.At("?"))) {
    std::string op = line.Next().text;
    Pattern::Kind kind = op == "*" ? Pattern::Kind::Star : op == "+" ? Pattern::Kind::Plus : Pattern::Kind::Optional;
    p = MakeNode(kind, {p});
  }
  return p;
}

PatternPtr RulesParser::ParseAtom(Line& line) {
  const Tok t = line.Next();
  switch (t.kind) {
    case Tok::Literal: {
      std::vector<PatternPtr> chars;
      for (char c : t.text) chars.push_back(MakeSet(CodeSet::Of(static_cast<unsigned char>(c))));
      return MakeNode(Pattern::Kind::Concat, std::move(chars));
    }
    case Tok::Class:
      return MakeSet(t.set);
    case Tok::Word: {
      if (t.text == "ANY") return MakeSet(CodeSet::All());
      auto it = lets_.find(t.text);
      if (it == lets_.end()) {
        diag_.Error(line.number, "no pattern named '" + t.text + "'");
        return nullptr;
      }
      return it->second;
    }
    case Tok::Punct:
      if (t.text == "(") {
        PatternPtr inner = ParseAlternation(line);
        if (!inner) return nullptr;
        if (!line.At(")")) {
          diag_.Error(line.number, "')' expected");
          return nullptr;
        }
        line.Next();
        return inner;
      }
      [[fallthrough]];
    default:
      diag_.Error(line.number, "pattern expected");
      return nullptr;
  }
}

bool RulesParser::ParseCharClass(Line& line, CodeSet& set) {
  PatternPtr p = ParseAtom(line);
  if (!p) return false;
  if (p->kind != Pattern::Kind::Set) {
    diag_.Error(line.number, "an automaton edge needs a single character class");
    return false;
  }
  set = p->set;
  return true;
}

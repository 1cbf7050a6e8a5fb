// Reads a grammar file: tokens, token sets, numbered productions with
// fields(...) expanded, and recovery points.
#include "tools/grammargen/GrammarParser.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <map>
#include <set>

namespace grammargen {
namespace {

struct Line {
  int number;
  std::vector<std::string> words;
};

bool IsPunct(char c) { return c == ':' || c == '=' || c == '(' || c == ')' || c == ',' || c == '*'; }

// Splits the file into statements: comments removed, continuation lines
// joined, each statement cut into words and punctuation.
std::vector<Line> Statements(const std::string& text, Diagnostics& diag) {
  std::vector<Line> out;
  bool continuing = false;
  int lineNo = 0;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    std::string raw = text.substr(pos, end - pos);
    pos = end + 1;
    ++lineNo;
    if (!continuing) out.push_back({lineNo, {}});
    std::vector<std::string>& words = out.back().words;
    continuing = false;
    size_t i = 0;
    while (i < raw.size()) {
      char c = raw[i];
      if (c == '#') break;
      if (std::isspace(static_cast<unsigned char>(c))) {
        ++i;
      } else if (c == '\\' && raw.find_first_not_of(" \t\r", i + 1) == std::string::npos) {
        continuing = true;
        break;
      } else if (c == '\'') {
        size_t close = raw.find('\'', i + 1);
        if (close == std::string::npos) {
          diag.Error(lineNo, "unterminated quoted name");
          break;
        }
        words.push_back(raw.substr(i, close - i + 1));
        i = close + 1;
      } else if (IsPunct(c)) {
        words.emplace_back(1, c);
        ++i;
      } else {
        size_t j = i;
        while (j < raw.size() && !std::isspace(static_cast<unsigned char>(raw[j])) && !IsPunct(raw[j]) &&
               raw[j] != '#' && raw[j] != '\'')
          ++j;
        words.push_back(raw.substr(i, j - i));
        i = j;
      }
    }
    if (!continuing && out.back().words.empty()) out.pop_back();
  }
  return out;
}

bool ParseInt(const std::string& s, long& value) {
  if (s.empty()) return false;
  char* end = nullptr;
  value = std::strtol(s.c_str(), &end, 10);
  return *end == '\0';
}

class Parser {
 public:
  Parser(Diagnostics& diag, const TokenLookup& tokens) : diag_(diag), tokens_(tokens) {}

  Grammar Run(const std::vector<Line>& lines) {
    // Declarations first, so that productions may use symbols defined below them.
    for (const Line& l : lines) {
      if (l.words[0] == "%token")
        DeclareToken(l);
      else if (!l.words[0].empty() && l.words[0][0] != '%')
        DeclareLeft(l);
    }
    for (const Line& l : lines) {
      const std::string& w = l.words[0];
      if (w == "%token") continue;
      if (w == "%set")
        DefineSet(l);
      else if (w == "%recover")
        AddRecovery(l);
      else if (w[0] == '%')
        diag_.Error(l.number, "unknown directive " + w);
      else
        AddProduction(l);
    }
    Finish();
    return std::move(g_);
  }

 private:
  int AddSymbol(const std::string& name, bool terminal, int32_t id, int line) {
    g_.symbols.push_back({name, terminal, id, line});
    int index = g_.SymbolCount() - 1;
    byName_[name] = index;
    return index;
  }

  void DeclareToken(const Line& l) {
    long id = 0;
    if (l.words.size() != 3 || !ParseInt(l.words[2], id)) {
      diag_.Error(l.number, "expected %token NAME ID");
      return;
    }
    if (byName_.count(l.words[1])) {
      diag_.Error(l.number, "symbol " + l.words[1] + " declared twice");
      return;
    }
    if (!ids_.insert(id).second) {
      diag_.Error(l.number, "token id " + std::to_string(id) + " used twice");
      return;
    }
    AddSymbol(l.words[1], true, static_cast<int32_t>(id), l.number);
  }

  void DeclareLeft(const Line& l) {
    long number = 0;
    if (l.words.size() < 3 || l.words[2] != ":" || !ParseInt(l.words[0], number)) {
      diag_.Error(l.number, "expected NUMBER LEFT : RIGHT...");
      return;
    }
    const std::string& left = l.words[1];
    auto it = byName_.find(left);
    if (it == byName_.end()) {
      bool start = l.words[0] == "0";
      int32_t id = start ? 0 : Grammar::kNonterminalBase + nonterminals_++;
      AddSymbol(left, false, id, l.number);
    } else if (g_.IsTerminal(it->second)) {
      diag_.Error(l.number, "token " + left + " used as a left side");
    }
    if (tokens_ && tokens_(left)) diag_.Error(l.number, "token " + left + " used as a left side");
  }

  int Lookup(const std::string& name, int line) {
    auto it = byName_.find(name);
    if (it != byName_.end()) return it->second;
    if (tokens_) {
      std::string_view bare = name;
      if (bare.size() > 2 && bare.front() == '\'' && bare.back() == '\'') bare = bare.substr(1, bare.size() - 2);
      if (std::optional<int32_t> id = tokens_(bare)) {
        if (ids_.insert(*id).second) return AddSymbol(name, true, *id, line);
        diag_.Error(line, "token id " + std::to_string(*id) + " used twice");
        return -1;
      }
    }
    diag_.Error(line, "unknown symbol " + name);
    return -1;
  }

  // Terminals of a list of names and @sets, from word \p from to the end.
  std::vector<int> TokenList(const Line& l, size_t from) {
    std::vector<int> out;
    for (size_t i = from; i < l.words.size(); ++i) {
      const std::string& w = l.words[i];
      if (w[0] == '@') {
        auto it = sets_.find(w.substr(1));
        if (it == sets_.end())
          diag_.Error(l.number, "unknown set " + w);
        else
          out.insert(out.end(), it->second.begin(), it->second.end());
        continue;
      }
      int s = Lookup(w, l.number);
      if (s < 0) continue;
      if (!g_.IsTerminal(s))
        diag_.Error(l.number, w + " is not a token");
      else
        out.push_back(s);
    }
    if (out.empty()) diag_.Error(l.number, "empty token list");
    return out;
  }

  void DefineSet(const Line& l) {
    if (l.words.size() < 4 || l.words[2] != "=") {
      diag_.Error(l.number, "expected %set NAME = TOKENS");
      return;
    }
    sets_[l.words[1]] = TokenList(l, 3);
  }

  void AddRecovery(const Line& l) {
    RecoveryPoint r;
    r.line = l.number;
    size_t colon = 1;
    while (colon < l.words.size() && l.words[colon] != ":") ++colon;
    if (colon >= l.words.size() || colon < 2) {
      diag_.Error(l.number, "expected %recover start|after SYMBOLS : TOKENS");
      return;
    }
    if (l.words[1] == "start" && colon == 2) {
      r.atStart = true;
    } else if (l.words[1] == "after" && colon > 2) {
      for (size_t i = 2; i < colon; ++i) {
        int s = Lookup(l.words[i], l.number);
        if (s >= 0) r.after.push_back(s);
      }
    } else {
      diag_.Error(l.number, "expected %recover start|after SYMBOLS : TOKENS");
      return;
    }
    r.tokens = TokenList(l, colon + 1);
    g_.recovery.push_back(std::move(r));
  }

  // fields(a, b*3, ...) starting at word \p i (the "fields"); returns the
  // index after its ')'.
  size_t ExpandFields(const Line& l, size_t i, std::vector<int>& right) {
    int comma = Lookup("','", l.number);
    if (i + 1 >= l.words.size() || l.words[i + 1] != "(") {
      diag_.Error(l.number, "expected ( after fields");
      return l.words.size();
    }
    i += 2;
    for (;;) {
      if (i >= l.words.size()) {
        diag_.Error(l.number, "unterminated fields(...)");
        return i;
      }
      int s = Lookup(l.words[i++], l.number);
      long count = 1;
      if (i + 1 < l.words.size() && l.words[i] == "*") {
        if (!ParseInt(l.words[i + 1], count) || count < 1) diag_.Error(l.number, "bad field count");
        i += 2;
      }
      for (long k = 0; k < count; ++k) {
        right.push_back(comma);
        right.push_back(s);
      }
      if (i < l.words.size() && l.words[i] == ",") {
        ++i;
      } else if (i < l.words.size() && l.words[i] == ")") {
        return i + 1;
      } else {
        diag_.Error(l.number, "expected , or ) in fields(...)");
        return l.words.size();
      }
    }
  }

  // The name inside "[Name]": a C++ identifier of letters and digits,
  // given to one production only.
  std::string Label(const Line& l, const std::string& word) {
    std::string name = word.substr(1, word.size() - (word.back() == ']' ? 2 : 1));
    bool valid =
        word.back() == ']' && !name.empty() && std::isalpha(static_cast<unsigned char>(name[0])) &&
        std::all_of(name.begin(), name.end(), [](char c) { return std::isalnum(static_cast<unsigned char>(c)); });
    if (!valid) {
      diag_.Error(l.number, "bad label " + word + ": expected [Name] of letters and digits");
      return {};
    }
    if (!labels_.insert(name).second) diag_.Error(l.number, "label " + word + " used twice");
    return name;
  }

  void AddProduction(const Line& l) {
    long number = 0;
    if (!ParseInt(l.words[0], number) || l.words.size() < 3 || l.words[2] != ":") return;  // reported earlier
    if (number != static_cast<long>(g_.productions.size())) {
      diag_.Error(l.number,
                  "production " + l.words[0] + " out of order, expected " + std::to_string(g_.productions.size()));
    }
    Production p;
    p.line = l.number;
    p.left = Lookup(l.words[1], l.number);
    size_t end = l.words.size();
    if (end > 3 && l.words[end - 1].front() == '[') p.label = Label(l, l.words[--end]);
    bool empty = false;
    for (size_t i = 3; i < end;) {
      const std::string& w = l.words[i];
      if (w.front() == '[') {
        diag_.Error(l.number, "a label " + w + " must end its production");
        ++i;
      } else if (w == "%empty") {
        empty = true;
        ++i;
      } else if (w == "fields") {
        i = ExpandFields(l, i, p.right);
      } else {
        int s = Lookup(w, l.number);
        if (s >= 0) p.right.push_back(s);
        ++i;
      }
    }
    if (empty && !p.right.empty()) diag_.Error(l.number, "%empty with other symbols");
    if (!empty && p.right.empty() && end == 3) diag_.Error(l.number, "empty right side needs %empty");
    g_.productions.push_back(std::move(p));
  }

  void Finish() {
    if (g_.productions.empty()) {
      diag_.Error(1, "no productions");
      return;
    }
    const Production& p0 = g_.productions[0];
    if (p0.right.size() != 2 || p0.left < 0 || p0.right[0] < 0 || g_.IsTerminal(p0.right[0]) ||
        !g_.IsTerminal(p0.right[1])) {
      diag_.Error(p0.line, "production 0 must be: start : <start symbol> <end token>");
      return;
    }
    g_.startSymbol = p0.left;
    g_.endToken = p0.right[1];
    auto err = byName_.find("%error");
    if (err != byName_.end() && g_.IsTerminal(err->second)) g_.errorToken = err->second;
    for (size_t i = 1; i < g_.productions.size(); ++i) {
      if (g_.productions[i].left == g_.startSymbol)
        diag_.Error(g_.productions[i].line, "only production 0 may have the start symbol as its left side");
    }
    // Every nonterminal must be reachable from the start symbol.
    std::vector<bool> used(g_.symbols.size(), false);
    used[g_.startSymbol] = true;
    for (bool changed = true; changed;) {
      changed = false;
      for (const Production& p : g_.productions) {
        if (p.left < 0 || !used[p.left]) continue;
        for (int s : p.right) {
          if (s >= 0 && !used[s]) used[s] = changed = true;
        }
      }
    }
    for (size_t s = 0; s < g_.symbols.size(); ++s) {
      if (!g_.symbols[s].terminal && !used[s])
        diag_.Error(g_.symbols[s].line, "nonterminal " + g_.symbols[s].name + " is never used");
    }
  }

  Diagnostics& diag_;
  const TokenLookup& tokens_;
  Grammar g_;
  std::map<std::string, int> byName_;
  std::map<std::string, std::vector<int>> sets_;
  std::set<long> ids_;
  std::set<std::string> labels_;
  int32_t nonterminals_ = 0;
};

}  // namespace

Grammar ParseGrammar(const std::string& text, Diagnostics& diag, const TokenLookup& tokens) {
  std::vector<Line> lines = Statements(text, diag);
  return Parser(diag, tokens).Run(lines);
}

}  // namespace grammargen

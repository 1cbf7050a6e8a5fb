// Phase 1 of lexgen: reads the rules file (resources/*.lex) into LexRules.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "tools/common/Diagnostics.h"
#include "tools/lexgen/LexRules.h"

/// Parses the rules notation described at the top of resources/interleaf.lex.
/// Token names are resolved through the reader's token table; each skip rule
/// gets the next of the reserved skip ids.
class RulesParser {
 public:
  explicit RulesParser(Diagnostics& diagnostics) : diag_(diagnostics) {}

  /// The rules of \p text; errors are reported to the diagnostics.
  LexRules Parse(const std::string& text);

 private:
  struct Tok {
    enum Kind { Word, Number, Literal, Class, Punct, End } kind = End;
    std::string text;  // word, number, punctuation, or the literal's bytes
    CodeSet set;       // Class
  };
  struct Line {
    int number = 0;
    std::vector<Tok> toks;
    size_t pos = 0;
    const Tok& Peek() const { return toks[pos]; }
    const Tok& Next() { return toks[pos < toks.size() - 1 ? pos++ : pos]; }
    bool At(const char* punctOrWord) const;
  };

  // Tokenizing: each Tokenize* reads one token starting at text[i] into
  // \p line, advances i past it, and reports what is wrong with it.
  bool Tokenize(int number, const std::string& text, Line& line);
  bool TokenizeLiteral(int number, const std::string& text, size_t& i, Line& line);
  bool TokenizeClass(int number, const std::string& text, size_t& i, Line& line);
  bool TokenizePunct(int number, const std::string& text, size_t& i, Line& line);
  /// One character of a literal or class at text[i], escaped or not.
  bool ReadCode(int number, const std::string& text, size_t& i, uint32_t& code, const char* where);

  // Parsing: ParseLine dispatches on the line's first word.
  void ParseLine(Line& line);
  void ParseAutomatonLine(Line& line);
  void ParseLet(Line& line);
  /// Whether a group or mode may open here (not inside another block).
  bool CanOpenBlock(const Line& line, const char* keyword);
  void ParseGroupHeader(Line& line);
  void ParseBlockEnd(Line& line);
  void ParseUse(Line& line);
  void ParseAutomatonHeader(Line& line);
  void ParseModeHeader(Line& line);
  void ParseRule(Line& line);
  void ParseAutomatonState(Line& line);
  void FinishAutomaton(int line);
  bool ParseAction(Line& line, LexAction& action);
  bool ParseTarget(Line& line, LexAction& action);

  PatternPtr ParseAlternation(Line& line);
  PatternPtr ParseSequence(Line& line);
  PatternPtr ParsePostfix(Line& line);
  PatternPtr ParseAtom(Line& line);
  /// An automaton edge label: a pattern that is one character class.
  bool ParseCharClass(Line& line, CodeSet& set);

  std::vector<LexItem>* CurrentItems();
  bool ExpectEnd(Line& line);

  Diagnostics& diag_;
  std::map<std::string, PatternPtr> lets_;
  std::map<std::string, std::vector<LexItem>> groups_;
  std::map<int32_t, LexMode> modes_;
  // The block being read: a group or a mode, perhaps with an automaton open.
  std::string groupName_;
  std::vector<LexItem> groupItems_;
  LexMode* mode_ = nullptr;
  bool inGroup_ = false;
  std::optional<LexAutomaton> automaton_;
  size_t nextSkipId_ = 0;
  std::set<std::string> titles_;
};

// Reading dialog templates from their source text.
#include "platform/ui/CDialogTemplate.h"

#include <algorithm>
#include <cctype>
#include <charconv>

#include "platform/Resources.h"
#include "platform/StringTable.h"

namespace {

struct KindName {
  std::string_view name;
  ControlKind kind;
};

constexpr KindName kKinds[] = {
    {"PUSHBUTTON", ControlKind::PushButton}, {"DEFPUSHBUTTON", ControlKind::DefPushButton},
    {"EDITTEXT", ControlKind::EditText},     {"GROUPBOX", ControlKind::GroupBox},
    {"LISTBOX", ControlKind::ListBox},       {"LTEXT", ControlKind::Label},
    {"CTEXT", ControlKind::CenteredLabel},   {"ICON", ControlKind::Icon},
    {"BITMAP", ControlKind::Bitmap},         {"COMBOBOX", ControlKind::ComboBox},
    {"CHECKBOX", ControlKind::CheckBox},     {"LISTVIEW", ControlKind::ListView},
    {"PROGRESS", ControlKind::Progress},
};

struct Token {
  std::string text;
  bool quoted = false;
};

// Splits one line into words and "quoted texts" (\" and \\ escape inside
// quotes); a '#' outside quotes starts a comment.
bool Tokenize(std::string_view line, std::vector<Token>& out, std::string& error) {
  size_t i = 0;
  while (i < line.size()) {
    char c = line[i];
    if (std::isspace(static_cast<unsigned char>(c))) {
      ++i;
    } else if (c == '#') {
      break;
    } else if (c == '"') {
      Token t{{}, true};
      for (++i;; ++i) {
        if (i >= line.size()) {
          error = "unterminated text";
          return false;
        }
        if (line[i] == '"') break;
        if (line[i] == '\\' && i + 1 < line.size()) ++i;
        t.text += line[i];
      }
      ++i;
      out.push_back(std::move(t));
    } else {
      size_t end = i;
      while (end < line.size() && !std::isspace(static_cast<unsigned char>(line[end]))) ++end;
      out.push_back({std::string(line.substr(i, end - i)), false});
      i = end;
    }
  }
  return true;
}

bool ToNumber(const Token& t, int32_t& value) {
  if (t.quoted) return false;
  auto [end, ec] = std::from_chars(t.text.data(), t.text.data() + t.text.size(), value);
  return ec == std::errc() && end == t.text.data() + t.text.size();
}

// A quoted text as written, or @N for string N of the string table.
bool ToText(const Token& t, std::string& text) {
  if (t.quoted) {
    text = t.text;
    return true;
  }
  int32_t id = 0;
  if (t.text.size() > 1 && t.text[0] == '@' && ToNumber(Token{t.text.substr(1), false}, id)) {
    text = LoadResString(id);
    return true;
  }
  return false;
}

std::vector<std::string> StyleWords(const std::vector<Token>& tokens, size_t from) {
  std::vector<std::string> words;
  for (size_t i = from; i < tokens.size(); ++i) {
    std::string w = tokens[i].text;
    std::transform(w.begin(), w.end(), w.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    words.push_back(std::move(w));
  }
  return words;
}

bool HasWord(const std::vector<std::string>& words, std::string_view word) {
  return std::find(words.begin(), words.end(), word) != words.end();
}

// Reads "id x y w h" starting at tokens[at].
bool ReadIdAndRect(const std::vector<Token>& tokens, size_t at, int32_t& id, DialogRect& r) {
  return tokens.size() >= at + 5 && ToNumber(tokens[at], id) && ToNumber(tokens[at + 1], r.x) &&
         ToNumber(tokens[at + 2], r.y) && ToNumber(tokens[at + 3], r.width) && ToNumber(tokens[at + 4], r.height);
}

}  // namespace

bool DialogControl::Has(std::string_view style) const { return HasWord(styles, style); }

bool CDialogTemplate::Has(std::string_view style) const { return HasWord(styles, style); }

const DialogControl* CDialogTemplate::Control(int32_t controlId) const {
  for (const DialogControl& c : controls) {
    if (c.id == controlId) return &c;
  }
  return nullptr;
}

std::optional<CDialogTemplate> CDialogTemplate::Parse(std::string_view source, std::string& error) {
  CDialogTemplate dlg;
  bool haveDialog = false;
  int lineNumber = 0;
  auto fail = [&](const std::string& what) {
    error = "line " + std::to_string(lineNumber) + ": " + what;
    return std::nullopt;
  };
  while (!source.empty()) {
    ++lineNumber;
    size_t end = source.find('\n');
    std::string_view line = source.substr(0, end);
    source = end == std::string_view::npos ? std::string_view() : source.substr(end + 1);
    std::vector<Token> tokens;
    std::string tokenError;
    if (!Tokenize(line, tokens, tokenError)) return fail(tokenError);
    if (tokens.empty()) continue;
    const std::string& keyword = tokens[0].text;

    if (keyword == "DIALOG") {
      // DIALOG id x y w h caption
      if (haveDialog) return fail("second DIALOG");
      if (!ReadIdAndRect(tokens, 1, dlg.id, dlg.rect) || tokens.size() != 7 || !ToText(tokens[6], dlg.caption)) {
        return fail("expected DIALOG id x y width height \"caption\"");
      }
      haveDialog = true;
      continue;
    }
    if (!haveDialog) return fail("DIALOG must come first");
    if (keyword == "FONT") {
      if (tokens.size() != 3 || !ToNumber(tokens[1], dlg.fontSize) || !tokens[2].quoted) {
        return fail("expected FONT size \"face\"");
      }
      dlg.fontFace = tokens[2].text;
      continue;
    }
    if (keyword == "STYLE") {
      auto words = StyleWords(tokens, 1);
      dlg.styles.insert(dlg.styles.end(), words.begin(), words.end());
      continue;
    }
    auto kind =
        std::find_if(std::begin(kKinds), std::end(kKinds), [&](const KindName& k) { return k.name == keyword; });
    if (kind == std::end(kKinds)) return fail("unknown keyword " + keyword);
    // KIND id x y w h text style...
    DialogControl control;
    control.kind = kind->kind;
    if (!ReadIdAndRect(tokens, 1, control.id, control.rect) || tokens.size() < 7 || !ToText(tokens[6], control.text)) {
      return fail("expected " + keyword + " id x y width height \"text\" styles");
    }
    control.styles = StyleWords(tokens, 7);
    dlg.controls.push_back(std::move(control));
  }
  if (!haveDialog) {
    error = "no DIALOG line";
    return std::nullopt;
  }
  return dlg;
}

std::optional<CDialogTemplate> CDialogTemplate::Load(int32_t id) {
  auto data = CResourceModule::Embedded().Find("Dialog", std::to_string(id));
  if (!data) return std::nullopt;
  std::string error;
  return Parse(std::string_view(reinterpret_cast<const char*>(data->data()), data->size()), error);
}

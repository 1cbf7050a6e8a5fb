// The string table built into the program, parsed once on first use.
#include "platform/StringTable.h"

#include "platform/Resources.h"

namespace {

std::string Unescape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c != '\\' || i + 1 == text.size()) {
      out += c;
      continue;
    }
    switch (text[++i]) {
      case 'n':
        out += '\n';
        break;
      case 'r':
        out += '\r';
        break;
      case 't':
        out += '\t';
        break;
      case '\\':
        out += '\\';
        break;
      default:  // not an escape we know: keep both characters
        out += '\\';
        out += text[i];
        break;
    }
  }
  return out;
}

}  // namespace

StringTableMap ParseStringTable(std::string_view source) {
  StringTableMap table;
  while (!source.empty()) {
    size_t end = source.find('\n');
    std::string_view line = source.substr(0, end);
    source = end == std::string_view::npos ? std::string_view() : source.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line.front() == '#') continue;
    size_t tab = line.find('\t');
    if (tab == 0 || tab == std::string_view::npos || tab > 9) continue;
    int32_t id = 0;
    bool digits = true;
    for (char c : line.substr(0, tab)) {
      if (c < '0' || c > '9') digits = false;
      id = id * 10 + (c - '0');
    }
    if (!digits) continue;
    table[id] = Unescape(line.substr(tab + 1));
  }
  return table;
}

namespace {

const StringTableMap& BuiltInTable() {
  static const StringTableMap table = [] {
    auto data = CResourceModule::Embedded().Find("StringTable", "TYPESWAP");
    if (!data) return StringTableMap();
    return ParseStringTable(std::string_view(reinterpret_cast<const char*>(data->data()), data->size()));
  }();
  return table;
}

}  // namespace

std::string LoadResString(int32_t id) {
  const StringTableMap& table = BuiltInTable();
  auto it = table.find(id);
  return it == table.end() ? std::string() : it->second;
}

std::map<uint32_t, std::string> StringTableTexts() {
  std::map<uint32_t, std::string> texts;
  for (const auto& [id, text] : BuiltInTable()) texts.emplace(uint32_t(id), text);
  return texts;
}

// Interleaf escapes: the escape pass, the hexadecimal reference pass and the
// character tables they use.
#include "model/InterleafText.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr char kEscape = 27;

std::string NumericEscape(uint32_t code) {
  char buffer[24];
  std::snprintf(buffer, sizeof buffer, "<:r%u>", code);
  return buffer;
}

// What Interleaf's character codes 0-314 stand for: the byte itself where it
// can stand plainly in a name, else its escape.
std::string CharacterEntry(uint32_t index) {
  switch (index) {
    case 127:
      return "\"";
    case 257:
      return "<:hls>";
    case 258:
      return "<:ts>";
    case 259:
      return "<:fs>";
    case 260:
      return "<:ens>";
    case 261:
      return "<:ems>";
    case 262:
      return "<:sh>";
    case 263:
      return "\x96";
    case 266:
      return "\x97";
    case 276:
      return "\x86";
    case 277:
      return "\x87";
    case 278:
      return "\x8B";
    case 279:
      return "\x9B";
    case 280:
      return "\x84";
    case 287:
      return "\x89";
    case 288:
      return "/";
    case 304:
      return "\x83";
    case 309:
      return "\x8C";
    case 313:
      return "\x9C";
    case 173:
    case 178:
    case 179:
    case 180:
    case 184:
    case 185:
      return NumericEscape(index);
    default:
      break;
  }
  if ((index >= 32 && index <= 126) || (index >= 161 && index <= 255)) {
    return std::string(1, static_cast<char>(index));
  }
  return NumericEscape(index);
}

// Shift-JIS lead byte of a JIS row (1-47), 0 for rows outside.
unsigned LeadByteOfRow(uint32_t row) {
  if (row >= 1 && row <= 31) return row + 0x80;
  if (row >= 32 && row <= 47) return row + 0xC0;
  return 0;
}

// Shift-JIS trail byte of a JIS cell, 0 for cells outside.
unsigned TrailByteOfCell(uint32_t cell) {
  if (cell >= 0x21 && cell <= 0x5F) return cell + 0x1F;
  if (cell >= 0x60 && cell <= 0x7E) return cell + 0x20;
  if (cell >= 0xA1 && cell <= 0xFE) return cell - 2;
  return 0;
}

// The text a hexadecimal reference with the digits `hex` stands for.
std::string ReferenceReplacement(std::string_view hex, bool isShiftJis) {
  if (hex == "80a0") return "<:bb \"Pagenumber\">";
  if (hex == "80a1") return "<:bb \"Filename\">";
  uint32_t code = ParseHex(hex);
  if (code <= 314) {
    std::string entry = CharacterEntry(code);
    if (isShiftJis && entry[0] != '<') return NumericEscape(code);
    return entry;
  }
  if (isShiftJis && code >= 0x221 && code <= 0x2FFE) {
    uint32_t row = code / 256;
    uint32_t cell = code % 256;
    if (row == 6 && cell >= 161 && cell <= 223) return std::string(1, static_cast<char>(cell));
    unsigned lead = LeadByteOfRow(row);
    unsigned trail = TrailByteOfCell(cell);
    // A cell outside the JIS table has no Shift-JIS form; writing a zero
    // byte (or a lead byte alone) would corrupt the name, so it keeps
    // its numeric escape.
    if (lead != 0 && trail != 0) {
      return std::string{static_cast<char>(lead), static_cast<char>(trail)};
    }
  }
  return NumericEscape(code);
}

// Escapes the characters that cannot stand plainly in a name; tags such as
// font changes and hexadecimal references pass through whole.
std::string EscapePass(std::string_view text) {
  std::string out;
  out.reserve(std::max<size_t>(1024, text.size() + 16));
  bool escapeMode = false;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == kEscape) {
      out += "<:r27>";
      escapeMode = !escapeMode;
    } else if (c == '<' && escapeMode) {
      out += "<:lt>";
    } else if (c == '<') {
      out += '<';
      if (i + 1 < text.size() && text[i + 1] == '<') {
        out += ":lt>";
        ++i;
      } else {
        size_t close = text.find('>', i + 1);
        size_t end = close == std::string_view::npos ? text.size() : close + 1;
        out.append(text.substr(i + 1, end - (i + 1)));
        i = end - 1;
      }
    } else if (c == '>') {
      out += "<:gt>";
    } else {
      out += c;
    }
  }
  return out;
}

// Replaces every hexadecimal reference, always taking the first one left.
void HexReferencePass(std::string& text, bool isShiftJis) {
  for (size_t start = text.find("<#"); start != std::string::npos; start = text.find("<#")) {
    size_t close = text.find('>', start + 2);
    size_t end = close == std::string::npos ? text.size() : close + 1;
    std::string_view hex(text.data() + start + 2, (close == std::string::npos ? text.size() : close) - (start + 2));
    std::string replacement = ReferenceReplacement(hex, isShiftJis);
    // The first occurrence of the reference's text is the one at `start`,
    // since no "<#" comes before it.
    text.replace(start, end - start, replacement);
  }
}

}  // namespace

int32_t ReplaceAll(std::string& text, std::string_view find, std::string_view replacement) {
  if (find.empty()) return 0;
  size_t at = text.find(find);
  if (at == std::string::npos) return 0;
  std::string out;
  out.reserve(text.size());
  size_t from = 0;
  int32_t count = 0;
  for (; at != std::string::npos; at = text.find(find, from)) {
    out.append(text, from, at - from);
    out.append(replacement);
    from = at + find.size();
    ++count;
  }
  out.append(text, from, std::string::npos);
  text.swap(out);
  return count;
}

int32_t ReplaceFirst(std::string& text, std::string_view find, std::string_view replacement) {
  size_t at = text.find(find);
  if (at == std::string::npos) return -1;
  text.replace(at, find.size(), replacement);
  return 1;
}

uint32_t ParseHex(std::string_view digits) {
  uint32_t value = 0;
  for (char ch : digits) {
    uint32_t c = static_cast<unsigned char>(ch);
    if (c >= 'a' && c <= 'z') c -= 'a' - 'A';
    value = value * 16 + (c <= 64 ? c - 48 : c - 55);
  }
  return value;
}

std::string NormaliseInterleafText(std::string_view text, int32_t isShiftJis) {
  std::string result(text);
  ReplaceAll(result, "\"\"", "\"");
  result = EscapePass(result);
  if (result.find("<#") != std::string::npos) HexReferencePass(result, isShiftJis != 0);
  return result;
}

// A string that knows its character set: double-byte aware lengths,
// searches and extraction.
#include "model/CCharsetString.h"

#include <algorithm>

namespace {

LeadByteTable MakeLeadBytes(int low1, int high1, int low2 = 1, int high2 = 0) {
  LeadByteTable table{};
  for (int b = low1; b <= high1; ++b) table[b] = true;
  for (int b = low2; b <= high2; ++b) table[b] = true;
  return table;
}

}  // namespace

CharsetId CharsetIdOfCodePage(int32_t codePage) {
  switch (codePage) {
    case 874:
    case 1361:
      return CharsetSingleByte;
    case 932:
      return CharsetShiftJis;
    case 936:
      return Charset936;
    case 949:
      return Charset949;
    case 950:
      return Charset950;
    default:
      return (codePage >= 1250 && codePage <= 1258) ? CharsetSingleByte : CharsetOther;
  }
}

CharsetId ResolveCharset(int32_t charset) {
  if (charset == CharsetSystem) return CharsetIdOfCodePage(ProcessCodePage());
  if (charset < CharsetSystem || charset > CharsetOther) return CharsetOther;
  return static_cast<CharsetId>(charset);
}

bool IsDoubleByteCharset(int32_t charset) {
  CharsetId id = ResolveCharset(charset);
  return id >= CharsetShiftJis && id <= Charset950;
}

const LeadByteTable& LeadBytesOfCharset(int32_t charset) {
  static const LeadByteTable none{};
  static const LeadByteTable shiftJis = MakeLeadBytes(0x81, 0x9F, 0xE0, 0xFC);
  static const LeadByteTable gb = MakeLeadBytes(0xA1, 0xFE);
  static const LeadByteTable wide = MakeLeadBytes(0x81, 0xFE);
  switch (charset) {
    case CharsetSystem:
      return ProcessLeadBytes();
    case CharsetShiftJis:
      return shiftJis;
    case Charset936:
      return gb;
    case Charset949:
    case Charset950:
      return wide;
    default:
      return none;
  }
}

CCharsetString& CCharsetString::operator=(std::string_view text) {
  text_.assign(text);
  return *this;
}

size_t CCharsetString::CharBytesAt(const LeadByteTable& leads, size_t i) const {
  return (leads[static_cast<unsigned char>(text_[i])] && i + 1 < text_.size()) ? 2 : 1;
}

int32_t CCharsetString::CharCount() const {
  const LeadByteTable& leads = LeadBytesOfCharset(charset_);
  int32_t count = 0;
  for (size_t i = 0; i < text_.size(); i += CharBytesAt(leads, i)) ++count;
  return count;
}

int32_t CCharsetString::GetLength() const {
  return CountsCharacters() ? CharCount() : static_cast<int32_t>(text_.size());
}

size_t CCharsetString::ByteOffsetOf(int32_t position) const {
  if (position <= 0) return 0;
  if (!CountsCharacters()) return std::min(static_cast<size_t>(position), text_.size());
  const LeadByteTable& leads = LeadBytesOfCharset(charset_);
  size_t i = 0;
  for (int32_t n = 0; n < position && i < text_.size(); ++n) i += CharBytesAt(leads, i);
  return i;
}

int32_t CCharsetString::FindOneOf(std::string_view set) const {
  const LeadByteTable& leads = LeadBytesOfCharset(charset_);
  // The set is itself text of this character set: collect its characters.
  auto inSet = [&](std::string_view ch) {
    for (size_t j = 0; j < set.size();) {
      size_t len = (leads[static_cast<unsigned char>(set[j])] && j + 1 < set.size()) ? 2 : 1;
      if (set.substr(j, len) == ch) return true;
      j += len;
    }
    return false;
  };
  const bool inChars = CountsCharacters();
  int32_t index = 0;
  for (size_t i = 0; i < text_.size(); ++index) {
    size_t len = CharBytesAt(leads, i);
    if (inSet(std::string_view(text_).substr(i, len))) {
      return inChars ? index : static_cast<int32_t>(i);
    }
    i += len;
  }
  return -1;
}

std::string CCharsetString::GetAt(int32_t position) const {
  if (position < 0) return {};
  size_t i = ByteOffsetOf(position);
  if (i >= text_.size()) return {};
  return text_.substr(i, CharBytesAt(LeadBytesOfCharset(charset_), i));
}

CCharsetString CCharsetString::Slice(size_t from, size_t to) const {
  return CCharsetString(text_.substr(from, to - from), charset_, countChars_);
}

CCharsetString CCharsetString::Left(int32_t count) const { return Slice(0, ByteOffsetOf(count)); }

CCharsetString CCharsetString::Right(int32_t count) const {
  int32_t length = GetLength();
  if (count >= length) return *this;
  return Slice(ByteOffsetOf(length - std::max(count, 0)), text_.size());
}

CCharsetString CCharsetString::Mid(int32_t first, int32_t count) const {
  size_t from = ByteOffsetOf(first);
  if (count < 0) return Slice(from, text_.size());
  // Count from `from` on; the offset of first + count would do the same walk twice.
  size_t to = from;
  if (CountsCharacters()) {
    const LeadByteTable& leads = LeadBytesOfCharset(charset_);
    for (int32_t n = 0; n < count && to < text_.size(); ++n) to += CharBytesAt(leads, to);
  } else {
    to = std::min(text_.size(), from + static_cast<size_t>(count));
  }
  return Slice(from, to);
}

CCharsetString& CCharsetString::Append(std::string_view text) {
  text_.append(text);
  return *this;
}

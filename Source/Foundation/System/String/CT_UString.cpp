// CT_UString: strings of 16-bit UTF-16 units.
#include "CT_UString.h"

#include <cstdarg>

#include "CT_CString.h"
#include "StringOps.h"

const CT_Type CT_UString::sco_Type("CT_UString", &CT_String::sco_Type);

namespace {

StringOps<char16_t> OpsOf(const CT_UString*) { return StringOps<char16_t>(0); }

// Basic Latin and Latin-1 letters; beyond them the text is left as it is.
void ShiftCase(CT_Buffer& buffer, bool upper) {
  uint32_t length = textstorage::Text<char16_t>::Length(buffer);
  if (!length) return;
  char16_t* text = textstorage::Text<char16_t>::Mutable(buffer);
  for (uint32_t i = 0; i < length; ++i) {
    char16_t c = text[i];
    bool isUpper = (c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7);
    bool isLower = (c >= u'a' && c <= u'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7);
    if (upper && isLower) text[i] = char16_t(c - 32);
    if (!upper && isUpper) text[i] = char16_t(c + 32);
  }
}

}  // namespace

#define CT_CLASS CT_UString
#define CT_CHAR char16_t
#include "StringMembers.inc"
#undef CT_CLASS
#undef CT_CHAR

CT_UString::CT_UString() = default;

CT_UString::CT_UString(uint32_t length) { vv_Init(length); }

CT_UString::CT_UString(const char16_t* text, uint32_t length) { vv_Init(text, length); }

CT_UString::CT_UString(const char* text, uint32_t length, uint32_t codePage) { vv_Init(text, length, codePage); }

CT_UString::CT_UString(const CT_Buffer* buffer) { vv_Init(buffer); }

CT_UString::CT_UString(const CT_String* string) { vv_Init(string); }

CT_UString::CT_UString(const CT_CString* string, uint32_t codePage) {
  T::Replace(m_buffer, OpsOf(this).From8(string->qccz_Get(), string->vn_GetLength(), codePage), 0);
}

CT_UString::CT_UString(const CT_UString* other) : CT_String(*other) {}

CT_UString::CT_UString(const CT_UString& other) : CT_UString(&other) {}

CT_UString& CT_UString::operator=(const CT_UString& other) {
  vv_Init(&other);
  return *this;
}

CT_UString::~CT_UString() = default;

const char16_t* CT_UString::qcuz_Get() const { return T::Data(m_buffer); }

char16_t CT_UString::u_GetAt(uint32_t pos) const { return vu_GetAt(pos); }

void CT_UString::v_SetAt(char16_t character, uint32_t pos) { vv_SetAt(character, pos); }

void CT_UString::vv_ToLower() { ShiftCase(m_buffer, false); }

void CT_UString::vv_ToUpper() { ShiftCase(m_buffer, true); }

void CT_UString::vv_Init(const char* text, uint32_t length, uint32_t codePage) {
  T::Replace(m_buffer, OpsOf(this).From8(text, length, codePage), 0);
}

void CT_UString::vv_Init(const CT_String* string) {
  if (auto* other = static_cast<const CT_UString*>(string->vpv_IsKindOf(&sco_Type))) {
    if (other != this) m_buffer.v_Set(other->pcco_GetBuffer());
    return;
  }
  T::Replace(m_buffer, OpsOf(this).FromString(string), 0);
}

// CT_CString: 8-bit strings in a code page.
#include "CT_CString.h"

#include <cstdarg>

#include "CT_UString.h"
#include "StringOps.h"

const CT_Type CT_CString::sco_Type("CT_CString", &CT_String::sco_Type);

namespace {

StringOps<char> OpsOf(const CT_CString* s) { return StringOps<char>(s->n_GetCodePage()); }

// The lead bytes of the double-byte code pages (already resolved), whose
// second bytes may look like Latin letters and must not change case.
bool IsLeadByte(uint32_t codePage, unsigned char c) {
  switch (codePage) {
    case 932:
      return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
    case 936:
    case 949:
    case 950:
      return c >= 0x81 && c <= 0xFE;
    default:
      return false;
  }
}

void ShiftCase(CT_Buffer& buffer, uint32_t codePage, char first, char last, int delta) {
  uint32_t length = textstorage::Text<char>::Length(buffer);
  if (!length) return;
  char* text = textstorage::Text<char>::Mutable(buffer);
  codePage = CT_StringConvert::sn_ResolveCodePage(codePage);
  for (uint32_t i = 0; i < length; ++i) {
    if (IsLeadByte(codePage, static_cast<unsigned char>(text[i])))
      ++i;
    else if (text[i] >= first && text[i] <= last)
      text[i] = char(text[i] + delta);
  }
}

}  // namespace

#define CT_CLASS CT_CString
#define CT_CHAR char
#include "StringMembers.inc"
#undef CT_CLASS
#undef CT_CHAR

CT_CString::CT_CString(uint32_t codePage) : m_codePage(codePage) {}

CT_CString::CT_CString(const char* text, uint32_t length, uint32_t codePage) : m_codePage(codePage) {
  vv_Init(text, length, codePage);
}

CT_CString::CT_CString(const char16_t* text, uint32_t length, uint32_t codePage) : m_codePage(codePage) {
  vv_Init(text, length);
}

CT_CString::CT_CString(const CT_Buffer* buffer, uint32_t codePage) : m_codePage(codePage) { vv_Init(buffer); }

CT_CString::CT_CString(const CT_String* string, uint32_t codePage) : m_codePage(codePage) { vv_Init(string); }

CT_CString::CT_CString(const CT_UString* string, uint32_t codePage) : m_codePage(codePage) { vv_Init(string); }

CT_CString::CT_CString(const CT_CString* other) : CT_String(*other), m_codePage(other->m_codePage) {}

CT_CString::CT_CString(const CT_CString& other) : CT_CString(&other) {}

CT_CString& CT_CString::operator=(const CT_CString& other) {
  vv_Init(&other);
  return *this;
}

CT_CString::~CT_CString() = default;

const char* CT_CString::qccz_Get() const { return T::Data(m_buffer); }

void CT_CString::vv_ToLower() { ShiftCase(m_buffer, m_codePage, 'A', 'Z', 'a' - 'A'); }

void CT_CString::vv_ToUpper() { ShiftCase(m_buffer, m_codePage, 'a', 'z', 'A' - 'a'); }

void CT_CString::vv_Init(const char* text, uint32_t length, uint32_t codePage) {
  // The text keeps its bytes and brings its code page along.
  if (codePage != kAll && codePage != kAll - 1) m_codePage = codePage;
  T::Replace(m_buffer, T::Of(text, length), 0);
}

void CT_CString::vv_Init(const CT_String* string) {
  if (auto* other = static_cast<const CT_CString*>(string->vpv_IsKindOf(&sco_Type))) {
    if (other == this) return;
    m_buffer.v_Set(other->pcco_GetBuffer());
    m_codePage = other->m_codePage;
    return;
  }
  if (m_codePage == kAll) m_codePage = 0;
  T::Replace(m_buffer, OpsOf(this).FromString(string), 0);
}

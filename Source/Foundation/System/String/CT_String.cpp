// CT_String: the root's own (empty) operations and the non-virtual members
// that every string forwards to its virtual operations.
#include "CT_String.h"

#include <cstdio>

#include "CT_CString.h"
#include "FormatWide.h"

const CT_Type CT_String::sco_Type("CT_String", nullptr);

namespace {

constexpr uint32_t kAll = 0xFFFFFFFFu;
constexpr uint32_t kKeepCodePage = 0xFFFFFFFEu;
constexpr uint32_t kFormatArea = 2048;

// The code page 8-bit input to \p string is read in when none is given.
uint32_t OwnCodePage(const CT_String* string) {
  auto* c = static_cast<const CT_CString*>(string->vpv_IsKindOf(&CT_CString::sco_Type));
  return c ? c->n_GetCodePage() : 0;
}

}  // namespace

CT_String::~CT_String() = default;

const CT_Type* CT_String::vpcco_GetType() const { return &sco_Type; }
void* CT_String::vpv_IsA(const CT_Type* type) const {
  return type == &sco_Type ? const_cast<CT_String*>(this) : nullptr;
}
void* CT_String::vpv_IsKindOf(const CT_Type* type) const { return vpv_IsA(type); }
CT_String* CT_String::vpco_Create() const { return nullptr; }
void CT_String::vv_SetSize(uint32_t, bool) {}
void CT_String::vv_SetMinSize(uint32_t, bool) {}
void CT_String::vv_Replace(char16_t, uint32_t, uint32_t) {}
void CT_String::vv_Replace(char, uint32_t, uint32_t) {}
char CT_String::vc_GetAt(uint32_t) const { return 0; }
char16_t CT_String::vu_GetAt(uint32_t) const { return 0; }
void CT_String::vv_SetAt(char16_t, uint32_t) {}
void CT_String::vv_SetAt(char, uint32_t) {}
void CT_String::vv_ToLower() {}
void CT_String::vv_ToUpper() {}
void CT_String::vv_Remove(uint32_t, uint32_t) {}
uint32_t CT_String::vn_Find(char16_t, uint32_t) const { return 0; }
uint32_t CT_String::vn_Find(char, uint32_t) const { return 0; }
uint32_t CT_String::vn_Find(const CT_String*, uint32_t) const { return 0; }
void CT_String::vv_Update() {}
bool CT_String::vb_Match(const CT_String*) const { return false; }
void CT_String::vv_Strip(const CT_String*) {}
void CT_String::vv_StripRight() {}
void CT_String::vv_StripLeft() {}
int32_t CT_String::vi_Compare(const CT_String*, uint32_t, uint32_t, uint32_t) const { return 0; }
int32_t CT_String::vi_Compare(const char16_t*, uint32_t, uint32_t) const { return 0; }
int32_t CT_String::vi_Compare(const char*, uint32_t, uint32_t) const { return 0; }
void CT_String::vv_Translate(const CT_String*, const CT_String*) {}
void CT_String::vv_SetLength(uint32_t) {}
uint32_t CT_String::vn_GetLength() const { return 0; }
uint32_t CT_String::vn_GetMaximumLength() const { return 0; }
void CT_String::vv_SetGrowth(uint32_t) {}
uint32_t CT_String::vn_GetGrowth() const { return 0; }
void CT_String::vv_VFormat(const CT_String*, va_list) {}
void CT_String::vv_Format(const CT_String*, ...) {}
void CT_String::vv_Init(const CT_Buffer*) {}
void CT_String::vv_Init(const char16_t*, uint32_t) {}
void CT_String::vv_Init(const char*, uint32_t, uint32_t) {}
void CT_String::vv_Init(const CT_String*) {}
void CT_String::vv_Init(uint32_t) {}
void CT_String::vv_Init() {}
void CT_String::vv_StringReplace(const CT_String*, uint32_t, uint32_t, uint32_t) {}
void CT_String::vv_StringReplace(const char16_t*, uint32_t, uint32_t) {}
void CT_String::vv_StringReplace(const char*, uint32_t, uint32_t, uint32_t) {}
void CT_String::vv_StringInsert(const CT_String*, uint32_t, uint32_t, uint32_t) {}
void CT_String::vv_StringInsert(const char16_t*, uint32_t, uint32_t) {}
void CT_String::vv_StringInsert(const char*, uint32_t, uint32_t, uint32_t) {}
void CT_String::vv_Format(const CT_String*, va_list) {}

void CT_String::v_Set(const char* text, uint32_t length, uint32_t codePage) {
  vv_Init(text, length, codePage == kKeepCodePage ? OwnCodePage(this) : codePage);
}

void CT_String::v_Set(uint32_t length, bool keep) {
  if (!keep || vn_GetMaximumLength() < length)
    vv_Init(length);
  else
    vv_SetLength(0);
}

void CT_String::v_Append(char character) { v_Insert(&character, 1, vn_GetLength()); }

void CT_String::v_Append(char16_t character) { v_Insert(&character, 1, vn_GetLength()); }

void CT_String::v_Append(const char* text, uint32_t length) {
  if (length) v_Insert(text, length, vn_GetLength());
}

void CT_String::v_Append(const char16_t* text, uint32_t length) {
  if (length) v_Insert(text, length, vn_GetLength());
}

void CT_String::v_Append(const CT_String* string, uint32_t count) {
  uint32_t available = string->vn_GetLength();
  if (count > available) count = available;
  if (count) vv_StringInsert(string, 0, count, vn_GetLength());
}

void CT_String::v_Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  v_Format(format, args);
  va_end(args);
}

void CT_String::v_Format(const char* format, va_list args) {
  char area[kFormatArea];
  va_list copy;
  va_copy(copy, args);
  // vsnprintf cuts the result to 2047 characters and always terminates it.
  if (std::vsnprintf(area, sizeof area, format, copy) < 0) area[0] = 0;
  va_end(copy);
  v_Set(area, kAll, kKeepCodePage);
}

void CT_String::v_Format(const char16_t* format, ...) {
  va_list args;
  va_start(args, format);
  v_Format(format, args);
  va_end(args);
}

void CT_String::v_Format(const char16_t* format, va_list args) {
  char16_t area[kFormatArea];
  uint32_t length = formatwide::Format(area, kFormatArea, format, args);
  v_Set(area, length);
}

bool CT_String::b_Match(const char* pattern) const {
  CT_CString text(pattern, kAll, OwnCodePage(this));
  return vb_Match(&text);
}

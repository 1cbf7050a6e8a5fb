// CT_UString: a string of 16-bit UTF-16 code units.
#pragma once

#include <cstdint>

#include "CT_String.h"

class CT_CString;

/// 16-bit text; 8-bit input is converted through the code page that comes
/// with it (the process code page when none does).
class CT_UString : public CT_String {
 public:
  static const CT_Type sco_Type;

  /// The empty text, without storage.
  CT_UString();
  /// Room for \p length units, holding the empty text.
  explicit CT_UString(uint32_t length);
  CT_UString(const char16_t* text, uint32_t length = 0xFFFFFFFFu);
  CT_UString(const char* text, uint32_t length = 0xFFFFFFFFu, uint32_t codePage = 0);
  explicit CT_UString(const CT_Buffer* buffer);
  /// A CT_CString source is converted with its own code page.
  explicit CT_UString(const CT_String* string);
  CT_UString(const CT_CString* string, uint32_t codePage);
  /// Shares \p other's text.
  explicit CT_UString(const CT_UString* other);
  CT_UString(const CT_UString& other);
  CT_UString& operator=(const CT_UString& other);
  ~CT_UString() override;

  /// The zero-terminated text; the empty text when there is no storage.
  const char16_t* qcuz_Get() const;
  char16_t u_GetAt(uint32_t pos) const;
  void v_SetAt(char16_t character, uint32_t pos);

  const CT_Type* vpcco_GetType() const override;
  void* vpv_IsA(const CT_Type* type) const override;
  void* vpv_IsKindOf(const CT_Type* type) const override;
  CT_String* vpco_Create() const override;
  void vv_SetSize(uint32_t length, bool keep) override;
  void vv_SetMinSize(uint32_t length, bool keep) override;
  void vv_Replace(char16_t character, uint32_t count, uint32_t pos) override;
  void vv_Replace(char character, uint32_t count, uint32_t pos) override;
  char vc_GetAt(uint32_t pos) const override;
  char16_t vu_GetAt(uint32_t pos) const override;
  void vv_SetAt(char16_t character, uint32_t pos) override;
  void vv_SetAt(char character, uint32_t pos) override;
  /// Letters of the basic Latin alphabet and of Latin-1.
  void vv_ToLower() override;
  void vv_ToUpper() override;
  void vv_Remove(uint32_t count, uint32_t pos) override;
  uint32_t vn_Find(char16_t character, uint32_t start) const override;
  uint32_t vn_Find(char character, uint32_t start) const override;
  uint32_t vn_Find(const CT_String* string, uint32_t start) const override;
  void vv_Update() override;
  bool vb_Match(const CT_String* pattern) const override;
  void vv_Strip(const CT_String* set = nullptr) override;
  void vv_StripRight() override;
  void vv_StripLeft() override;
  int32_t vi_Compare(const CT_String* string, uint32_t from, uint32_t count, uint32_t pos) const override;
  int32_t vi_Compare(const char16_t* text, uint32_t length, uint32_t pos) const override;
  int32_t vi_Compare(const char* text, uint32_t length, uint32_t pos) const override;
  void vv_Translate(const CT_String* from, const CT_String* to) override;
  void vv_SetLength(uint32_t length) override;
  uint32_t vn_GetLength() const override;
  uint32_t vn_GetMaximumLength() const override;
  void vv_SetGrowth(uint32_t bytes) override;
  uint32_t vn_GetGrowth() const override;
  void vv_VFormat(const CT_String* format, va_list args) override;
  void vv_Format(const CT_String* format, ...) override;
  void vv_Init(const CT_Buffer* buffer) override;
  void vv_Init(const char16_t* text, uint32_t length) override;
  void vv_Init(const char* text, uint32_t length, uint32_t codePage) override;
  void vv_Init(const CT_String* string) override;
  void vv_Init(uint32_t length) override;
  void vv_Init() override;
  void vv_StringReplace(const CT_String* string, uint32_t from, uint32_t count, uint32_t pos) override;
  void vv_StringReplace(const char16_t* text, uint32_t length, uint32_t pos) override;
  void vv_StringReplace(const char* text, uint32_t length, uint32_t pos, uint32_t codePage) override;
  void vv_StringInsert(const CT_String* string, uint32_t from, uint32_t count, uint32_t pos) override;
  void vv_StringInsert(const char16_t* text, uint32_t length, uint32_t pos) override;
  void vv_StringInsert(const char* text, uint32_t length, uint32_t pos, uint32_t codePage) override;
  void vv_Format(const CT_String* format, va_list args) override;
};

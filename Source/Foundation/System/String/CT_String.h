// CT_String: the root of the foundation library's strings, whose
// characters live in a shared CT_Buffer until one copy changes them.
#pragma once

#include <cstdarg>
#include <cstdint>

#include "CT_Buffer.h"
#include "CT_Type.h"

/// An abstract string: CT_CString holds 8-bit characters in a code page,
/// CT_UString 16-bit UTF-16 units. The buffer holds the characters and one
/// terminating zero character. Positions, lengths and counts are in
/// characters; a length of -1 (0xFFFFFFFF) means "up to the terminating
/// zero" for texts and "up to the end" for strings. Code page -1 means the
/// string's own code page (0 for a 16-bit string), -2 in v_Set keeps it.
///
/// The virtual operations are declared in the order of the exported table
/// of virtual operations; do not reorder them.
///
/// Overloads that take a va_list share their name with the variadic form:
/// a literal 0 as the first variable argument would choose the va_list
/// form, so write it as 0L or cast it.
class CT_String {
 public:
  static const CT_Type sco_Type;

  virtual const CT_Type* vpcco_GetType() const;
  /// This object when its class is exactly \p type, else null.
  virtual void* vpv_IsA(const CT_Type* type) const;
  /// This object when its class is \p type or derives from it, else null.
  virtual void* vpv_IsKindOf(const CT_Type* type) const;
  virtual ~CT_String();
  /// A new string of the same class sharing this text; the caller deletes it.
  virtual CT_String* vpco_Create() const;
  virtual void vv_SetSize(uint32_t length, bool keep);
  virtual void vv_SetMinSize(uint32_t length, bool keep);
  virtual void vv_Replace(char16_t character, uint32_t count, uint32_t pos);
  virtual void vv_Replace(char character, uint32_t count, uint32_t pos);
  virtual char vc_GetAt(uint32_t pos) const;
  virtual char16_t vu_GetAt(uint32_t pos) const;
  virtual void vv_SetAt(char16_t character, uint32_t pos);
  virtual void vv_SetAt(char character, uint32_t pos);
  virtual void vv_ToLower();
  virtual void vv_ToUpper();
  virtual void vv_Remove(uint32_t count, uint32_t pos);
  virtual uint32_t vn_Find(char16_t character, uint32_t start) const;
  virtual uint32_t vn_Find(char character, uint32_t start) const;
  virtual uint32_t vn_Find(const CT_String* string, uint32_t start) const;
  /// Takes the text up to its first zero character as the new text.
  virtual void vv_Update();
  /// "*" matches any run of characters, "?" any one character; an empty
  /// pattern matches every text.
  virtual bool vb_Match(const CT_String* pattern) const;
  /// Without a set: white space at both ends; with one: its characters.
  virtual void vv_Strip(const CT_String* set = nullptr);
  virtual void vv_StripRight();
  virtual void vv_StripLeft();
  virtual int32_t vi_Compare(const CT_String* string, uint32_t from, uint32_t count, uint32_t pos) const;
  virtual int32_t vi_Compare(const char16_t* text, uint32_t length, uint32_t pos) const;
  virtual int32_t vi_Compare(const char* text, uint32_t length, uint32_t pos) const;
  /// Each character found at index k of \p from becomes character k of
  /// \p to, or goes when \p to is shorter.
  virtual void vv_Translate(const CT_String* from, const CT_String* to);
  virtual void vv_SetLength(uint32_t length);
  virtual uint32_t vn_GetLength() const;
  virtual uint32_t vn_GetMaximumLength() const;
  virtual void vv_SetGrowth(uint32_t bytes);
  virtual uint32_t vn_GetGrowth() const;
  virtual void vv_VFormat(const CT_String* format, va_list args);
  virtual void vv_Format(const CT_String* format, ...);
  virtual void vv_Init(const CT_Buffer* buffer);
  virtual void vv_Init(const char16_t* text, uint32_t length);
  virtual void vv_Init(const char* text, uint32_t length, uint32_t codePage);
  virtual void vv_Init(const CT_String* string);
  virtual void vv_Init(uint32_t length);
  virtual void vv_Init();
  /// Writes the text at \p pos and ends the string after it.
  virtual void vv_StringReplace(const CT_String* string, uint32_t from, uint32_t count, uint32_t pos);
  virtual void vv_StringReplace(const char16_t* text, uint32_t length, uint32_t pos);
  virtual void vv_StringReplace(const char* text, uint32_t length, uint32_t pos, uint32_t codePage);
  virtual void vv_StringInsert(const CT_String* string, uint32_t from, uint32_t count, uint32_t pos);
  virtual void vv_StringInsert(const char16_t* text, uint32_t length, uint32_t pos);
  virtual void vv_StringInsert(const char* text, uint32_t length, uint32_t pos, uint32_t codePage);
  virtual void vv_Format(const CT_String* format, va_list args);

  void v_Set(const CT_String* string) { vv_Init(string); }
  void v_Set(const char16_t* text, uint32_t length = 0xFFFFFFFFu) { vv_Init(text, length); }
  void v_Set(const CT_Buffer* buffer) { vv_Init(buffer); }
  void v_Set(const char* text, uint32_t length = 0xFFFFFFFFu, uint32_t codePage = 0xFFFFFFFEu);
  /// Room for \p length characters and the empty text; with \p keep a large
  /// enough storage is kept.
  void v_Set(uint32_t length, bool keep);
  void v_Replace(const CT_String* string, uint32_t from, uint32_t count, uint32_t pos) {
    vv_StringReplace(string, from, count, pos);
  }
  void v_Replace(const char* text, uint32_t length, uint32_t pos) { vv_StringReplace(text, length, pos, 0xFFFFFFFFu); }
  void v_Replace(const char16_t* text, uint32_t length, uint32_t pos) { vv_StringReplace(text, length, pos); }
  void v_Insert(const char* text, uint32_t length, uint32_t pos) { vv_StringInsert(text, length, pos, 0xFFFFFFFFu); }
  void v_Insert(const char16_t* text, uint32_t length, uint32_t pos) { vv_StringInsert(text, length, pos); }
  void v_Insert(const CT_String* string, uint32_t count, uint32_t pos) { vv_StringInsert(string, 0, count, pos); }
  void v_Append(char character);
  void v_Append(char16_t character);
  void v_Append(const char* text, uint32_t length = 0xFFFFFFFFu);
  void v_Append(const char16_t* text, uint32_t length = 0xFFFFFFFFu);
  /// Appends at most \p count characters of \p string.
  void v_Append(const CT_String* string, uint32_t count = 0xFFFFFFFFu);
  /// printf rules; the result is cut to 2047 characters. In a 16-bit format
  /// %s and %ls take 16-bit texts, %hs and %S 8-bit ones; %c likewise.
  void v_Format(const char* format, ...);
  void v_Format(const char* format, va_list args);
  void v_Format(const char16_t* format, ...);
  void v_Format(const char16_t* format, va_list args);
  /// The whole text against a pattern of "*" and "?".
  bool b_Match(const char* pattern) const;
  /// This object when its class is \p type or derives from it, else null.
  void* pv_CastTo(const CT_Type* type) const { return vpv_IsKindOf(type); }
  void v_CopyWeWrite() { m_buffer.v_CopyWeWrite(); }
  const CT_Buffer* pcco_GetBuffer() const { return &m_buffer; }

 protected:
  CT_String() = default;
  CT_String(const CT_String& other) = default;
  CT_String& operator=(const CT_String& other) = default;

  CT_Buffer m_buffer;
};

// What the two string classes need besides the shared text algorithms:
// other texts, strings and characters brought into their own character
// type (converting through the code page where the widths differ).
#pragma once

#include <cstdint>
#include <string>

#include "CT_CString.h"
#include "CT_StringConvert.h"
#include "CT_UString.h"
#include "TextStorage.h"

template <typename C>
class StringOps {
 public:
  using Str = std::basic_string<C>;
  static constexpr uint32_t kAll = 0xFFFFFFFFu;

  /// \p codePage: the 8-bit string's own code page (unused for 16-bit).
  explicit StringOps(uint32_t codePage) : m_codePage(Real(codePage)) {}

  /// An 8-bit text in \p codePage (-1 or -2: this string's own).
  Str From8(const char* text, uint32_t length, uint32_t codePage) const {
    std::string bytes(textstorage::Text<char>::Of(text, length));
    if constexpr (sizeof(C) == 1) {
      if (codePage == kAll || codePage == kAll - 1 || Same(codePage)) return bytes;
      std::u16string wide = Wide(bytes, codePage);
      return From16(wide.data(), uint32_t(wide.size()));
    } else {
      return Wide(bytes, codePage == kAll || codePage == kAll - 1 ? 0 : codePage);
    }
  }
  Str From16(const char16_t* text, uint32_t length) const {
    std::u16string units(textstorage::Text<char16_t>::Of(text, length));
    if constexpr (sizeof(C) == 2) {
      return units;
    } else {
      if (units.empty()) return Str();
      CT_CString out(m_codePage);
      CT_StringConvert::si_WideToMulti(&out, units.data(), uint32_t(units.size()), m_codePage);
      return Str(out.qccz_Get(), out.vn_GetLength());
    }
  }
  /// \p count characters of \p string from \p from (-1: to its end).
  Str FromString(const CT_String* string, uint32_t from = 0, uint32_t count = kAll) const {
    Str text;
    if (!string) return text;
    if (auto* c = static_cast<const CT_CString*>(string->vpv_IsKindOf(&CT_CString::sco_Type)))
      text = From8(c->qccz_Get(), c->vn_GetLength(), c->n_GetCodePage());
    else if (auto* u = static_cast<const CT_UString*>(string->vpv_IsKindOf(&CT_UString::sco_Type)))
      text = From16(u->qcuz_Get(), u->vn_GetLength());
    if (from >= text.size()) return Str();
    return text.substr(from, count == kAll ? Str::npos : count);
  }
  C FromChar(char c) const {
    if constexpr (sizeof(C) == 1)
      return c;
    else
      return CT_StringConvert::sus_MultiToWide(c, 0);
  }
  C FromChar(char16_t u) const {
    if constexpr (sizeof(C) == 2)
      return u;
    else
      return CT_StringConvert::sc_WideToMulti(u, m_codePage);
  }
  char ToChar8(C c) const {
    if constexpr (sizeof(C) == 1)
      return c;
    else
      return CT_StringConvert::sc_WideToMulti(c, 0);
  }
  char16_t ToChar16(C c) const {
    if constexpr (sizeof(C) == 2)
      return c;
    else
      return CT_StringConvert::sus_MultiToWide(c, m_codePage);
  }

 private:
  static uint32_t Real(uint32_t codePage) { return codePage == kAll ? 0 : codePage; }
  bool Same(uint32_t codePage) const {
    return codePage == m_codePage ||
           CT_StringConvert::sn_ResolveCodePage(codePage) == CT_StringConvert::sn_ResolveCodePage(m_codePage);
  }
  static std::u16string Wide(const std::string& bytes, uint32_t codePage) {
    if (bytes.empty()) return std::u16string();
    CT_UString out;
    CT_StringConvert::si_MultiToWide(&out, bytes.data(), uint32_t(bytes.size()), codePage);
    return std::u16string(out.qcuz_Get(), out.vn_GetLength());
  }

  uint32_t m_codePage;
};

// CT_LoadString: texts of a module's string table, loaded into strings or
// buffers, optionally used as formats.
#pragma once

#include <cstdarg>
#include <cstdint>
#include <map>
#include <string>

class CT_String;
struct CT_Module;

/// String-table texts by id. A null module stands for the default one
/// (CT_ErrorManager::sv_SetInstance); an unknown id gives the empty text.
/// Formats are expanded into 2048 units: a CT_CString target uses the
/// 8-bit format, a CT_UString target the 16-bit one.
class CT_LoadString {
 public:
  /// Registers a string table (texts in code page 1252); the module lives
  /// until the library ends.
  static CT_Module* spo_RegisterModule(const std::map<uint32_t, std::string>& texts);

  static void sv_LoadString(CT_String* string, CT_Module* module, uint32_t id);
  /// At most \p size units including the terminating zero.
  static void sv_LoadString(char16_t* buffer, uint32_t size, CT_Module* module, uint32_t id);
  static void sv_LoadStringVA(CT_String* string, CT_Module* module, uint32_t id, ...);
  static void sv_LoadStringVA(char16_t* buffer, uint32_t size, CT_Module* module, uint32_t id, ...);
  static void sv_LoadStringVaList(CT_String* string, CT_Module* module, uint32_t id, va_list args);
};

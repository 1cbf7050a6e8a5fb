// CT_LoadString: string tables registered by the programs that use the library.
#include "CT_LoadString.h"

#include <algorithm>
#include <deque>
#include <mutex>

#include "CT_CString.h"
#include "CT_ErrorManager.h"
#include "CT_StringConvert.h"
#include "CT_UString.h"

struct CT_Module {
  std::map<uint32_t, std::string> texts;
};

namespace {

constexpr uint32_t kFormatArea = 2048;
constexpr uint32_t kTableCodePage = 1252;

std::mutex so_Lock;

std::deque<CT_Module>& Modules() {
  static std::deque<CT_Module> modules;  // a deque never moves its modules
  return modules;
}

// The 8-bit text of \p id, or null.
const std::string* Find(CT_Module* module, uint32_t id) {
  if (!module) module = CT_ErrorManager::spo_GetInstance();
  if (!module) return nullptr;
  auto it = module->texts.find(id);
  return it == module->texts.end() ? nullptr : &it->second;
}

// The 16-bit text of \p id, at most 2047 units.
CT_UString Load(CT_Module* module, uint32_t id) {
  CT_UString text;
  if (const std::string* bytes = Find(module, id)) {
    CT_StringConvert::si_MultiToWide(&text, bytes->data(), uint32_t(std::min<size_t>(bytes->size(), kFormatArea - 1)),
                                     kTableCodePage);
  }
  return text;
}

// Copies \p text into \p buffer of \p size units, cut and terminated.
void CopyCut(const CT_UString& text, char16_t* buffer, uint32_t size) {
  uint32_t n = std::min(text.vn_GetLength(), size - 1);
  std::copy(text.qcuz_Get(), text.qcuz_Get() + n, buffer);
  buffer[n] = 0;
}

}  // namespace

CT_Module* CT_LoadString::spo_RegisterModule(const std::map<uint32_t, std::string>& texts) {
  std::lock_guard<std::mutex> lock(so_Lock);
  Modules().push_back(CT_Module{texts});
  return &Modules().back();
}

void CT_LoadString::sv_LoadString(CT_String* string, CT_Module* module, uint32_t id) {
  CT_UString text = Load(module, id);
  string->v_Set(text.qcuz_Get(), text.vn_GetLength());
}

void CT_LoadString::sv_LoadString(char16_t* buffer, uint32_t size, CT_Module* module, uint32_t id) {
  if (!buffer || size == 0) return;
  CopyCut(Load(module, id), buffer, size);
}

void CT_LoadString::sv_LoadStringVA(CT_String* string, CT_Module* module, uint32_t id, ...) {
  va_list args;
  va_start(args, id);
  sv_LoadStringVaList(string, module, id, args);
  va_end(args);
}

void CT_LoadString::sv_LoadStringVA(char16_t* buffer, uint32_t size, CT_Module* module, uint32_t id, ...) {
  if (!buffer || size == 0) return;
  CT_UString text;
  va_list args;
  va_start(args, id);
  sv_LoadStringVaList(&text, module, id, args);
  va_end(args);
  CopyCut(text, buffer, size);
}

void CT_LoadString::sv_LoadStringVaList(CT_String* string, CT_Module* module, uint32_t id, va_list args) {
  CT_UString format = Load(module, id);
  if (format.vn_GetLength() == 0) {
    string->v_Set(u"", 0);
    return;
  }
  if (auto* target = static_cast<CT_CString*>(string->vpv_IsKindOf(&CT_CString::sco_Type))) {
    CT_CString narrow(&format, target->n_GetCodePage());
    string->v_Format(narrow.qccz_Get(), args);
  } else {
    string->v_Format(format.qcuz_Get(), args);
  }
}

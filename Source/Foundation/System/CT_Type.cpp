// CT_Type: the register of type records, a list threaded through them.
#include "CT_Type.h"

#include <cstring>
#include <mutex>

namespace {

// Both are constant-initialised, so records in any translation unit may
// register before or after this file's own static objects are built.
std::mutex so_Lock;
CT_Type* spo_First = nullptr;
uint32_t sn_Types = 0;

}  // namespace

CT_Type::CT_Type(const char* name, const CT_Type* base) : m_name(name), m_base(base) {
  std::lock_guard<std::mutex> lock(so_Lock);
  m_next = spo_First;
  spo_First = this;
  ++sn_Types;
}

CT_Type::~CT_Type() {
  std::lock_guard<std::mutex> lock(so_Lock);
  for (CT_Type** link = &spo_First; *link; link = &(*link)->m_next) {
    if (*link == this) {
      *link = m_next;
      --sn_Types;
      break;
    }
  }
}

bool CT_Type::b_IsKindOf(const CT_Type* type) const {
  for (const CT_Type* t = this; t; t = t->m_base)
    if (t == type) return true;
  return false;
}

const CT_Type* CT_Type::spcco_Find(const char* name) {
  std::lock_guard<std::mutex> lock(so_Lock);
  for (const CT_Type* t = spo_First; t; t = t->m_next)
    if (std::strcmp(t->m_name, name) == 0) return t;
  return nullptr;
}

uint32_t CT_Type::sn_GetTypeCount() {
  std::lock_guard<std::mutex> lock(so_Lock);
  return sn_Types;
}

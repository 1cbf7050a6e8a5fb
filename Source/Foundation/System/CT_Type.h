// CT_Type: run-time type records of the foundation library's classes.
#pragma once

#include <cstdint>

/// One class's type record: its name and the record of its base class.
/// Records are static objects; each one registers itself while static
/// objects are built and leaves the register when they are destroyed.
class CT_Type {
 public:
  CT_Type(const char* name, const CT_Type* base);
  ~CT_Type();
  CT_Type(const CT_Type&) = delete;
  CT_Type& operator=(const CT_Type&) = delete;

  const char* qccz_GetName() const { return m_name; }
  const CT_Type* pcco_GetBase() const { return m_base; }
  /// True when this type is \p type or derives from it.
  bool b_IsKindOf(const CT_Type* type) const;

  /// The registered record named \p name, or null.
  static const CT_Type* spcco_Find(const char* name);
  /// How many records are registered.
  static uint32_t sn_GetTypeCount();

 private:
  const char* m_name;
  const CT_Type* m_base;
  CT_Type* m_next;
};

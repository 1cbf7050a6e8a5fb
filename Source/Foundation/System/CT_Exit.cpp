// CT_Exit: shut-down functions run by static objects.
#include "CT_Exit.h"

CT_Exit::CT_Exit(void (*function)()) : m_function(function) {}

CT_Exit::~CT_Exit() {
  if (m_function) m_function();
}

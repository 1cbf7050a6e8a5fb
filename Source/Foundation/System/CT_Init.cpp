// CT_Init: start-up functions run by static objects.
#include "CT_Init.h"

CT_Init::CT_Init(void (*function)()) {
  if (function) function();
}

// The library starts and ends itself, so a program that links it needs no
// call before using any class.
#include "CT_ErrorManager.h"
#include "CT_Exit.h"
#include "CT_Init.h"
#include "CT_UTF.h"

namespace {

void StartLibrary() {
  CT_UTF::sv_InitTables();
  CT_ErrorManager::sv_Init();
}

// Built in this order and destroyed in the reverse one.
const CT_Init so_Start(&StartLibrary);
const CT_Exit so_End(&CT_ErrorManager::sv_Exit);

}  // namespace

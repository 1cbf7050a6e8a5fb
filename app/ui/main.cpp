// typeswap: the Qt 6 wizard that maps the fonts of translated Interleaf
// ASCII documents.
#include "app/ui/WizardMain.h"

int main(int argc, char** argv) { return RunWizardProgram(argc, argv, nullptr); }

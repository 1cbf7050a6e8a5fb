// The wizard program's start: its options, the foundation library's hooks,
// the code page, then the pages.
#include "app/ui/WizardMain.h"

#include <QApplication>
#include <cstdio>
#include <cstring>
#include <optional>

#include "CT_ErrorManager.h"
#include "CT_LoadString.h"
#include "CT_StringConvert.h"
#include "app/ui/CWizardApp.h"
#include "app/ui/FoundationMessageBox.h"
#include "platform/CodePage.h"
#include "platform/HeapPages.h"
#include "platform/StringTable.h"

namespace {

void PrintHelp() {
  std::printf(
      "usage: typeswap [--codepage N] [Qt options]\n\n"
      "KORVIN Typeswap for Interleaf: a wizard that maps the fonts of translated\n"
      "Interleaf ASCII documents. Choose the translated files, the font files and\n"
      "an output directory, load them, map their fonts to new ones and write\n"
      "rewritten copies.\n\n"
      "Options:\n"
      "  --codepage N   the code page of 8-bit texts (default: TYPESWAP_CODEPAGE; else 932\n"
      "                 when the first translated file declares Character Encoding = SJIS;\n"
      "                 else 1252)\n"
      "  --help         show this text\n"
      "  --version      show the version\n\n"
      "The same work without windows: typeswap-cli --help.\n");
}

}  // namespace

int RunWizardProgram(int argc, char** argv, CWizardStartHook* hook) {
  PrepareHeap();
  // These two must work without a display, so they come before Qt.
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      PrintHelp();
      return 0;
    }
    if (std::strcmp(argv[i], "--version") == 0) {
      std::printf("typeswap %s\n", TYPESWAP_VERSION);
      return 0;
    }
  }

  QApplication app(argc, argv);
  // The foundation library reads its default texts from our string table
  // and shows its error boxes as our message boxes.
  CT_ErrorManager::sv_SetInstance(CT_LoadString::spo_RegisterModule(StringTableTexts()));
  CT_ErrorManager::sv_SetMessageBox(&ShowFoundationMessageBox);
  // Its code page 0 is ours: the option's, the environment's or the job's.
  CT_StringConvert::sv_SetProcessCodePageSource([] { return static_cast<uint32_t>(ProcessCodePage()); });
  // The code page is TYPESWAP_CODEPAGE's until --codepage says otherwise;
  // left unchosen, each loading job takes it from its first document.
  std::optional<int32_t> fromEnvironment = CodePageFromEnvironment();
  bool codePageGiven = false;
  QStringList args = QApplication::arguments();
  for (qsizetype i = 1; i < args.size(); ++i) {
    if (args[i] == QLatin1String("--codepage") && i + 1 < args.size()) {
      int32_t codePage = 0;
      if (!ParseCodePage(args[i + 1].toLocal8Bit().constData(), codePage) || !IsKnownCodePage(codePage)) {
        std::fprintf(stderr, "typeswap: --codepage wants the number of a code page this system knows\n");
        return 2;
      }
      SetProcessCodePage(codePage);
      codePageGiven = true;
      ++i;
    } else if (!hook || !hook->TakeOption(args, i)) {
      std::fprintf(stderr, "typeswap: unknown option %s (see typeswap --help)\n", qPrintable(args[i]));
      return 2;
    }
  }
  if (!codePageGiven && !fromEnvironment) {
    std::fprintf(stderr, "typeswap: TYPESWAP_CODEPAGE names no code page this system knows\n");
    return 2;
  }
  if (hook) hook->Start();
  return CWizardApp().Run();
}

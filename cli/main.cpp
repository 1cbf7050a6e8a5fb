// typeswap-cli: the Typeswap core driven from the command line.
#include <cstdio>
#include <cstring>
#include <string_view>

#include "CT_ErrorManager.h"
#include "CT_LoadString.h"
#include "cli/Commands.h"
#include "platform/StringTable.h"

namespace {

void PrintHelp(FILE* to) {
  std::fprintf(to,
               "usage: typeswap-cli COMMAND [OPTIONS]\n\n"
               "Maps the fonts of translated Interleaf ASCII documents.\n\nCommands:\n");
  for (const CliCommand& c : CliCommands()) {
    std::fprintf(to, "  %-11.*s %.*s\n  %-11s %.*s\n", int(c.name.size()), c.name.data(),
                 int(c.synopsis.size()), c.synopsis.data(), "", int(c.summary.size()),
                 c.summary.data());
  }
  std::fprintf(to,
               "\nEvery command takes --codepage N (default: TYPESWAP_CODEPAGE; else, when loading,\n"
               "932 if the first translated file declares Character Encoding = SJIS; else 1252).\n"
               "Exit status: 0 done, 1 failed, 2 usage error.\n");
}

}  // namespace

int main(int argc, char** argv) {
  // The foundation library reads its default texts from our string table.
  CT_ErrorManager::sv_SetInstance(CT_LoadString::spo_RegisterModule(StringTableTexts()));
  if (argc < 2) {
    PrintHelp(stderr);
    return kCliUsage;
  }
  std::string_view command = argv[1];
  if (command == "--help" || command == "-h" || command == "help") {
    PrintHelp(stdout);
    return kCliOk;
  }
  if (command == "--version") {
    std::printf("typeswap-cli %s\n", TYPESWAP_VERSION);
    return kCliOk;
  }
  for (const CliCommand& c : CliCommands()) {
    if (c.name == command) return c.run(std::span<char* const>(argv + 2, argc - 2));
  }
  std::fprintf(stderr, "typeswap-cli: unknown command '%s' (see typeswap-cli --help)\n", argv[1]);
  return kCliUsage;
}

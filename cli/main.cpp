// typeswap-cli: the Typeswap core driven from the command line.
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "CT_ErrorManager.h"
#include "CT_LoadString.h"
#include "CT_StringConvert.h"
#include "cli/Commands.h"
#include "cli/ProcessEnd.h"
#include "platform/CodePage.h"
#include "platform/HeapPages.h"
#include "platform/StringTable.h"

namespace {

// \p text cut at blanks outside brackets (an option stays with its value)
// into lines of at most 79 columns where it can, each but the first
// indented by \p indent blanks; \p column is where the first line starts.
std::string Wrapped(std::string_view text, size_t indent, size_t column) {
  std::string out;
  while (!text.empty()) {
    const size_t room = column < 79 ? 79 - column : 20;
    size_t cut = std::string_view::npos;  // the last blank that fits, else the first
    int depth = 0;
    for (size_t i = 0; i < text.size(); ++i) {
      if (text[i] == '[') ++depth;
      if (text[i] == ']') --depth;
      if (text[i] != ' ' || depth > 0) continue;
      if (i > room && cut != std::string_view::npos) break;
      cut = i;
      if (i > room) break;
    }
    if (text.size() <= room || cut == std::string_view::npos) cut = text.size();
    out.append(text.substr(0, cut));
    text.remove_prefix(cut);
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    if (!text.empty()) {
      out += '\n';
      out.append(indent, ' ');
      column = indent;
    }
  }
  return out;
}

void PrintCommand(FILE* to, const CliCommand& c) {
  std::fprintf(to, "  %-11.*s %s\n  %-11s %s\n", int(c.name.size()), c.name.data(), Wrapped(c.synopsis, 14, 14).c_str(),
               "", Wrapped(c.summary, 14, 14).c_str());
}

void PrintHelp(FILE* to) {
  std::fprintf(to,
               "usage: typeswap-cli COMMAND [OPTIONS]\n\n"
               "Maps the fonts of translated Interleaf ASCII documents.\n\nCommands:\n");
  for (const CliCommand& c : CliCommands()) PrintCommand(to, c);
  std::fprintf(to,
               "\nSEL is a list of paths, each followed by ';' (or one path); options may repeat.\n"
               "Every command takes --codepage N (default: TYPESWAP_CODEPAGE; else, when loading,\n"
               "932 if the first translated file declares Character Encoding = SJIS; else 1252).\n"
               "Texts from documents are printed in the locale's character set; --escape prints\n"
               "them as \\xHH escapes instead. --quiet: no load log and no progress.\n"
               "typeswap-cli COMMAND --help shows one command. See also man typeswap-cli.\n"
               "Exit status: 0 done, 1 failed, 2 usage error.\n");
}

// Runs the command that argv names.
int Dispatch(int argc, char** argv) {
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
    if (c.name != command) continue;
    for (int i = 2; i < argc; ++i) {
      if (std::string_view(argv[i]) == "--") break;
      if (std::string_view(argv[i]) == "--help" || std::string_view(argv[i]) == "-h") {
        const std::string usage = "usage: typeswap-cli " + std::string(c.name) + " ";
        std::printf("%s%s\n\n%s\n", usage.c_str(), Wrapped(c.synopsis, usage.size(), usage.size()).c_str(),
                    Wrapped(c.summary, 0, 0).c_str());
        return kCliOk;
      }
    }
    return c.run(std::span<char* const>(argv + 2, argc - 2));
  }
  std::fprintf(stderr, "typeswap-cli: unknown command '%s' (see typeswap-cli --help)\n", argv[1]);
  return kCliUsage;
}

}  // namespace

int main(int argc, char** argv) {
  PrepareHeap();
  // The foundation library reads its default texts from our string table.
  CT_ErrorManager::sv_SetInstance(CT_LoadString::spo_RegisterModule(StringTableTexts()));
  // Its code page 0 is ours: the option's, the environment's or the job's.
  CT_StringConvert::sv_SetProcessCodePageSource([] { return static_cast<uint32_t>(ProcessCodePage()); });
  // A reader that went away is a write failure to report, not a silent end.
  std::signal(SIGPIPE, SIG_IGN);
  // Output is flushed and files closed by the commands themselves and below;
  // the models they leave go with the process.
  SetCommandEndsProcess();
  int status = Dispatch(argc, argv);
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
    std::fprintf(stderr, "typeswap-cli: cannot write standard output: %s\n", std::strerror(errno));
    return kCliFailed;
  }
  return status;
}

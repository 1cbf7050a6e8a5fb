// The list of typeswap-cli's commands.
#include "cli/Commands.h"

int RunTokensCommand(std::span<char* const> args);      // cli/TokensCommand.cpp
int RunReductionsCommand(std::span<char* const> args);  // cli/ReductionsCommand.cpp
int RunLoadCommand(std::span<char* const> args);        // cli/LoadCommand.cpp

std::span<const CliCommand> CliCommands() {
  static const CliCommand kCommands[] = {
      {"tokens", "[--codepage N] FILE", "prints the tokens the reader's lexer finds in FILE",
       RunTokensCommand},
      {"reductions", "[--codepage N] [--trace] FILE",
       "prints the number of every production the reader's parser reduces in FILE, then its result",
       RunReductionsCommand},
      {"load", "[--codepage N] --translated SEL [--fonts SEL] [--font-type 0|1|2]",
       "loads the selected files as the load page does; prints the log, the state and both models",
       RunLoadCommand},
  };
  return kCommands;
}

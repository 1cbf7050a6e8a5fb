// The list of typeswap-cli's commands.
#include "cli/Commands.h"

int RunTokensCommand(std::span<char* const> args);      // cli/TokensCommand.cpp
int RunReductionsCommand(std::span<char* const> args);  // cli/ReductionsCommand.cpp

std::span<const CliCommand> CliCommands() {
  static const CliCommand kCommands[] = {
      {"tokens", "[--codepage N] FILE", "prints the tokens the reader's lexer finds in FILE",
       RunTokensCommand},
      {"reductions", "[--codepage N] [--trace] FILE",
       "prints the number of every production the reader's parser reduces in FILE, then its result",
       RunReductionsCommand},
  };
  return kCommands;
}

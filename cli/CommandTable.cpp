// The list of typeswap-cli's commands.
#include "cli/Commands.h"

int RunTokensCommand(std::span<char* const> args);  // cli/TokensCommand.cpp

std::span<const CliCommand> CliCommands() {
  static const CliCommand kCommands[] = {
      {"tokens", "[--codepage N] FILE", "prints the tokens the reader's lexer finds in FILE",
       RunTokensCommand},
  };
  return kCommands;
}

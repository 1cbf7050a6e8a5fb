// The list of typeswap-cli's commands.
#include "cli/Commands.h"

std::span<const CliCommand> CliCommands() {
  static const CliCommand kCommands[] = {
      {"", "", "", nullptr},  // placeholder until the first command lands
  };
  return std::span<const CliCommand>(kCommands, 0);
}

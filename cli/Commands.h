// The sub-commands of typeswap-cli. Each lives in its own file and takes
// the arguments that follow its name.
#pragma once

#include <span>
#include <string_view>

/// Exit statuses shared by every sub-command.
enum CliStatus : int { kCliOk = 0, kCliFailed = 1, kCliUsage = 2 };

struct CliCommand {
  std::string_view name;
  std::string_view synopsis;  ///< arguments, as --help shows them
  std::string_view summary;   ///< one line saying what it does
  int (*run)(std::span<char* const> args);
};

/// Every command, in the order --help lists them.
std::span<const CliCommand> CliCommands();

// Option parsing shared by the sub-commands of typeswap-cli.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

/// Reads "--name value" and "--name=value" options and plain arguments.
/// Every sub-command takes --codepage N, which sets the process code page.
class CCliArgs {
 public:
  /// \p valueOptions names the options that take a value; \p flagOptions
  /// those that do not. Anything else that begins with "--" is an error.
  CCliArgs(std::span<char* const> args, std::vector<std::string_view> valueOptions,
           std::vector<std::string_view> flagOptions = {});

  bool ok() const { return error_.empty(); }
  const std::string& error() const { return error_; }

  /// Every value given for \p name, in order.
  std::vector<std::string> Values(std::string_view name) const;
  /// The last value given for \p name, or \p fallback.
  std::string Value(std::string_view name, std::string fallback = {}) const;
  bool Has(std::string_view name) const;
  /// The options named in \p names as (name, value), in command-line order.
  std::vector<std::pair<std::string, std::string>> InOrder(std::vector<std::string_view> names) const;
  const std::vector<std::string>& Positional() const { return positional_; }

 private:
  std::vector<std::pair<std::string, std::string>> options_;
  std::vector<std::string> positional_;
  std::string error_;
};

/// Prints "typeswap-cli <command>: <message>" and the command's usage to
/// stderr; returns the usage status.
int CliUsageError(std::string_view command, std::string_view message);

/// Writes \p text as the line formats of typeswap-cli escape it: backslash
/// doubled, tab, LF and CR as \t \n \r, other control bytes, 0x7F and every
/// byte from 0x80 as \xHH.
void AppendEscaped(std::string& out, std::string_view text);
